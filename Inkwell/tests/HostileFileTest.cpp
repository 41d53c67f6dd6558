// Hostile image files: every loader refuses them with 0, leaves an empty bitmap
// and never reads past the file image.
#include "ImageFileFixture.h"

#include <Inkwell/TDIBitmap.h>

#include <gtest/gtest.h>

namespace {

enum Loader { ANY, BITMAP, TIMAGE, TEXTURE };

struct HostileCase {
    const char* name;
    Loader loader;
    Bytes file;
};

int Load(TDIBitmap& bitmap, Loader loader, const char* path)
{
    switch (loader) {
    case BITMAP:
        return bitmap.OpenBitmapFile(path);
    case TIMAGE:
        return bitmap.OpenTImageFile(path);
    case TEXTURE:
        return bitmap.OpenTTextureFile(path);
    default:
        return bitmap.OpenImageFile(path);
    }
}

BmpSpec Spec(int32_t width, int32_t height, uint16_t bits)
{
    BmpSpec s;
    s.width = width;
    s.height = height;
    s.bits = bits;
    return s;
}

BmpSpec With(BmpSpec s, uint32_t compression, uint32_t infoSize, uint32_t coloursUsed)
{
    s.compression = compression;
    s.infoSize = infoSize;
    s.coloursUsed = coloursUsed;
    return s;
}

// 2 x 2 pixels of 32 bits: 16 bytes.
const Bytes kRun16 = {0x60, 0x10, 0xAB}; // one byte run of 16

Bytes Cut(Bytes b, size_t drop)
{
    b.resize(b.size() - drop);
    return b;
}

std::vector<HostileCase> Cases()
{
    const Bytes rows24(16, 0x11); // 2 x 2 at 24 bits: two rows of 8 bytes
    const Bytes good24 = Bmp(Spec(2, 2, 24), {}, rows24);
    const Bytes goodTimg = Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(16, kRun16));
    Bytes streamCut = Text("TCPS");
    Put32(streamCut, 1);
    Put32(streamCut, 16);
    streamCut = streamCut + Bytes{0x1F, 1, 2, 3}; // a literal of 15 with 3 bytes, no end
    return {
        {"empty file", ANY, {}},
        {"neither BM, TIMG nor TTEXTURE", ANY, Text("GIF89a and more bytes")},
        {"bitmap loader on a TIMG file", BITMAP, goodTimg},
        {"BM only", BITMAP, Text("BM")},
        {"info header cut short", BITMAP, Cut(good24, 16 + 20)},
        {"pixels one byte short", BITMAP, Cut(good24, 1)},
        {"core header", BITMAP, Bmp(With(Spec(2, 2, 24), 0, 12, 0), {}, rows24)},
        {"version 5 header", BITMAP, Bmp(With(Spec(2, 2, 24), 0, 124, 0), {}, rows24)},
        {"zero width", BITMAP, Bmp(Spec(0, 2, 24), {}, rows24)},
        {"zero height", BITMAP, Bmp(Spec(2, 0, 24), {}, rows24)},
        {"negative width", BITMAP, Bmp(Spec(-2, 2, 24), {}, rows24)},
        {"most negative height", BITMAP, Bmp(Spec(2, INT32_MIN, 24), {}, rows24)},
        {"line bytes x height overflow", BITMAP, Bmp(Spec(0x7FFFFFFF, 0x7FFFFFFF, 32), {}, rows24)},
        {"one row past 2 GB", BITMAP, Bmp(Spec(0x40000000, 1, 24), {}, rows24)},
        {"size fits 32 bits only after wrapping", BITMAP,
         Bmp(Spec(0x10000, 0x10000, 32), {}, rows24)},
        {"2 bits per pixel", BITMAP, Bmp(Spec(2, 2, 2), Bytes(16, 0), rows24)},
        {"0 bits per pixel", BITMAP, Bmp(Spec(2, 2, 0), {}, rows24)},
        {"64 bits per pixel", BITMAP, Bmp(Spec(2, 2, 64), {}, Bytes(64, 0))},
        {"run-length compressed", BITMAP,
         Bmp(With(Spec(2, 2, 8), 1, 40, 0), Bytes(1024, 0), rows24)},
        {"colour masks", BITMAP, Bmp(With(Spec(2, 2, 16), 3, 40, 0), Bytes(12, 0), rows24)},
        {"short colour table", BITMAP, Bmp(With(Spec(2, 2, 8), 0, 40, 16), Bytes(64, 0), rows24)},
        {"colour table past the end", BITMAP, Cut(Bmp(Spec(2, 2, 8), Bytes(1024, 0), {}), 900)},
        {"TIMG header cut short", TIMAGE, Cut(goodTimg, goodTimg.size() - 20)},
        {"TIMG length past the file", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(16, kRun16), 1000)},
        {"TIMG length below its header", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(16, kRun16), 10)},
        {"TIMG unknown format", TIMAGE, Timg(0x02000009, 2, 2, 1, Tcps(16, kRun16))},
        {"TIMG unusable format", TIMAGE,
         Timg(PIXEL_BGRA32 | PIXEL_UNUSABLE, 2, 2, 1, Tcps(16, kRun16))},
        {"TIMG zero width", TIMAGE, Timg(PIXEL_BGRA32, 0, 2, 1, Tcps(0, {}))},
        {"TIMG negative height", TIMAGE, Timg(PIXEL_BGRA32, 2, -2, 1, Tcps(16, kRun16))},
        {"TIMG size overflow", TIMAGE, Timg(PIXEL_BGRA32, 0x10000, 0x10000, 1, Tcps(16, kRun16))},
        {"TIMG unknown coding", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 2, Tcps(16, kRun16))},
        {"TIMG raw pixels short", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 0, Bytes(15, 1))},
        {"TIMG palette missing", TIMAGE, Timg(PIXEL_PAL8, 2, 2, 1, Bytes(100, 0))},
        {"stream announces more", TIMAGE,
         Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(17, {0x60, 0x11, 0xAB}))},
        {"stream announces less", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(15, {0x5F, 0xAB}))},
        {"stream expands short", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(16, {0x5F, 0xAB}))},
        {"stream expands long", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(16, {0x60, 0x11, 0xAB}))},
        {"stream invalid token", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(16, {0xF3, 0xAB}))},
        {"stream cut inside a literal", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 1, streamCut)},
        {"stream header cut", TIMAGE, Timg(PIXEL_BGRA32, 2, 2, 1, Text("TCPS"))},
        {"texture count 0", TEXTURE, Texture(0, goodTimg)},
        {"texture count 2", TEXTURE, Texture(2, goodTimg)},
        {"texture header cut", ANY, Cut(Texture(1, {}), 10)},
        {"texture record cut", TEXTURE, Cut(Texture(1, goodTimg), 2)},
    };
}

TEST(HostileFile, ValidControlsLoad)
{
    TDIBitmap bitmap;
    EXPECT_EQ(1, bitmap.OpenImageFile(
                     WriteFile("ok.bmp", Bmp(Spec(2, 2, 24), {}, Bytes(16, 0x11))).c_str()));
    const Bytes goodTimg = Timg(PIXEL_BGRA32, 2, 2, 1, Tcps(16, kRun16));
    EXPECT_EQ(1, bitmap.OpenImageFile(WriteFile("ok.timg", goodTimg).c_str()));
    EXPECT_EQ(0xAB, bitmap.GetLpPixel()[15]);
    EXPECT_EQ(1, bitmap.OpenImageFile(WriteFile("ok.tex", Texture(1, goodTimg)).c_str()));
}

TEST(HostileFile, EveryLoaderRefusesAndLeavesAnEmptyBitmap)
{
    for (const HostileCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        TDIBitmap bitmap;
        ASSERT_EQ(1, bitmap.CreateDIBitmap(3, 3, 32));
        // The file image is exactly the case's bytes: nothing readable lies past it.
        std::string path = WriteFile("hostile.bin", c.file);
        EXPECT_EQ(0, Load(bitmap, c.loader, path.c_str()));
        EXPECT_EQ(nullptr, bitmap.GetHandle());
        EXPECT_EQ(0, bitmap.GetWidth());
        EXPECT_EQ(0u, bitmap.GetFormat());
        EXPECT_EQ(nullptr, bitmap.GetLpPixel());
    }
    TDIBitmap bitmap;
    ASSERT_EQ(1, bitmap.CreateDIBitmap(3, 3, 32));
    EXPECT_EQ(0, bitmap.OpenImageFile(TempFile("no such file.bmp").c_str()));
    EXPECT_EQ(nullptr, bitmap.GetHandle());
}

} // namespace
