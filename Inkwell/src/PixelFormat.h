// Per-format pixel routines behind TDibFeeld: row readers and writers, the
// mode-2 skipping copy and the blend that every path shares.
#pragma once

#include <cstdint>
#include <windows.h>

// Reads count pixels into quads; palette sources look their index up in pal.
using ReadRowFn = void (*)(const uint8_t* src, int count, RGBQUAD* out, const RGBQUAD* pal,
                           uint32_t palCount);
// Writes count quads; each channel keeps its top bits, bits outside the
// format's channels (X bits, ignored bytes) keep what the destination held.
using WriteRowFn = void (*)(const RGBQUAD* in, int count, uint8_t* dst);
// Copy B of equal formats: copies the pixels the format does not skip.
using SkipCopyRowFn = void (*)(const uint8_t* src, int count, uint8_t* dst);

struct PixelFormat {
    uint32_t code;
    int bytes; // per pixel
    ReadRowFn read;
    WriteRowFn write;    // null for the palette format
    SkipCopyRowFn copyB; // null: no copy B
    bool copyC;          // equal formats may blend
    bool quadLayout;     // stored exactly as tagRGBQUAD: reads and writes are copies
    bool alpha32;        // 32-bit with the alpha (or ignored) byte last: blended in place
};

// The routines of a format code, or null for an unknown code.
const PixelFormat* FindPixelFormat(uint32_t code);

// Palette lookup keeping the entry's reserved byte: the source alpha of a
// palette field being blended.
void ReadPaletteRowRaw(const uint8_t* src, int count, RGBQUAD* out, const RGBQUAD* pal,
                       uint32_t palCount);

// The one blend of the library, on 4-byte pixels whose fourth byte is alpha:
// w = (alpha * As + 255) / 256 with As the source's fourth byte (0xFF when
// sourceHasAlpha is false), then each of the first three bytes becomes
// (w * S + (255 - w) * D + 255) / 256; the destination's fourth byte is kept.
void BlendRow32(const uint8_t* src, uint8_t* dst, int count, unsigned alpha, bool sourceHasAlpha);
// The whole vectors of that blend (alpha at most 256); each returns the pixels
// it did. The AVX2 form may only run where the processor has AVX2.
int BlendBlocksSse2(const uint8_t* src, uint8_t* dst, int count, unsigned alpha,
                    bool sourceHasAlpha);
int BlendBlocksAvx2(const uint8_t* src, uint8_t* dst, int count, unsigned alpha,
                    bool sourceHasAlpha);

// Mode 2 of mixed formats: writes the quads that are not black.
void WriteRowSkipBlack(const PixelFormat& fmt, const RGBQUAD* in, int count, uint8_t* dst);
