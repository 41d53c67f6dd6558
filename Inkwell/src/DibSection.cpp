// DIB section creation (see DibSection.h).
#include "DibSection.h"

#include <cstring>

bool DibImageSize(int64_t width, int64_t height, int bpp, int64_t& lineBytes, int64_t& imageBytes)
{
    if (width <= 0 || height <= 0 || bpp <= 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    lineBytes = (width * bpp + 31) / 32 * 4;
    if (lineBytes > 0x7FFFFFFF / height) return false;
    imageBytes = lineBytes * height;
    return true;
}

bool DibSection::Create(long width, long height, int bpp, const RGBQUAD* table)
{
    int64_t line = 0, image = 0;
    if (!DibImageSize(width, height, bpp, line, image)) return false;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height; // rows top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bpp);
    info.header.biCompression = BI_RGB;
    info.header.biSizeImage = static_cast<DWORD>(image);
    info.header.biXPelsPerMeter = 2834; // 72 dots per inch
    info.header.biYPelsPerMeter = 2834;
    if (bpp == 8) {
        info.header.biClrUsed = 256;
        if (table) std::memcpy(info.colours, table, sizeof info.colours);
    }
    void* pixels = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                         DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!section || !pixels) {
        if (section) ::DeleteObject(section);
        return false;
    }
    handle = section;
    bits = static_cast<uint8_t*>(pixels);
    lineBytes = static_cast<long>(line);
    imageBytes = static_cast<size_t>(image);
    return true;
}
