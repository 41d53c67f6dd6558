// Whole-image save through a temporary file and a replacing move.
#include "net/ReplaceFile.h"

#include <windows.h>

#include <string>

int ReplaceFileContents(const char* path, const void* data, unsigned long size)
{
    std::string temporary = std::string(path) + ".new";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    BOOL complete =
        WriteFile(file, data, size, &written, nullptr) && written == size && FlushFileBuffers(file);
    CloseHandle(file);
    if (complete &&
        MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileA(temporary.c_str());
    return 0;
}
