"""Art of the view panels: headers (300, 400), list button bar (301, 302), waiting animation (303)."""

import math

from PIL import Image

from . import controls, glyphs, paint, theme
from .layout import (ANIMATION_FRAME, ANIMATION_FRAMES, ANIMATION_WIDTH, LEFT_HEADER, LIST_BUTTON,
                     LIST_BUTTONS, LEFT_BAR, RIGHT_HEADER)


def header_strip(size, glyph, text):
    """The dark caption over a panel's list: a small picture and the list's name."""
    width, height = size
    strip = paint.gradient(width, height, theme.SLATE_TOP, theme.SLATE_BOTTOM)
    strip.paste(theme.SLATE_HIGHLIGHT + (255,), (0, 0, width, 1))
    strip.paste(theme.SLATE_EDGE + (255,), (0, height - 1, width, height))
    sketch = paint.Sketch(width, height)
    glyph(sketch, (4, 2, 16, 13))
    paint.over(strip, sketch.done())
    paint.write(strip, (21, 2), text, paint.font(12), theme.SLATE_TEXT,
                shadow=(theme.SLATE_EDGE, (1, 1)))
    return strip.convert("RGB")


def _list_glyph(s, box):
    glyphs.monitor(s, box, theme.SLATE_TEXT + (255,), theme.SKY + (255,))


def _listen_glyph(s, box):
    glyphs.waves(s, box, theme.FERN_LIGHT + (255,))


def button_bar():
    """301: the light bar under the destination list that carries its three buttons."""
    w, h = LEFT_BAR.w, LEFT_BAR.h
    bar = paint.gradient(w, h, theme.PAPER_TOP, theme.PAPER_BOTTOM)
    bar.paste(theme.BORDER + (255,), (0, 0, w, 1))
    bar.paste((255, 255, 255, 255), (0, 1, w, 2))
    return bar


LIST_GLYPHS = {"plus": (glyphs.plus, theme.FERN), "pencil": (glyphs.pencil, theme.INK),
               "cross": (glyphs.cross, theme.CORAL)}


def list_buttons():
    """302: add, edit and delete, LIST_BUTTON wide, looks one under the other."""
    w, h = LIST_BUTTON
    sheet = paint.blank(w * len(LIST_BUTTONS), h * len(controls.LOOKS))
    face12 = paint.font(12)
    for n, (label, glyph, _) in enumerate(LIST_BUTTONS):
        draw, accent = LIST_GLYPHS[glyph]
        for row, look in enumerate(controls.LOOKS):
            button = controls.face(w, h, look, (2, 2, w - 2, h - 1))
            sketch = paint.Sketch(w, h)
            extra = (theme.AMBER + (255,),) if glyph == "pencil" else ()
            draw(sketch, (7, 6, 16, 15), accent + (255,), *extra)
            paint.over(button, sketch.done())
            paint.write(button, (19, 4), label, face12, controls.FACES[look][3])
            sheet.paste(button, (n * w, row * h))
    return sheet


STRIPE_PERIOD = 80    # columns; divides 160, the width of each half the panels draw
STRIPE_STEP = 8       # columns the stripes move from one frame to the next: a tenth of a period
STRIPE_DARK = (42, 54, 67)
STRIPE_LIGHT = (92, 140, 116)


def waiting_animation():
    """303: ten frames of slow slanted light stripes, one under the other.

    The panels draw band k of the waiting view from frame (step + k) mod 10, so
    band k + 1 shows the stripes one frame on: a slope of (period - step) / 60
    columns per row joins each band's stripes to the next band's.
    """
    slope = (STRIPE_PERIOD - STRIPE_STEP) / ANIMATION_FRAME
    rows = []
    for frame in range(ANIMATION_FRAMES):
        for y in range(ANIMATION_FRAME):
            row = []
            for x in range(ANIMATION_WIDTH):
                phase = (x + slope * y - STRIPE_STEP * frame) / STRIPE_PERIOD
                light = ((1 + math.cos(2 * math.pi * phase)) / 2) ** 3
                row.append(tuple(round(d + (b - d) * light)
                                 for d, b in zip(STRIPE_DARK, STRIPE_LIGHT)))
            rows.extend(row)
    image = Image.new("RGB", (ANIMATION_WIDTH, ANIMATION_FRAME * ANIMATION_FRAMES))
    image.putdata(rows)
    return image


def left_panel(files):
    files.art(300, header_strip(LEFT_HEADER, _list_glyph, "接続先コンピュータ一覧"))
    files.masked(301, button_bar())
    files.masked(302, list_buttons())
    files.art(303, waiting_animation())


def right_panel(files):
    files.art(400, header_strip(RIGHT_HEADER, _listen_glyph, "このコンピュータの待ち受けアドレス"))
