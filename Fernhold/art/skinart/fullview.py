"""Art of the full-size view window: its frame bands (700, 701) and its control strip (800, 801).

The window stretches columns 142-332 of the top band and 15-284 of the bottom
band to its width, so those columns are drawn alike; the strip lies on the
bottom band one row below its top, so 801 repeats the band's rows 1-18.
"""

from . import controls, mainwindow, paint, theme
from .layout import (FRAME_BOTTOM, FRAME_TOP, STRIP_BUTTONS, STRIP_SIZE,
                     SYSTEM_MENU_SPOT, TITLE_BAND, sheet_column)


def _window_edges(layer, top=False, bottom=False):
    """The dark outline and inner light line of a top-level window's border."""
    w, h = layer.size
    edge, light = theme.SLATE_EDGE + (255,), theme.SLATE_HIGHLIGHT + (255,)
    layer.paste(light, (1, 1 if top else 0, 2, h - (2 if bottom else 0)))
    if top:
        layer.paste(light, (1, 1, w - 1, 2))
        layer.paste(edge, (0, 0, w, 1))
    if bottom:
        layer.paste(edge, (0, h - 1, w, h))
    layer.paste(edge, (0, 0, 1, h))
    layer.paste(edge, (w - 1, 0, w, h))


def top_band():
    w, h = FRAME_TOP
    band = mainwindow.slate_bar(w, h)
    _window_edges(band, top=True)
    mainwindow.emblem_badge(band, SYSTEM_MENU_SPOT)
    # No caption text here: the full-size view and the wizard share this band, and each
    # window writes its own caption over it (PaintCaptionStrip).
    mainwindow.caption_slot(band, TITLE_BAND)
    return band


def bottom_band(width=FRAME_BOTTOM[0]):
    h = FRAME_BOTTOM[1]
    band = paint.gradient(width, h, theme.SLATE_TOP, theme.SLATE_BOTTOM)
    band.paste(theme.SLATE_EDGE + (255,), (0, 0, width, 1))
    band.paste(theme.SLATE_HIGHLIGHT + (255,), (0, 1, width, 2))
    return band


def frame_bottom():
    w, h = FRAME_BOTTOM
    band = bottom_band()
    _window_edges(band, bottom=True)
    # A sizing grip in the right cap (FRAME_BOTTOM_CAP columns), where the window's corner is.
    for n in range(3):
        for k in range(n + 1):
            x = w - 5 - 4 * (n - k)
            y = h - 5 - 4 * k
            band.paste(theme.SLATE_EDGE + (255,), (x, y, x + 2, y + 2))
            band.paste(theme.SLATE_HIGHLIGHT + (255,), (x, y, x + 1, y + 1))
    return band


def strip_background():
    """801: the bottom band's rows under the strip, with wells for the small buttons."""
    w, h = STRIP_SIZE
    strip = bottom_band(w).crop((0, 1, w, 1 + h))
    for names in (("reduced", "window"), ("disconnect", "connect")):
        first = next(p for p in STRIP_BUTTONS if p.column == names[0])
        last = next(p for p in STRIP_BUTTONS if p.column == names[1])
        box = (first.x - 2, first.y - 2, last.x + sheet_column(last.column).w + 2,
               first.y + sheet_column(first.column).h + 2)
        paint.paint(strip, theme.SLATE_RECESS, paint.rounded(w, h, box, 4))
        strip.paste(theme.SLATE_HIGHLIGHT + (255,), (box[0] + 3, box[3] - 1, box[2] - 3, box[3]))
    return strip


def full_view(files):
    files.masked(700, top_band())
    files.masked(701, frame_bottom())
    files.art(800, controls.hit_map(STRIP_SIZE, STRIP_BUTTONS))
    files.masked(801, strip_background())
