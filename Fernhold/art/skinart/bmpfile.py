"""Byte-exact writers for the files the program loads: BMP, ICO and CUR.

The skin loader of Inkwell reads only a 40-byte BITMAPINFOHEADER with BI_RGB
pixels that follow the header (and a full colour table) directly, so every
file is packed here by hand rather than by Pillow, whose output may change
between versions.
"""

import io
import struct

from PIL import Image

FILE_HEADER_BYTES = 14
INFO_HEADER_BYTES = 40
PIXELS_PER_METRE = 2834  # 72 dots per inch
BI_RGB = 0


def _line_bytes(width, bits):
    return (width * bits + 31) // 32 * 4


def _info_header(width, height, bits, image_bytes, colours):
    return struct.pack("<IiiHHIIiiII", INFO_HEADER_BYTES, width, height, 1, bits, BI_RGB,
                       image_bytes, PIXELS_PER_METRE, PIXELS_PER_METRE, colours, 0)


def _rows_bottom_up(width, height, bits, row_bytes):
    """Pads each top-down row to 32 bits and returns them last row first."""
    stride = _line_bytes(width, bits)
    rows = [row_bytes(y).ljust(stride, b"\0") for y in range(height)]
    return b"".join(reversed(rows))


def _bitmap_file(width, height, bits, table, pixels):
    info = _info_header(width, height, bits, len(pixels), len(table) // 4)
    offset = FILE_HEADER_BYTES + INFO_HEADER_BYTES + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + pixels


def _raw_rows(image, raw_mode, bits):
    """The pixels in one of Pillow's raw layouts, rows padded and stored last row first."""
    width, height = image.size
    data = image.tobytes("raw", raw_mode)
    step = len(data) // height
    return _rows_bottom_up(width, height, bits, lambda y: data[y * step:(y + 1) * step])


def bmp24_bytes(image):
    """A bottom-up 24-bit file of an RGB (or RGBA, alpha dropped) image."""
    rgb = image.convert("RGB")
    return _bitmap_file(*rgb.size, 24, b"", _raw_rows(rgb, "BGR", 24))


def bmp8_grey_bytes(mask):
    """A bottom-up 8-bit file with a grey ramp: how an alpha mask is stored."""
    grey = mask.convert("L")
    table = b"".join(bytes((i, i, i, 0)) for i in range(256))
    return _bitmap_file(*grey.size, 8, table, _raw_rows(grey, "L", 8))


def bmp8_bytes(indices, palette):
    """A bottom-up 8-bit file: indices is a 'P' image, palette 256 (r, g, b)."""
    assert len(palette) == 256
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return _bitmap_file(*indices.size, 8, table, _raw_rows(indices, "P", 8))


def bmp4_bytes(indices, palette):
    """A bottom-up 4-bit file: indices is a 'P' image, palette 16 (r, g, b)."""
    assert len(palette) == 16
    width, height = indices.size
    data = indices.tobytes()
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)

    def row(y):
        values = data[y * width:(y + 1) * width]
        if width % 2:
            values += b"\0"
        return bytes(values[i] << 4 | values[i + 1] for i in range(0, len(values), 2))

    return _bitmap_file(width, height, 4, table, _rows_bottom_up(width, height, 4, row))


def _icon_image(image):
    """One 32-bit icon or cursor image: BGRA rows and the AND mask, both bottom-up."""
    rgba = image.convert("RGBA")
    width, height = rgba.size
    colour = _raw_rows(rgba, "BGRA", 32)
    alpha = rgba.getchannel("A").tobytes()

    def and_row(y):
        # Set bits keep the screen: transparent pixels for systems without alpha.
        bits = 0
        for x in range(width):
            bits = bits << 1 | (alpha[y * width + x] == 0)
        bits <<= (-width) % 8
        return bits.to_bytes((width + 7) // 8, "big")

    mask = _rows_bottom_up(width, height, 1, and_row)
    # The header's height counts the colour and the mask images together.
    info = _info_header(width, height * 2, 32, len(colour) + len(mask), 0)
    return info + colour + mask


def _icon_directory(kind, images, fields):
    header = struct.pack("<HHH", 0, kind, len(images))
    offset = len(header) + 16 * len(images)
    entries, bodies = b"", b""
    for image, (first, second) in zip(images, fields):
        body = _icon_image(image)
        width, height = image.size
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, first, second,
                               len(body), offset + len(bodies))
        bodies += body
    return header + entries + bodies


def ico_bytes(images):
    """An .ico file holding each RGBA image at 32 bits per pixel."""
    return _icon_directory(1, images, [(1, 32)] * len(images))


def cur_bytes(image, hot_spot):
    """A .cur file of one RGBA image with its hot spot (x, y)."""
    return _icon_directory(2, [image], [hot_spot])


def read_bmp(data):
    """Checks a bitmap file against what the program's loader reads and decodes it.

    Returns (bits per pixel, RGB image). Raises ValueError for a file the loader
    would refuse or misread: another header, compression, a short colour table,
    top-down rows, or pixel rows that do not follow the header exactly.
    """
    if data[:2] != b"BM" or len(data) < FILE_HEADER_BYTES + INFO_HEADER_BYTES:
        raise ValueError("not a bitmap file")
    (size, width, height, planes, bits, compression, _, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", data, FILE_HEADER_BYTES)
    if size != INFO_HEADER_BYTES or compression != BI_RGB or planes != 1:
        raise ValueError("header the loader refuses")
    entries = 1 << bits if bits <= 8 else 0
    if bits not in (4, 8, 24) or used not in (0, entries):
        raise ValueError("bit count or colour table the loader refuses")
    offset = struct.unpack_from("<I", data, 10)[0]
    rows = FILE_HEADER_BYTES + INFO_HEADER_BYTES + 4 * entries
    if offset != rows or width <= 0 or height <= 0 or \
            len(data) != rows + _line_bytes(width, bits) * height:
        raise ValueError("pixel rows do not follow the header exactly")
    return bits, Image.open(io.BytesIO(data)).convert("RGB")


def bmp8_quantized_bytes(image):
    """A bottom-up 8-bit file of an RGB image reduced to its own 256-colour palette."""
    indexed = image.convert("RGB").quantize(256, method=Image.Quantize.MEDIANCUT, dither=0)
    flat = indexed.getpalette()[:768]
    flat += [0] * (768 - len(flat))
    return bmp8_bytes(indexed, [tuple(flat[i:i + 3]) for i in range(0, 768, 3)])
