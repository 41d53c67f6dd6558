// Image files and resources: bitmap layouts, TIMG and TTEXTURE round trips, masks.
#include "ImageFileFixture.h"

#include <Inkwell/TDIBitmap.h>

#include <gtest/gtest.h>

namespace {

RGBQUAD Px(TDIBitmap& b, int x, int y) { return b.GetPixel(x, y); }

bool Is(const RGBQUAD& q, int blue, int green, int red, int alpha)
{
    return q.rgbBlue == blue && q.rgbGreen == green && q.rgbRed == red && q.rgbReserved == alpha;
}

Bytes Table(std::initializer_list<RGBQUAD> colours)
{
    Bytes out;
    for (const RGBQUAD& c : colours)
        out.insert(out.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
    return out;
}

TEST(BitmapFile, BottomUpRowsLoadTopDown)
{
    // 24-bit, 2 x 3, rows padded to 8 bytes; stored bottom row first.
    Bytes pixels = {1, 1, 1, 2, 2, 2, 0, 0, 3, 3, 3, 4, 4, 4, 0, 0, 5, 5, 5, 6, 6, 6, 0, 0};
    BmpSpec spec;
    spec.width = 2;
    spec.height = 3;
    TDIBitmap bitmap;
    ASSERT_EQ(1, bitmap.OpenBitmapFile(WriteFile("up.bmp", Bmp(spec, {}, pixels)).c_str()));
    EXPECT_EQ(PIXEL_BGR24, bitmap.GetFormat());
    EXPECT_TRUE(Is(Px(bitmap, 0, 0), 5, 5, 5, 255)) << "first row is the last stored";
    EXPECT_TRUE(Is(Px(bitmap, 1, 2), 2, 2, 2, 255));
    spec.height = -3; // top-down as stored
    ASSERT_EQ(1, bitmap.OpenImageFile(WriteFile("down.bmp", Bmp(spec, {}, pixels)).c_str()));
    EXPECT_TRUE(Is(Px(bitmap, 0, 0), 1, 1, 1, 255));
}

TEST(BitmapFile, DeepFormatsKeepTheirBytes)
{
    BmpSpec spec;
    spec.width = 1;
    spec.height = 1;
    spec.bits = 16;
    TDIBitmap bitmap;
    ASSERT_EQ(
        1, bitmap.OpenBitmapFile(WriteFile("16.bmp", Bmp(spec, {}, {0x1F, 0x80, 0, 0})).c_str()));
    EXPECT_EQ(PIXEL_X1R5G5B5, bitmap.GetFormat());
    EXPECT_TRUE(Is(Px(bitmap, 0, 0), 248, 0, 0, 255));
    spec.bits = 32;
    ASSERT_EQ(1,
              bitmap.OpenBitmapFile(WriteFile("32.bmp", Bmp(spec, {}, {9, 8, 7, 0x40})).c_str()));
    EXPECT_EQ(PIXEL_BGRA32, bitmap.GetFormat());
    EXPECT_TRUE(Is(Px(bitmap, 0, 0), 9, 8, 7, 0x40)) << "the fourth byte is alpha";
}

TEST(BitmapFile, ShallowFormatsBecomeTheSpreadPaletteFormat)
{
    BmpSpec spec;
    spec.width = 9; // one pixel into the second byte
    spec.height = 1;
    spec.bits = 1;
    TDIBitmap bitmap;
    Bytes table = Table({RGBQUAD{0, 0, 0, 0}, RGBQUAD{200, 100, 255, 0}});
    ASSERT_EQ(
        1, bitmap.OpenBitmapFile(WriteFile("1.bmp", Bmp(spec, table, {0xA0, 0x80, 0, 0})).c_str()));
    EXPECT_EQ(PIXEL_PAL8, bitmap.GetFormat());
    const uint8_t* row = bitmap.GetLpPixel();
    EXPECT_EQ((Bytes{255, 0, 255, 0, 0, 0, 0, 0, 255}), Bytes(row, row + 9));
    EXPECT_TRUE(Is(Px(bitmap, 0, 0), 200, 100, 255, 255)) << "colour 1 exactly at index 255";
    EXPECT_TRUE(Is(Px(bitmap, 1, 0), 0, 0, 0, 255));

    spec.bits = 4;
    spec.width = 3;
    Bytes colours;
    for (int i = 0; i < 16; ++i)
        colours = colours + Table({RGBQUAD{BYTE(i * 16), 0, 0, 0}});
    ASSERT_EQ(1, bitmap.OpenBitmapFile(
                     WriteFile("4.bmp", Bmp(spec, colours, {0x2F, 0x70, 0, 0})).c_str()));
    EXPECT_EQ((Bytes{0x20, 0xF0, 0x70}), Bytes(bitmap.GetLpPixel(), bitmap.GetLpPixel() + 3));
    PALETTEENTRY entries[256];
    bitmap.GetPaletteEntry(256, entries);
    EXPECT_EQ(32, entries[0x20].peBlue);
    EXPECT_EQ(33, entries[0x21].peBlue) << "spread toward the next colour";
    EXPECT_EQ(240, entries[0xFF].peBlue) << "the last colour runs flat";

    spec.bits = 8;
    spec.width = 2;
    Bytes full(1024, 0);
    full[4 * 7 + 1] = 77;
    ASSERT_EQ(1, bitmap.OpenBitmapFile(WriteFile("8.bmp", Bmp(spec, full, {7, 3, 0, 0})).c_str()));
    EXPECT_EQ(7, bitmap.GetLpPixel()[0]);
    EXPECT_TRUE(Is(Px(bitmap, 0, 0), 0, 77, 0, 255));
}

TEST(BitmapFile, ResourceBitmapLoads)
{
    TobjectBase::m_hInst = GetModuleHandleA(nullptr);
    TDIBitmap bitmap;
    ASSERT_EQ(1, bitmap.OpenBitmapFile(101ul));
    EXPECT_EQ(4, bitmap.GetWidth());
    EXPECT_EQ(2, bitmap.GetHeight());
    // Stored bottom-up: the top row holds the nibbles 0, 5, 10, 15.
    EXPECT_EQ((Bytes{0x00, 0x50, 0xA0, 0xF0}), Bytes(bitmap.GetLpPixel(), bitmap.GetLpPixel() + 4));
    EXPECT_EQ(0, bitmap.OpenBitmapFile(999ul));
    EXPECT_EQ(nullptr, bitmap.GetHandle());
}

// Fills every pixel of a bitmap of the format through the write routine.
TDIBitmap* Pattern(unsigned long format, long width, long height)
{
    TDIBitmap* b = new TDIBitmap;
    b->CreateDIBitmap(width, height, int(format >> 24) * 8);
    if (b->GetFormat() != format) b->ChangeFormat(format);
    for (long y = 0; y < height; ++y)
        for (long x = 0; x < width; ++x)
            b->SetPixel(x, y,
                        RGBQUAD{BYTE(x * 40), BYTE(y * 60), BYTE(x * y * 9), BYTE(x + 100 * y)});
    return b;
}

TEST(TImage, RecordRoundTripsFormatSizeAndPixels)
{
    const unsigned long formats[] = {PIXEL_PAL8,   PIXEL_R3G3B2,   PIXEL_A4R4G4B4, PIXEL_R5G6B5,
                                     PIXEL_B5G6R5, PIXEL_X1R5G5B5, PIXEL_A1R5G5B5, PIXEL_R3G3B2A8,
                                     PIXEL_BGR24,  PIXEL_RGB24,    PIXEL_BGRX32,   PIXEL_RGBX32,
                                     PIXEL_BGRA32, PIXEL_RGBA32};
    for (unsigned long format : formats) {
        SCOPED_TRACE(testing::Message() << std::hex << format);
        TDIBitmap* original = Pattern(format, 5, 3);
        if (format == PIXEL_PAL8)
            for (long i = 0; i < 15; ++i)
                original->GetLpPixel()[i % 5 + i / 5 * 8] = BYTE(i * 17);
        std::string path = TempFile("round.timg");
        ASSERT_EQ(1, original->SaveTImage(path.c_str()));
        Bytes file = ReadFile(path);
        ASSERT_GE(file.size(), 24u);
        EXPECT_EQ(Text("TIMG"), Bytes(file.begin(), file.begin() + 4));
        EXPECT_EQ(1, file[20]) << "always compressed";
        TDIBitmap loaded;
        ASSERT_EQ(1, loaded.OpenTImageFile(path.c_str()));
        EXPECT_EQ(format, loaded.GetFormat());
        EXPECT_EQ(5, loaded.GetWidth());
        EXPECT_EQ(3, loaded.GetHeight());
        const size_t bytes = size_t(original->GetLineByte()) * 3;
        EXPECT_EQ(Bytes(original->GetLpPixel(), original->GetLpPixel() + bytes),
                  Bytes(loaded.GetLpPixel(), loaded.GetLpPixel() + bytes));
        PALETTEENTRY a[256] = {}, b[256] = {};
        EXPECT_EQ(original->GetPaletteEntry(256, a), loaded.GetPaletteEntry(256, b));
        EXPECT_EQ(0, std::memcmp(a, b, sizeof a));
        original->Release();
    }
}

TEST(TImage, TextureFileWrapsOneRecord)
{
    TDIBitmap* original = Pattern(PIXEL_RGBA32, 4, 4);
    std::string timg = TempFile("inner.timg");
    ASSERT_EQ(1, original->SaveTImage(timg.c_str()));
    std::string path = WriteFile("t.tex", Texture(1, ReadFile(timg)));
    TDIBitmap viaTexture, viaDispatch;
    ASSERT_EQ(1, viaTexture.OpenTTextureFile(path.c_str()));
    ASSERT_EQ(1, viaDispatch.OpenImageFile(path.c_str()));
    ASSERT_EQ(1, viaDispatch.OpenImageFile(timg.c_str()));
    EXPECT_EQ(PIXEL_RGBA32, viaTexture.GetFormat());
    EXPECT_EQ(0, std::memcmp(original->GetLpPixel(), viaTexture.GetLpPixel(), 64));
    original->Release();
}

TEST(BitmapFile, SavedFilesReadBackAsTheSameImage)
{
    const unsigned long formats[] = {PIXEL_PAL8,   PIXEL_X1R5G5B5, PIXEL_BGR24,
                                     PIXEL_BGRA32, PIXEL_R5G6B5,   PIXEL_A4R4G4B4};
    for (unsigned long format : formats) {
        SCOPED_TRACE(testing::Message() << std::hex << format);
        TDIBitmap* original = Pattern(format, 5, 3);
        std::string path = TempFile("saved.bmp");
        ASSERT_EQ(1, original->SaveDIBitmap(path.c_str()));
        TDIBitmap loaded;
        ASSERT_EQ(1, loaded.OpenBitmapFile(path.c_str()));
        for (long y = 0; y < 3; ++y)
            for (long x = 0; x < 5; ++x) {
                RGBQUAD a = original->GetPixel(x, y), b = loaded.GetPixel(x, y);
                if (!original->IsAlphaPixel()) a.rgbReserved = b.rgbReserved;
                EXPECT_EQ(0, std::memcmp(&a, &b, 4)) << x << "," << y;
            }
        // The system's own reader sees the same size and the same top-left colour.
        HBITMAP system = HBITMAP(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                            LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(nullptr, system);
        BITMAP info{};
        GetObjectA(system, sizeof info, &info);
        EXPECT_EQ(5, info.bmWidth);
        EXPECT_EQ(3, info.bmHeight);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, system);
        RGBQUAD want = original->GetPixel(4, 2);
        // The system fills the low bits of 5-bit channels; compare the top bits.
        const COLORREF top = format == PIXEL_X1R5G5B5 ? 0xF8F8F8 : 0xFFFFFF;
        EXPECT_EQ(RGB(want.rgbRed, want.rgbGreen, want.rgbBlue) & top, GetPixel(dc, 4, 2) & top);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(system);
        original->Release();
    }
}

TEST(MaskBitmap, BrightnessBecomesAlphaAndColoursStay)
{
    // Mask 1 x 2: white above, a grey of brightness 60 below; scaled to 3 x 4.
    BmpSpec spec;
    spec.width = 1;
    spec.height = -2;
    std::string mask = WriteFile("mask.bmp", Bmp(spec, {}, {255, 255, 255, 0, 30, 60, 90, 0}));
    TDIBitmap* field = Pattern(PIXEL_BGRA32, 3, 4);
    TDIBitmap* before = Pattern(PIXEL_BGRA32, 3, 4);
    ASSERT_EQ(1, field->OpenMaskBitmap(mask.c_str()));
    for (long y = 0; y < 4; ++y)
        for (long x = 0; x < 3; ++x) {
            RGBQUAD a = field->GetPixel(x, y), b = before->GetPixel(x, y);
            EXPECT_EQ(y < 2 ? 255 : 60, a.rgbReserved);
            EXPECT_EQ(b.rgbRed, a.rgbRed);
            EXPECT_EQ(b.rgbBlue, a.rgbBlue);
        }
    // A field without alpha bits, or a mask that cannot be read, changes nothing.
    TDIBitmap* opaque = Pattern(PIXEL_BGR24, 3, 4);
    EXPECT_EQ(0, opaque->OpenMaskBitmap(mask.c_str()));
    EXPECT_EQ(0, field->OpenMaskBitmap(TempFile("missing.bmp").c_str()));
    EXPECT_EQ(255, field->GetPixel(0, 0).rgbReserved);
    // A 16-bit field with one alpha bit keeps only the top bit of the brightness.
    TDIBitmap* a1 = Pattern(PIXEL_A1R5G5B5, 3, 4);
    ASSERT_EQ(1, a1->OpenMaskBitmap(mask.c_str()));
    EXPECT_EQ(0x80, a1->GetPixel(0, 0).rgbReserved);
    EXPECT_EQ(0, a1->GetPixel(0, 3).rgbReserved);
    for (TDIBitmap* b : {field, before, opaque, a1})
        b->Release();
}

} // namespace
