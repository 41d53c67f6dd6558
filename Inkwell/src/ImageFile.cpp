// Whole-file reading and writing of image files (see ImageFile.h).
#include "ImageFile.h"

#include <windows.h>

bool ReadImageFile(const char* fileName, TMemory& image)
{
    image.Free();
    image.m_Pos = 0;
    if (!fileName) return false;
    HANDLE file = ::CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD high = 0, low = ::GetFileSize(file, &high);
    DWORD got = 0;
    bool ok = high == 0 && low < 0x7FFFFFFF && image.Alloc(low ? low : 1) &&
              ::ReadFile(file, image, low, &got, nullptr) && got == low;
    ::CloseHandle(file);
    if (ok)
        image.JustMemory(low);
    else
        image.Free();
    return ok;
}

bool WriteImageFile(const char* fileName, const TMemory& image)
{
    if (!fileName) return false;
    HANDLE file =
        ::CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok =
        ::WriteFile(file, image, image.GetSize(), &written, nullptr) && written == image.GetSize();
    ::CloseHandle(file);
    return ok;
}
