// The blend's AVX2 blocks, eight pixels a step; compiled with -mavx2 and only
// called when the processor has AVX2 (nothing here is shared with other units).
#include "PixelFormat.h"

#include "BlendKernel.h"

#include <immintrin.h>

namespace {

struct Avx2 {
    using Reg = __m256i;
    static constexpr int Pixels = 8;
    static Reg Load(const uint8_t* p)
    {
        return _mm256_loadu_si256(reinterpret_cast<const Reg*>(p));
    }
    static void Store(uint8_t* p, Reg v) { _mm256_storeu_si256(reinterpret_cast<Reg*>(p), v); }
    static Reg Set16(short v) { return _mm256_set1_epi16(v); }
    static Reg Set32(int v) { return _mm256_set1_epi32(v); }
    static Reg And(Reg a, Reg b) { return _mm256_and_si256(a, b); }
    static Reg Or(Reg a, Reg b) { return _mm256_or_si256(a, b); }
    static Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
    static Reg Add16(Reg a, Reg b) { return _mm256_add_epi16(a, b); }
    static Reg Sub16(Reg a, Reg b) { return _mm256_sub_epi16(a, b); }
    static Reg Mul16(Reg a, Reg b) { return _mm256_mullo_epi16(a, b); }
    // The high 16 bits of each 32-bit lane copied into both halves.
    static Reg DupHigh16(Reg a)
    {
        return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(a, 0xF5), 0xF5);
    }
    static Reg Shl16(Reg a, int n) { return _mm256_slli_epi16(a, n); }
    static Reg Shr16(Reg a, int n) { return _mm256_srli_epi16(a, n); }
};

} // namespace

int BlendBlocksAvx2(const uint8_t* src, uint8_t* dst, int count, unsigned alpha,
                    bool sourceHasAlpha)
{
    return BlendBlocks<Avx2>(src, dst, count, alpha, sourceHasAlpha);
}
