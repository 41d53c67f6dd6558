// Whole-file helpers of the hostile-input targets.
#include "HostileFiles.h"

#include <windows.h>

std::string HostilePath(const char* name)
{
    static const std::string folder = [] {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        std::string f = std::string(base) + "fern-hostile-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(f.c_str(), nullptr);
        return f + "\\";
    }();
    return folder + name;
}

bool WriteBytes(const std::string& path, const Bytes& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

Bytes ReadBytes(const std::string& path, bool* exists)
{
    Bytes out;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (exists) *exists = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE) return out;
    out.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    if (!out.empty()) ::ReadFile(file, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
    out.resize(got);
    CloseHandle(file);
    return out;
}

void PutLE32(Bytes& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
