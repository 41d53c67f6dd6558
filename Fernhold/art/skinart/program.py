"""Resources linked into Fernhold.exe: icons 110 and 126, cursors 106 and 107, bitmaps 101 and 125."""

from PIL import Image, ImageFilter

from . import bmpfile, glyphs, paint, theme

WHITE = (255, 255, 255, 255)


def program_icon(size):
    """110: the fern frond on a green tile, the look of the program and its windows."""
    radius = size * 0.22
    tile = paint.bevel(size, size, (0, 0, size, size), radius, theme.FERN_LIGHT, theme.FERN_DARK,
                       (24, 80, 48), shine=(255, 255, 255))
    sketch = paint.Sketch(size, size)
    inset = size * 0.12
    glyphs.frond(sketch, (inset, inset, size - inset, size - inset), WHITE,
                 pinnae=7 if size >= 32 else 4, curl=size >= 32)
    return paint.over(tile, sketch.done())


def tray_icon(size):
    """126: a round slate badge with a light frond, readable on light and dark taskbars."""
    sketch = paint.Sketch(size, size)
    sketch.ellipse((0, 0, size, size), fill=theme.FERN_LIGHT + (255,))
    ring = max(1.0, size / 16)
    sketch.ellipse((ring, ring, size - ring, size - ring), fill=theme.SLATE_BOTTOM + (255,))
    inset = size * 0.16
    glyphs.frond(sketch, (inset, inset, size - inset, size - inset), theme.FERN_LIGHT + (255,),
                 pinnae=6 if size >= 32 else 4, curl=size >= 32)
    return sketch.done()


# Hands drawn pixel by pixel: '#' outline, '.' fill, anything else clear.
OPEN_HAND = [
    "       ##       ",
    "   ## #..###    ",
    "  #..##..#..#   ",
    "  #..##..#..# # ",
    "   #..#..#..##.#",
    "   #..#..#..#..#",
    " ## #.......#..#",
    "#..##..........#",
    "#...#.........# ",
    " #............# ",
    "  #...........# ",
    "  #..........#  ",
    "   #.........#  ",
    "    #.......#   ",
    "     #......#   ",
    "     #......#   ",
]
CLOSED_HAND = [
    "                ",
    "                ",
    "                ",
    "    ## ## ##    ",
    "   #..#..#..##  ",
    "   #........#.# ",
    "    #.........# ",
    "   ##.........# ",
    "  #...........# ",
    "  #..........#  ",
    "   #.........#  ",
    "    #.......#   ",
    "     #......#   ",
    "     #......#   ",
]
CURSOR_SIZE = 32


def hand_cursor(rows):
    """A 32 x 32 cursor of a pixel hand with a soft shadow; the hot spot is the palm's middle."""
    ink, fill = (22, 28, 34, 255), (255, 255, 255, 255)
    hand = Image.new("RGBA", (CURSOR_SIZE, CURSOR_SIZE), (0, 0, 0, 0))
    hand.putdata([{"#": ink, ".": fill}.get(c, (0, 0, 0, 0))
                  for r in rows + [""] * (CURSOR_SIZE - len(rows))
                  for c in r.ljust(CURSOR_SIZE)])
    shadow = Image.new("RGBA", hand.size, (0, 0, 0, 0))
    shadow.putalpha(hand.getchannel("A").point(lambda a: a * 70 // 255)
                    .filter(ImageFilter.GaussianBlur(1)))
    out = Image.new("RGBA", hand.size, (0, 0, 0, 0))
    out.paste(shadow, (1, 2))
    return Image.alpha_composite(out, hand), (8, 9)


# The five search states of a destination, 16 x 16 each: idle, found, not found,
# searching, waking. The image list takes black as transparent, so no picture uses it.
STATE_PALETTE = [
    (0, 0, 0), (255, 255, 255), (40, 48, 58), (132, 142, 152), (200, 207, 214),
    theme.FERN, (150, 220, 170), theme.CORAL, (248, 186, 176), theme.AMBER, (252, 222, 128),
    theme.SKY, (160, 204, 244), theme.FERN_DARK, (92, 106, 122), (236, 240, 244)]
STATE_KEY = {".": 0, "w": 1, "#": 2, "g": 3, "l": 4, "G": 5, "h": 6, "R": 7, "r": 8, "A": 9,
             "y": 10, "B": 11, "b": 12, "D": 13, "s": 14, "p": 15}
MONITOR = [
    "................",
    ".#############..",
    ".#SSSSSSSSSSS#..",
    ".#SSSSSSSSSSS#..",
    ".#SSSSSSSSSSS#..",
    ".#SSSSSSSSSSS#..",
    ".#SSSSSSSSSSS#..",
    ".#SSSSSSSSSSS#..",
    ".#SSSSSSSSSSS#..",
    ".#############..",
    "......###.......",
    "....#######.....",
    "................",
    "................",
    "................",
    "................",
]
BADGES = {
    # state: (screen colour, 9 x 9 badge over the monitor's lower right corner)
    0: ("l", []),
    1: ("b", ["...GGG...", ".GGGGGGG.", ".GGGGGGw.", "GGGGGGwwG", "GwGGGwwGG", "GwwGwwGGG",
              ".GwwwGGG.", ".GGwGGGG.", "...GGG..."]),
    2: ("g", ["...RRR...", ".RRRRRRR.", ".RwRRRwR.", "RRRwRwRRR", "RRRRwRRRR", "RRRwRwRRR",
              ".RwRRRwR.", ".RRRRRRR.", "...RRR..."]),
    3: ("b", ["..####...", ".#yyyy#..", "#yyywyy#.", "#yyyyyy#.", "#yyyyyy#.", ".#yyyy#..",
              "..####A..", "......AA.", ".......AA"]),
    4: ("s", ["...AAA...", ".AAAwAAA.", ".AwAwAwA.", "AwAAwAAwA", "AwAAAAAwA", "AwAAAAAwA",
              ".AwAAAwA.", ".AAwwwAA.", "...AAA..."]),
}
BADGE_AT = 7


def state_icons():
    """101: the five state pictures side by side, 16 colours."""
    strip = Image.new("P", (80, 16), 0)
    for state, (screen, badge) in BADGES.items():
        picture = [row.replace("S", screen) for row in MONITOR]
        for y, row in enumerate(badge):
            line = picture[BADGE_AT + y]
            picture[BADGE_AT + y] = line[:BADGE_AT] + "".join(
                b if b != "." else a for a, b in zip(line[BADGE_AT:], row))
        for y, row in enumerate(picture):
            for x, key in enumerate(row):
                strip.putpixel((state * 16 + x, y), STATE_KEY[key])
    return strip


ABOUT_SIZE = (200, 48)


def about_picture():
    """125: the about dialog's banner, the frond tile beside the name on a slate band,
    reduced to 256 colours."""
    width, height = ABOUT_SIZE
    band = paint.gradient(width, height, theme.SLATE_TOP, theme.SLATE_BOTTOM)
    tile = program_icon(40)
    banner = paint.over(band, tile, at=(4, 4))
    paint.write(banner, (52, 5), "Fernhold", paint.font(22, latin=True), theme.SLATE_TEXT,
                shadow=(theme.SLATE_EDGE, (1, 1)))
    paint.write(banner, (54, 31), "リモート操作  ver1.13", paint.font(11),
                theme.FERN_LIGHT)
    indices = banner.convert("RGB").quantize(256, method=Image.Quantize.MEDIANCUT, dither=0)
    palette = indices.getpalette()[:768]
    palette += [0] * (768 - len(palette))
    return indices, [tuple(palette[i:i + 3]) for i in range(0, 768, 3)]


def program_resources(files):
    files.program("icon110.ico", bmpfile.ico_bytes([program_icon(16), program_icon(32)]))
    files.program("icon126.ico", bmpfile.ico_bytes([tray_icon(16), tray_icon(32)]))
    for number, rows in ((106, OPEN_HAND), (107, CLOSED_HAND)):
        image, hot_spot = hand_cursor(rows)
        files.program(f"cursor{number}.cur", bmpfile.cur_bytes(image, hot_spot))
    files.program("bitmap101.bmp", bmpfile.bmp4_bytes(state_icons(), STATE_PALETTE))
    files.program("bitmap125.bmp", bmpfile.bmp8_bytes(*about_picture()))
