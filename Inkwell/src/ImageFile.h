// Whole-file reading and writing for the image loaders and writers, through TFile.
#pragma once

#include <Keelwork/TMemory.h>

// Reads the whole file into image (cursor 0); false when it cannot be opened.
bool ReadImageFile(const char* fileName, TMemory& image);
// Creates or truncates the file and writes the whole image, which it takes over
// (image is left empty); false when the file cannot be created.
bool WriteImageFile(const char* fileName, TMemory& image);

// Little-endian field access inside a file image; the caller keeps the range inside it.
inline uint32_t LoadLE32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
