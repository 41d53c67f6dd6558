// Bitmap file reading with the C library: enough of the headers to find the pixels.
#include "BmpPixels.h"

#include <cstdio>
#include <cstring>

const char* const FrameFiles[3] = {
    "sparse-desktop-1920x1080.bmp",
    "gradient-desktop-1920x1080.bmp",
    "text-editor-1920x1080.bmp",
};

BmpImage ReadBmp(const std::string& path)
{
    std::vector<uint8_t> file;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[65536];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            file.insert(file.end(), chunk, chunk + got);
        std::fclose(f);
    }
    BmpImage image;
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return image;
    uint32_t offset;
    int32_t height;
    std::memcpy(&offset, &file[10], 4);
    std::memcpy(&image.width, &file[18], 4);
    std::memcpy(&height, &file[22], 4);
    std::memcpy(&image.bits, &file[28], 2);
    std::memcpy(&image.compression, &file[30], 4);
    image.bottomUp = height >= 0;
    image.height =
        image.bottomUp ? static_cast<uint32_t>(height) : 0u - static_cast<uint32_t>(height);
    const uint64_t stride = (static_cast<uint64_t>(image.width) * image.bits + 31) / 32 * 4;
    const uint64_t size = stride * image.height;
    if (offset > file.size() || size > file.size() - offset) return image;
    image.pixels.assign(file.begin() + offset, file.begin() + offset + size);
    return image;
}

std::vector<uint8_t> ReadBmpPixels(const std::string& path) { return ReadBmp(path).pixels; }
