#!/usr/bin/env python3
"""The release ZIP holds one folder "Fernhold" with exactly what the installer ships:
the modules named on the command line, the skin and, when built, the help file; no
user files, no test programs.
Usage: check_zip.py <Fernhold.zip> <stage folder> <module>..."""
import os
import sys
import zipfile


def main():
    archive, stage, *modules = sys.argv[1:]
    with zipfile.ZipFile(archive) as zip_file:
        bad = zip_file.testzip()
        names = {name for name in zip_file.namelist() if not name.endswith("/")}
    failures = ["damaged member %s" % bad] if bad else []
    staged = {os.path.relpath(os.path.join(folder, name), os.path.dirname(stage)).replace(os.sep, "/")
              for folder, _, files in os.walk(stage) for name in files}
    if names != staged:
        failures.append("the ZIP differs from the staged folder: %s" % sorted(names ^ staged))
    expected = ["Fernhold/" + module for module in modules] + ["Fernhold/Resource/100.bmp"]
    failures += ["%s is missing" % name for name in expected if name not in names]
    for name in names:
        lowered = name.lower()
        if (lowered.endswith((".clf", "fernoption.dat")) or "/userinfo/" in lowered
                or "test" in lowered or not lowered.startswith("fernhold/")):
            failures.append("%s does not belong in the release" % name)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
