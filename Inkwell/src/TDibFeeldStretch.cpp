// TDibFeeld: scaled copies and blends (nearest pixel, 16.16 steps).
#include <Inkwell/TDibFeeld.h>

#include "BlitGeometry.h"
#include "PixelFormat.h"
#include "FieldAccess.h"

#include <cstring>

namespace {

// Source positions of the destination columns of one span, clamped to the
// clipped source so that rounding of the steps never samples outside it.
bool SampleSpan(const StretchSpan& span, TMemoryBase& table)
{
    const int64_t n = span.dEnd - span.d;
    if (!table.Alloc(static_cast<unsigned long>(n * sizeof(int32_t)))) return false;
    int32_t* out = reinterpret_cast<int32_t*>(static_cast<unsigned char*>(table));
    int64_t pos = span.s << 16;
    for (int64_t i = 0; i < n; ++i, pos += span.step) {
        int64_t v = pos >> 16;
        out[i] = static_cast<int32_t>(v < span.sEnd ? v : span.sEnd - 1);
    }
    return true;
}

template <int Bytes>
void GatherRow(const uint8_t* row, const int32_t* columns, int count, uint8_t* out)
{
    for (int i = 0; i < count; ++i)
        std::memcpy(out + i * Bytes, row + static_cast<int64_t>(columns[i]) * Bytes, Bytes);
}

void Gather(int bytes, const uint8_t* row, const int32_t* columns, int count, uint8_t* out)
{
    switch (bytes) {
    case 1:
        GatherRow<1>(row, columns, count, out);
        break;
    case 2:
        GatherRow<2>(row, columns, count, out);
        break;
    case 3:
        GatherRow<3>(row, columns, count, out);
        break;
    default:
        GatherRow<4>(row, columns, count, out);
        break;
    }
}

} // namespace

int TDibFeeld::Stretch(long x, long y, long width, long height, TDibFeeld* source, long sx, long sy,
                       long sWidth, long sHeight, int op, unsigned alpha)
{
    if (!CanTakeFrom(source)) return 0;
    StretchSpan cols, rows;
    if (!ClipStretchSpan(m_Width, source->m_Width, x, width, sx, sWidth, cols) ||
        !ClipStretchSpan(m_Height, source->m_Height, y, height, sy, sHeight, rows))
        return 0;
    PaintScope sourcePaint(*source);
    PaintScope destPaint(*this, sourcePaint.Ok());
    if (!destPaint.Ok()) return 0;
    if (op == BLIT_NONE) return 1;
    const int n = static_cast<int>(cols.dEnd - cols.d);
    const PixelFormat& sf = *source->m_Routines;
    RowBlitter blitter;
    TMemoryBase columnTable, rowTable;
    if (!blitter.Prepare(sf, *m_Routines, PaletteOf(source->m_Palette),
                         PaletteCount(source->m_Palette), static_cast<BlitOp>(op), alpha, n) ||
        !SampleSpan(cols, columnTable) || !SampleSpan(rows, rowTable))
        return 0;
    const int32_t* columns =
        reinterpret_cast<const int32_t*>(static_cast<unsigned char*>(columnTable));
    const int32_t* sourceRows =
        reinterpret_cast<const int32_t*>(static_cast<unsigned char*>(rowTable));
    // Same-format copies gather straight into the destination.
    const bool direct = op == BLIT_COPY && sf.code == m_Routines->code;
    uint8_t* gathered = blitter.GatherBuffer();
    int32_t gatheredRow = -1;
    for (int64_t r = 0; r < rows.dEnd - rows.d; ++r) {
        const uint8_t* sourceRow = source->m_lpPixel + sourceRows[r] * int64_t(source->m_LineByte);
        uint8_t* destRow = m_lpPixel + (rows.d + r) * m_LineByte + cols.d * m_Routines->bytes;
        if (direct) {
            Gather(sf.bytes, sourceRow, columns, n, destRow);
            continue;
        }
        if (sourceRows[r] != gatheredRow) {
            Gather(sf.bytes, sourceRow, columns, n, gathered);
            gatheredRow = sourceRows[r];
        }
        blitter.Run(gathered, destRow);
    }
    return 1;
}

int TDibFeeld::StretchBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                          int sWidth, int sHeight, unsigned long mode)
{
    return Stretch(x, y, width, height, source, sx, sy, sWidth, sHeight, CopyOp(mode), 0);
}

int TDibFeeld::StretchBlt(const RECT& destination, TDibFeeld* source, const RECT& sourceRect,
                          unsigned long mode)
{
    return StretchBlt(destination.left, destination.top, destination.right - destination.left,
                      destination.bottom - destination.top, source, sourceRect.left, sourceRect.top,
                      sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, mode);
}

int TDibFeeld::StretchAlphaBlt(int x, int y, int width, int height, TDibFeeld* source, int sx,
                               int sy, int sWidth, int sHeight, unsigned short alpha)
{
    return Stretch(x, y, width, height, source, sx, sy, sWidth, sHeight, BLIT_BLEND, alpha);
}

int TDibFeeld::StretchAlphaBlt(const RECT& destination, TDibFeeld* source, const RECT& sourceRect,
                               unsigned short alpha)
{
    return StretchAlphaBlt(destination.left, destination.top, destination.right - destination.left,
                           destination.bottom - destination.top, source, sourceRect.left,
                           sourceRect.top, sourceRect.right - sourceRect.left,
                           sourceRect.bottom - sourceRect.top, alpha);
}
