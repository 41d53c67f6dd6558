// Builders of bitmap files, TIMG records, TCPS streams and texture files, and
// a temporary folder to put them in.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include <windows.h>

using Bytes = std::vector<uint8_t>;

inline void Put32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

inline void Put16(Bytes& out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Text(const char* text) { return Bytes(text, text + std::strlen(text)); }

struct BmpSpec {
    int32_t width = 2, height = 2;
    uint16_t bits = 24;
    uint32_t compression = 0, infoSize = 40, coloursUsed = 0;
};

// The 54-byte headers of a bitmap file with the given table and pixel bytes after them.
inline Bytes Bmp(const BmpSpec& s, const Bytes& table, const Bytes& pixels)
{
    Bytes out = Text("BM");
    Put32(out, uint32_t(54 + table.size() + pixels.size()));
    Put32(out, 0);
    Put32(out, uint32_t(54 + table.size()));
    Put32(out, s.infoSize);
    Put32(out, uint32_t(s.width));
    Put32(out, uint32_t(s.height));
    Put16(out, 1);
    Put16(out, s.bits);
    Put32(out, s.compression);
    Put32(out, uint32_t(pixels.size()));
    Put32(out, 2834);
    Put32(out, 2834);
    Put32(out, s.coloursUsed);
    Put32(out, 0);
    return out + table + pixels;
}

// A TCPS stream announcing length bytes, with the given tokens and end token.
inline Bytes Tcps(uint32_t length, const Bytes& tokens)
{
    Bytes out = Text("TCPS");
    Put32(out, 1);
    Put32(out, length);
    return out + tokens + Bytes{0};
}

// A TIMG record; total 0 means the true length.
inline Bytes Timg(uint32_t format, int32_t width, int32_t height, uint32_t coding,
                  const Bytes& data, uint32_t total = 0)
{
    Bytes out = Text("TIMG");
    Put32(out, total ? total : uint32_t(24 + data.size()));
    Put32(out, format);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));
    Put32(out, coding);
    return out + data;
}

inline Bytes Texture(uint32_t count, const Bytes& record)
{
    Bytes out = Text("TTEXTURE");
    Put32(out, count);
    Put32(out, 0x12345678);
    out.resize(out.size() + 40, 0xEE);
    return out + record;
}

// A fresh folder under the temporary path for one test program run.
inline std::string TempFile(const char* name)
{
    static std::string folder = [] {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        std::string f = std::string(base) + "inkwell-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(f.c_str(), nullptr);
        return f + "\\";
    }();
    return folder + name;
}

inline std::string WriteFile(const char* name, const Bytes& bytes)
{
    std::string path = TempFile(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

inline Bytes ReadFile(const std::string& path)
{
    Bytes out;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return out;
    out.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    ::ReadFile(file, out.data(), DWORD(out.size()), &got, nullptr);
    CloseHandle(file);
    return out;
}
