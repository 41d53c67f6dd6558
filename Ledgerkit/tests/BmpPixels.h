// Reads the pixel bytes of the screenshot bitmaps the compressor is checked and measured on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bytes from the file header's pixel offset to the end of the pixel array; empty
// when the file cannot be read or is not a Windows bitmap.
std::vector<uint8_t> ReadBmpPixels(const std::string& path);

// The three screenshots, by file name.
extern const char* const FrameFiles[3];
