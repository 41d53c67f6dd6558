// Code units and kind conversion through the system ANSI code page (see TStringText.h).
#include "TStringText.h"

#include <cstring>
#include <new>
#include <windows.h>

namespace TStringText {

unsigned long UnitSize(unsigned short type)
{
    return type == TString::TypeAnsi ? 1 : type == TString::TypeWide ? 2 : 0;
}

unsigned int UnitAt(const unsigned char* data, unsigned short type, unsigned long i)
{
    if (type == TString::TypeAnsi) return data[i];
    unsigned short unit;
    std::memcpy(&unit, data + 2 * i, 2);
    return unit;
}

bool Convert(TMemoryBase& block, const unsigned char* text, unsigned long units,
             unsigned short from, unsigned short to)
{
    const auto* ansi = reinterpret_cast<const char*>(text);
    const auto* wide = reinterpret_cast<const wchar_t*>(text);
    // The terminator is added here, not converted: a double-byte character cut in
    // half must not swallow it.
    const int length = static_cast<int>(units);
    int count = 0;
    if (length > 0) {
        count = from == TString::TypeAnsi
                    ? MultiByteToWideChar(CP_ACP, 0, ansi, length, nullptr, 0)
                    : WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
        if (count <= 0) return false;
    }
    const unsigned long unit = UnitSize(to);
    TMemoryBase converted;
    unsigned char* out = converted.Alloc((static_cast<unsigned long>(count) + 1) * unit, 0);
    if (!out) return false;
    if (count > 0) {
        const int written =
            from == TString::TypeAnsi
                ? MultiByteToWideChar(CP_ACP, 0, ansi, length, reinterpret_cast<wchar_t*>(out),
                                      count)
                : WideCharToMultiByte(CP_ACP, 0, wide, length, reinterpret_cast<char*>(out), count,
                                      nullptr, nullptr);
        if (written != count) return false;
    }
    block <<= converted;
    return converted.GetSize() == 0;
}

unsigned short WideFill(char fill)
{
    wchar_t unit = L' ';
    if (MultiByteToWideChar(CP_ACP, 0, &fill, 1, &unit, 1) != 1) unit = L' ';
    return static_cast<unsigned short>(unit);
}

void Require(const unsigned char* result)
{
    if (!result) throw std::bad_alloc();
}

} // namespace TStringText
