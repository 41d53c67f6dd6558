"""Shared drawing helpers: supersampled shapes, gradients, bevels, text and masks.

Layers are RGBA images with straight alpha, the way the skin store blends a
bitmap through its mask (weight = mask value).
"""

from functools import lru_cache

from PIL import Image, ImageChops, ImageDraw, ImageFont

from . import theme

SUPERSAMPLE = 4
KEYED_EDGE = 160  # coverage from which a soft edge pixel of a black-keyed sheet is kept
CRISP_TEXT = 11   # pixel size up to which Japanese is set without anti-aliasing


@lru_cache(maxsize=None)
def font(size, latin=False):
    return ImageFont.truetype(theme.LATIN_FONT if latin else theme.JAPANESE_FONT, size)


class Sketch:
    """Shapes drawn at SUPERSAMPLE times the size, in pixel units, anti-aliased by done()."""

    def __init__(self, width, height):
        self.size = (width, height)
        self.image = Image.new("RGBA", (width * SUPERSAMPLE, height * SUPERSAMPLE), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def _scaled(points):
        return [(x * SUPERSAMPLE, y * SUPERSAMPLE) for x, y in points]

    @staticmethod
    def _box(box):
        x0, y0, x1, y1 = box
        return [x0 * SUPERSAMPLE, y0 * SUPERSAMPLE, x1 * SUPERSAMPLE - 1, y1 * SUPERSAMPLE - 1]

    def rect(self, box, fill, radius=0):
        self.draw.rounded_rectangle(self._box(box), radius * SUPERSAMPLE, fill=fill)

    def ring(self, box, colour, width, radius=0):
        self.draw.rounded_rectangle(self._box(box), radius * SUPERSAMPLE, outline=colour,
                                    width=round(width * SUPERSAMPLE))

    def ellipse(self, box, fill=None, outline=None, width=1):
        self.draw.ellipse(self._box(box), fill=fill, outline=outline,
                          width=round(width * SUPERSAMPLE))

    def polygon(self, points, fill):
        self.draw.polygon(self._scaled(points), fill=fill)

    def line(self, points, colour, width=1):
        self.draw.line(self._scaled(points), fill=colour, width=round(width * SUPERSAMPLE),
                       joint="curve")
        for x, y in (points[0], points[-1]):   # round caps
            r = width * SUPERSAMPLE / 2
            self.draw.ellipse([x * SUPERSAMPLE - r, y * SUPERSAMPLE - r, x * SUPERSAMPLE + r - 1,
                               y * SUPERSAMPLE + r - 1], fill=colour)

    def arc(self, box, start, end, colour, width=1):
        self.draw.arc(self._box(box), start, end, fill=colour, width=round(width * SUPERSAMPLE))

    def done(self):
        small = self.image.convert("RGBa").resize(self.size, Image.BOX)
        return small.convert("RGBA")


def coverage(width, height, shape):
    """An 'L' mask of whatever shape(sketch) draws in white."""
    sketch = Sketch(width, height)
    shape(sketch)
    return sketch.done().getchannel("A")


def rounded(width, height, box, radius):
    return coverage(width, height, lambda s: s.rect(box, (255, 255, 255, 255), radius))


def gradient(width, height, start, end, rows=None, across=False):
    """An opaque gradient, top to bottom (or left to right when across).

    rows (first, last) limits the run to those rows or columns; outside them it is flat.
    """
    length = width if across else height
    first, last = rows or (0, length - 1)
    image = Image.new("RGBA", (width, height))
    span = max(last - first, 1)
    for i in range(length):
        t = min(max((i - first) / span, 0.0), 1.0)
        colour = tuple(round(a + (b - a) * t) for a, b in zip(start, end)) + (255,)
        image.paste(colour, (i, 0, i + 1, height) if across else (0, i, width, i + 1))
    return image


def area(width, height, box):
    """A hard-edged mask of a box (x0, y0, x1, y1)."""
    mask = Image.new("L", (width, height), 0)
    mask.paste(255, box)
    return mask


def blank(width, height):
    return Image.new("RGBA", (width, height), (0, 0, 0, 0))


def paint(base, source, mask, at=(0, 0), opacity=1.0):
    """Lays a colour (tuple) or a same-sized image through a mask over base at a point."""
    if isinstance(source, tuple):
        source = Image.new("RGBA", mask.size, source[:3] + (255,))
    alpha = ImageChops.multiply(source.getchannel("A"), mask)
    if opacity != 1.0:
        alpha = alpha.point(lambda a: round(a * opacity))
    layer = source.copy()
    layer.putalpha(alpha)
    return over(base, layer, at)


def over(base, layer, at=(0, 0)):
    """Composites an RGBA layer over base in place."""
    x, y = at
    region = base.crop((x, y, x + layer.width, y + layer.height))
    base.paste(Image.alpha_composite(region, layer), (x, y))
    return base


def text_mask(width, height, at, text, face):
    """Coverage of text in a face, hinted at its pixel size.

    Japanese up to 11 pixels is set without anti-aliasing: kanji that small
    read better crisp than smoothed.
    """
    mask = Image.new("L", (width, height), 0)
    draw = ImageDraw.Draw(mask)
    crisp = face.path == theme.JAPANESE_FONT and face.size <= CRISP_TEXT
    draw.fontmode = "1" if crisp else "L"
    draw.text(at, text, font=face, fill=255)
    return mask


def text_width(text, face):
    return round(face.getlength(text))


def write(base, at, text, face, colour, shadow=None):
    """Draws text on base; shadow (colour, (dx, dy)) goes underneath."""
    if shadow:
        shade, (dx, dy) = shadow
        paint(base, shade, text_mask(base.width, base.height, (at[0] + dx, at[1] + dy), text,
                                     face))
    return paint(base, colour, text_mask(base.width, base.height, at, text, face))


def write_centred(base, box, text, face, colour, shadow=None, nudge=(0, 0)):
    """Text centred in box (x0, y0, x1, y1) by its ink, then moved by nudge."""
    left, top, right, bottom = face.getbbox(text)
    x = box[0] + (box[2] - box[0] - (right - left)) // 2 - left + nudge[0]
    y = box[1] + (box[3] - box[1] - (bottom - top)) // 2 - top + nudge[1]
    return write(base, (x, y), text, face, colour, shadow)


def bevel(width, height, box, radius, top, bottom, border, shine=None):
    """A rounded panel: border colour, gradient face one pixel inside, optional top shine line."""
    layer = blank(width, height)
    x0, y0, x1, y1 = box
    paint(layer, border, rounded(width, height, box, radius))
    face = gradient(width, height, top, bottom, rows=(y0 + 1, y1 - 2))
    inner = (x0 + 1, y0 + 1, x1 - 1, y1 - 1)
    paint(layer, face, rounded(width, height, inner, max(radius - 1, 0)))
    if shine:
        paint(layer, shine, coverage(width, height, lambda s: s.rect(
            (x0 + radius / 2 + 1, y0 + 1, x1 - radius / 2 - 1, y0 + 2), (255, 255, 255, 255))),
            opacity=0.8)
    return layer


def pixels(rows):
    """A mask from ASCII art: '#' full, '+' half, anything else empty."""
    mask = Image.new("L", (max(len(r) for r in rows), len(rows)), 0)
    mask.putdata([{"#": 255, "+": 128}.get(c, 0) for r in rows for c in r.ljust(mask.width)])
    return mask


def split(layer):
    """The bitmap and its 'a' mask: colours and alpha of a layer."""
    return layer.convert("RGB"), layer.getchannel("A")


def black_keyed(layer, matte):
    """Art for black-is-transparent copies: transparent pixels black, the rest over matte.

    The windows copy these sheets without blending, so a soft edge is either
    dropped or settled against the colour it will mostly sit on, and no drawn
    pixel may be pure black.
    """
    solid = Image.alpha_composite(Image.new("RGBA", layer.size, matte + (255,)), layer)
    out = []
    for colour, alpha in zip(solid.convert("RGB").getdata(), layer.getchannel("A").getdata()):
        if alpha < KEYED_EDGE:
            out.append((0, 0, 0))
        else:
            out.append(colour if colour != (0, 0, 0) else (1, 1, 1))
    image = Image.new("RGB", layer.size)
    image.putdata(out)
    return image
