// TFloat (16.16) and TShortFloat (8.8): conversions with the 65535 and 255
// fraction scales, and word arithmetic that wraps instead of overflowing.
#include <Keelwork/TFloat.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace {
// The word of trunc(x) * one + trunc(frac(x) * scale), saturated to the word's range
// (NaN gives 0) so that no out-of-range conversion is ever made.
template <class Word> Word FromReal(double x, int64_t one, double scale)
{
    if (std::isnan(x)) return 0;
    const double whole = std::trunc(x);
    const double lowest = static_cast<double>(std::numeric_limits<Word>::min()) / one;
    const double highest = static_cast<double>(std::numeric_limits<Word>::max()) / one;
    if (whole < lowest) return std::numeric_limits<Word>::min();
    if (whole >= highest + 1) return std::numeric_limits<Word>::max();
    const int64_t word =
        static_cast<int64_t>(whole) * one + static_cast<int64_t>(std::trunc((x - whole) * scale));
    if (word < std::numeric_limits<Word>::min()) return std::numeric_limits<Word>::min();
    if (word > std::numeric_limits<Word>::max()) return std::numeric_limits<Word>::max();
    return static_cast<Word>(word);
}

// Keeps the low bits of a wider result, as the word arithmetic of the format does.
template <class Word> Word Wrap(int64_t value)
{
    using Unsigned = typename std::make_unsigned<Word>::type;
    return static_cast<Word>(static_cast<Unsigned>(static_cast<uint64_t>(value)));
}

// Quotient (a << shift) / b truncated toward zero; a zero divisor saturates.
template <class Word> Word Divide(Word a, Word b, int shift)
{
    if (b == 0) {
        return a < 0 ? std::numeric_limits<Word>::min() : std::numeric_limits<Word>::max();
    }
    return Wrap<Word>(static_cast<int64_t>(a) * (int64_t{1} << shift) / b);
}
} // namespace

TFloat::TFloat(long value) : m_Value(Wrap<int32_t>(static_cast<int64_t>(value) * 65536)) {}

TFloat::TFloat(int value) : TFloat(static_cast<long>(value)) {}

TFloat::TFloat(float value) : TFloat(static_cast<double>(value)) {}

TFloat::TFloat(double value) : m_Value(FromReal<int32_t>(value, 65536, 65535.0)) {}

TFloat::operator long() const { return m_Value >> 16; }

TFloat::operator float() const { return static_cast<float>(operator double()); }

TFloat::operator double() const { return (m_Value >> 16) + (m_Value & 0xFFFF) / 65535.0; }

TFloat& TFloat::operator+=(const TFloat& other)
{
    m_Value = Wrap<int32_t>(int64_t{m_Value} + other.m_Value);
    return *this;
}

TFloat& TFloat::operator-=(const TFloat& other)
{
    m_Value = Wrap<int32_t>(int64_t{m_Value} - other.m_Value);
    return *this;
}

TFloat& TFloat::operator*=(const TFloat& other)
{
    m_Value = Wrap<int32_t>((int64_t{m_Value} * other.m_Value) >> 16);
    return *this;
}

TFloat& TFloat::operator/=(const TFloat& other)
{
    m_Value = Divide<int32_t>(m_Value, other.m_Value, 16);
    return *this;
}

TFloat operator+(TFloat a, const TFloat& b) { return a += b; }

TFloat operator-(TFloat a, const TFloat& b) { return a -= b; }

TFloat operator*(TFloat a, const TFloat& b) { return a *= b; }

TFloat operator/(TFloat a, const TFloat& b) { return a /= b; }

TShortFloat::TShortFloat(long value) : m_Value(Wrap<int16_t>(static_cast<int64_t>(value) * 256)) {}

TShortFloat::TShortFloat(int value) : TShortFloat(static_cast<long>(value)) {}

TShortFloat::TShortFloat(float value) : TShortFloat(static_cast<double>(value)) {}

TShortFloat::TShortFloat(double value) : m_Value(FromReal<int16_t>(value, 256, 255.0)) {}

TShortFloat::operator long() const { return m_Value >> 8; }

TShortFloat::operator float() const { return static_cast<float>(operator double()); }

TShortFloat::operator double() const { return (m_Value >> 8) + (m_Value & 0xFF) / 255.0; }

TShortFloat& TShortFloat::operator+=(const TShortFloat& other)
{
    m_Value = Wrap<int16_t>(int64_t{m_Value} + other.m_Value);
    return *this;
}

TShortFloat& TShortFloat::operator-=(const TShortFloat& other)
{
    m_Value = Wrap<int16_t>(int64_t{m_Value} - other.m_Value);
    return *this;
}

TShortFloat& TShortFloat::operator*=(const TShortFloat& other)
{
    m_Value = Wrap<int16_t>((int32_t{m_Value} * other.m_Value) >> 8);
    return *this;
}

TShortFloat& TShortFloat::operator/=(const TShortFloat& other)
{
    m_Value = Divide<int16_t>(m_Value, other.m_Value, 8);
    return *this;
}

TShortFloat operator+(TShortFloat a, const TShortFloat& b) { return a += b; }

TShortFloat operator-(TShortFloat a, const TShortFloat& b) { return a -= b; }

TShortFloat operator*(TShortFloat a, const TShortFloat& b) { return a *= b; }

TShortFloat operator/(TShortFloat a, const TShortFloat& b) { return a /= b; }
