// Bitmap, TIMG and TTEXTURE files through their loaders, and image files as masks: a failed
// load leaves an empty bitmap, a successful one a usable bitmap that saves and loads back.
#include "HostileFiles.h"

#include <Inkwell/InkwellCodes.h>
#include <Inkwell/TDIBitmap.h>

#include <cstring>

namespace {

enum Loader { ANY_IMAGE, BITMAP_FILE, TIMG_FILE, TEXTURE_FILE };

int Open(TDIBitmap& bitmap, Loader loader, const char* path)
{
    switch (loader) {
    case BITMAP_FILE:
        return bitmap.OpenBitmapFile(path);
    case TIMG_FILE:
        return bitmap.OpenTImageFile(path);
    case TEXTURE_FILE:
        return bitmap.OpenTTextureFile(path);
    default:
        return bitmap.OpenImageFile(path);
    }
}

Bytes PixelBytes(const TDIBitmap& bitmap)
{
    const unsigned char* pixels = bitmap.GetLpPixel();
    return Bytes(pixels, pixels + bitmap.GetLineByte() * bitmap.GetHeight());
}

std::string RunLoader(const Bytes& input, Loader loader)
{
    const std::string path = HostilePath("hostile.img");
    if (!WriteBytes(path, input)) return "could not write the input";
    TDIBitmap* bitmap = new TDIBitmap;
    bitmap->CreateDIBitmap(3, 3, 32); // a failed load must not leave this behind
    const int loaded = Open(*bitmap, loader, path.c_str());
    std::string fault;
    if (ReadBytes(path) != input) fault = "loading changed the file";
    const int paintable = bitmap->BeginPaint();
    if (paintable) bitmap->EndPaint();
    if (fault.empty() && !loaded && paintable) fault = "a failed load left a bitmap";
    if (fault.empty() && loaded &&
        (!paintable || bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0))
        fault = "a successful load left no usable bitmap";
    if (fault.empty() && loaded) {
        bitmap->GetPixel(0, 0);
        bitmap->GetPixel(bitmap->GetWidth() - 1, bitmap->GetHeight() - 1);
        const std::string saved = HostilePath("hostile.saved");
        TDIBitmap* again = new TDIBitmap;
        if (!bitmap->SaveTImage(saved.c_str()) || !again->OpenTImageFile(saved.c_str()))
            fault = "the loaded image does not save and load back";
        else if (again->GetFormat() != bitmap->GetFormat() ||
                 again->GetWidth() != bitmap->GetWidth() ||
                 PixelBytes(*again) != PixelBytes(*bitmap))
            fault = "the loaded image reads back otherwise";
        again->Release();
    }
    bitmap->Release();
    return fault;
}

// The mask loader on a field with alpha: a failed mask leaves the field's size and format.
std::string RunMask(const Bytes& input)
{
    const std::string path = HostilePath("hostile.mask");
    if (!WriteBytes(path, input)) return "could not write the input";
    TDIBitmap* field = new TDIBitmap;
    std::string fault;
    if (!field->CreateDIBitmap(17, 9, 32) ||
        (field->GetFormat() != PIXEL_BGRA32 && !field->ChangeFormat(PIXEL_BGRA32))) {
        fault = "could not make the field";
    } else {
        field->OpenMaskBitmap(path.c_str());
        if (field->GetWidth() != 17 || field->GetHeight() != 9 ||
            field->GetFormat() != PIXEL_BGRA32)
            fault = "the mask changed the field's size or format";
        else if (ReadBytes(path) != input)
            fault = "loading the mask changed its file";
        else
            field->GetPixel(16, 8);
    }
    field->Release();
    return fault;
}

std::string RunAny(const Bytes& input) { return RunLoader(input, ANY_IMAGE); }
std::string RunBitmap(const Bytes& input) { return RunLoader(input, BITMAP_FILE); }
std::string RunTImage(const Bytes& input) { return RunLoader(input, TIMG_FILE); }
std::string RunTexture(const Bytes& input) { return RunLoader(input, TEXTURE_FILE); }

// A small picture with flat areas and detail, so streams hold runs and literals.
TDIBitmap* Picture(int bits)
{
    TDIBitmap* bitmap = new TDIBitmap;
    bitmap->CreateDIBitmap(13, 7, bits);
    unsigned char* pixels = bitmap->GetLpPixel();
    for (long i = 0; i < bitmap->GetLineByte() * bitmap->GetHeight(); ++i)
        pixels[i] = static_cast<unsigned char>(i % 29 < 12 ? 0x40 : i * 7);
    return bitmap;
}

std::vector<LengthField> BitmapFields()
{
    // File size, pixel offset, header size, width, height, bit count, compression, image
    // size, colours used.
    return {{2, 4}, {10, 4}, {14, 4}, {18, 4}, {22, 4}, {28, 2}, {30, 4}, {34, 4}, {46, 4}};
}

std::vector<LengthField> TImageFields(uint32_t at)
{
    // Total length, format, width, height, coding, then the stream's length field (after
    // the palette of a palette record).
    return {{at + 4, 4},  {at + 8, 4},  {at + 12, 4},           {at + 16, 4},
            {at + 20, 4}, {at + 32, 4}, {at + 24 + 1024 + 8, 4}};
}

Fixture Saved(int bits, bool asBitmap)
{
    TDIBitmap* bitmap = Picture(bits);
    const std::string path = HostilePath("fixture.img");
    if (asBitmap)
        bitmap->SaveDIBitmap(path.c_str());
    else
        bitmap->SaveTImage(path.c_str());
    bitmap->Release();
    return {ReadBytes(path), asBitmap ? BitmapFields() : TImageFields(0)};
}

Fixture Texture(const Fixture& record)
{
    Bytes bytes = {'T', 'T', 'E', 'X', 'T', 'U', 'R', 'E'};
    PutLE32(bytes, 1);
    PutLE32(bytes, 0x12345678);
    bytes.resize(56, 0xEE);
    bytes.insert(bytes.end(), record.bytes.begin(), record.bytes.end());
    std::vector<LengthField> fields = TImageFields(56);
    fields.push_back({8, 4});
    return {bytes, fields};
}

std::vector<Fixture> BitmapFixtures()
{
    return {Saved(8, true), Saved(16, true), Saved(24, true), Saved(32, true)};
}

std::vector<Fixture> TImageFixtures()
{
    return {Saved(8, false), Saved(16, false), Saved(32, false)};
}

std::vector<Fixture> TextureFixtures()
{
    return {Texture(Saved(16, false)), Texture(Saved(8, false))};
}

std::vector<Fixture> AnyImageFixtures()
{
    std::vector<Fixture> all = BitmapFixtures();
    for (auto* more : {&TImageFixtures, &TextureFixtures})
        for (Fixture& f : more())
            all.push_back(f);
    return all;
}

const std::vector<HostileTarget> kImageTargets = {
    {"bitmap-file", BitmapFixtures, nullptr, RunBitmap, 16},
    {"timg-file", TImageFixtures, nullptr, RunTImage, 16},
    {"texture-file", TextureFixtures, nullptr, RunTexture, 16},
    {"any-image-file", AnyImageFixtures, nullptr, RunAny, 16},
    {"mask-file", AnyImageFixtures, nullptr, RunMask, 16},
};

} // namespace

const std::vector<HostileTarget>& ImageTargets() { return kImageTargets; }
