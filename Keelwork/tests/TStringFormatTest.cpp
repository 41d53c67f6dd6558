// TString number texts and the width, fill and alignment tables.
#include <Keelwork/TString.h>

#include <gtest/gtest.h>

#include <string>

namespace {
const unsigned short* W(const wchar_t* text)
{
    return reinterpret_cast<const unsigned short*>(text);
}

std::string Text(const TString& s)
{
    // The visible text and exactly one terminator at the end of the block.
    const std::string bytes(reinterpret_cast<const char*>(static_cast<unsigned char*>(s)),
                            s.GetSize());
    EXPECT_EQ(bytes.back(), '\0');
    EXPECT_EQ(s.Len(), bytes.size() - 1);
    return bytes.substr(0, bytes.size() - 1);
}
} // namespace

TEST(TStringFormat, WholeNumbers)
{
    struct Case {
        TString text;
        const char* expected;
    } cases[] = {
        {TString(static_cast<short>(-5)), "-5"},
        {TString(static_cast<unsigned short>(65535)), "65535"},
        {TString(-2147483647l - 1), "-2147483648"},
        {TString(4294967295ul), "4294967295"},
        {TString(0), "0"},
        {TString(123u), "123"},
        {TString(42l, 6, '0', TSTR_POS_RIGHT), "000042"},
        {TString(42l, 6, '\0', TSTR_POS_LEFT), "42    "},
        {TString(42l, 6, '*', TSTR_POS_CENTER), "**42**"},
        {TString(-42, 2, ' ', TSTR_POS_RIGHT), "42"},
        {TString(12345u, 3, ' ', TSTR_POS_LEFT), "123"},
        {TString(static_cast<short>(7), 3, '0', TSTR_POS_RIGHT), "007"},
        {TString(static_cast<unsigned short>(7), 3, '0', TSTR_POS_LEFT), "700"},
        {TString(7ul, 0, '0', TSTR_POS_LEFT), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(c.text), c.expected);
        EXPECT_EQ(c.text.GetStringType(), 0);
    }
}

TEST(TStringFormat, RealNumbersInTheDigitConversionStyle)
{
    struct Case {
        TString text;
        const char* expected;
    } cases[] = {
        {TString(2.5), "2.5000000000"},
        {TString(-2.5f), "-2.5000000000"},
        {TString(0.25), ".2500000000"},
        {TString(0.05), ".0500000000"},
        {TString(-0.001), "-.0010000000"},
        {TString(0.0), ".0000000000"},
        {TString(123.456), "123.4560000000"},
        {TString(1e-12), ".0000000000"},
        // Width forms: float keeps width digits, double width - 1, then trailing
        // zeros of the fraction go (one digit stays) before the width applies.
        {TString(2.5, 6, ' ', TSTR_POS_LEFT), "2.5   "},
        {TString(2.5f, 6, ' ', TSTR_POS_RIGHT), "   2.5"},
        {TString(-1.25, 8, '*', TSTR_POS_CENTER), "*-1.25**"},
        {TString(3.0, 4, '0', TSTR_POS_LEFT), "3.00"},
        {TString(0.125, 5, ' ', TSTR_POS_LEFT), ".125 "},
        {TString(2.71828, 3, ' ', TSTR_POS_LEFT), "2.7"},
        {TString(2.5, 0, ' ', TSTR_POS_LEFT), ""},
        {TString(1.5f, 1, ' ', TSTR_POS_LEFT), "1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.text), c.expected);
}

TEST(TStringFormat, SetTextLengthCutsAndFills)
{
    struct Case {
        const char* text;
        unsigned long width;
        char fill;
        int pos;
        const char* expected;
    } cases[] = {
        {"abcdefg", 4, ' ', TSTR_POS_CENTER, "bcde"},
        {"abcdefg", 4, ' ', TSTR_POS_RIGHT, "defg"},
        {"abcdefg", 4, ' ', TSTR_POS_LEFT, "abcd"},
        {"abcdefg", 0, ' ', TSTR_POS_CENTER, ""},
        {"ab", 7, '-', TSTR_POS_CENTER, "--ab---"},
        {"ab", 5, '-', TSTR_POS_RIGHT, "---ab"},
        {"ab", 5, '\0', TSTR_POS_LEFT, "ab   "},
        {"ab", 2, '-', TSTR_POS_LEFT, "ab"},
        {"", 3, '.', TSTR_POS_CENTER,
         ".."
         "."},
        {"abc", 9, '-', 3, "abc"},
        {"abc", 1, '-', -1, "abc"},
    };
    for (const Case& c : cases) {
        TString ansi(c.text);
        EXPECT_NE(ansi.SetTextLength(c.width, c.fill, static_cast<TSTR_POS>(c.pos)), nullptr);
        EXPECT_EQ(Text(ansi), c.expected) << c.text << " " << c.width << " " << c.pos;

        TString wide(c.text);
        wide.ChangeStringType(1);
        EXPECT_NE(wide.SetTextLength(c.width, c.fill, static_cast<TSTR_POS>(c.pos)), nullptr);
        EXPECT_EQ(wide.GetSize(), 2 * (std::string(c.expected).size() + 1));
        wide.ChangeStringType(0);
        EXPECT_EQ(Text(wide), c.expected) << "wide " << c.text << " " << c.width;
    }
}

TEST(TStringFormat, WidthCountsFromTheFirstTerminator)
{
    // A text the system wrote into a sized buffer is shorter than the buffer.
    TString buffer;
    buffer.SetTextLength(10, ' ', TSTR_POS_LEFT);
    static_cast<char*>(buffer)[0] = 'o';
    static_cast<char*>(buffer)[1] = 'k';
    static_cast<char*>(buffer)[2] = '\0';
    buffer.SetTextLength(4, '.', TSTR_POS_LEFT);
    EXPECT_EQ(Text(buffer), "ok..");

    TString wide(W(L"wxyz"));
    static_cast<unsigned short*>(wide)[1] = 0;
    wide.SetTextLength(3, '#', TSTR_POS_RIGHT);
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(static_cast<unsigned short*>(wide))), L"##w");
    EXPECT_EQ(wide.GetSize(), 8u);
}

TEST(TStringFormat, WideFillIsConvertedAndHugeWidthsAreRefused)
{
    TString wide(W(L"ab"), 4, '*', TSTR_POS_RIGHT);
    EXPECT_EQ(wide.GetStringType(), 1);
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(static_cast<unsigned short*>(wide))),
              L"**ab");
    TString ansi(static_cast<const char*>(nullptr), 3, 'x', TSTR_POS_LEFT);
    EXPECT_EQ(Text(ansi), "xxx");

    for (unsigned long width : {0x7FFFFFFFul, 0xFFFFFFFFul}) {
        TString s("abc");
        EXPECT_EQ(s.SetTextLength(width, ' ', TSTR_POS_LEFT), nullptr);
        EXPECT_EQ(Text(s), "abc");
        TString w(W(L"abc"));
        EXPECT_EQ(w.SetTextLength(width / 2, ' ', TSTR_POS_LEFT), nullptr);
        EXPECT_EQ(w.Len(), 3u);
    }
}
