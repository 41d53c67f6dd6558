// Helpers shared by the TDibFeeld operations: paint bracketing and palette views.
#pragma once

#include "RowBlitter.h"

#include <Inkwell/TDibFeeld.h>

// Brackets the work on one field; EndPaint only after a successful BeginPaint.
// With attempt false (an earlier field failed) the field is not begun at all.
class PaintScope {
public:
    explicit PaintScope(TDibFeeld& field, bool attempt = true)
        : m_Field(field), m_Ok(attempt && field.BeginPaint() != 0)
    {
    }
    ~PaintScope()
    {
        if (m_Ok) m_Field.EndPaint();
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    bool Ok() const { return m_Ok; }

private:
    TDibFeeld& m_Field;
    bool m_Ok;
};

inline const RGBQUAD* PaletteOf(const TMemoryBase& palette)
{
    return reinterpret_cast<const RGBQUAD*>(static_cast<unsigned char*>(palette));
}

inline uint32_t PaletteCount(const TMemoryBase& palette) { return palette.GetSize() / 4; }

// Mode 1 copies, mode 2 skips black; any other mode draws nothing.
inline BlitOp CopyOp(unsigned long mode)
{
    return mode == 1 ? BLIT_COPY : mode == 2 ? BLIT_SKIP_BLACK : BLIT_NONE;
}
