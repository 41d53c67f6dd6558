// TString: construction from text, editing, kind conversion, comparison and readings.
#include <Keelwork/TString.h>

#include "TStringText.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

using TStringText::UnitAt;
using TStringText::UnitSize;

namespace {
constexpr unsigned long ClassString = 0x20;

unsigned long TextLength(const char* text) { return static_cast<unsigned long>(std::strlen(text)); }

unsigned long TextLength(const unsigned short* text)
{
    unsigned long n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

// Bytes agree ignoring case when equal with bit 0x20 set in both.
bool FoldEqual(unsigned int a, unsigned int b) { return (a | 0x20u) == (b | 0x20u); }

const char* Ansi(const TString& s) { return static_cast<char*>(s); }

const wchar_t* Wide(const TString& s)
{
    return reinterpret_cast<const wchar_t*>(static_cast<unsigned short*>(s));
}
} // namespace

// Exported as well, like the constants of TClassTypeSt (TobjectBase.cpp).
constexpr unsigned short TString::TypeAnsi;
constexpr unsigned short TString::TypeWide;

TString::TString() : m_Type(TypeAnsi)
{
    m_ClassType = ClassString;
    TStringText::Require(Alloc(1, 0));
}

TString::TString(const TString& other) : TobjectBase(), TMemoryBase(), m_Type(other.m_Type)
{
    m_ClassType = ClassString;
    TStringText::Require(Alloc(other.m_Size, other.m_lpData));
}

TString::TString(const char* text) : TString()
{
    if (text) TStringText::Require(Alloc(TextLength(text) + 1, text));
}

TString::TString(const unsigned short* text) : TMemoryBase(), m_Type(TypeWide)
{
    m_ClassType = ClassString;
    TStringText::Require(text ? Alloc((TextLength(text) + 1) * 2, text) : Alloc(2, 0));
}

TString::TString(const char* text, unsigned long width, char fill, TSTR_POS pos) : TString(text)
{
    SetTextLength(width, fill, pos);
}

TString::TString(const unsigned short* text, unsigned long width, char fill, TSTR_POS pos)
    : TString(text)
{
    SetTextLength(width, fill, pos);
}

TString::~TString() {}

unsigned long TString::Len() const
{
    const unsigned long unit = UnitSize(m_Type);
    return unit == 0 || m_Size < unit ? 0 : m_Size / unit - 1;
}

unsigned short TString::GetStringType() const { return m_Type; }

TString& TString::InsString(unsigned long pos, const TString& other)
{
    const unsigned long unit = UnitSize(m_Type);
    if (unit == 0 || pos > Len()) return *this;
    if (other.m_Type == m_Type) {
        InsMemory(pos * unit, other.Len() * unit, other.m_lpData);
        return *this;
    }
    TString converted(other);
    if (converted.ChangeStringType(m_Type)) InsString(pos, converted);
    return *this;
}

TString& TString::CutString(unsigned long pos, const unsigned long& count)
{
    const unsigned long unit = UnitSize(m_Type);
    const unsigned long length = Len();
    if (unit == 0 || pos >= length) return *this;
    const unsigned long n = count < length - pos ? count : length - pos;
    CutMemory(pos * unit, n * unit);
    return *this;
}

int TString::CopyString(char* destination, const unsigned long& size) const
{
    const unsigned long unit = UnitSize(m_Type);
    if (unit == 0 || !destination || size < unit) return 0;
    const unsigned long room = size / unit - 1;
    const unsigned long n = Len() < room ? Len() : room;
    std::memcpy(destination, m_lpData, n * unit);
    std::memset(destination + n * unit, 0, unit);
    return 1;
}

unsigned char* TString::ChangeStringType(unsigned short type)
{
    if (UnitSize(m_Type) == 0 || UnitSize(type) == 0) return nullptr;
    if (type == m_Type) return m_lpData;
    if (!TStringText::Convert(*this, m_lpData, Len(), m_Type, type)) return nullptr;
    m_Type = type;
    return m_lpData;
}

namespace {
// Units from..from+n-1 of s against the first n bytes of text, ignoring case. Past
// either end the two must end together, and nothing beyond either end is read.
int FoldedMatch(const TString& s, unsigned long from, const char* text, unsigned long n)
{
    const auto* data = static_cast<const unsigned char*>(s);
    const unsigned short type = s.GetStringType();
    const unsigned long length = s.Len();
    for (unsigned long i = 0; i < n; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool ended = from + i >= length || from + i < from;
        if (ended || byte == 0) return ended && byte == 0;
        if (!FoldEqual(UnitAt(data, type, from + i), byte)) return 0;
    }
    return 1;
}
} // namespace

int TString::StringCmp(const char* text) const { return StringCmp(text, 0); }

int TString::StringCmp(const char* text, unsigned long start) const
{
    if (!text || TextLength(text) != Len()) return 0;
    return start >= Len() || FoldedMatch(*this, start, text, Len() - start);
}

int TString::StringNCmp(const char* text, unsigned long n) const { return StringNCmp(text, 0, n); }

int TString::StringNCmp(const char* text, unsigned long start, unsigned long n) const
{
    return text && FoldedMatch(*this, start, text, n);
}

unsigned char& TString::operator()(const unsigned long& index) { return m_lpData[index]; }

TString::operator char*() const
{
    return m_Type == TypeAnsi ? reinterpret_cast<char*>(m_lpData) : nullptr;
}

TString::operator unsigned short*() const
{
    return m_Type == TypeWide ? reinterpret_cast<unsigned short*>(m_lpData) : nullptr;
}

TString::operator long() const
{
    if (m_Type == TypeAnsi) return std::strtol(Ansi(*this), nullptr, 0);
    return m_Type == TypeWide ? std::wcstol(Wide(*this), nullptr, 0) : 0;
}

TString::operator short() const { return static_cast<short>(operator long()); }

TString::operator int() const { return static_cast<int>(operator long()); }

TString::operator unsigned long() const
{
    if (m_Type == TypeAnsi) return std::strtoul(Ansi(*this), nullptr, 0);
    return m_Type == TypeWide ? std::wcstoul(Wide(*this), nullptr, 0) : 0;
}

TString::operator unsigned short() const
{
    return static_cast<unsigned short>(operator unsigned long());
}

TString::operator unsigned int() const
{
    return static_cast<unsigned int>(operator unsigned long());
}

TString::operator double() const
{
    if (m_Type == TypeAnsi) return std::strtod(Ansi(*this), nullptr);
    return m_Type == TypeWide ? std::wcstod(Wide(*this), nullptr) : 0.0;
}

TString::operator float() const { return static_cast<float>(operator double()); }

TString& TString::operator=(const TString& other)
{
    if (this != &other && Alloc(other.m_Size, other.m_lpData)) m_Type = other.m_Type;
    return *this;
}

TString& TString::operator&=(const TString& other) { return InsString(Len(), other); }

TString operator&(const TString& a, const TString& b)
{
    TString joined(a);
    joined &= b;
    return joined;
}

int operator==(const TString& a, const TString& b)
{
    return a.GetStringType() == b.GetStringType() &&
           static_cast<const TMemoryBase&>(a) == static_cast<const TMemoryBase&>(b);
}

int operator!=(const TString& a, const TString& b) { return !(a == b); }

int operator==(const TString& a, const char* b)
{
    return b && TextLength(b) == a.Len() && a.MemNComp(b, a.Len());
}

int operator==(const char* a, const TString& b) { return b == a; }

int operator!=(const TString& a, const char* b) { return !(a == b); }

int operator!=(const char* a, const TString& b) { return !(b == a); }
