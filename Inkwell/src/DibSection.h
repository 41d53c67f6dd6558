// Creation of top-down DIB sections with checked sizes, shared by the bitmap
// constructor and the file loaders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <windows.h>

// Row and image sizes of a width x height image of bpp bits; false when a size
// is not positive or the image would pass 0x7FFFFFFF bytes.
bool DibImageSize(int64_t width, int64_t height, int bpp, int64_t& lineBytes, int64_t& imageBytes);

struct DibSection {
    HBITMAP handle = nullptr;
    uint8_t* bits = nullptr;
    long lineBytes = 0;
    size_t imageBytes = 0;

    // A top-down section; table holds 256 entries for 8 bits (ignored otherwise).
    bool Create(long width, long height, int bpp, const RGBQUAD* table);
};
