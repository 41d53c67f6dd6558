// Scaled copies and blends: nearest-pixel sampling, proportional clipping, hostile sizes.
#include "TestField.h"

#include <gtest/gtest.h>

namespace {

// A field whose pixel (x, y) holds blue x and green y: sampled positions can be read back.
TestField Coordinates(long width, long height)
{
    TestField field(PIXEL_BGRA32, width, height);
    for (long y = 0; y < height; ++y)
        for (long x = 0; x < width; ++x)
            field.SetPixel(x, y, Q(x, y, 1, 0xFF));
    return field;
}

std::vector<int> SampledColumns(TestField& dst, long y)
{
    std::vector<int> cols;
    for (long x = 0; x < dst.GetWidth(); ++x) {
        RGBQUAD q = dst.GetPixel(x, y);
        cols.push_back(q.rgbRed ? q.rgbBlue : -1); // -1: not drawn
    }
    return cols;
}

TEST(StretchBlt, SamplesTheIntegerPartOfTheAccumulatedStep)
{
    TestField src = Coordinates(4, 4);
    TestField half(PIXEL_BGRA32, 2, 2);
    EXPECT_EQ(1, half.StretchBlt(0, 0, 2, 2, &src, 0, 0, 4, 4, 1));
    EXPECT_EQ((std::vector<int>{0, 2}), SampledColumns(half, 0));
    EXPECT_EQ(2, half.GetPixel(0, 1).rgbGreen);

    // 2 -> 5: step 26214, positions 0, 0.4, 0.8, 1.2, 1.6.
    TestField wide(PIXEL_BGRA32, 5, 1);
    EXPECT_EQ(1, wide.StretchBlt(0, 0, 5, 1, &src, 0, 0, 2, 1, 1));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 1}), SampledColumns(wide, 0));
}

TEST(StretchBlt, ClipsBothRectanglesInProportion)
{
    TestField src = Coordinates(4, 1);
    // Destination starts 2 left of the field at step 0.5: the source moves by 1.
    TestField a(PIXEL_BGRA32, 8, 1);
    EXPECT_EQ(1, a.StretchBlt(-2, 0, 8, 1, &src, 0, 0, 4, 1, 1));
    EXPECT_EQ((std::vector<int>{1, 1, 2, 2, 3, 3, -1, -1}), SampledColumns(a, 0));
    // Source starts 2 left of its field: the destination moves by 2 / 0.5 = 4.
    TestField b(PIXEL_BGRA32, 8, 1);
    EXPECT_EQ(1, b.StretchBlt(0, 0, 8, 1, &src, -2, 0, 4, 1, 1));
    EXPECT_EQ((std::vector<int>{-1, -1, -1, -1, 0, 0, 1, 1}), SampledColumns(b, 0));
    // Right edges: the destination is cut at its field, the source at its own.
    TestField c(PIXEL_BGRA32, 3, 1);
    EXPECT_EQ(1, c.StretchBlt(0, 0, 6, 1, &src, 1, 0, 6, 1, 1));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), SampledColumns(c, 0));
}

TEST(StretchBlt, HostileSizesNeverSampleOutsideTheSource)
{
    TestField src = Coordinates(3, 3);
    TestField dst(PIXEL_BGRA32, 7, 7);
    const int big = INT32_MAX, small = INT32_MIN;
    const int cases[][8] = {
        {0, 0, big, big, 0, 0, 1, 1},         // step below 1/65536
        {0, 0, 7, 7, 0, 0, big, big},         // enormous source
        {small, small, big, big, 0, 0, 3, 3}, // origin far outside
        {0, 0, 7, 7, small, small, big, big},
        {0, 0, -7, 7, 0, 0, 3, 3},
        {0, 0, 7, 7, 0, 0, 0, 3},
        {7, 0, 7, 7, 0, 0, 3, 3},
        {0, 0, 7, 7, 3, 0, 3, 3},
        {0, 0, 7, 7, 2, 2, 5, 5},
    };
    for (const auto& c : cases) {
        dst.StretchBlt(c[0], c[1], c[2], c[3], &src, c[4], c[5], c[6], c[7], 1);
        dst.StretchAlphaBlt(c[0], c[1], c[2], c[3], &src, c[4], c[5], c[6], c[7], 256);
        for (long y = 0; y < 7; ++y)
            for (int col : SampledColumns(dst, y))
                EXPECT_LT(col, 3);
    }
    EXPECT_EQ(0, dst.StretchBlt(0, 0, big, big, &src, 0, 0, 1, 1, 1));
    EXPECT_EQ(0, dst.StretchBlt(0, 0, 7, 7, &src, 0, 0, 0, 3, 1));
}

// At scale 1 the stretching twins give exactly what the rectangle operations give.
TEST(StretchBlt, UnscaledMatchesBitBltForModesAndBlend)
{
    const unsigned long pairs[][2] = {{PIXEL_X1R5G5B5, PIXEL_X1R5G5B5},
                                      {PIXEL_X1R5G5B5, PIXEL_BGRA32},
                                      {PIXEL_RGBA32, PIXEL_A4R4G4B4},
                                      {PIXEL_BGRA32, PIXEL_BGRA32},
                                      {PIXEL_R3G3B2A8, PIXEL_RGB24}};
    for (const auto& p : pairs)
        for (int op = 0; op < 3; ++op) {
            SCOPED_TRACE(testing::Message() << std::hex << p[0] << " -> " << p[1] << " op " << op);
            TestField src(p[0], 9, 5);
            src.Scramble(31);
            TestField viaBlt(p[1], 9, 5);
            viaBlt.Scramble(32);
            TestField viaStretch(viaBlt);
            if (op < 2) {
                EXPECT_EQ(1, viaBlt.BitBlt(1, 1, 7, 3, &src, 2, 1, op + 1));
                EXPECT_EQ(1, viaStretch.StretchBlt(1, 1, 7, 3, &src, 2, 1, 7, 3, op + 1));
            } else {
                EXPECT_EQ(1, viaBlt.BitAlphaBlt(1, 1, 7, 3, &src, 2, 1, 200));
                EXPECT_EQ(1, viaStretch.StretchAlphaBlt(1, 1, 7, 3, &src, 2, 1, 7, 3, 200));
            }
            EXPECT_EQ(viaBlt.Pixels(), viaStretch.Pixels());
        }
    // RECT forms take right and bottom as exclusive edges.
    TestField src = Coordinates(4, 4);
    TestField dst(PIXEL_BGRA32, 2, 2);
    EXPECT_EQ(1, dst.StretchBlt(RECT{0, 0, 2, 2}, &src, RECT{0, 0, 4, 4}, 1));
    EXPECT_EQ((std::vector<int>{0, 2}), SampledColumns(dst, 1));
}

} // namespace
