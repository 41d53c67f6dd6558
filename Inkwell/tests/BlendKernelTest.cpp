// The vector blends against the per-pixel formula, for every weight: both
// instruction sets must give the same bytes as the scalar definition.
#include "../src/PixelFormat.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Reference(const uint8_t* s, uint8_t* d, int count, unsigned alpha, bool hasAlpha)
{
    for (int i = 0; i < count; ++i, s += 4, d += 4) {
        unsigned w = (alpha * (hasAlpha ? s[3] : 255u) + 255) / 256;
        for (int c = 0; c < 3; ++c)
            d[c] = uint8_t((w * s[c] + (255 - w) * d[c] + 255) / 256);
    }
}

TEST(BlendKernel, VectorBlocksMatchTheFormulaForEveryWeight)
{
    const int count = 64;
    std::vector<uint8_t> src(count * 4), dst(count * 4);
    unsigned seed = 99;
    for (auto* v : {&src, &dst})
        for (auto& b : *v)
            b = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
    src[3] = 0;   // fully transparent
    src[7] = 255; // fully opaque
    __builtin_cpu_init();
    const bool avx2 = __builtin_cpu_supports("avx2");
    for (unsigned alpha = 0; alpha <= 256; ++alpha)
        for (bool hasAlpha : {true, false}) {
            std::vector<uint8_t> want = dst, sse = dst, wide = dst, row = dst;
            Reference(src.data(), want.data(), count, alpha, hasAlpha);
            ASSERT_EQ(count, BlendBlocksSse2(src.data(), sse.data(), count, alpha, hasAlpha));
            ASSERT_EQ(want, sse) << "alpha " << alpha;
            if (avx2) {
                ASSERT_EQ(count, BlendBlocksAvx2(src.data(), wide.data(), count, alpha, hasAlpha));
                ASSERT_EQ(want, wide) << "alpha " << alpha;
            }
            // The row form finishes an odd count one pixel at a time.
            BlendRow32(src.data(), row.data(), count - 3, alpha, hasAlpha);
            std::vector<uint8_t> partial = dst;
            Reference(src.data(), partial.data(), count - 3, alpha, hasAlpha);
            ASSERT_EQ(partial, row);
        }
}

} // namespace
