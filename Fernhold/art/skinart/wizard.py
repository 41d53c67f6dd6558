"""Pictures of the add-destination wizard linked into Fernhold.exe: bitmaps 135 and 137."""

from . import bmpfile, glyphs, paint, theme

WHITE = (255, 255, 255, 255)


def _panel(width, height, caption):
    """A slate band with the fern emblem, a row of computers and the caption beneath it."""
    picture = paint.gradient(width, height, theme.SLATE_TOP, theme.SLATE_BOTTOM)
    sketch = paint.Sketch(width, height)
    emblem = width * 0.36
    left = (width - emblem) / 2
    glyphs.frond(sketch, (left, 18, left + emblem, 18 + emblem), theme.FERN_LIGHT + (255,))
    row = 18 + emblem + 26
    for i in range(3):
        x = 30 + i * 50
        sketch.rect((x, row, x + 40, row + 28), theme.DISPLAY_LIT_TOP + (255,), radius=3)
        sketch.rect((x + 3, row + 3, x + 37, row + 25), theme.SKY + (255,))
        sketch.rect((x + 14, row + 29, x + 26, row + 34), theme.SLATE_TEXT_DIM + (255,))
        sketch.rect((x + 8, row + 34, x + 32, row + 37), theme.SLATE_TEXT_DIM + (255,))
    sketch.line([(20, row + 46), (width - 20, row + 46)], theme.FERN + (255,), 2)
    paint.over(picture, sketch.done())
    face = paint.font(14)
    paint.write_centred(picture, (0, row + 54, width, row + 76), caption, face, theme.SLATE_TEXT)
    small = paint.font(11, latin=True)
    paint.write_centred(picture, (0, height - 22, width, height - 6), "Fernhold ver1.13", small,
                        theme.SLATE_TEXT_DIM)
    return picture


def wizard_pictures(files):
    files.program("bitmap135.bmp", bmpfile.bmp8_quantized_bytes(_panel(200, 300, "接続先の一括登録")))
    files.program("bitmap137.bmp", bmpfile.bmp8_quantized_bytes(_panel(200, 215, "登録しています")))
