// The blend shared by every BitAlphaBlt and StretchAlphaBlt path, four pixels a step.
#include "PixelFormat.h"

#include <emmintrin.h>

namespace {

inline unsigned BlendChannel(unsigned w, unsigned s, unsigned d)
{
    return (w * s + (255 - w) * d + 255) >> 8;
}

// Two pixels widened to 16-bit lanes, blended; every intermediate fits in 16
// bits: alpha * As + 255 <= 256 * 255 + 255 and w*S + (255-w)*D + 255 <= 65280.
inline __m128i BlendHalf(__m128i s, __m128i d, __m128i alpha, bool sourceHasAlpha)
{
    const __m128i c255 = _mm_set1_epi16(255);
    __m128i as = sourceHasAlpha ? _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF) : c255;
    __m128i w = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(as, alpha), c255), 8);
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(w, s), _mm_mullo_epi16(_mm_sub_epi16(c255, w), d));
    return _mm_srli_epi16(_mm_add_epi16(sum, c255), 8);
}

} // namespace

void BlendRow32(const uint8_t* src, uint8_t* dst, int count, unsigned alpha, bool sourceHasAlpha)
{
    if (alpha > 256) alpha = 256;
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaVec = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i keep = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 4));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i * 4));
        __m128i lo = BlendHalf(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), alphaVec,
                               sourceHasAlpha);
        __m128i hi = BlendHalf(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), alphaVec,
                               sourceHasAlpha);
        __m128i out =
            _mm_or_si128(_mm_andnot_si128(keep, _mm_packus_epi16(lo, hi)), _mm_and_si128(keep, d));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4), out);
    }
    for (; i < count; ++i) {
        const uint8_t* s = src + i * 4;
        uint8_t* d = dst + i * 4;
        unsigned as = sourceHasAlpha ? s[3] : 255;
        unsigned w = (alpha * as + 255) >> 8;
        for (int c = 0; c < 3; ++c)
            d[c] = static_cast<uint8_t>(BlendChannel(w, s[c], d[c]));
    }
}
