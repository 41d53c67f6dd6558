// Fixed-point numbers for scaling and stretching: TFloat (16.16) and TShortFloat (8.8).
#pragma once

#include <Keelwork/KeelworkApi.h>

#include <cstdint>

// Signed 16.16 in one 32-bit word. The fraction is scaled by 65535 in both
// directions (0.5 becomes 0x7FFF). The default constructor leaves the word unset.
class KEELWORK_API TFloat {
public:
    TFloat() {}
    TFloat(long value);
    TFloat(int value);
    TFloat(float value);
    TFloat(double value);

    // Rounds toward minus infinity.
    operator long() const;
    operator float() const;
    operator double() const;

    TFloat& operator=(const TFloat& other) = default;
    TFloat& operator+=(const TFloat& other);
    TFloat& operator-=(const TFloat& other);
    TFloat& operator*=(const TFloat& other);
    // A zero divisor saturates to the largest value of the dividend's sign.
    TFloat& operator/=(const TFloat& other);

    int32_t GetWord() const { return m_Value; }
    void SetWord(int32_t word) { m_Value = word; }

private:
    int32_t m_Value;
};

KEELWORK_API TFloat operator+(TFloat a, const TFloat& b);
KEELWORK_API TFloat operator-(TFloat a, const TFloat& b);
KEELWORK_API TFloat operator*(TFloat a, const TFloat& b);
KEELWORK_API TFloat operator/(TFloat a, const TFloat& b);

// Signed 8.8 in one 16-bit word, fraction scale 255.
class KEELWORK_API TShortFloat {
public:
    TShortFloat() {}
    TShortFloat(long value);
    TShortFloat(int value);
    TShortFloat(float value);
    TShortFloat(double value);

    operator long() const;
    operator float() const;
    operator double() const;

    TShortFloat& operator=(const TShortFloat& other) = default;
    TShortFloat& operator+=(const TShortFloat& other);
    TShortFloat& operator-=(const TShortFloat& other);
    TShortFloat& operator*=(const TShortFloat& other);
    // A zero divisor saturates to the largest value of the dividend's sign.
    TShortFloat& operator/=(const TShortFloat& other);

    int16_t GetWord() const { return m_Value; }
    void SetWord(int16_t word) { m_Value = word; }

private:
    int16_t m_Value;
};

KEELWORK_API TShortFloat operator+(TShortFloat a, const TShortFloat& b);
KEELWORK_API TShortFloat operator-(TShortFloat a, const TShortFloat& b);
KEELWORK_API TShortFloat operator*(TShortFloat a, const TShortFloat& b);
KEELWORK_API TShortFloat operator/(TShortFloat a, const TShortFloat& b);
