// One row operation of a rectangle copy, blend or stretch between two formats,
// chosen once per call: block routines for equal formats, conversion through
// quads for mixed ones.
#pragma once

#include "PixelFormat.h"

#include <Keelwork/TMemoryBase.h>

enum BlitOp { BLIT_COPY, BLIT_SKIP_BLACK, BLIT_BLEND, BLIT_NONE };

class RowBlitter {
public:
    // False when the pair has no routine for the operation or the row buffers
    // cannot be had; nothing is drawn then.
    bool Prepare(const PixelFormat& source, const PixelFormat& dest, const RGBQUAD* palette,
                 uint32_t paletteCount, BlitOp op, unsigned alpha, int width);
    // Applies the operation to width pixels: source row in the source format.
    void Run(const uint8_t* sourceRow, uint8_t* destRow);
    // A row buffer in the source format for gathered (stretched) pixels.
    uint8_t* GatherBuffer() { return m_Gather; }

private:
    const PixelFormat* m_Source = nullptr;
    const PixelFormat* m_Dest = nullptr;
    const RGBQUAD* m_Palette = nullptr;
    uint32_t m_PaletteCount = 0;
    BlitOp m_Op = BLIT_NONE;
    unsigned m_Alpha = 0;
    int m_Width = 0;
    TMemoryBase m_Buffer;
    RGBQUAD* m_SourceQuads = nullptr;
    RGBQUAD* m_DestQuads = nullptr;
    uint8_t* m_Gather = nullptr;
};
