#!/usr/bin/env python3
"""Reads a compiled FernHelp.chm back with chmls: it is a CHM for Japanese (LCID 0x411),
every page of the source folder is inside it, its contents list names each page under
the page's own title, and every index entry leads to a page that is inside.
Usage: check_help.py <chmls> <FernHelp.chm> <help source folder>"""
import glob
import os
import re
import subprocess
import sys
import tempfile


def run(chmls, *arguments):
    result = subprocess.run([chmls, *arguments], capture_output=True)
    if result.returncode != 0:
        sys.exit("chmls %s failed: %s" % (" ".join(arguments), result.stderr.decode(errors="replace")))
    return result.stdout.decode("cp932", errors="replace")


def extract(chmls, chm, name, folder):
    target = os.path.join(folder, name.strip("/"))
    run(chmls, "extract", chm, name, target)
    if not os.path.exists(target):
        sys.exit("%s is not inside the help file" % name)
    with open(target, "rb") as stream:
        return stream.read().decode("cp932")


def sitemap_entries(text):
    """(names, local) of each sitemap object, in order."""
    entries = []
    for body in re.findall(r'<OBJECT type="text/sitemap">(.*?)</OBJECT>', text, re.S | re.I):
        names = re.findall(r'<param name="Name" value="([^"]*)">', body, re.I)
        locals_ = re.findall(r'<param name="Local" value="([^"]*)">', body, re.I)
        entries.append((names, locals_))
    return entries


def main():
    chmls, chm, source = sys.argv[1:4]
    failures = []
    with open(chm, "rb") as stream:
        if stream.read(4) != b"ITSF":
            sys.exit("%s is not a compiled help file" % chm)

    inside = {line.strip().lstrip("/").lower()
              for line in run(chmls, "-n", "-p", "list", chm).splitlines()}
    system = run(chmls, "printsystem", chm)
    if not re.search(r"LCID from HHP file\s*:\s*1041\b", system):
        failures.append("the help file is not marked Japanese (LCID 1041)")

    pages = {}
    for path in sorted(glob.glob(os.path.join(source, "*.htm"))):
        with open(path, encoding="utf-8") as stream:
            pages[os.path.basename(path)] = re.search(r"<title>(.*?)</title>", stream.read()).group(1)

    with tempfile.TemporaryDirectory() as folder:
        contents = sitemap_entries(extract(chmls, chm, "/FernHelp.hhc", folder))
        index = sitemap_entries(extract(chmls, chm, "/FernHelp.hhk", folder))

    listed = {local: names for names, locals_ in contents for local in locals_}
    for page, title in pages.items():
        if page.lower() not in inside:
            failures.append("%s is not inside the help file" % page)
        if page not in listed:
            failures.append("the contents do not list %s" % page)
        elif title not in listed[page]:
            failures.append("the contents name %s %s, not by its title %s" % (page, listed[page], title))
    if not index:
        failures.append("the index is empty")
    for names, locals_ in index:
        for local in locals_:
            if local.lower() not in inside:
                failures.append("index entry %s leads to %s, which is not inside" % (names[0], local))
    indexed = {local for _, locals_ in index for local in locals_}
    for page in pages:
        if page != "index.htm" and page not in indexed:
            failures.append("no index entry leads to %s" % page)

    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
