"""A look at the generated files as the windows will compose them, for people, not for the build.

Composes from the written bytes (so it shows what the program will load):
the main window at rest, the full-size view window's frame and strip, and
the sheets enlarged. System colours are Wine's defaults.
"""

import io

from PIL import Image, ImageDraw

from . import bmpfile, paint
from .layout import (CONTROL_BUTTONS, CONTROL_LABEL, CONTROL_SIZE, FRAME_BOTTOM, FRAME_BOTTOM_CAP,
                     FRAME_TOP, FRAME_TOP_STRETCH, INFO_PANEL, INFO_TEXT, LEFT_BAR, LEFT_SIZE,
                     LEFT_WELL, LIST_BUTTON, LIST_BUTTONS, MENU_ICON, MENU_ICON_PITCH,
                     MENU_ICON_ROWS, MENU_TITLE, MENU_WINDOW, RIGHT_SIZE, RIGHT_WELL, STATE_SIZE,
                     STATE_TEXT, STRIP_BUTTONS, STRIP_OFFSET, STRIP_SIZE, TITLE_BAND, TITLE_CLOSE,
                     TITLE_MINIMISE, TITLE_SIZE, sheet_column)

BTNFACE = (245, 245, 245)
APPWORKSPACE = (128, 128, 128)
ACTIVE_CAPTION = ((50, 150, 250), (50, 150, 250))
HIGHLIGHT = (48, 150, 250)
EDGE = {"hilight": (255, 255, 255), "light": (227, 227, 227), "shadow": (166, 166, 166),
        "dkshadow": (106, 106, 106)}
LTGRAY = (192, 192, 192)


class Skin:
    def __init__(self, files):
        self.files = files

    def rgb(self, number):
        return bmpfile.read_bmp(self.files[f"Resource/{number}.bmp"])[1]

    def layer(self, number):
        """The bitmap with its mask as alpha, as the skin store holds it."""
        image = self.rgb(number).convert("RGBA")
        mask = f"Resource/{number}a.bmp"
        if mask in self.files:
            image.putalpha(bmpfile.read_bmp(self.files[mask])[1].convert("L"))
        return image


def blend(canvas, layer, at, box=None):
    paint.over(canvas, layer.crop(box) if box else layer, at)


def copy_keyed(canvas, rgb, at, box):
    """Copy mode 2: black source pixels leave the canvas as it is."""
    part = rgb.crop(box)
    canvas.paste(part, at, not_black(part))


def not_black(image):
    keep = Image.new("L", image.size)
    keep.putdata([0 if c == (0, 0, 0) else 255 for c in image.getdata()])
    return keep


def edge(canvas, box, outer, inner, sides="ltrb"):
    """DrawEdge: two one-pixel rings, each (top-left colour, bottom-right colour)."""
    draw = ImageDraw.Draw(canvas)
    x0, y0, x1, y1 = box
    for (tl, br), d in ((outer, 0), (inner, 1)):
        a, b, c, e = x0 + d, y0 + d, x1 - 1 - d, y1 - 1 - d
        if "t" in sides:
            draw.line((a, b, c, b), fill=EDGE[tl])
        if "l" in sides:
            draw.line((a, b, a, e), fill=EDGE[tl])
        if "b" in sides:
            draw.line((a, e, c, e), fill=EDGE[br])
        if "r" in sides:
            draw.line((c, b, c, e), fill=EDGE[br])


RAISED = (("light", "dkshadow"), ("hilight", "shadow"))
SUNKEN = (("shadow", "hilight"), ("dkshadow", "light"))


def framed(size):
    """Fill with the button face, frame with LTGRAY_BRUSH, a raised edge one pixel inside."""
    canvas = Image.new("RGBA", size, BTNFACE + (255,))
    ImageDraw.Draw(canvas).rectangle((0, 0, size[0] - 1, size[1] - 1), outline=LTGRAY)
    edge(canvas, (1, 1, size[0] - 1, size[1] - 1), *RAISED)
    return canvas


def caption_band():
    """The active caption band as the skin store composes it from the system colours."""
    start, end = ACTIVE_CAPTION
    return paint.gradient(TITLE_BAND.w, TITLE_BAND.h, start, end, across=True)


def title_bar(skin):
    canvas = Image.new("RGBA", TITLE_SIZE, BTNFACE + (255,))
    canvas.paste(caption_band(), (TITLE_BAND.x, TITLE_BAND.y))
    blend(canvas, skin.layer(100), (0, 0))
    for rect, column in ((TITLE_MINIMISE, 0), (TITLE_CLOSE, 9)):
        copy_keyed(canvas, skin.rgb(103), (rect.x, rect.y), (column, 0, column + 9, 9))
    menu = Image.new("RGBA", (MENU_WINDOW.w, MENU_WINDOW.h), BTNFACE + (255,))
    blend(menu, skin.layer(201), (0, 0))
    titles = skin.layer(202)
    for n in range(4):
        x = n * MENU_TITLE.w
        row = MENU_TITLE.h if n == 1 else 0   # the second title hovered, to see that look
        blend(menu, titles, (MENU_TITLE.x + x, MENU_TITLE.y),
              (x, row, x + MENU_TITLE.w, row + MENU_TITLE.h))
    canvas.paste(menu, (MENU_WINDOW.x, MENU_WINDOW.y))
    return canvas


def list_control(size, columns, rows, icons=None):
    """A stand-in for the system list view, in the colours the panels give it."""
    background = tuple((c + 170) // 2 for c in APPWORKSPACE)
    text_back = tuple((c * 192 + 10880) // 256 for c in APPWORKSPACE)
    box = Image.new("RGBA", size, background + (255,))
    draw = ImageDraw.Draw(box)
    face = paint.font(12)
    x = 0
    for title, width in columns:
        draw.rectangle((x, 0, x + width - 1, 18), fill=BTNFACE, outline=EDGE["shadow"])
        draw.text((x + 5, 3), title, font=face, fill=(0, 0, 0))
        x += width
    for r, values in enumerate(rows):
        y = 20 + r * 17
        x = 0
        for c, (value, (_, width)) in enumerate(zip(values, columns)):
            left = x + 2
            if c == 0 and icons is not None:
                icon = icons.crop((16 * r, 0, 16 * r + 16, 16))
                box.paste(icon, (left, y), not_black(icon))   # the image list's key colour
                left += 18
            draw.rectangle((left, y + 1, left + face.getlength(value) + 3, y + 15),
                           fill=text_back)
            draw.text((left + 2, y + 2), value, font=face, fill=(0, 0, 0))
            x += width
    return box


def panel(size, well, header, skin):
    canvas = framed(size)
    x0, y0, w, h = well
    ImageDraw.Draw(canvas).rectangle((x0, y0, x0 + w - 1, y0 + h - 1), fill=APPWORKSPACE)
    edge(canvas, (x0, y0, x0 + w, y0 + h), *SUNKEN)
    strip = skin.rgb(header)
    canvas.paste(strip, (20, 20))
    return canvas


def left_panel(skin, files):
    canvas = panel(LEFT_SIZE, LEFT_WELL, 300, skin)
    x, y, w, h = LEFT_BAR
    ImageDraw.Draw(canvas).rectangle((x, y, x + w - 1, y + h - 1), fill=BTNFACE)
    blend(canvas, skin.layer(301), (x, y))
    buttons = skin.layer(302)
    bw, bh = LIST_BUTTON
    for n, (_, _, left) in enumerate(LIST_BUTTONS):
        row = bh if n == 0 else 0   # add hovered
        blend(canvas, buttons, (left, y), (n * bw, row, n * bw + bw, row + bh))
    icons = bmpfile.read_bmp(files["program/bitmap101.bmp"])[1]
    names = ["SERVER-01", "経理-PC", "会議室", "DEV-BOX", "倉庫端末"]
    rows = [(n, f"192.0.2.{10 + i}", "5483") for i, n in enumerate(names)]
    canvas.paste(list_control((320, 204), [("ComputerName", 123), ("IP Address", 100),
                                           ("Port Number", 80)], rows, icons), (20, 35))
    return canvas


def right_panel(skin):
    canvas = panel(RIGHT_SIZE, RIGHT_WELL, 400, skin)
    canvas.paste(list_control((240, 165), [("IP Address", 120), ("Port Number", 100)],
                              [("127.0.0.1", "5483")]), (20, 35))
    return canvas


def buttons(canvas, skin, placements, lit, looks=None):
    sheet, overlays = skin.rgb(501), skin.layer(502)
    looks = looks or {}
    for placement in placements:
        column = sheet_column(placement.column)
        row = 17 * looks.get(placement.column, 0)
        copy_keyed(canvas, sheet, (placement.x, placement.y),
                   (column.x, row, column.x + column.w, row + column.h))
    for placement in placements:
        if placement.column in lit:
            column = sheet_column(placement.column)
            blend(canvas, overlays, (placement.x, placement.y),
                  (column.x, 0, column.x + column.w, column.h))


def info_text(canvas, lines, lit):
    face = paint.font(11)
    shadow, ink = ((0, 153, 153), (34, 85, 85)) if lit else ((85, 85, 85), (68, 119, 119))
    for (x, y), text in zip(INFO_TEXT, lines):
        for dx, colour in ((1, shadow), (0, ink)):
            for bold in (0, 1):   # weight 900
                ImageDraw.Draw(canvas).text((x + dx + bold, y + dx), text, font=face,
                                            fill=colour)


def control_window(skin, lit=False, looks=None):
    canvas = framed(CONTROL_SIZE)
    edge(canvas, (4, 15, 275, 17), ("shadow", "hilight"), ("shadow", "hilight"), "tb")
    row = INFO_PANEL.h if lit else 0
    canvas.paste(skin.rgb(504).crop((0, row, INFO_PANEL.w, row + INFO_PANEL.h)),
                 (INFO_PANEL.x, INFO_PANEL.y))
    info_text(canvas, ["Fernhold!", "Version    : 1.13", "Fern & Hold"], lit)
    blend(canvas, skin.layer(503), (CONTROL_LABEL.x, CONTROL_LABEL.y))
    buttons(canvas, skin, CONTROL_BUTTONS, {"reduced", "connect", "mouse", "keyboard"}, looks)
    return canvas


def state_window(skin, text, lit=False):
    width, height = STATE_SIZE
    canvas = Image.new("RGBA", STATE_SIZE, BTNFACE + (255,))
    row = height if lit else 0
    blend(canvas, skin.layer(600), (0, 0), (0, row, width, row + height))
    draw = ImageDraw.Draw(canvas)
    x, y = STATE_TEXT
    draw.text((x + 1, y + 1), text, font=paint.font(12), fill=(0x88, 0x88, 0x99))
    draw.text((x, y), text, font=paint.font(12), fill=(0x44, 0x44, 0x66))
    return canvas


def main_window(skin, files):
    window = Image.new("RGBA", (640, 328), BTNFACE + (255,))
    window.paste(title_bar(skin), (0, 0))
    window.paste(left_panel(skin, files), (0, 24))
    window.paste(right_panel(skin), (360, 24))
    window.paste(control_window(skin), (360, 244))
    window.paste(state_window(skin, "選択しているコンピュータに接続します。"), (0, 304))
    return window


def full_view_frame(skin, width, height):
    """The full-size view window's frame painted as its WM_PAINT does, with the strip."""
    top_w, top_h = FRAME_TOP
    bottom_w, bottom_h = FRAME_BOTTOM
    canvas = Image.new("RGBA", (top_w, top_h + bottom_h), BTNFACE + (255,))
    canvas.paste(caption_band(), (TITLE_BAND.x, TITLE_BAND.y))
    blend(canvas, skin.layer(700), (0, 0))
    blend(canvas, skin.layer(701), (0, top_h))
    window = Image.new("RGBA", (width, height), BTNFACE + (255,))
    first, last = FRAME_TOP_STRETCH
    tail = top_w - last
    window.paste(canvas.crop((0, 0, first, top_h)), (0, 0))
    window.paste(canvas.crop((first, 0, last, top_h)).resize((width - first - tail, top_h),
                                                             Image.NEAREST), (first, 0))
    window.paste(canvas.crop((last, 0, top_w, top_h)), (width - tail, 0))
    cap, y = FRAME_BOTTOM_CAP, height - bottom_h
    window.paste(canvas.crop((cap, top_h, bottom_w - cap, top_h + bottom_h)).resize(
        (width, bottom_h), Image.NEAREST), (0, y))
    window.paste(canvas.crop((0, top_h, cap, top_h + bottom_h)), (0, y))
    window.paste(canvas.crop((bottom_w - cap, top_h, bottom_w, top_h + bottom_h)),
                 (width - cap, y))
    ImageDraw.Draw(window).rectangle((12, 36, width - 27, height - 47), fill=(0, 0, 0))
    strip = Image.new("RGBA", STRIP_SIZE, BTNFACE + (255,))
    blend(strip, skin.layer(801), (0, 0))
    buttons(strip, skin, STRIP_BUTTONS, {"window", "disconnect", "pause", "mouse_small", "fit"},
            {"keyboard_small": 1})
    window.paste(strip, (width - STRIP_OFFSET[0], height - STRIP_OFFSET[1]))
    return window


def zoom(image, factor):
    return image.resize((image.width * factor, image.height * factor), Image.NEAREST)


def menu_items(skin):
    """A pop-up with a few items as WM_DRAWITEM draws them: sheen, icon, label."""
    icons = skin.rgb(204)
    back = skin.layer(203)
    items = [(10, "接続する", "normal"), (11, "一時停止する", "greyed"),
             (7, "左画面操作", "checked"), (13, "ﾏｳｽｲﾍﾞﾝﾄ", "selected"), (17, "オプション設定", "normal")]
    menu = Image.new("RGBA", (170, 18 * len(items)), (255, 255, 255, 255))
    for n, (item, label, look) in enumerate(items):
        cell = Image.new("RGBA", (100, 16), (HIGHLIGHT if look == "selected" else
                                             (255, 255, 255)) + (255,))
        blend(cell, back, (0, 0))
        menu.paste(cell.resize((170, 18), Image.NEAREST), (0, 18 * n))
        row = MENU_ICON_ROWS.get(look, 0)
        w, h = MENU_ICON
        for column in ([item, 0] if look == "selected" else [item]):
            x = column * MENU_ICON_PITCH
            region = menu.crop((0, 18 * n + 1, w, 18 * n + 1 + h)).convert("RGB")
            mask = icons.crop((x, row, x + w, row + h))
            image = icons.crop((x, row + h, x + w, row + 2 * h))
            region = Image.frombytes("RGB", region.size, bytes(
                (d & m) | i for d, m, i in zip(region.tobytes(), mask.tobytes(),
                                               image.tobytes())))
            menu.paste(region, (0, 18 * n + 1))
        ink = {"greyed": (109, 109, 109), "selected": (255, 255, 255)}.get(look, (0, 0, 0))
        ImageDraw.Draw(menu).text((20, 18 * n + 3), label, font=paint.font(12), fill=ink)
    return menu


def sheets(skin, files):
    """The sheets enlarged, with their transparency shown over the button face."""
    parts = []
    for number in (501, 502, 202, 302, 204, 503, 504, 600, 103):
        layer = skin.layer(number)
        back = Image.new("RGBA", layer.size, BTNFACE + (255,))
        parts.append(zoom(Image.alpha_composite(back, layer), 2))
    parts.append(zoom(skin.rgb(303).crop((0, 0, 320, 180)), 1))
    program = Image.new("RGBA", (300, 40), BTNFACE + (255,))
    x = 0
    for name in ("icon110.ico", "icon126.ico", "cursor106.cur", "cursor107.cur"):
        picture = Image.open(io.BytesIO(files[f"program/{name}"]))
        for size in ((16, 16), (32, 32)) if name.endswith(".ico") else ((32, 32),):
            if name.endswith(".ico"):
                picture.size = size
            icon = picture.convert("RGBA")
            program.alpha_composite(icon, (x, 40 - icon.height))
            x += icon.width + 6
    program.paste(bmpfile.read_bmp(files["program/bitmap101.bmp"])[1], (x, 24))
    parts.append(zoom(program, 3))
    return parts


def sheet(files):
    skin = Skin(files)
    blocks = [zoom(main_window(skin, files), 2), zoom(full_view_frame(skin, 560, 150), 2),
              zoom(control_window(skin, lit=True, looks={"actual": 1, "pause": 2}), 2),
              zoom(state_window(skin, "接続先リストを読み込みます。", lit=True), 2),
              zoom(menu_items(skin), 2)] + sheets(skin, files)
    width = max(b.width for b in blocks) + 16
    out = Image.new("RGB", (width, sum(b.height + 12 for b in blocks) + 8), (70, 74, 80))
    y = 8
    for block in blocks:
        out.paste(block.convert("RGB"), (8, y))
        y += block.height + 12
    return out
