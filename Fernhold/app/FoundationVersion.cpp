// Version resource check of a module.
#include "app/FoundationVersion.h"

#include <cstdlib>
#include <vector>

int IsFoundationRecent(HMODULE module)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return 0;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return 0;
    std::vector<char> info(size);
    if (!GetFileVersionInfoA(path, 0, size, info.data())) return 0;
    char* text = nullptr;
    UINT textLength = 0;
    if (!VerQueryValueA(info.data(), "\\StringFileInfo\\041104b0\\ProductVersion",
                        reinterpret_cast<void**>(&text), &textLength) ||
        !text || textLength == 0)
        return 0;
    return strtod(text, nullptr) >= FOUNDATION_MIN_VERSION;
}
