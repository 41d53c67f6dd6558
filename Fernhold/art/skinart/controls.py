"""Art of the control window (500-504) and the button sheets it shares with the control strip.

The sheets are copied black-is-transparent, so each look is drawn whole
(rounded corners left black) and never uses pure black inside.
"""

from PIL import Image, ImageDraw

from . import glyphs, paint, theme
from .layout import (BUTTON_PITCH, CONNECT_HIDDEN, CONTROL_BUTTONS, CONTROL_LABEL, CONTROL_SIZE,
                     INFO_PANEL, NO_BUTTON, SHEET_COLUMNS, SHEET_WIDTH)

LOOKS = ("normal", "hover", "pressed")
FACES = {  # face top, face bottom, border, ink
    "normal": (theme.PAPER_TOP, theme.PAPER_BOTTOM, theme.BORDER, theme.INK_SOFT),
    "hover": (theme.HOVER_TOP, theme.HOVER_BOTTOM, theme.FERN, theme.INK),
    "pressed": (theme.PRESSED_TOP, theme.PRESSED_BOTTOM, theme.BORDER_DARK, theme.INK),
}
# Soft edges of the black-keyed sheets are settled against a grey between the
# light window face and the dark strip they are copied onto.
SHEET_MATTE = (188, 194, 200)


def face(width, height, look, box=None):
    """A push-button face in one of its three looks."""
    top, bottom, border, _ = FACES[look]
    radius = 2.5 if height < 14 else 4
    shine = (255, 255, 255) if look != "pressed" else None
    return paint.bevel(width, height, box or (0, 0, width, height), radius, top, bottom, border,
                       shine)


def accent_face(width, height, accent, box=None):
    """The lit face an overlay lays over a button that is selected or on."""
    light = tuple(min(255, c + 60) for c in accent)
    dark = tuple(max(0, c - 36) for c in accent)
    radius = 2.5 if height < 14 else 4
    lit = paint.bevel(width, height, box or (0, 0, width, height), radius, light, accent, dark,
                      shine=(255, 255, 255))
    lit.putalpha(lit.getchannel("A").point(lambda a: a * 235 // 255))
    return lit


def _pixel_glyph(layer, name, ink, left=None):
    mask = glyphs.pixel(name)
    x = (layer.width - mask.width) // 2 if left is None else left
    paint.paint(layer, ink, mask, (x, (layer.height - mask.height) // 2))


def _vector_glyph(layer, draw, box, *colours):
    sketch = paint.Sketch(layer.width, layer.height)
    draw(sketch, box, *[c + (255,) for c in colours])
    paint.over(layer, sketch.done())


def _connect_content(layer, ink):
    text = "接続"
    face10 = paint.font(10)
    width = 5 + 3 + paint.text_width(text, face10)
    left = CONNECT_HIDDEN + (layer.width - CONNECT_HIDDEN - width) // 2
    _pixel_glyph(layer, "play", ink, left)
    paint.write(layer, (left + 8, 0), text, face10, ink)


SWITCH_LABELS = {"mouse": "マウス", "keyboard": "キーボード"}
LAMP = (65, 4, 74, 13)   # the switch's lamp; its overlay lights it


def _switch_content(layer, name, ink):
    paint.write(layer, (5, 3), SWITCH_LABELS[name], paint.font(11), ink)
    _vector_glyph(layer, lambda s, box, c, rim: s.ellipse(box, fill=c, outline=rim, width=1),
                  LAMP, theme.LAMP_OFF, theme.BORDER_DARK)


SMALL_GLYPHS = {"mouse_small": (glyphs.mouse, (3, 3, 14, 14), True),
                "keyboard_small": (glyphs.keyboard, (2, 3, 15, 14), True),
                "fit": (glyphs.fit_arrows, (8, 3, 23, 14), False)}   # True: a second colour
PIXEL_GLYPHS = {"reduced": "reduced", "actual": "actual", "window": "window",
                "disconnect": "stop", "pause": "pause"}
ACCENTS = {"disconnect": theme.CORAL, "pause": theme.AMBER}


def _content(layer, name, ink, on=False):
    """Draws a column's picture or label in ink; on: for the overlay, with green insides."""
    if name in PIXEL_GLYPHS:
        _pixel_glyph(layer, PIXEL_GLYPHS[name], ink)
    elif name == "connect":
        _connect_content(layer, ink)
    elif name in SMALL_GLYPHS:
        draw, box, filled = SMALL_GLYPHS[name]
        inside = (theme.FERN if on else theme.PAPER_TOP,) if filled else ()
        _vector_glyph(layer, draw, box, ink, *inside)
    else:
        _switch_content(layer, name, ink)


def _face_box(column):
    left = CONNECT_HIDDEN if column.name == "connect" else 0
    return (left, 0, column.w, column.h)


def button_sheet():
    """501: every column's normal, hover and pressed look, BUTTON_PITCH rows apart."""
    sheet = Image.new("RGB", (SHEET_WIDTH, 3 * BUTTON_PITCH), (0, 0, 0))
    for column in SHEET_COLUMNS:
        for row, look in enumerate(LOOKS):
            layer = face(column.w, column.h, look, _face_box(column))
            _content(layer, column.name, FACES[look][3])
            sheet.paste(paint.black_keyed(layer, SHEET_MATTE), (column.x, row * BUTTON_PITCH))
    return sheet


def overlay_sheet():
    """502: what a selected view, an available session step or a switch that is on adds."""
    sheet = paint.blank(SHEET_WIDTH, BUTTON_PITCH)
    for column in SHEET_COLUMNS:
        if column.name in ("mouse", "keyboard"):
            layer = paint.blank(column.w, column.h)
            x0, y0, x1, y1 = LAMP
            glow = paint.coverage(column.w, column.h, lambda s: s.ellipse(
                (x0 - 2, y0 - 2, x1 + 2, y1 + 2), fill=(255, 255, 255, 255)))
            paint.paint(layer, theme.FERN_LIGHT, glow, opacity=0.45)
            _vector_glyph(layer, lambda s, box, c, rim: s.ellipse(box, fill=c, outline=rim),
                          LAMP, (168, 236, 186), theme.FERN_DARK)
            _vector_glyph(layer, lambda s, box, c: s.ellipse(box, fill=c),
                          (x0 + 2, y0 + 2, x0 + 5, y0 + 5), (255, 255, 255))
        else:
            layer = accent_face(column.w, column.h, ACCENTS.get(column.name, theme.FERN),
                                _face_box(column))
            _content(layer, column.name, (255, 255, 255), on=True)
        sheet.paste(layer, (column.x, 0))
    return sheet


def hit_rect(placement, column):
    """Where a button's colour lies: connect leaves its first columns to pause."""
    hidden = CONNECT_HIDDEN if placement.column == "connect" else 0
    return (placement.x + hidden, placement.y, placement.x + column.w - 1,
            placement.y + column.h - 1)


def hit_map(size, placements):
    hits = Image.new("RGB", size, NO_BUTTON)
    draw = ImageDraw.Draw(hits)
    columns = {column.name: column for column in SHEET_COLUMNS}
    for placement in placements:
        draw.rectangle(hit_rect(placement, columns[placement.column]), fill=placement.hit)
    return hits


def control_label():
    x, y, w, h = CONTROL_LABEL
    label = paint.blank(w, h)
    face10 = paint.font(10)
    text = "リモート操作"
    left = w - 2 - paint.text_width(text, face10)
    _vector_glyph(label, lambda s, box, ink: glyphs.frond(s, box, ink, pinnae=4, curl=False),
                  (left - 12, 0, left - 1, 11), theme.FERN)
    paint.write(label, (left, 0), text, face10, theme.INK_SOFT)
    return label


def info_panel():
    """504: the information display at rest (row 0) and lit after a change (row h)."""
    w, h = INFO_PANEL.w, INFO_PANEL.h
    sheet = Image.new("RGBA", (w, 2 * h))
    for row, (top, bottom, mark) in enumerate(
            ((theme.DISPLAY_TOP, theme.DISPLAY_BOTTOM, (120, 140, 146)),
             (theme.DISPLAY_LIT_TOP, theme.DISPLAY_LIT_BOTTOM, (40, 150, 146)))):
        panel = paint.gradient(w, h, top, bottom)
        panel.paste(theme.BORDER + (255,), (0, 0, w, 1))
        panel.paste(theme.BORDER + (255,), (0, 0, 1, h))
        panel.paste((255, 255, 255, 255), (0, h - 1, w, h))
        panel.paste((255, 255, 255, 255), (w - 1, 0, w, h))
        paint.paint(panel, (0, 0, 0), paint.area(w, h, (1, 1, w - 1, 2)), opacity=0.08)
        white = (255, 255, 255, 255)
        paint.paint(panel, mark, paint.coverage(w, h, lambda s: glyphs.frond(
            s, (w - 30, 3, w - 4, 31), white)), opacity=0.3)
        sheet.paste(panel, (0, row * h))
    return sheet.convert("RGB")


def control_window(files):
    files.art(500, hit_map(CONTROL_SIZE, CONTROL_BUTTONS))
    files.art(501, button_sheet())
    files.masked(502, overlay_sheet())
    files.masked(503, control_label())
    files.art(504, info_panel())
