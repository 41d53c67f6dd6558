// 16.16 and 8.8 fixed point: the conversions with the 65535 and 255 fraction
// scales, the word arithmetic and the saturating edge cases.
#include <Keelwork/TFloat.h>

#include <gtest/gtest.h>

#include <cmath>

TEST(TFloat, ConversionsUseTheFractionScale65535)
{
    struct Case {
        TFloat value;
        int32_t word;
        long asLong;
        double asDouble;
    } cases[] = {
        {TFloat(3), 0x00030000, 3, 3.0},
        {TFloat(-1l), static_cast<int32_t>(0xFFFF0000), -1, -1.0},
        {TFloat(1.5), 98303, 1, 1 + 32767 / 65535.0},
        {TFloat(0.5f), 0x7FFF, 0, 32767 / 65535.0},
        {TFloat(-1.5), -98303, -2, -2 + 32769 / 65535.0},
        {TFloat(1e9), 0x7FFFFFFF, 32767, 32767 + 65535 / 65535.0},
        {TFloat(-1e9), static_cast<int32_t>(0x80000000), -32768, -32768.0},
        {TFloat(std::nan("")), 0, 0, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value.GetWord(), c.word);
        EXPECT_EQ(static_cast<long>(c.value), c.asLong);
        EXPECT_DOUBLE_EQ(static_cast<double>(c.value), c.asDouble);
    }
    EXPECT_FLOAT_EQ(static_cast<float>(TFloat(1.5)), 1.4999924f);
}

TEST(TFloat, Arithmetic)
{
    TFloat a(2);
    a *= TFloat(3);
    EXPECT_EQ(a.GetWord(), 0x00060000);
    a /= TFloat(4);
    EXPECT_EQ(a.GetWord(), 0x00018000);
    a += TFloat(1);
    a -= TFloat(-1);
    EXPECT_EQ(a.GetWord(), 0x00038000);
    EXPECT_EQ((TFloat(7) / TFloat(-2)).GetWord(), -0x38000);
    EXPECT_EQ((TFloat(1) - TFloat(3)).GetWord(), -0x20000);
    TFloat big;
    big.SetWord(0x7FFFFFFF);
    EXPECT_EQ((big + TFloat(0.5)).GetWord(), static_cast<int32_t>(0x80007FFE));
    // A zero divisor saturates instead of faulting.
    EXPECT_EQ((TFloat(5) / TFloat(0)).GetWord(), 0x7FFFFFFF);
    EXPECT_EQ((TFloat(-5) / TFloat(0)).GetWord(), static_cast<int32_t>(0x80000000));
}

TEST(TShortFloat, ConversionsUseTheFractionScale255)
{
    struct Case {
        TShortFloat value;
        int16_t word;
        long asLong;
        double asDouble;
    } cases[] = {
        {TShortFloat(1), 0x0100, 1, 1.0},
        {TShortFloat(0.5), 0x007F, 0, 127 / 255.0},
        {TShortFloat(-1l), static_cast<int16_t>(0xFF00), -1, -1.0},
        {TShortFloat(2.75f), 0x02BF, 2, 2 + 191 / 255.0},
        {TShortFloat(1000.0), 0x7FFF, 127, 128.0},
        {TShortFloat(-1000.0), static_cast<int16_t>(0x8000), -128, -128.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value.GetWord(), c.word);
        EXPECT_EQ(static_cast<long>(c.value), c.asLong);
        EXPECT_DOUBLE_EQ(static_cast<double>(c.value), c.asDouble);
    }
}

TEST(TShortFloat, Arithmetic)
{
    TShortFloat a(2);
    a *= TShortFloat(3);
    EXPECT_EQ(a.GetWord(), 0x0600);
    a /= TShortFloat(4);
    EXPECT_EQ(a.GetWord(), 0x0180);
    a += TShortFloat(1);
    a -= TShortFloat(2);
    EXPECT_EQ(a.GetWord(), 0x0080);
    // The binary minus is a true difference.
    EXPECT_EQ((TShortFloat(1) - TShortFloat(3)).GetWord(), -0x0200);
    EXPECT_EQ((TShortFloat(1) / TShortFloat(0)).GetWord(), 0x7FFF);
}
