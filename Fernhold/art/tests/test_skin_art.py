"""Checks the committed skin and program resources against the generator and the windows' geometry.

Run: /usr/bin/python3 -m unittest discover -s Fernhold/art/tests
"""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

ART = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, ART)

from skinart.bmpfile import read_bmp  # noqa: E402

# The bitmaps of the skin with the smallest size each window's blits need
# (width, height); an "a" mask has its bitmap's size.
SKIN_SIZES = {
    "100": (640, 24), "101": (640, 24), "102": (191, 16), "103": (18, 27),
    "200": (260, 18), "201": (260, 18), "202": (256, 42), "203": (100, 16), "204": (398, 96),
    "300": (320, 15), "301": (320, 20), "302": (150, 60), "303": (320, 600),
    "400": (240, 15),
    "500": (280, 60), "501": (396, 51), "502": (396, 17), "503": (90, 11), "504": (171, 68),
    "600": (640, 48), "700": (376, 24), "701": (300, 20), "800": (300, 18), "801": (300, 18),
}
MASKED = {"100", "201", "202", "203", "301", "302", "502", "503", "600", "700", "701", "801"}

# Buttons as the windows place them: name, control window rect, strip rect, hit colour.
# Rects are x, y, width, height; connect's first 22 columns are pause's.
BUTTONS = [
    ("reduced whole screen", (8, 3, 20, 11), (110, 4, 20, 11), (100, 0, 0)),
    ("actual-size range", (30, 3, 20, 11), (132, 4, 20, 11), (0, 100, 0)),
    ("full-size window", (55, 3, 23, 11), (157, 4, 23, 11), (0, 0, 100)),
    ("disconnect", (89, 3, 20, 11), (196, 4, 20, 11), (255, 0, 0)),
    ("pause", (112, 3, 22, 11), (218, 4, 22, 11), (0, 255, 0)),
    ("connect", (134, 3, 50, 11), (240, 4, 50, 11), (0, 0, 255)),
    ("mouse switch", (8, 20, 77, 17), (59, 1, 17, 17), (200, 0, 0)),
    ("keyboard switch", (8, 37, 77, 17), (77, 1, 17, 17), (0, 200, 0)),
    ("fit to window", None, (12, 1, 31, 17), (50, 0, 0)),
]
BLACK, BLUE, WHITE = (0, 0, 0), (0, 0, 255), (255, 255, 255)
# Columns of the button sheet 501 as (source x, width, height); looks 17 rows apart.
SHEET_COLUMNS = [(0, 20, 11), (20, 20, 11), (40, 23, 11), (63, 20, 11), (83, 22, 11),
                 (105, 72, 11), (177, 77, 17), (254, 77, 17), (331, 17, 17), (348, 17, 17),
                 (365, 31, 17)]
CONNECT_COLUMN = 105


def load(name):
    with open(os.path.join(ART, name), "rb") as f:
        return f.read()


def skin(number):
    return read_bmp(load(f"Resource/{number}.bmp"))[1]


def pixels_in(image, rect):
    x, y, w, h = rect
    return [image.getpixel((i, j)) for j in range(y, y + h) for i in range(x, x + w)]


def committed_files():
    found = set()
    for folder in ("Resource", "program"):
        for name in os.listdir(os.path.join(ART, folder)):
            found.add(f"{folder}/{name}")
    return found


class CommittedFilesTest(unittest.TestCase):
    def test_a_fresh_generation_writes_the_committed_bytes(self):
        with tempfile.TemporaryDirectory() as out:
            subprocess.run([sys.executable, os.path.join(ART, "generate_skin.py"), out],
                           check=True)
            fresh = {f"{folder}/{name}" for folder in ("Resource", "program")
                     for name in os.listdir(os.path.join(out, folder))}
            self.assertEqual(sorted(fresh ^ committed_files()), [],
                             "files only one side has")
            differing = []
            for name in sorted(fresh):
                with open(os.path.join(out, name), "rb") as f:
                    if f.read() != load(name):
                        differing.append(name)
            self.assertEqual(differing, [], "committed files differ from a fresh generation; "
                             "run /usr/bin/python3 Fernhold/art/generate_skin.py and commit")

    def test_every_skin_bitmap_is_one_the_loader_reads_at_the_size_the_windows_blit(self):
        expected = {f"Resource/{n}.bmp" for n in SKIN_SIZES}
        expected |= {f"Resource/{n}a.bmp" for n in MASKED}
        self.assertEqual(sorted({n for n in committed_files() if n.startswith("Resource/")}),
                         sorted(expected))
        for number, size in SKIN_SIZES.items():
            with self.subTest(number=number):
                bits, image = read_bmp(load(f"Resource/{number}.bmp"))
                self.assertEqual(image.size, size)
                self.assertEqual(bits, 24)
                if number in MASKED:
                    bits, mask = read_bmp(load(f"Resource/{number}a.bmp"))
                    self.assertEqual(mask.size, size)
                    # The loader takes (r + g + b) / 3 as alpha: grey keeps every level.
                    self.assertTrue(all(r == g == b for r, g, b in mask.getdata()))


class HitMapTest(unittest.TestCase):
    def assert_regions(self, image, regions, rest):
        """Each rect holds its colour only, the colour is nowhere else, all else is rest."""
        counts = {}
        for colour in image.getdata():
            counts[colour] = counts.get(colour, 0) + 1
        for name, rect, colour in regions:
            with self.subTest(region=name):
                self.assertEqual(set(pixels_in(image, rect)), {colour})
                self.assertEqual(counts.pop(colour, 0), rect[2] * rect[3],
                                 f"{colour} also lies outside {name}")
        self.assertEqual(set(counts), {rest})

    def test_control_window_and_strip_colours_lie_exactly_on_their_buttons(self):
        for number, pick in (("500", 1), ("800", 2)):
            with self.subTest(hit_map=number):
                regions = [(b[0], b[pick], b[3]) for b in BUTTONS if b[pick]]
                self.assert_regions(skin(number), regions, BLACK)

    def test_title_bar_drags_everywhere_but_its_buttons_spot_and_menu(self):
        hits = skin("101")
        black = [(x, y) for y in range(24) for x in range(640)
                 if hits.getpixel((x, y)) == BLACK]
        self.assertTrue(black, "no system-menu spot")
        xs, ys = [x for x, _ in black], [y for _, y in black]
        spot = (min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)
        self.assertLess(spot[0] + spot[2], 142, "the spot lies left of the caption band")
        self.assert_regions(hits, [
            ("minimise", (338, 3, 9, 9), (255, 255, 0)), ("close", (347, 3, 9, 9), (255, 0, 0)),
            ("system menu", spot, BLACK), ("menu window", (366, 3, 260, 18), WHITE)], BLUE)

    def test_menu_titles_have_a_colour_each(self):
        hits = skin("200")
        colours = [hits.getpixel((2 + 64 * n, 2)) for n in range(4)]
        self.assertEqual(len(set(colours) | {BLACK}), 5)
        self.assert_regions(hits, [(f"title {n + 1}", (2 + 64 * n, 2, 64, 14), colours[n])
                                   for n in range(4)], BLACK)


class BlackKeyedSheetTest(unittest.TestCase):
    """Sheets copied with black as transparent: black only where no button is."""

    def assert_black_only_at_corners(self, image, cell, label):
        x, y, w, h = cell
        for j in range(h):
            for i in range(w):
                if image.getpixel((x + i, y + j)) == BLACK:
                    corner = min(i, w - 1 - i) + min(j, h - 1 - j)
                    self.assertLess(corner, 3, f"{label}: a hole at {i}, {j}")

    def test_button_looks_are_whole_and_connect_lets_pause_show(self):
        sheet = skin("501")
        for x, w, h in SHEET_COLUMNS:
            for look in range(3):
                with self.subTest(column=x, look=look):
                    left = 22 if x == CONNECT_COLUMN else 0
                    self.assertEqual(set(pixels_in(sheet, (x, 17 * look, left, h))) - {BLACK},
                                     set())
                    self.assert_black_only_at_corners(sheet, (x + left, 17 * look, w - left, h),
                                                      f"column {x}")

    def test_title_buttons_are_whole(self):
        sheet = skin("103")
        for column in (0, 9):
            for row in (0, 9, 18):
                self.assert_black_only_at_corners(sheet, (column, row, 9, 9), f"{column},{row}")


class ProgramResourceTest(unittest.TestCase):
    def directory(self, data, kind):
        reserved, found_kind, count = struct.unpack_from("<HHH", data)
        self.assertEqual((reserved, found_kind), (0, kind))
        entries = [struct.unpack_from("<BBBBHHII", data, 6 + 16 * i) for i in range(count)]
        for entry in entries:
            size, offset = entry[6], entry[7]
            self.assertLessEqual(offset + size, len(data))
            header = struct.unpack_from("<IiiHH", data, offset)
            self.assertEqual(header[:3], (40, entry[0], 2 * entry[1]))   # colour + AND mask
        return entries

    def test_icons_hold_16_and_32_pixel_images(self):
        for name in ("icon110.ico", "icon126.ico"):
            with self.subTest(icon=name):
                entries = self.directory(load(f"program/{name}"), 1)
                self.assertEqual(sorted(e[0] for e in entries), [16, 32])

    def test_cursor_hot_spots_lie_on_the_hand(self):
        for name in ("cursor106.cur", "cursor107.cur"):
            with self.subTest(cursor=name):
                data = load(f"program/{name}")
                (width, height, _, _, x, y, _, offset), = self.directory(data, 2)
                # The pixel under the hot spot in the bottom-up 32-bit colour rows.
                row = height - 1 - y
                alpha = data[offset + 40 + 4 * (row * width + x) + 3]
                self.assertEqual(alpha, 255)

    def test_state_icons_are_five_distinct_16_colour_pictures(self):
        bits, strip = read_bmp(load("program/bitmap101.bmp"))
        self.assertEqual((bits, strip.size), (4, (80, 16)))
        cells = [tuple(pixels_in(strip, (16 * n, 0, 16, 16))) for n in range(5)]
        self.assertEqual(len(set(cells)), 5)
        for cell in cells:
            self.assertGreater(sum(p != BLACK for p in cell), 64)

    def test_about_picture_is_a_256_colour_banner(self):
        bits, banner = read_bmp(load("program/bitmap125.bmp"))
        self.assertEqual((bits, banner.size), (8, (200, 48)))
        self.assertGreater(len(set(banner.getdata())), 16)


if __name__ == "__main__":
    unittest.main()
