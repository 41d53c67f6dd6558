// Rectangle copies and blends: clipping, the two modes per format pair, one blend everywhere.
#include "TestField.h"

#include <gtest/gtest.h>

namespace {

std::vector<unsigned long> AllFormats()
{
    std::vector<unsigned long> all = WritableFormats();
    all.push_back(PIXEL_PAL8);
    return all;
}

// A source field of any format with varied pixels; the palette has an entry
// whose reserved byte is not 0xFF.
TestField MakeSource(unsigned long format, long width, long height, unsigned seed)
{
    TestField field(format, width, height);
    field.Scramble(seed);
    std::vector<RGBQUAD> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(Q(i * 7 & 0xFF, i * 13 & 0xFF, i * 29 & 0xFF, i * 31 & 0xFF));
    field.SetPalette(palette);
    return field;
}

// The per-pixel meaning of a blend, written out plainly: weight from
// the source alpha (a palette entry's reserved byte), destination alpha kept.
RGBQUAD ReferenceBlend(RGBQUAD s, RGBQUAD d, unsigned a)
{
    unsigned w = (a * s.rgbReserved + 255) / 256;
    auto mix = [w](unsigned sc, unsigned dc) { return (w * sc + (255 - w) * dc + 255) / 256; };
    return Q(mix(s.rgbBlue, d.rgbBlue), mix(s.rgbGreen, d.rgbGreen), mix(s.rgbRed, d.rgbRed),
             d.rgbReserved);
}

RGBQUAD SourceQuad(TestField& source, long x, long y)
{
    RGBQUAD q = source.GetPixel(x, y);
    // A palette source blends with its entry's reserved byte (i * 31 in MakeSource).
    if (source.GetFormat() == PIXEL_PAL8)
        q.rgbReserved = static_cast<BYTE>(source.Raw(x, y)[0] * 31 & 0xFF);
    return q;
}

TEST(BitBlt, NegativeDestinationOriginMovesTheSourceOrigin)
{
    TestField src = MakeSource(PIXEL_BGR24, 8, 6, 1);
    TestField dst(PIXEL_BGR24, 8, 6);
    EXPECT_EQ(1, dst.BitBlt(-3, -2, 8, 6, &src, 0, 0, 1));
    for (long y = 0; y < 6; ++y)
        for (long x = 0; x < 8; ++x) {
            RGBQUAD want = (x < 5 && y < 4) ? src.GetPixel(x + 3, y + 2) : Q(0, 0, 0, 0xFF);
            EXPECT_TRUE(SameQuad(want, dst.GetPixel(x, y))) << x << "," << y;
        }
    TestField dst2(PIXEL_BGR24, 8, 6);
    EXPECT_EQ(1, dst2.BitBlt(0, 0, 4, 4, &src, -1, -1, 1));
    EXPECT_TRUE(SameQuad(src.GetPixel(0, 0), dst2.GetPixel(1, 1)));
    EXPECT_TRUE(SameQuad(Q(0, 0, 0, 0xFF), dst2.GetPixel(0, 0)));
    EXPECT_TRUE(SameQuad(Q(0, 0, 0, 0xFF), dst2.GetPixel(4, 4)));
}

TEST(BitBlt, EmptyOrHostileRectanglesDrawNothing)
{
    TestField src = MakeSource(PIXEL_BGRA32, 8, 8, 2);
    TestField dst(PIXEL_BGRA32, 8, 8);
    const auto before = dst.Pixels();
    const int big = INT32_MAX, small = INT32_MIN;
    const int cases[][6] = {
        {0, 0, 0, 4, 0, 0},
        {0, 0, 4, -1, 0, 0},
        {8, 0, 4, 4, 0, 0},
        {0, 0, 4, 4, 8, 0},
        {-4, 0, 4, 4, 0, 0},
        {0, 0, 4, 4, -4, -4},
        {small, small, big, big, 0, 0},
        {0, 0, big, big, big, big},
        {big, big, big, big, 0, 0},
        {0, 0, big, big, small, small},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(0, dst.BitBlt(c[0], c[1], c[2], c[3], &src, c[4], c[5], 1));
        EXPECT_EQ(0, dst.BitAlphaBlt(c[0], c[1], c[2], c[3], &src, c[4], c[5], 256));
    }
    EXPECT_EQ(before, dst.Pixels());
    EXPECT_EQ(0, dst.BitBlt(0, 0, 4, 4, nullptr, 0, 0, 1));
}

TEST(BitBlt, RefusesUnusableFieldsAndForeignSourcesIntoPalettes)
{
    TestField src = MakeSource(PIXEL_BGR24, 4, 4, 3);
    TestField marked(PIXEL_BGR24 | PIXEL_UNUSABLE, 4, 4);
    TestField dst(PIXEL_BGR24, 4, 4);
    EXPECT_EQ(0, dst.BitBlt(0, 0, 4, 4, &marked, 0, 0, 1));
    EXPECT_EQ(0, marked.BitBlt(0, 0, 4, 4, &src, 0, 0, 1));
    TestField pal = MakeSource(PIXEL_PAL8, 4, 4, 4);
    EXPECT_EQ(0, pal.BitBlt(0, 0, 4, 4, &src, 0, 0, 1));
    EXPECT_EQ(0, pal.BitAlphaBlt(0, 0, 4, 4, &src, 0, 0, 256));

    // Palette to palette: mode 1 copies indices; there is no mode 2 or blend routine.
    TestField pal2(PIXEL_PAL8, 4, 4);
    EXPECT_EQ(1, pal2.BitBlt(0, 0, 4, 4, &pal, 0, 0, 1));
    EXPECT_EQ(pal.Raw(3, 3)[0], pal2.Raw(3, 3)[0]);
    EXPECT_EQ(0, pal2.BitBlt(0, 0, 4, 4, &pal, 0, 0, 2));
    EXPECT_EQ(0, pal2.BitAlphaBlt(0, 0, 4, 4, &pal, 0, 0, 128));
}

TEST(BitBlt, BracketsPaintingAndStopsWhenEitherFieldCannotPaint)
{
    TestField src = MakeSource(PIXEL_BGR24, 4, 4, 5);
    TestField dst(PIXEL_BGR24, 4, 4);
    EXPECT_EQ(1, dst.BitBlt(0, 0, 4, 4, &src, 0, 0, 1));
    EXPECT_EQ(1, src.m_Begins);
    EXPECT_EQ(1, src.m_Ends);
    EXPECT_EQ(1, dst.m_Ends);
    dst.m_Paintable = 0;
    EXPECT_EQ(0, dst.BitBlt(0, 0, 4, 4, &src, 0, 0, 1));
    EXPECT_EQ(2, src.m_Ends) << "source released when the destination cannot paint";
    src.m_Paintable = 0;
    dst.m_Paintable = 1;
    EXPECT_EQ(0, dst.BitAlphaBlt(0, 0, 4, 4, &src, 0, 0, 256));
    EXPECT_EQ(2, src.m_Ends);
    // Any mode but 1 and 2 copies nothing and still succeeds.
    src.m_Paintable = 1;
    const auto before = dst.Pixels();
    EXPECT_EQ(1, dst.BitBlt(0, 0, 4, 4, &src, 0, 0, 7));
    EXPECT_EQ(before, dst.Pixels());
}

// Mode 1 between every pair: equal formats copy the bytes, mixed formats give
// what writing each source pixel's quad would give. Rows of 21 pixels take the
// vector row routines (eight pixels a step) and their single-pixel tails.
TEST(BitBlt, ModeOneConvertsEveryFormatPair)
{
    for (unsigned long sf : AllFormats())
        for (unsigned long df : WritableFormats()) {
            SCOPED_TRACE(testing::Message() << std::hex << sf << " -> " << df);
            TestField src = MakeSource(sf, 21, 3, 11);
            TestField dst = MakeSource(df, 21, 3, 12);
            TestField want = MakeSource(df, 21, 3, 12);
            ASSERT_EQ(1, dst.BitBlt(0, 0, 21, 3, &src, 0, 0, 1));
            for (long y = 0; y < 3; ++y)
                for (long x = 0; x < 21; ++x) {
                    if (sf == df)
                        std::memcpy(want.Raw(x, y), src.Raw(x, y), sf >> 24);
                    else
                        want.SetPixel(x, y, src.GetPixel(x, y));
                }
            EXPECT_EQ(want.Pixels(), dst.Pixels());
        }
}

TEST(BitBlt, ModeTwoSkipsWhatTheFormatTableSays)
{
    struct SkipCase {
        unsigned long format;
        std::vector<uint8_t> raw;
        bool skipped;
    };
    const SkipCase cases[] = {
        {PIXEL_R3G3B2, {0x00}, true},
        {PIXEL_A4R4G4B4, {0x00, 0xF0}, true}, // alpha only
        {PIXEL_A4R4G4B4, {0x01, 0x00}, false},
        {PIXEL_R5G6B5, {0x00, 0x00}, false}, // 5-6-5 copies every pixel
        {PIXEL_B5G6R5, {0x00, 0x00}, false},
        {PIXEL_X1R5G5B5, {0x00, 0x80}, true}, // X bit only
        {PIXEL_A1R5G5B5, {0x00, 0x80}, true},
        {PIXEL_R3G3B2A8, {0x00, 0xFF}, true},  // colour but alpha byte 0
        {PIXEL_R3G3B2A8, {0x01, 0x00}, false}, // black but alpha byte set
        {PIXEL_BGR24, {0, 0, 0}, true},
        {PIXEL_RGB24, {0, 0, 1}, false},
        {PIXEL_BGRX32, {0, 0, 0, 0x77}, true},
        {PIXEL_BGRA32, {0, 0, 0, 0xFF}, true},
        {PIXEL_RGBA32, {0, 1, 0, 0x00}, false},
    };
    for (const SkipCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.format);
        TestField src(c.format, 1, 1), dst(c.format, 1, 1);
        std::memcpy(src.Raw(0, 0), c.raw.data(), c.raw.size());
        std::memset(dst.Raw(0, 0), 0x5A, c.raw.size());
        EXPECT_EQ(1, dst.BitBlt(0, 0, 1, 1, &src, 0, 0, 2));
        EXPECT_EQ(c.skipped ? std::vector<uint8_t>(c.raw.size(), 0x5A) : c.raw,
                  std::vector<uint8_t>(dst.Raw(0, 0), dst.Raw(0, 0) + c.raw.size()));
    }
}

TEST(BitBlt, ModeTwoBetweenFormatsSkipsBlackWhateverItsAlpha)
{
    TestField src(PIXEL_BGRA32, 3, 1);
    src.SetPixel(0, 0, Q(0, 0, 0, 0xFF));
    src.SetPixel(1, 0, Q(0, 0, 0, 0x00));
    src.SetPixel(2, 0, Q(8, 0, 0, 0x00));
    TestField dst(PIXEL_BGR24, 3, 1);
    std::memset(dst.Raw(0, 0), 0x40, 9);
    EXPECT_EQ(1, dst.BitBlt(0, 0, 3, 1, &src, 0, 0, 2));
    EXPECT_TRUE(SameQuad(Q(0x40, 0x40, 0x40, 0xFF), dst.GetPixel(0, 0)));
    EXPECT_TRUE(SameQuad(Q(0x40, 0x40, 0x40, 0xFF), dst.GetPixel(1, 0)));
    EXPECT_TRUE(SameQuad(Q(8, 0, 0, 0xFF), dst.GetPixel(2, 0)));
}

// Every pair and weight gives the per-pixel blend of the expanded channels,
// written into the destination's layout (odd widths reach the scalar tails).
TEST(BitAlphaBlt, EveryFormatPairBlendsAlike)
{
    for (unsigned long sf : AllFormats())
        for (unsigned long df : WritableFormats())
            for (unsigned a : {0u, 1u, 100u, 128u, 255u, 256u}) {
                SCOPED_TRACE(testing::Message()
                             << std::hex << sf << " -> " << df << std::dec << " a=" << a);
                TestField src = MakeSource(sf, 13, 2, 21);
                TestField dst = MakeSource(df, 13, 2, 22);
                TestField want = MakeSource(df, 13, 2, 22);
                ASSERT_EQ(1,
                          dst.BitAlphaBlt(0, 0, 13, 2, &src, 0, 0, static_cast<unsigned short>(a)));
                for (long y = 0; y < 2; ++y)
                    for (long x = 0; x < 13; ++x)
                        want.SetPixel(
                            x, y, ReferenceBlend(SourceQuad(src, x, y), want.GetPixel(x, y), a));
                ASSERT_EQ(want.Pixels(), dst.Pixels());
            }
}

TEST(BitAlphaBlt, WeightsFromTheSpecifiedExamples)
{
    struct BlendCase {
        unsigned sourceAlpha, a, s, d, out;
    };
    const BlendCase cases[] = {
        {0xFF, 255, 200, 100, 200}, {0xFF, 256, 17, 230, 17}, {0xFF, 0, 200, 100, 100},
        {0xFF, 128, 200, 100, 150}, {64, 256, 255, 0, 64},    {0, 256, 255, 9, 9},
        {0, 77, 255, 9, 9},
    };
    for (const BlendCase& c : cases) {
        TestField src(PIXEL_BGRA32, 5, 1), dst(PIXEL_BGRA32, 5, 1);
        for (long x = 0; x < 5; ++x) {
            src.SetPixel(x, 0, Q(c.s, c.s, c.s, c.sourceAlpha));
            dst.SetPixel(x, 0, Q(c.d, c.d, c.d, 0x33));
        }
        EXPECT_EQ(1, dst.BitAlphaBlt(0, 0, 5, 1, &src, 0, 0, static_cast<unsigned short>(c.a)));
        for (long x = 0; x < 5; ++x) // four pixels on the wide path, one on the tail
            EXPECT_TRUE(SameQuad(Q(c.out, c.out, c.out, 0x33), dst.GetPixel(x, 0)))
                << "alpha " << c.sourceAlpha << " a " << c.a << " x " << x;
    }
}

} // namespace
