// TDibFeeld: pixel access, rectangle copies and blends.
#include <Inkwell/TDibFeeld.h>

#include "BlitGeometry.h"
#include "PixelFormat.h"
#include "FieldAccess.h"

#include <cstring>

TDibFeeld::TDibFeeld()
    : m_Format(0), m_lpPixel(nullptr), m_Width(0), m_Height(0), m_LineByte(0), m_Routines(nullptr)
{
}

TDibFeeld::TDibFeeld(const TDibFeeld& other)
    : m_Format(other.m_Format), m_lpPixel(other.m_lpPixel), m_Palette(other.m_Palette),
      m_Width(other.m_Width), m_Height(other.m_Height), m_LineByte(other.m_LineByte),
      m_Routines(other.m_Routines)
{
}

TDibFeeld& TDibFeeld::operator=(const TDibFeeld& other)
{
    if (this == &other) return *this;
    m_Format = other.m_Format;
    m_lpPixel = other.m_lpPixel;
    m_Palette = other.m_Palette;
    m_Width = other.m_Width;
    m_Height = other.m_Height;
    m_LineByte = other.m_LineByte;
    m_Routines = other.m_Routines;
    return *this;
}

TDibFeeld::~TDibFeeld() {}

void TDibFeeld::_InitPixelFormat() { m_Routines = FindPixelFormat(m_Format); }

bool TDibFeeld::IsUsable() const
{
    return m_Routines && !(m_Format & PIXEL_UNUSABLE) && m_lpPixel && m_Width > 0 && m_Height > 0;
}

tagRGBQUAD TDibFeeld::GetPixel(int x, int y)
{
    tagRGBQUAD quad{0, 0, 0, 0};
    if (!IsUsable() || x < 0 || y < 0 || x >= m_Width || y >= m_Height) return quad;
    PaintScope paint(*this);
    if (!paint.Ok()) return quad;
    const uint8_t* p = m_lpPixel + static_cast<int64_t>(y) * m_LineByte + x * m_Routines->bytes;
    m_Routines->read(p, 1, &quad, PaletteOf(m_Palette), PaletteCount(m_Palette));
    return quad;
}

int TDibFeeld::SetPixel(int x, int y, const tagRGBQUAD& quad)
{
    if (!IsUsable() || !m_Routines->write || x < 0 || y < 0 || x >= m_Width || y >= m_Height)
        return 0;
    PaintScope paint(*this);
    if (!paint.Ok()) return 0;
    uint8_t* p = m_lpPixel + static_cast<int64_t>(y) * m_LineByte + x * m_Routines->bytes;
    m_Routines->write(&quad, 1, p);
    return 1;
}

int TDibFeeld::GetPaletteEntry(short count, PALETTEENTRY* entries) const
{
    const uint32_t have = PaletteCount(m_Palette);
    if (have == 0) return 0;
    const RGBQUAD* pal = PaletteOf(m_Palette);
    for (int i = 0; i < count; ++i) {
        entries[i] = PALETTEENTRY{0, 0, 0, 0};
        if (static_cast<uint32_t>(i) < have)
            entries[i] = PALETTEENTRY{pal[i].rgbRed, pal[i].rgbGreen, pal[i].rgbBlue, 0};
    }
    return 1;
}

bool TDibFeeld::CanTakeFrom(const TDibFeeld* source) const
{
    if (!source || !IsUsable() || !source->IsUsable()) return false;
    return m_Format != PIXEL_PAL8 || source->m_Format == PIXEL_PAL8;
}

// op is a BlitOp; BLIT_NONE (a mode other than 1 or 2) copies nothing but succeeds.
int TDibFeeld::Blit(long x, long y, long width, long height, TDibFeeld* source, long sx, long sy,
                    int op, unsigned alpha)
{
    if (!CanTakeFrom(source)) return 0;
    CopySpan cols{x, sx, width}, rows{y, sy, height};
    if (!ClipCopySpan(m_Width, source->m_Width, cols) ||
        !ClipCopySpan(m_Height, source->m_Height, rows))
        return 0;
    PaintScope sourcePaint(*source);
    PaintScope destPaint(*this, sourcePaint.Ok());
    if (!destPaint.Ok()) return 0;
    if (op == BLIT_NONE) return 1;
    RowBlitter blitter;
    if (!blitter.Prepare(*source->m_Routines, *m_Routines, PaletteOf(source->m_Palette),
                         PaletteCount(source->m_Palette), static_cast<BlitOp>(op), alpha,
                         static_cast<int>(cols.n)))
        return 0;
    const uint8_t* s =
        source->m_lpPixel + rows.s * source->m_LineByte + cols.s * source->m_Routines->bytes;
    uint8_t* d = m_lpPixel + rows.d * m_LineByte + cols.d * m_Routines->bytes;
    for (int64_t r = 0; r < rows.n; ++r)
        blitter.Run(s + r * source->m_LineByte, d + r * m_LineByte);
    return 1;
}

int TDibFeeld::BitBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                      unsigned long mode)
{
    return Blit(x, y, width, height, source, sx, sy, CopyOp(mode), 0);
}

int TDibFeeld::BitBlt(const RECT& destination, TDibFeeld* source, int sx, int sy,
                      unsigned long mode)
{
    return BitBlt(destination.left, destination.top, destination.right - destination.left,
                  destination.bottom - destination.top, source, sx, sy, mode);
}

int TDibFeeld::BitAlphaBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                           unsigned short alpha)
{
    return Blit(x, y, width, height, source, sx, sy, BLIT_BLEND, alpha);
}

int TDibFeeld::BitAlphaBlt(const RECT& destination, TDibFeeld* source, int sx, int sy,
                           unsigned short alpha)
{
    return BitAlphaBlt(destination.left, destination.top, destination.right - destination.left,
                       destination.bottom - destination.top, source, sx, sy, alpha);
}
