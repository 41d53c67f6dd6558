// The vector form of the blend of PixelBlend.cpp, written once for any vector
// width V (SSE2 or AVX2 traits). Everything here has internal linkage: each
// translation unit keeps its own copy compiled for its own instruction set.
#pragma once

#include <cstdint>

namespace {

// One channel of each pixel in the low byte of a 16-bit lane: with base =
// D * 256 + 255 - D the blend is (base + w * (S - D)) >> 8. The true value lies
// in 0..65280, so 16-bit wrap-around arithmetic gives it exactly.
template <class V>
inline typename V::Reg BlendLanes(typename V::Reg s, typename V::Reg d, typename V::Reg w,
                                  typename V::Reg low)
{
    typename V::Reg base = V::Or(V::Shl16(d, 8), V::Xor(d, low));
    return V::Shr16(V::Add16(base, V::Mul16(w, V::Sub16(s, d))), 8);
}

// Blends whole vectors of pixels; returns how many pixels it did.
template <class V>
int BlendBlocks(const uint8_t* src, uint8_t* dst, int count, unsigned alpha, bool sourceHasAlpha)
{
    using R = typename V::Reg;
    const R low = V::Set16(0xFF);
    const R alphaVec = V::Set16(static_cast<short>(alpha));
    const R opaque = V::Set16(255);
    const R colourOnly = V::Set32(0xFFFF);
    int i = 0;
    for (; i + V::Pixels <= count; i += V::Pixels) {
        R s = V::Load(src + i * 4);
        R d = V::Load(dst + i * 4);
        // Green and alpha of each pixel in the odd bytes, blue and red in the even ones.
        R sOdd = V::Shr16(s, 8);
        // w = (alpha * As + 255) >> 8 in both 16-bit halves of each pixel.
        R as = sourceHasAlpha ? V::DupHigh16(sOdd) : opaque;
        R w = V::Shr16(V::Add16(V::Mul16(as, alphaVec), opaque), 8);
        // The alpha lane gets weight 0, which gives back the destination's alpha exactly.
        R even = BlendLanes<V>(V::And(s, low), V::And(d, low), w, low);
        R odd = BlendLanes<V>(sOdd, V::Shr16(d, 8), V::And(w, colourOnly), low);
        V::Store(dst + i * 4, V::Or(even, V::Shl16(odd, 8)));
    }
    return i;
}

} // namespace
