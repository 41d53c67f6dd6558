// Reads the pixel bytes of the screenshot bitmaps the compressor is checked and measured on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A bitmap file's header fields and its pixel array as stored (rows of
// (width x bits + 31) / 32 x 4 bytes, bottom row first when bottomUp).
struct BmpImage {
    uint32_t width = 0, height = 0, compression = 0;
    uint16_t bits = 0;
    bool bottomUp = true;
    std::vector<uint8_t> pixels;
};

// Empty pixels when the file cannot be read, is not a Windows bitmap or is cut short.
BmpImage ReadBmp(const std::string& path);

// The bytes from the file header's pixel offset to the end of the pixel array; empty
// when the file cannot be read or is not a Windows bitmap.
std::vector<uint8_t> ReadBmpPixels(const std::string& path);

// The three screenshots, by file name.
extern const char* const FrameFiles[3];
