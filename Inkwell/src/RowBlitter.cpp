// Row operations of BitBlt, BitAlphaBlt and their stretching twins.
#include "RowBlitter.h"

#include <Inkwell/InkwellCodes.h>

#include <cstring>

bool RowBlitter::Prepare(const PixelFormat& source, const PixelFormat& dest, const RGBQUAD* palette,
                         uint32_t paletteCount, BlitOp op, unsigned alpha, int width)
{
    const bool equal = source.code == dest.code;
    if (op == BLIT_NONE || width <= 0 || width > 0x7FFFFFFF / 12) return false;
    if (!dest.write && !equal) return false;
    if (equal && op == BLIT_SKIP_BLACK && !source.copyB) return false;
    if (equal && op == BLIT_BLEND && !source.copyC) return false;
    m_Source = &source;
    m_Dest = &dest;
    m_Palette = palette;
    m_PaletteCount = paletteCount;
    m_Op = op;
    m_Alpha = alpha > 256 ? 256 : alpha;
    m_Width = width;
    const unsigned long quadBytes = static_cast<unsigned long>(width) * 4;
    if (!m_Buffer.Alloc(quadBytes * 3)) return false;
    m_SourceQuads = reinterpret_cast<RGBQUAD*>(static_cast<unsigned char*>(m_Buffer));
    m_DestQuads = m_SourceQuads + width;
    m_Gather = reinterpret_cast<uint8_t*>(m_DestQuads + width);
    return true;
}

void RowBlitter::Run(const uint8_t* sourceRow, uint8_t* destRow)
{
    const PixelFormat& s = *m_Source;
    const PixelFormat& d = *m_Dest;
    const int n = m_Width;
    const bool equal = s.code == d.code;
    switch (m_Op) {
    case BLIT_COPY:
        if (equal) {
            std::memcpy(destRow, sourceRow, static_cast<size_t>(n) * s.bytes);
        } else if (d.quadLayout) {
            s.read(sourceRow, n, reinterpret_cast<RGBQUAD*>(destRow), m_Palette, m_PaletteCount);
        } else if (s.quadLayout) {
            // Rows already stored as quads go straight to the writer.
            d.write(reinterpret_cast<const RGBQUAD*>(sourceRow), n, destRow);
        } else {
            s.read(sourceRow, n, m_SourceQuads, m_Palette, m_PaletteCount);
            d.write(m_SourceQuads, n, destRow);
        }
        break;
    case BLIT_SKIP_BLACK:
        if (equal) {
            s.copyB(sourceRow, n, destRow);
        } else {
            s.read(sourceRow, n, m_SourceQuads, m_Palette, m_PaletteCount);
            WriteRowSkipBlack(d, m_SourceQuads, n, destRow);
        }
        break;
    case BLIT_BLEND: {
        if (equal && s.alpha32) {
            BlendRow32(sourceRow, destRow, n, m_Alpha, (s.code & 0x00FF0000) != 0);
            break;
        }
        // Every other pair blends expanded quads with the same routine, so a
        // pixel blends alike whatever the two formats are.
        if (s.code == PIXEL_PAL8)
            ReadPaletteRowRaw(sourceRow, n, m_SourceQuads, m_Palette, m_PaletteCount);
        else
            s.read(sourceRow, n, m_SourceQuads, m_Palette, m_PaletteCount);
        const uint8_t* quads = reinterpret_cast<const uint8_t*>(m_SourceQuads);
        if (d.quadLayout) {
            BlendRow32(quads, destRow, n, m_Alpha, true);
        } else {
            d.read(destRow, n, m_DestQuads, nullptr, 0);
            BlendRow32(quads, reinterpret_cast<uint8_t*>(m_DestQuads), n, m_Alpha, true);
            d.write(m_DestQuads, n, destRow);
        }
        break;
    }
    case BLIT_NONE:
        break;
    }
}
