// The blend shared by every BitAlphaBlt and StretchAlphaBlt path: AVX2 blocks
// where the processor has them, then SSE2 blocks, then single pixels.
#include "PixelFormat.h"

#include "BlendKernel.h"

#include <emmintrin.h>

namespace {

struct Sse2 {
    using Reg = __m128i;
    static constexpr int Pixels = 4;
    static Reg Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const Reg*>(p)); }
    static void Store(uint8_t* p, Reg v) { _mm_storeu_si128(reinterpret_cast<Reg*>(p), v); }
    static Reg Set16(short v) { return _mm_set1_epi16(v); }
    static Reg Set32(int v) { return _mm_set1_epi32(v); }
    static Reg And(Reg a, Reg b) { return _mm_and_si128(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm_or_si128(a, b); }
    static Reg Xor(Reg a, Reg b) { return _mm_xor_si128(a, b); }
    static Reg Add16(Reg a, Reg b) { return _mm_add_epi16(a, b); }
    static Reg Sub16(Reg a, Reg b) { return _mm_sub_epi16(a, b); }
    static Reg Mul16(Reg a, Reg b) { return _mm_mullo_epi16(a, b); }
    // The high 16 bits of each 32-bit lane copied into both halves.
    static Reg DupHigh16(Reg a) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0xF5), 0xF5); }
    static Reg Shl16(Reg a, int n) { return _mm_slli_epi16(a, n); }
    static Reg Shr16(Reg a, int n) { return _mm_srli_epi16(a, n); }
};

bool HasAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

} // namespace

int BlendBlocksSse2(const uint8_t* src, uint8_t* dst, int count, unsigned alpha,
                    bool sourceHasAlpha)
{
    return BlendBlocks<Sse2>(src, dst, count, alpha, sourceHasAlpha);
}

void BlendRow32(const uint8_t* src, uint8_t* dst, int count, unsigned alpha, bool sourceHasAlpha)
{
    static const bool avx2 = HasAvx2();
    if (alpha > 256) alpha = 256;
    int i = avx2 ? BlendBlocksAvx2(src, dst, count, alpha, sourceHasAlpha) : 0;
    i += BlendBlocksSse2(src + i * 4, dst + i * 4, count - i, alpha, sourceHasAlpha);
    for (; i < count; ++i) {
        const uint8_t* s = src + i * 4;
        uint8_t* d = dst + i * 4;
        unsigned w = (alpha * (sourceHasAlpha ? s[3] : 255u) + 255) >> 8;
        for (int c = 0; c < 3; ++c)
            d[c] = static_cast<uint8_t>((w * s[c] + (255 - w) * d[c] + 255) >> 8);
    }
}
