// The fourteen pixel formats: per-pixel layouts turned into row routines.
#include "PixelFormat.h"

#include <Inkwell/InkwellCodes.h>

#include <cstring>
#include <emmintrin.h>

namespace {

uint16_t Load16(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

void Store16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

RGBQUAD Quad(unsigned b, unsigned g, unsigned r, unsigned a)
{
    return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r),
                   static_cast<BYTE>(a)};
}

// Each layout: Read (expand each channel into the top bits), Write (keep the
// top bits, leave bits outside the channels alone) and Skipped (copy B).

struct R3G3B2 {
    static constexpr int Bytes = 1;
    static unsigned Pack(const RGBQUAD& q)
    {
        return (q.rgbRed & 0xE0u) | ((q.rgbGreen & 0xE0u) >> 3) | (q.rgbBlue >> 6);
    }
    static RGBQUAD Unpack(unsigned v, unsigned a)
    {
        return Quad((v << 6) & 0xC0, (v << 3) & 0xE0, v & 0xE0, a);
    }
    static RGBQUAD Read(const uint8_t* p) { return Unpack(*p, 0xFF); }
    static void Write(const RGBQUAD& q, uint8_t* p) { *p = static_cast<uint8_t>(Pack(q)); }
    static bool Skipped(const uint8_t* p) { return *p == 0; }
};

struct A4R4G4B4 {
    static constexpr int Bytes = 2;
    static RGBQUAD Read(const uint8_t* p)
    {
        unsigned v = Load16(p);
        return Quad((v << 4) & 0xF0, v & 0xF0, (v >> 4) & 0xF0, (v >> 8) & 0xF0);
    }
    static void Write(const RGBQUAD& q, uint8_t* p)
    {
        Store16(p,
                static_cast<uint16_t>(((q.rgbReserved & 0xF0u) << 8) | ((q.rgbRed & 0xF0u) << 4) |
                                      (q.rgbGreen & 0xF0u) | (q.rgbBlue >> 4)));
    }
    static bool Skipped(const uint8_t* p) { return (Load16(p) & 0x0FFF) == 0; }
};

// 5-6-5 with the first channel in the top bits; Swap exchanges red and blue.
template <bool Swap> struct R5G6B5T {
    static constexpr int Bytes = 2;
    static RGBQUAD Read(const uint8_t* p)
    {
        unsigned v = Load16(p);
        unsigned hi = (v >> 8) & 0xF8, g = (v >> 3) & 0xFC, lo = (v << 3) & 0xF8;
        return Swap ? Quad(hi, g, lo, 0xFF) : Quad(lo, g, hi, 0xFF);
    }
    static void Write(const RGBQUAD& q, uint8_t* p)
    {
        unsigned hi = Swap ? q.rgbBlue : q.rgbRed, lo = Swap ? q.rgbRed : q.rgbBlue;
        Store16(p, static_cast<uint16_t>(((hi & 0xF8u) << 8) | ((q.rgbGreen & 0xFCu) << 3) |
                                         (lo >> 3)));
    }
};

// 1-5-5-5; with AlphaBit the top bit is alpha (0x80 when set), else it is
// ignored on reading and kept on writing.
template <bool AlphaBit> struct X1R5G5B5T {
    static constexpr int Bytes = 2;
    static RGBQUAD Read(const uint8_t* p)
    {
        unsigned v = Load16(p);
        unsigned a = AlphaBit ? ((v & 0x8000) ? 0x80 : 0) : 0xFF;
        return Quad((v << 3) & 0xF8, (v >> 2) & 0xF8, (v >> 7) & 0xF8, a);
    }
    static void Write(const RGBQUAD& q, uint8_t* p)
    {
        unsigned top = AlphaBit ? (q.rgbReserved & 0x80u) << 8 : Load16(p) & 0x8000u;
        Store16(p, static_cast<uint16_t>(top | ((q.rgbRed & 0xF8u) << 7) |
                                         ((q.rgbGreen & 0xF8u) << 2) | (q.rgbBlue >> 3)));
    }
    static bool Skipped(const uint8_t* p) { return (Load16(p) & 0x7FFF) == 0; }
};

// High byte R3G3B2 colour, low byte alpha.
struct R3G3B2A8 {
    static constexpr int Bytes = 2;
    static RGBQUAD Read(const uint8_t* p) { return R3G3B2::Unpack(p[1], p[0]); }
    static void Write(const RGBQUAD& q, uint8_t* p)
    {
        p[0] = q.rgbReserved;
        p[1] = static_cast<uint8_t>(R3G3B2::Pack(q));
    }
    static bool Skipped(const uint8_t* p) { return p[0] == 0; }
};

// Byte layouts: Swap puts red first; Bytes 4 adds the fourth byte, which is
// alpha when Alpha is set and otherwise ignored and kept.
template <int N, bool Swap, bool Alpha> struct ByteLayout {
    static constexpr int Bytes = N;
    static RGBQUAD Read(const uint8_t* p)
    {
        unsigned a = (N == 4 && Alpha) ? p[3] : 0xFF;
        return Swap ? Quad(p[2], p[1], p[0], a) : Quad(p[0], p[1], p[2], a);
    }
    static void Write(const RGBQUAD& q, uint8_t* p)
    {
        p[0] = Swap ? q.rgbRed : q.rgbBlue;
        p[1] = q.rgbGreen;
        p[2] = Swap ? q.rgbBlue : q.rgbRed;
        if (N == 4 && Alpha) p[3] = q.rgbReserved;
    }
    static bool Skipped(const uint8_t* p) { return (p[0] | p[1] | p[2]) == 0; }
};

template <class F>
void ReadRow(const uint8_t* src, int count, RGBQUAD* out, const RGBQUAD*, uint32_t)
{
    for (int i = 0; i < count; ++i)
        out[i] = F::Read(src + i * F::Bytes);
}

template <class F> void WriteRow(const RGBQUAD* in, int count, uint8_t* dst)
{
    for (int i = 0; i < count; ++i)
        F::Write(in[i], dst + i * F::Bytes);
}

template <class F> void SkipCopyRow(const uint8_t* src, int count, uint8_t* dst)
{
    for (int i = 0; i < count; ++i) {
        const uint8_t* s = src + i * F::Bytes;
        if (!F::Skipped(s)) std::memcpy(dst + i * F::Bytes, s, F::Bytes);
    }
}

// The 5-6-5 formats skip nothing in copy B.
template <int Bytes> void PlainCopyRow(const uint8_t* src, int count, uint8_t* dst)
{
    std::memcpy(dst, src, static_cast<size_t>(count) * Bytes);
}

// The frame format, eight pixels a step: the remote image's repaint path.
void ReadRowX1R5G5B5(const uint8_t* src, int count, RGBQUAD* out, const RGBQUAD* pal,
                     uint32_t palCount)
{
    const __m128i mask = _mm_set1_epi16(0xF8);
    const __m128i opaque = _mm_set1_epi16(static_cast<short>(0xFF00));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 2));
        __m128i b = _mm_and_si128(_mm_slli_epi16(v, 3), mask);
        __m128i g = _mm_and_si128(_mm_srli_epi16(v, 2), mask);
        __m128i r = _mm_and_si128(_mm_srli_epi16(v, 7), mask);
        __m128i bg = _mm_or_si128(b, _mm_slli_epi16(g, 8));
        __m128i ra = _mm_or_si128(r, opaque);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi16(bg, ra));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 4), _mm_unpackhi_epi16(bg, ra));
    }
    ReadRow<X1R5G5B5T<false>>(src + i * 2, count - i, out + i, pal, palCount);
}

// Quads into the frame format, eight pixels a step: the server's capture converts
// every screen copy with it. Each 32-bit lane yields the 15 colour bits, which
// signed packing keeps exactly; the destination's X bit is kept, as by Write.
void WriteRowX1R5G5B5(const RGBQUAD* in, int count, uint8_t* dst)
{
    const __m128i red = _mm_set1_epi32(0x7C00), green = _mm_set1_epi32(0x03E0);
    const __m128i blue = _mm_set1_epi32(0x001F), top = _mm_set1_epi16(static_cast<short>(0x8000));
    auto pack = [&](__m128i q) {
        return _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(q, 9), red),
                                         _mm_and_si128(_mm_srli_epi32(q, 6), green)),
                            _mm_and_si128(_mm_srli_epi32(q, 3), blue));
    };
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
        __m128i* out = reinterpret_cast<__m128i*>(dst + i * 2);
        const __m128i kept = _mm_and_si128(_mm_loadu_si128(out), top);
        _mm_storeu_si128(out, _mm_or_si128(_mm_packs_epi32(pack(lo), pack(hi)), kept));
    }
    WriteRow<X1R5G5B5T<false>>(in + i, count - i, dst + i * 2);
}

void ReadPaletteRow(const uint8_t* src, int count, RGBQUAD* out, const RGBQUAD* pal,
                    uint32_t palCount)
{
    ReadPaletteRowRaw(src, count, out, pal, palCount);
    for (int i = 0; i < count; ++i)
        out[i].rgbReserved = 0xFF;
}

void CopyQuadRow(const RGBQUAD* in, int count, uint8_t* dst)
{
    std::memcpy(dst, in, static_cast<size_t>(count) * 4);
}

void ReadQuadRow(const uint8_t* src, int count, RGBQUAD* out, const RGBQUAD*, uint32_t)
{
    std::memcpy(out, src, static_cast<size_t>(count) * 4);
}

template <class F> constexpr PixelFormat Entry(uint32_t code, SkipCopyRowFn copyB, bool alpha32)
{
    return PixelFormat{code, F::Bytes, &ReadRow<F>, &WriteRow<F>, copyB, true, false, alpha32};
}

using BGR24 = ByteLayout<3, false, false>;
using RGB24 = ByteLayout<3, true, false>;
using BGRX32 = ByteLayout<4, false, false>;
using RGBX32 = ByteLayout<4, true, false>;
using RGBA32 = ByteLayout<4, true, true>;

const PixelFormat g_Formats[] = {
    {PIXEL_PAL8, 1, &ReadPaletteRow, nullptr, nullptr, false, false, false},
    Entry<R3G3B2>(PIXEL_R3G3B2, &SkipCopyRow<R3G3B2>, false),
    Entry<A4R4G4B4>(PIXEL_A4R4G4B4, &SkipCopyRow<A4R4G4B4>, false),
    Entry<R5G6B5T<false>>(PIXEL_R5G6B5, &PlainCopyRow<2>, false),
    Entry<R5G6B5T<true>>(PIXEL_B5G6R5, &PlainCopyRow<2>, false),
    {PIXEL_X1R5G5B5, 2, &ReadRowX1R5G5B5, &WriteRowX1R5G5B5, &SkipCopyRow<X1R5G5B5T<false>>, true,
     false, false},
    Entry<X1R5G5B5T<true>>(PIXEL_A1R5G5B5, &SkipCopyRow<X1R5G5B5T<true>>, false),
    Entry<R3G3B2A8>(PIXEL_R3G3B2A8, &SkipCopyRow<R3G3B2A8>, false),
    Entry<BGR24>(PIXEL_BGR24, &SkipCopyRow<BGR24>, false),
    Entry<RGB24>(PIXEL_RGB24, &SkipCopyRow<RGB24>, false),
    Entry<BGRX32>(PIXEL_BGRX32, &SkipCopyRow<BGRX32>, true),
    Entry<RGBX32>(PIXEL_RGBX32, &SkipCopyRow<RGBX32>, true),
    {PIXEL_BGRA32, 4, &ReadQuadRow, &CopyQuadRow, &SkipCopyRow<BGRX32>, true, true, true},
    Entry<RGBA32>(PIXEL_RGBA32, &SkipCopyRow<RGBA32>, true),
};

} // namespace

const PixelFormat* FindPixelFormat(uint32_t code)
{
    for (const PixelFormat& f : g_Formats)
        if (f.code == code) return &f;
    return nullptr;
}

void ReadPaletteRowRaw(const uint8_t* src, int count, RGBQUAD* out, const RGBQUAD* pal,
                       uint32_t palCount)
{
    // Indices past a short palette read as black rather than past the table.
    for (int i = 0; i < count; ++i)
        out[i] = src[i] < palCount ? pal[src[i]] : Quad(0, 0, 0, 0xFF);
}

void WriteRowSkipBlack(const PixelFormat& fmt, const RGBQUAD* in, int count, uint8_t* dst)
{
    int i = 0;
    while (i < count) {
        while (i < count && (in[i].rgbRed | in[i].rgbGreen | in[i].rgbBlue) == 0)
            ++i;
        int start = i;
        while (i < count && (in[i].rgbRed | in[i].rgbGreen | in[i].rgbBlue) != 0)
            ++i;
        if (i > start) fmt.write(in + start, i - start, dst + start * fmt.bytes);
    }
}
