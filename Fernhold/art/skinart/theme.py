"""Colours and faces of the Fernhold look: dark slate bars, light paper controls, fern accents."""

JAPANESE_FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
LATIN_FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"   # same package, proportional

# Slate: title bar, headers, the bands of the full-size view window.
SLATE_HIGHLIGHT = (100, 117, 135)
SLATE_TOP = (68, 83, 100)
SLATE_BOTTOM = (45, 56, 69)
SLATE_EDGE = (27, 33, 41)
SLATE_RECESS = (34, 42, 52)
SLATE_TEXT = (234, 239, 244)
SLATE_TEXT_DIM = (160, 176, 192)

# Paper: button faces, bars and fields.
PAPER_TOP = (253, 254, 255)
PAPER_BOTTOM = (225, 230, 236)
HOVER_TOP = (255, 255, 255)
HOVER_BOTTOM = (236, 244, 240)
PRESSED_TOP = (196, 205, 214)
PRESSED_BOTTOM = (221, 227, 233)
BORDER = (138, 150, 163)
BORDER_DARK = (98, 110, 123)
INK = (38, 50, 62)
INK_SOFT = (98, 112, 126)

# Accents.
FERN = (58, 150, 96)
FERN_LIGHT = (134, 208, 158)
FERN_DARK = (32, 102, 62)
AMBER = (222, 150, 38)
CORAL = (204, 76, 64)
SKY = (58, 132, 204)
LAMP_OFF = (150, 160, 170)

# Lit displays (information panel, state window): the text colours the windows
# use there are teal and slate blue, so the fields are pale and cool.
DISPLAY_TOP = (226, 232, 234)
DISPLAY_BOTTOM = (208, 217, 219)
DISPLAY_LIT_TOP = (222, 249, 245)
DISPLAY_LIT_BOTTOM = (184, 234, 228)
FIELD_TOP = (252, 253, 254)
FIELD_BOTTOM = (238, 242, 246)
FIELD_LIT_TOP = (238, 252, 250)
FIELD_LIT_BOTTOM = (212, 241, 237)
FIELD_LIT_BORDER = (102, 176, 170)
