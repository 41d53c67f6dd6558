"""Geometry the windows draw the skin with: sizes, sheet columns, placements, hit colours.

Every number here is one the window code blits with or reads a hit map at;
change one only together with that code.
"""

from collections import namedtuple

Rect = namedtuple("Rect", "x y w h")

# Title bar window (canvas 1).
TITLE_SIZE = (640, 24)
TITLE_BAND = Rect(142, 13, 191, 8)         # where the caption gradient of 102 lands
CAPTION_ROWS = 8                           # 102: rows 0-7 inactive, 8-15 active
TITLE_BUTTON = 9                           # 103: 9 x 9 looks, rows 0 / 9 / 18
TITLE_MINIMISE = Rect(338, 3, 9, 9)
TITLE_CLOSE = Rect(347, 3, 9, 9)
SYSTEM_MENU_SPOT = Rect(3, 3, 18, 18)      # the badge the system menu opens from
MENU_WINDOW = Rect(366, 3, 260, 18)        # child window: covers the title art there
TITLE_HITS = {"drag": (0, 0, 255), "system_menu": (0, 0, 0), "minimise": (255, 255, 0),
              "close": (255, 0, 0), "nothing": (255, 255, 255)}

# Menu window (canvas 2) and the owner-drawn items of its pop-ups.
MENU_SIZE = (260, 18)
MENU_TITLES = ["ファイル", "編集", "操作", "ヘルプ"]
MENU_TITLE = Rect(2, 2, 64, 14)            # title n at x 2 + 64 n; 202 column 64 n
MENU_TITLE_HITS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]
MENU_ITEM_BACK = (100, 16)                 # 203, stretched over each item
MENU_ICON = (18, 16)                       # 204 cell; columns at id x 19
MENU_ICON_PITCH = 19
MENU_ICON_COUNT = 21                       # column 0: selection frame; 1-20: item ids
MENU_ICON_ROWS = {"normal": 0, "checked": 32, "greyed": 64}   # mask row; image row + 16

# Left panel (canvas 3): header, button bar, list buttons, waiting animation.
LEFT_SIZE = (360, 280)
LEFT_WELL = Rect(17, 17, 326, 246)
LEFT_HEADER = (320, 15)
LEFT_BAR = Rect(20, 240, 320, 20)
LIST_BUTTON = (50, 20)                     # 302: columns 0 / 50 / 100, rows 0 / 20 / 40
LIST_BUTTONS = [("追加", "plus", 170), ("編集", "pencil", 220), ("削除", "cross", 270)]
ANIMATION_WIDTH = 320
ANIMATION_FRAME = 60                       # 303: ten frames, one under the other
ANIMATION_FRAMES = 10

# Right panel (canvas 4).
RIGHT_SIZE = (280, 220)
RIGHT_WELL = Rect(17, 17, 246, 186)
RIGHT_HEADER = (240, 15)

# Control window (canvas 5) and control strip (canvas 8) share the button sheet 501
# (looks at rows 0 / 17 / 34) and the overlay sheet 502 (row 0).
CONTROL_SIZE = (280, 60)
STRIP_SIZE = (300, 18)
BUTTON_PITCH = 17
Column = namedtuple("Column", "name x w h")
SHEET_COLUMNS = [
    Column("reduced", 0, 20, 11), Column("actual", 20, 20, 11), Column("window", 40, 23, 11),
    Column("disconnect", 63, 20, 11), Column("pause", 83, 22, 11),
    Column("connect", 105, 72, 11),
    Column("mouse", 177, 77, 17), Column("keyboard", 254, 77, 17),
    Column("mouse_small", 331, 17, 17), Column("keyboard_small", 348, 17, 17),
    Column("fit", 365, 31, 17)]
SHEET_WIDTH = 396
CONNECT_HIDDEN = 22   # connect's first columns are black so that pause shows through
Placement = namedtuple("Placement", "column x y hit")
CONTROL_BUTTONS = [
    Placement("reduced", 8, 3, (100, 0, 0)), Placement("actual", 30, 3, (0, 100, 0)),
    Placement("window", 55, 3, (0, 0, 100)), Placement("disconnect", 89, 3, (255, 0, 0)),
    Placement("pause", 112, 3, (0, 255, 0)), Placement("connect", 112, 3, (0, 0, 255)),
    Placement("mouse", 8, 20, (200, 0, 0)), Placement("keyboard", 8, 37, (0, 200, 0))]
STRIP_BUTTONS = [
    Placement("reduced", 110, 4, (100, 0, 0)), Placement("actual", 132, 4, (0, 100, 0)),
    Placement("window", 157, 4, (0, 0, 100)), Placement("disconnect", 196, 4, (255, 0, 0)),
    Placement("pause", 218, 4, (0, 255, 0)), Placement("connect", 218, 4, (0, 0, 255)),
    Placement("mouse_small", 59, 1, (200, 0, 0)),
    Placement("keyboard_small", 77, 1, (0, 200, 0)), Placement("fit", 12, 1, (50, 0, 0))]
NO_BUTTON = (0, 0, 0)
CONTROL_LABEL = Rect(186, 3, 90, 11)       # 503
INFO_PANEL = Rect(90, 20, 171, 34)         # 504: rows 0 (rest) and 34 (highlighted)
INFO_TEXT = [(94, 22), (94, 31), (94, 40)]

# State window (canvas 6): 600, rows 0 (rest) and 24 (new text).
STATE_SIZE = (640, 24)
STATE_TEXT = (30, 5)

# Full-size view window frame (canvas 7): 700 at the top, 701 at the bottom.
FRAME_TOP = (376, 24)
FRAME_TOP_STRETCH = (142, 333)             # columns stretched to the window's width
FRAME_BOTTOM = (300, 20)
FRAME_BOTTOM_CAP = 15                      # columns kept at each end of 701
STRIP_OFFSET = (315, 19)                   # strip at width - 315, height - 19


def sheet_column(name):
    return next(column for column in SHEET_COLUMNS if column.name == name)
