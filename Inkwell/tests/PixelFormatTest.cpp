// Pixel layouts of the fourteen formats: exact bytes written, channel expansion, kept bits.
#include "TestField.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    unsigned long format;
    std::vector<uint8_t> raw; // bytes of one pixel after writing the probe quad
    RGBQUAD read;             // the quad read back
};

// Probe quad: blue 0x18, green 0x90, red 0xE8, alpha 0xC0 (distinct bit patterns).
const RGBQUAD kProbe = Q(0x18, 0x90, 0xE8, 0xC0);

TEST(PixelFormat, WritesEachLayoutAndReadsItBack)
{
    const LayoutCase cases[] = {
        {PIXEL_R3G3B2, {0xF0}, Q(0x00, 0x80, 0xE0, 0xFF)},
        {PIXEL_A4R4G4B4, {0x91, 0xCE}, Q(0x10, 0x90, 0xE0, 0xC0)},
        {PIXEL_R5G6B5, {0x83, 0xEC}, Q(0x18, 0x90, 0xE8, 0xFF)},
        {PIXEL_B5G6R5, {0x9D, 0x1C}, Q(0x18, 0x90, 0xE8, 0xFF)},
        {PIXEL_X1R5G5B5, {0x43, 0x76}, Q(0x18, 0x90, 0xE8, 0xFF)},
        {PIXEL_A1R5G5B5, {0x43, 0xF6}, Q(0x18, 0x90, 0xE8, 0x80)},
        {PIXEL_R3G3B2A8, {0xC0, 0xF0}, Q(0x00, 0x80, 0xE0, 0xC0)},
        {PIXEL_BGR24, {0x18, 0x90, 0xE8}, Q(0x18, 0x90, 0xE8, 0xFF)},
        {PIXEL_RGB24, {0xE8, 0x90, 0x18}, Q(0x18, 0x90, 0xE8, 0xFF)},
        {PIXEL_BGRX32, {0x18, 0x90, 0xE8, 0x00}, Q(0x18, 0x90, 0xE8, 0xFF)},
        {PIXEL_RGBX32, {0xE8, 0x90, 0x18, 0x00}, Q(0x18, 0x90, 0xE8, 0xFF)},
        {PIXEL_BGRA32, {0x18, 0x90, 0xE8, 0xC0}, Q(0x18, 0x90, 0xE8, 0xC0)},
        {PIXEL_RGBA32, {0xE8, 0x90, 0x18, 0xC0}, Q(0x18, 0x90, 0xE8, 0xC0)},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.format);
        // Written at (2, 1) of a padded field: rows and columns both addressed.
        TestField field(c.format, 4, 3);
        EXPECT_EQ(1, field.SetPixel(2, 1, kProbe));
        EXPECT_EQ(c.raw, std::vector<uint8_t>(field.Raw(2, 1), field.Raw(2, 1) + c.raw.size()));
        EXPECT_TRUE(SameQuad(c.read, field.GetPixel(2, 1)));
        EXPECT_EQ(static_cast<int>(c.raw.size() * 8), field.GetBPP());
        EXPECT_EQ(std::vector<uint8_t>(c.raw.size(), 0),
                  std::vector<uint8_t>(field.Raw(1, 1), field.Raw(1, 1) + c.raw.size()))
            << "neighbour untouched";
    }
}

TEST(PixelFormat, ExpansionFillsTopBitsAndWritesKeepThem)
{
    TestField field(PIXEL_X1R5G5B5, 2, 1);
    field.Raw(0, 0)[0] = 0xFF;
    field.Raw(0, 0)[1] = 0x7F;
    EXPECT_TRUE(SameQuad(Q(248, 248, 248, 255), field.GetPixel(0, 0)));
    field.SetPixel(1, 0, Q(0xFF, 0xFF, 0xFF, 0));
    EXPECT_EQ(0x7F, field.Raw(1, 0)[1]);
    EXPECT_EQ(0xFF, field.Raw(1, 0)[0]);

    // Bits outside the channels (the X bit, the ignored fourth byte) are kept.
    field.Raw(0, 0)[1] = 0x80;
    field.SetPixel(0, 0, Q(0, 0, 0, 0xFF));
    EXPECT_EQ(0x80, field.Raw(0, 0)[1]);
    TestField wide(PIXEL_BGRX32, 1, 1);
    wide.Raw(0, 0)[3] = 0x5A;
    wide.SetPixel(0, 0, Q(1, 2, 3, 4));
    EXPECT_EQ(0x5A, wide.Raw(0, 0)[3]);

    // One alpha bit reads as 0x80 or 0.
    TestField a1(PIXEL_A1R5G5B5, 1, 1);
    a1.SetPixel(0, 0, Q(0, 0, 0, 0x7F));
    EXPECT_EQ(0, a1.GetPixel(0, 0).rgbReserved);
    a1.SetPixel(0, 0, Q(0, 0, 0, 0x80));
    EXPECT_EQ(0x80, a1.GetPixel(0, 0).rgbReserved);
}

TEST(PixelFormat, PaletteFormatReadsEntriesOpaque)
{
    TestField field(PIXEL_PAL8, 3, 1);
    field.SetPalette({Q(1, 2, 3, 0), Q(10, 20, 30, 0x40)});
    field.Raw(0, 0)[0] = 1;
    field.Raw(1, 0)[0] = 0;
    field.Raw(2, 0)[0] = 200; // past the two entries
    EXPECT_TRUE(SameQuad(Q(10, 20, 30, 0xFF), field.GetPixel(0, 0)));
    EXPECT_TRUE(SameQuad(Q(1, 2, 3, 0xFF), field.GetPixel(1, 0)));
    EXPECT_TRUE(SameQuad(Q(0, 0, 0, 0xFF), field.GetPixel(2, 0)));
    EXPECT_EQ(0, field.SetPixel(0, 0, Q(1, 1, 1, 1)));
    EXPECT_EQ(1, field.Raw(0, 0)[0]);

    PALETTEENTRY entries[3];
    EXPECT_EQ(1, field.GetPaletteEntry(3, entries));
    EXPECT_EQ(30, entries[1].peRed);
    EXPECT_EQ(10, entries[1].peBlue);
    EXPECT_EQ(0, entries[1].peFlags);
    EXPECT_EQ(0, entries[2].peRed | entries[2].peGreen | entries[2].peBlue);
    TestField empty(PIXEL_BGR24, 1, 1);
    EXPECT_EQ(0, empty.GetPaletteEntry(3, entries));
}

TEST(PixelFormat, AccessOutsideOrOnUnusableFieldGivesZero)
{
    TestField field(PIXEL_BGRA32, 4, 2);
    field.Scramble(7);
    const RGBQUAD zero = Q(0, 0, 0, 0);
    for (auto xy : {std::pair<int, int>{-1, 0}, {4, 0}, {0, -1}, {0, 2}, {INT32_MIN, INT32_MAX}}) {
        EXPECT_TRUE(SameQuad(zero, field.GetPixel(xy.first, xy.second)));
        EXPECT_EQ(0, field.SetPixel(xy.first, xy.second, kProbe));
    }
    field.m_Paintable = 0;
    EXPECT_TRUE(SameQuad(zero, field.GetPixel(1, 1)));
    EXPECT_EQ(0, field.SetPixel(1, 1, kProbe));
    EXPECT_EQ(field.m_Begins - 2, field.m_Ends) << "EndPaint only after a successful BeginPaint";

    TestField marked(PIXEL_BGRA32 | PIXEL_UNUSABLE, 2, 2);
    marked.Scramble(3);
    EXPECT_TRUE(SameQuad(zero, marked.GetPixel(0, 0)));
    EXPECT_EQ(0, marked.SetPixel(0, 0, kProbe));
    TestField unknown(0x02000009, 2, 2);
    EXPECT_EQ(0, unknown.SetPixel(0, 0, kProbe));
}

} // namespace
