#!/usr/bin/python3
"""Draws the Fernhold skin and program resources.

    generate_skin.py [OUTPUT]        write Resource/ and program/ under OUTPUT
                                     (default: beside this script, the committed files)
    generate_skin.py --preview PNG   compose the main window from the files and save a sheet

Run with Debian's Python 3 and Pillow (python3-pil); the art is drawn from code
and the IPAGothic font, so every run writes the same bytes.
"""

import argparse
import io
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skinart import controls, fullview, mainwindow, panels, program, wizard  # noqa: E402
from skinart.files import SkinFiles  # noqa: E402

FAMILIES = [mainwindow.title_bar, mainwindow.menu_bar, panels.left_panel, panels.right_panel,
            controls.control_window, mainwindow.state_window, fullview.full_view,
            program.program_resources, wizard.wizard_pictures]


def generate():
    files = SkinFiles()
    for family in FAMILIES:
        family(files)
    return files.files


def write(files, root):
    for path, data in sorted(files.items()):
        target = os.path.join(root, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as out:
            out.write(data)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", nargs="?", default=os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--preview", metavar="PNG")
    args = parser.parse_args(argv)
    files = generate()
    if args.preview:
        from skinart import preview
        sheet = preview.sheet(files)
        buffer = io.BytesIO()
        sheet.save(buffer, "PNG")
        with open(args.preview, "wb") as out:
            out.write(buffer.getvalue())
    else:
        write(files, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
