// Whole-file reading and writing of image files through TFile (see ImageFile.h).
#include "ImageFile.h"

#include <Ledgerkit/TFile.h>

namespace {
const unsigned long kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
}

bool ReadImageFile(const char* fileName, TMemory& image)
{
    image.Free();
    image.m_Pos = 0;
    TFile file;
    if (!fileName || !file.OpenReadFile(fileName, GENERIC_READ, kShare)) return false;
    image <<= file; // take the image over; the read-only file writes nothing back
    return true;
}

bool WriteImageFile(const char* fileName, TMemory& image)
{
    TFile file;
    if (!fileName || !file.CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, kShare))
        return false;
    file <<= image; // written whole when the file closes
    file.CloseFile();
    return true;
}
