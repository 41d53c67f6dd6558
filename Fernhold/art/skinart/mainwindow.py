"""Art of the main window's bars: title bar (100-103), menu window (200-204), state window (600)."""

from PIL import Image, ImageDraw

from . import glyphs, paint, theme
from .layout import (CAPTION_ROWS, MENU_ICON, MENU_ICON_COUNT, MENU_ICON_PITCH, MENU_ICON_ROWS,
                     MENU_ITEM_BACK, MENU_SIZE, MENU_TITLE, MENU_TITLE_HITS, MENU_TITLES,
                     MENU_WINDOW, STATE_SIZE, SYSTEM_MENU_SPOT, TITLE_BAND, TITLE_BUTTON,
                     TITLE_CLOSE, TITLE_HITS, TITLE_MINIMISE, TITLE_SIZE)

# Defaults for 102 until the program writes the system caption colours into it.
INACTIVE_CAPTION = ((128, 128, 128), (192, 192, 192))
ACTIVE_CAPTION = ((10, 36, 106), (166, 202, 240))


def slate_bar(width, height):
    """The dark bar of the title bar and the full-size view window's top band."""
    bar = paint.gradient(width, height, theme.SLATE_TOP, theme.SLATE_BOTTOM)
    bar.paste(theme.SLATE_HIGHLIGHT + (255,), (0, 0, width, 1))
    bar.paste(theme.SLATE_EDGE + (255,), (0, height - 1, width, height))
    return bar


def caption_slot(layer, band):
    """A recessed glass slot whose inside lets the caption gradient show through."""
    x, y, w, h = band
    layer.paste(theme.SLATE_EDGE + (255,), (x - 1, y - 1, x + w + 1, y))
    layer.paste(theme.SLATE_EDGE + (255,), (x - 1, y, x, y + h))
    layer.paste(theme.SLATE_HIGHLIGHT + (255,), (x - 1, y + h, x + w + 1, y + h + 1))
    layer.paste(theme.SLATE_HIGHLIGHT + (255,), (x + w, y, x + w + 1, y + h))
    layer.paste((255, 255, 255, 0), (x, y, x + w, y + h))
    for row, white in ((0, 110), (1, 56), (2, 20)):
        layer.paste((255, 255, 255, white), (x, y + row, x + w, y + row + 1))
    layer.paste((0, 0, 0, 44), (x, y + h - 1, x + w, y + h))


def emblem_badge(layer, spot):
    """The fern badge: on the title bar it is the spot that opens the system menu."""
    x, y, w, h = spot
    badge = paint.bevel(w, h, (0, 0, w, h), 4, theme.FERN_LIGHT, theme.FERN_DARK,
                        theme.SLATE_EDGE, shine=(255, 255, 255))
    sketch = paint.Sketch(w, h)
    glyphs.frond(sketch, (2, 2, w - 2, h - 2), (255, 255, 255, 255), pinnae=4, curl=False)
    paint.over(badge, sketch.done())
    paint.over(layer, badge, (x, y))


def title_bar(files):
    width, height = TITLE_SIZE
    art = slate_bar(width, height)
    emblem_badge(art, SYSTEM_MENU_SPOT)
    name, version = paint.font(15, latin=True), paint.font(10, latin=True)
    shadow = (theme.SLATE_EDGE, (1, 1))
    paint.write(art, (27, 3), "Fernhold", name, theme.SLATE_TEXT, shadow)
    paint.write(art, (30 + paint.text_width("Fernhold", name), 8), "ver1.13", version,
                theme.SLATE_TEXT_DIM, shadow)
    caption_slot(art, TITLE_BAND)
    # The recess the minimise and close buttons sit in.
    x0, y0 = TITLE_MINIMISE.x - 2, TITLE_MINIMISE.y - 2
    x1, y1 = TITLE_CLOSE.x + TITLE_CLOSE.w + 2, TITLE_CLOSE.y + TITLE_CLOSE.h + 2
    paint.paint(art, theme.SLATE_RECESS, paint.rounded(width, height, (x0, y0, x1, y1), 3))
    art.paste(theme.SLATE_HIGHLIGHT + (255,), (x0 + 2, y1 - 1, x1 - 2, y1))
    files.masked(100, art)
    files.art(101, title_hit_map())
    files.art(102, caption_gradients())
    files.art(103, title_buttons())


def title_hit_map():
    hits = Image.new("RGB", TITLE_SIZE, TITLE_HITS["drag"])
    draw = ImageDraw.Draw(hits)
    for rect, name in ((SYSTEM_MENU_SPOT, "system_menu"), (TITLE_MINIMISE, "minimise"),
                       (TITLE_CLOSE, "close"), (MENU_WINDOW, "nothing")):
        draw.rectangle((rect.x, rect.y, rect.x + rect.w - 1, rect.y + rect.h - 1),
                       fill=TITLE_HITS[name])
    return hits


def caption_gradients():
    image = Image.new("RGB", (TITLE_BAND.w, 2 * CAPTION_ROWS))
    for row, (start, end) in ((0, INACTIVE_CAPTION), (CAPTION_ROWS, ACTIVE_CAPTION)):
        band = paint.gradient(TITLE_BAND.w, CAPTION_ROWS, start, end, across=True)
        image.paste(band.convert("RGB"), (0, row))
    return image


TITLE_BUTTON_LOOKS = [
    # (face top, face bottom, glyph) for minimise, then close; rows normal, hover, pressed
    (((92, 108, 126), (72, 86, 102), theme.SLATE_TEXT_DIM),
     ((92, 108, 126), (72, 86, 102), theme.SLATE_TEXT_DIM)),
    (((126, 144, 164), (100, 117, 136), (255, 255, 255)),
     ((232, 112, 98), theme.CORAL, (255, 255, 255))),
    (((52, 63, 76), (64, 77, 92), (220, 228, 236)),
     ((150, 48, 40), (176, 62, 52), (255, 240, 238))),
]
TITLE_GLYPHS = [["", "", "", "", "#####", "#####"],
                ["#   #", " # # ", "  #  ", " # # ", "#   #"]]


def title_buttons():
    size = TITLE_BUTTON
    sheet = Image.new("RGB", (2 * size, 3 * size), (0, 0, 0))
    for row, looks in enumerate(TITLE_BUTTON_LOOKS):
        for column, (top, bottom, ink) in enumerate(looks):
            face = paint.bevel(size, size, (0, 0, size, size), 2, top, bottom, theme.SLATE_EDGE)
            glyph = paint.pixels(TITLE_GLYPHS[column])
            paint.paint(face, ink, glyph, (2, 2))
            sheet.paste(paint.black_keyed(face, theme.SLATE_RECESS), (column * size, row * size))
    return sheet


def menu_bar(files):
    width, height = MENU_SIZE
    files.art(200, menu_hit_map())
    # The menu window paints over the title bar: its art continues the bar exactly.
    bar = slate_bar(TITLE_SIZE[0], TITLE_SIZE[1]).crop(
        (0, MENU_WINDOW.y, width, MENU_WINDOW.y + height))
    paint.paint(bar, theme.SLATE_RECESS, paint.rounded(width, height, (1, 0, width - 1, height),
                                                       8), opacity=0.9)
    paint.paint(bar, theme.SLATE_HIGHLIGHT, paint.coverage(width, height, lambda s: s.ring(
        (1, 0, width - 1, height), (255, 255, 255, 255), 1, radius=8)), opacity=0.35)
    files.masked(201, bar)
    files.masked(202, menu_titles())
    files.masked(203, menu_item_back())
    files.art(204, menu_icon_sheet())


def menu_hit_map():
    hits = Image.new("RGB", MENU_SIZE, (0, 0, 0))
    draw = ImageDraw.Draw(hits)
    x, y, w, h = MENU_TITLE
    for n, colour in enumerate(MENU_TITLE_HITS):
        draw.rectangle((x + n * w, y, x + n * w + w - 1, y + h - 1), fill=colour)
    return hits


def menu_titles():
    w, h = MENU_TITLE.w, MENU_TITLE.h
    sheet = paint.blank(w * len(MENU_TITLES), 3 * h)
    face = paint.font(12)
    for n, label in enumerate(MENU_TITLES):
        for row in range(3):
            cell = paint.blank(w, h)
            pill = paint.rounded(w, h, (1, 0, w - 1, h), 6)
            if row == 1:
                paint.paint(cell, (255, 255, 255), pill, opacity=0.18)
            elif row == 2:
                paint.paint(cell, paint.gradient(w, h, theme.FERN_LIGHT, theme.FERN_DARK), pill)
            ink = theme.SLATE_TEXT if row == 0 else (255, 255, 255)
            paint.write_centred(cell, (0, 0, w, h), label, face, ink,
                                shadow=(theme.SLATE_EDGE, (1, 1)))
            sheet.paste(cell, (n * w, row * h))
    return sheet


def menu_item_back():
    """A soft sheen over the menu colour or the highlight; stretched over every item."""
    w, h = MENU_ITEM_BACK
    back = Image.new("RGBA", (w, h), (255, 255, 255, 0))
    for y, alpha in enumerate((96, 72, 54, 40, 28, 18, 10, 4)):
        back.paste((255, 255, 255, alpha), (0, y, w, y + 1))
    back.paste((0, 0, 0, 26), (0, h - 1, w, h))
    return back


# Menu item icons by item id; each entry lists (glyph, box in the 18 x 16 cell, colours).
FULL = (2, 1, 16, 15)
CORNER = (8, 7, 17, 16)
MAIN = (1, 0, 13, 12)


def _rgba(*colours):
    return tuple(c + (255,) for c in colours)


MENU_ICONS = {
    1: [(glyphs.folder, FULL, _rgba((176, 118, 24), (248, 206, 110)))],
    2: [(glyphs.disk, FULL, _rgba(theme.SKY, (238, 244, 250)))],
    3: [(glyphs.exit_door, FULL, _rgba(theme.INK_SOFT, theme.CORAL))],
    4: [(glyphs.monitor, MAIN, _rgba(theme.INK, (170, 206, 240))),
        (glyphs.plus, CORNER, _rgba(theme.FERN))],
    5: [(glyphs.pencil, FULL, _rgba(theme.INK, theme.AMBER))],
    6: [(glyphs.trash, FULL, _rgba(theme.INK_SOFT, (236, 240, 244)))],
    7: [(glyphs.monitor, FULL, _rgba(theme.INK, (120, 176, 228)))],
    8: [(glyphs.monitor, MAIN, _rgba(theme.INK, (170, 206, 240))),
        (glyphs.magnifier, CORNER, _rgba(theme.FERN_DARK, (236, 248, 240)))],
    9: [(glyphs.windows, FULL, _rgba(theme.INK, (170, 206, 240)))],
    10: [(glyphs.play, FULL, _rgba(theme.FERN))],
    11: [(glyphs.pause_bars, FULL, _rgba(theme.AMBER))],
    12: [(glyphs.stop_square, FULL, _rgba(theme.CORAL))],
    13: [(glyphs.mouse, FULL, _rgba(theme.INK, (255, 255, 255)))],
    14: [(glyphs.keyboard, FULL, _rgba(theme.INK, (255, 255, 255)))],
    15: [(glyphs.badge, FULL, _rgba(theme.SKY) + (glyphs.question_letter,))],
    16: [(glyphs.badge, FULL, _rgba(theme.SKY) + (glyphs.info_letter,))],
    17: [(glyphs.gear, FULL, _rgba(theme.INK_SOFT, (255, 255, 255)))],
    18: [(glyphs.power, FULL, _rgba(theme.FERN))],
    19: [(glyphs.wand, FULL, _rgba(theme.INK, theme.AMBER))],
    20: [(glyphs.refresh, FULL, _rgba(theme.SKY))],
}


def _menu_icon(item):
    sketch = paint.Sketch(*MENU_ICON)
    for draw, box, colours in MENU_ICONS[item]:
        draw(sketch, box, *colours)
    return sketch.done()


def _checked_tile():
    w, h = MENU_ICON
    return paint.bevel(w, h, (0, 0, w, h), 3, (226, 244, 232), (200, 230, 210), theme.FERN)


def _greyed(icon):
    """The disabled look: a flat grey picture over a white emboss."""
    w, h = icon.size
    alpha = icon.getchannel("A")
    out = paint.blank(w, h)
    paint.paint(out, (255, 255, 255), alpha, (1, 1))
    paint.paint(out, (150, 158, 166), alpha)
    return out


def _selection_frame():
    w, h = MENU_ICON
    frame = paint.blank(w, h)
    paint.paint(frame, (255, 255, 255), paint.coverage(w, h, lambda s: s.ring(
        (0, 0, w, h), (255, 255, 255, 255), 1, radius=3)))
    return frame


def menu_icon_sheet():
    """Mask rows (SRCAND: black keeps the icon) over image rows (SRCPAINT: black adds nothing)."""
    w, h = MENU_ICON
    sheet = Image.new("RGB", (MENU_ICON_PITCH * (MENU_ICON_COUNT - 1) + w, 6 * h), (0, 0, 0))
    for column in range(MENU_ICON_COUNT):
        if column == 0:
            looks = {"normal": _selection_frame()}
        else:
            icon = _menu_icon(column)
            checked = _checked_tile()
            paint.over(checked, icon)
            looks = {"normal": icon, "checked": checked, "greyed": _greyed(icon)}
        for look, picture in looks.items():
            opaque = picture.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
            on_white = Image.alpha_composite(Image.new("RGBA", (w, h), (255, 255, 255, 255)),
                                             picture).convert("RGB")
            mask = Image.new("RGB", (w, h), (255, 255, 255))
            mask.paste((0, 0, 0), (0, 0, w, h), opaque)
            image = Image.new("RGB", (w, h), (0, 0, 0))
            image.paste(on_white, (0, 0), opaque)
            row = MENU_ICON_ROWS[look]
            sheet.paste(mask, (column * MENU_ICON_PITCH, row))
            sheet.paste(image, (column * MENU_ICON_PITCH, row + h))
    return sheet


def state_window(files):
    width, height = STATE_SIZE
    sheet = paint.blank(width, 2 * height)
    for row, lit in enumerate((False, True)):
        field = (3, 2, width - 3, height - 2)
        look = paint.blank(width, height)
        paint.paint(look, (0, 0, 0), paint.rounded(width, height, (3, 3, width - 3, height - 1),
                                                   6), opacity=0.08)
        paint.over(look, paint.bevel(
            width, height, field, 6, theme.FIELD_LIT_TOP if lit else theme.FIELD_TOP,
            theme.FIELD_LIT_BOTTOM if lit else theme.FIELD_BOTTOM,
            theme.FIELD_LIT_BORDER if lit else theme.BORDER))
        paint.paint(look, (0, 0, 0), paint.area(width, height, (9, 3, width - 9, 4)),
                    opacity=0.07)
        sketch = paint.Sketch(width, height)
        glyphs.badge(sketch, (10, 6, 22, 18), (theme.FERN if lit else theme.SKY) + (255,),
                     glyphs.info_letter)
        paint.over(look, sketch.done())
        look.paste((theme.FIELD_LIT_BORDER if lit else theme.BORDER) + (255,), (25, 6, 26, 18))
        sheet.paste(look, (0, row * height))
    files.masked(600, sheet)
