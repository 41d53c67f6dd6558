// TString number formatting (whole and fixed-point real) and SetTextLength's
// width, fill and alignment rules.
#include <Keelwork/TString.h>

#include "KeelworkHeap.h"
#include "TStringText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
// Whole numbers are written into a scratch block of this size, then trimmed.
constexpr unsigned long WholeScratch = 36;
// The digit conversion gives at most this many digits after the point.
constexpr unsigned long MaxFractionDigits = 512;

// Writes a whole number into the block (kind 0) and trims it to text plus terminator.
template <class Value> void FormatWhole(TString& s, const char* format, Value value)
{
    char* text = reinterpret_cast<char*>(s.Alloc(WholeScratch, 0));
    TStringText::Require(reinterpret_cast<unsigned char*>(text));
    const int length = std::snprintf(text, WholeScratch, format, value);
    TStringText::Require(s.JustMemory(static_cast<unsigned long>(length) + 1));
}

// Fixed-point text in the manner of fcvt: digits digits after the point, the
// point placed where the digit conversion puts it (a value below 1 begins with
// the point, ".25" rather than "0.25"), a minus sign for negative values. With
// trim, trailing zeros of the fraction go, keeping at least one digit.
void FormatReal(TString& s, double value, unsigned long digits, bool trim)
{
    if (digits > MaxFractionDigits) digits = MaxFractionDigits;
    const double magnitude = std::fabs(value);
    const int precision = static_cast<int>(digits);
    const int length = std::snprintf(nullptr, 0, "%#.*f", precision, magnitude);
    TStringText::Require(length > 0 ? s.Alloc(static_cast<unsigned long>(length) + 1, 0) : nullptr);
    char* text = static_cast<char*>(s);
    std::snprintf(text, static_cast<size_t>(length) + 1, "%#.*f", precision, magnitude);
    if (text[0] == '0' && text[1] == '.') s.CutString(0, 1);
    text = static_cast<char*>(s);
    const char* point = std::strchr(text, '.');
    if (trim && point) {
        unsigned long keep = s.Len();
        const auto firstFraction = static_cast<unsigned long>(point - text) + 1;
        while (keep > firstFraction + 1 && text[keep - 1] == '0')
            --keep;
        s.CutString(keep, s.Len() - keep);
    }
    if (value < 0) s.InsString(0, TString("-"));
}
} // namespace

TString::TString(long value) : TString() { FormatWhole(*this, "%ld", value); }

TString::TString(short value) : TString(static_cast<long>(value)) {}

TString::TString(int value) : TString(static_cast<long>(value)) {}

TString::TString(unsigned long value) : TString() { FormatWhole(*this, "%lu", value); }

TString::TString(unsigned short value) : TString(static_cast<unsigned long>(value)) {}

TString::TString(unsigned int value) : TString(static_cast<unsigned long>(value)) {}

TString::TString(double value) : TString() { FormatReal(*this, value, 10, false); }

TString::TString(float value) : TString(static_cast<double>(value)) {}

TString::TString(long value, unsigned long width, char fill, TSTR_POS pos) : TString(value)
{
    SetTextLength(width, fill, pos);
}

TString::TString(short value, unsigned long width, char fill, TSTR_POS pos)
    : TString(static_cast<long>(value), width, fill, pos)
{
}

TString::TString(int value, unsigned long width, char fill, TSTR_POS pos)
    : TString(static_cast<long>(value), width, fill, pos)
{
}

TString::TString(unsigned long value, unsigned long width, char fill, TSTR_POS pos) : TString(value)
{
    SetTextLength(width, fill, pos);
}

TString::TString(unsigned short value, unsigned long width, char fill, TSTR_POS pos)
    : TString(static_cast<unsigned long>(value), width, fill, pos)
{
}

TString::TString(unsigned int value, unsigned long width, char fill, TSTR_POS pos)
    : TString(static_cast<unsigned long>(value), width, fill, pos)
{
}

TString::TString(float value, unsigned long width, char fill, TSTR_POS pos) : TString()
{
    FormatReal(*this, value, width, true);
    SetTextLength(width, fill, pos);
}

TString::TString(double value, unsigned long width, char fill, TSTR_POS pos) : TString()
{
    FormatReal(*this, value, width > 0 ? width - 1 : 0, true);
    SetTextLength(width, fill, pos);
}

namespace {
// Opens n units of fill at unit position at (kind 0 or 1); null when refused.
unsigned char* InsertFill(TString& s, unsigned long at, unsigned long n, char fill)
{
    if (s.GetStringType() == TString::TypeAnsi) return s.InsMemory(at, n, fill);
    unsigned char* data = s.InsMemory(at * 2, n * 2);
    if (!data) return nullptr;
    const unsigned short unit = TStringText::WideFill(fill);
    for (unsigned long i = 0; i < n; ++i)
        std::memcpy(data + (at + i) * 2, &unit, 2);
    return data;
}

// Length up to the first terminator unit.
unsigned long TextUnits(const TString& s)
{
    const auto* data = static_cast<const unsigned char*>(s);
    unsigned long n = 0;
    while (n < s.Len() && TStringText::UnitAt(data, s.GetStringType(), n) != 0)
        ++n;
    return n;
}
} // namespace

unsigned char* TString::SetTextLength(unsigned long width, char fill, TSTR_POS pos)
{
    const unsigned long unit = TStringText::UnitSize(m_Type);
    if (unit == 0) return nullptr;
    if (pos != TSTR_POS_RIGHT && pos != TSTR_POS_LEFT && pos != TSTR_POS_CENTER) return m_lpData;
    if (width > KeelworkHeap::MaxBlock / unit - 1) return nullptr;
    if (fill == 0) fill = ' ';
    // Text the system wrote into a sized buffer may end early: the width counts
    // from its first terminator, and whatever followed it is dropped.
    const unsigned long length = TextUnits(*this);
    if (length < Len()) CutString(length, Len() - length);
    if (length > width) {
        const unsigned long excess = length - width;
        const unsigned long front = pos == TSTR_POS_RIGHT    ? excess
                                    : pos == TSTR_POS_CENTER ? excess / 2
                                                             : 0;
        CutString(width + front, excess - front);
        CutString(0, front);
    } else if (length < width) {
        const unsigned long shortfall = width - length;
        const unsigned long front = pos == TSTR_POS_RIGHT    ? shortfall
                                    : pos == TSTR_POS_CENTER ? shortfall / 2
                                                             : 0;
        if (shortfall > front && !InsertFill(*this, length, shortfall - front, fill)) {
            return nullptr;
        }
        if (front > 0 && !InsertFill(*this, 0, front, fill)) return nullptr;
    }
    return m_lpData;
}
