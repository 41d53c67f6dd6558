// Bitmap file reading with the C library: enough of the headers to find the pixels.
#include "BmpPixels.h"

#include <cstdio>
#include <cstring>

const char* const FrameFiles[3] = {
    "sparse-desktop-1920x1080.bmp",
    "gradient-desktop-1920x1080.bmp",
    "text-editor-1920x1080.bmp",
};

std::vector<uint8_t> ReadBmpPixels(const std::string& path)
{
    std::vector<uint8_t> file;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[65536];
        size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            file.insert(file.end(), chunk, chunk + got);
        std::fclose(f);
    }
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return {};
    uint32_t offset, width, height;
    uint16_t bits;
    std::memcpy(&offset, &file[10], 4);
    std::memcpy(&width, &file[18], 4);
    std::memcpy(&height, &file[22], 4);
    std::memcpy(&bits, &file[28], 2);
    if (static_cast<int32_t>(height) < 0)
        height = static_cast<uint32_t>(-static_cast<int32_t>(height));
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t size = stride * height;
    if (offset > file.size() || size > file.size() - offset) return {};
    return std::vector<uint8_t>(file.begin() + offset, file.begin() + offset + size);
}
