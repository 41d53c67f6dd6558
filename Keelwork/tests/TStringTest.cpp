// TString text operations: construction, editing, copying out, comparisons,
// readings as numbers and the conversions through the ANSI code page (932 here).
#include <Keelwork/TString.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <windows.h>

namespace {
const unsigned short* W(const wchar_t* text)
{
    return reinterpret_cast<const unsigned short*>(text);
}

std::string Bytes(const TString& s)
{
    return std::string(reinterpret_cast<const char*>(static_cast<unsigned char*>(s)), s.GetSize());
}

std::wstring Units(const TString& s)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(static_cast<unsigned short*>(s)), s.Len());
}

// A string whose kind is neither ANSI nor wide.
class OddString : public TString {
public:
    OddString() : TString("odd") { m_Type = 7; }
};

// Shift-JIS of the two kanji below (the sources are compiled to code page 932).
const char Kanji[] = "漢字";
const wchar_t WideKanji[] = L"漢字";
} // namespace

TEST(TString, TheTestsRunUnderCodePage932)
{
    EXPECT_EQ(GetACP(), 932u);
    EXPECT_EQ(std::string(Kanji), "\x8A\xBF\x8E\x9A");
}

TEST(TString, EmptyStringsHoldOnlyTheTerminator)
{
    const TString cases[] = {TString(), TString(static_cast<const char*>(nullptr)), TString("")};
    for (const TString& s : cases) {
        EXPECT_EQ(s.Len(), 0u);
        EXPECT_EQ(s.GetStringType(), TString::TypeAnsi);
        EXPECT_EQ(Bytes(s), std::string(1, '\0'));
        EXPECT_EQ(s.GetClassWord(), 0x20u);
    }
    const TString wide(static_cast<const unsigned short*>(nullptr));
    EXPECT_EQ(wide.GetStringType(), TString::TypeWide);
    EXPECT_EQ(wide.Len(), 0u);
    EXPECT_EQ(Bytes(wide), std::string(2, '\0'));
    EXPECT_EQ(TString(W(L"abc")).Len(), 3u);
    EXPECT_EQ(Bytes(TString(W(L"ab"))), std::string("a\0b\0\0\0", 6));
}

TEST(TString, CutAndInsert)
{
    struct Case {
        const char* text;
        bool insert;
        unsigned long pos;
        unsigned long count; // cut count
        const char* expected;
    } cases[] = {
        {"abc", false, 3, 1, "abc"},  {"abc", false, 1, 100, "a"},  {"abcdef", false, 1, 2, "adef"},
        {"abc", false, 0, 3, ""},     {"abc", true, 3, 0, "abcXY"}, {"abc", true, 4, 0, "abc"},
        {"abc", true, 0, 0, "XYabc"}, {"abc", true, 1, 0, "aXYbc"},
    };
    for (const Case& c : cases) {
        TString s(c.text);
        TString wide(c.text);
        wide.ChangeStringType(1);
        if (c.insert) {
            s.InsString(c.pos, TString("XY"));
            wide.InsString(c.pos, TString("XY"));
        } else {
            s.CutString(c.pos, c.count);
            wide.CutString(c.pos, c.count);
        }
        EXPECT_EQ(Bytes(s), std::string(c.expected) + '\0') << c.text << " " << c.pos;
        wide.ChangeStringType(0);
        EXPECT_EQ(Bytes(wide), std::string(c.expected) + '\0') << c.text << " " << c.pos;
    }
    TString self("ab");
    self.InsString(1, self);
    EXPECT_EQ(Bytes(self), std::string("aabb") + '\0');
    self &= self;
    EXPECT_EQ(self, "aabbaabb");
}

TEST(TString, CopyStringAlwaysTerminatesInsideTheBuffer)
{
    struct Case {
        const char* text;
        unsigned long size;
        const char* expected;
    } cases[] = {{"abc", 4, "abc"}, {"abcdef", 4, "abc"}, {"abc", 1, ""}, {"abc", 100, "abc"}};
    for (const Case& c : cases) {
        char buffer[8];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(TString(c.text).CopyString(buffer, c.size), 1);
        EXPECT_STREQ(buffer, c.expected);
        if (c.size < sizeof buffer) {
            EXPECT_EQ(buffer[c.size], '#') << c.size;
        }
    }
    wchar_t wide[4];
    EXPECT_EQ(TString(W(L"abcdef")).CopyString(reinterpret_cast<char*>(wide), 8), 1);
    EXPECT_EQ(std::wstring(wide), L"abc");
    char buffer[4] = "zz";
    EXPECT_EQ(TString("abc").CopyString(buffer, 0), 0);
    EXPECT_EQ(TString(W(L"abc")).CopyString(buffer, 1), 0);
    EXPECT_EQ(TString("abc").CopyString(nullptr, 4), 0);
    EXPECT_STREQ(buffer, "zz");
}

TEST(TString, CaseFoldingComparisons)
{
    const TString hello("hello");
    TString wideHello("hello");
    wideHello.ChangeStringType(1);
    struct Case {
        int result;
        int expected;
        const char* what;
    } cases[] = {
        {hello.StringCmp("HELLO"), 1, "fold"},
        {wideHello.StringCmp("HeLLo"), 1, "wide fold"},
        {hello.StringCmp("HELL"), 0, "shorter"},
        {hello.StringCmp("HELLOS"), 0, "longer"},
        {hello.StringCmp(nullptr), 0, "null"},
        {TString("a@").StringCmp("A`"), 1, "bit 0x20 folds 0x40 onto 0x60"},
        {hello.StringCmp("LLOxx", 2), 1, "from 2"},
        {hello.StringCmp("xxxxx", 5), 1, "start at the end"},
        {hello.StringCmp("LLOx", 2), 0, "from 2, length differs"},
        {hello.StringNCmp("HELxx", 3), 1, "first 3"},
        {hello.StringNCmp("HEX", 3), 0, "first 3 differ"},
        {hello.StringNCmp("he", 5), 0, "text ends first"},
        {TString("he").StringNCmp("HELLO", 5), 0, "string ends first"},
        {TString("he").StringNCmp("HE", 5), 1, "both end together"},
        {hello.StringNCmp("LL", 2, 2), 1, "2 from 2"},
        {hello.StringNCmp("LO", 3, 5), 1, "to the end"},
        {hello.StringNCmp("x", 10, 3), 0, "start beyond"},
        {hello.StringNCmp(nullptr, 1), 0, "null"},
        {hello == "hello", 1, "exact"},
        {hello == "HELLO", 0, "case counts"},
        {"hello" != hello, 0, "reversed"},
        {hello == "hell", 0, "prefix"},
        {hello == static_cast<const char*>(nullptr), 0, "null"},
        {TString("12") == TString(W(L"12")), 0, "kinds differ"},
        {TString("12") == TString("12"), 1, "same"},
        {TString("12") != TString("13"), 1, "bytes differ"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, c.expected) << c.what;
}

TEST(TString, ReadsNumbersLikeTheStandardConversions)
{
    struct Case {
        const char* text;
        long asLong;
        unsigned long asUnsigned;
        double asDouble;
    } cases[] = {
        {"0x1A", 26, 26, 26.0},
        {"010", 8, 8, 10.0},
        {"abc", 0, 0, 0.0},
        {"  -42xyz", -42, static_cast<unsigned long>(-42), -42.0},
        {"4294967295", 0x7FFFFFFF, 4294967295ul, 4294967295.0},
        {"2.5e1", 2, 2, 25.0},
        {"", 0, 0, 0.0},
    };
    for (const Case& c : cases) {
        const TString ansi(c.text);
        TString wide(c.text);
        wide.ChangeStringType(1);
        for (const TString* s : {&ansi, static_cast<const TString*>(&wide)}) {
            EXPECT_EQ(static_cast<long>(*s), c.asLong) << c.text;
            EXPECT_EQ(static_cast<int>(*s), static_cast<int>(c.asLong)) << c.text;
            EXPECT_EQ(static_cast<unsigned long>(*s), c.asUnsigned) << c.text;
            EXPECT_EQ(static_cast<double>(*s), c.asDouble) << c.text;
        }
    }
    EXPECT_EQ(static_cast<short>(TString("-7")), -7);
    EXPECT_EQ(static_cast<unsigned short>(TString("65535")), 65535);
    EXPECT_EQ(static_cast<float>(TString("0.5")), 0.5f);
}

TEST(TString, KindConversionThroughTheAnsiCodePage)
{
    TString ansi("abc");
    ansi &= TString(W(WideKanji));
    EXPECT_EQ(ansi.GetStringType(), 0);
    EXPECT_EQ(ansi.Len(), 7u);
    EXPECT_EQ(Bytes(ansi), std::string("abc") + Kanji + '\0');

    TString wide(W(L"x"));
    wide &= TString(Kanji);
    EXPECT_EQ(wide.Len(), 3u);
    EXPECT_EQ(Units(wide), std::wstring(L"x") + WideKanji);

    TString round(Kanji);
    ASSERT_NE(round.ChangeStringType(1), nullptr);
    EXPECT_EQ(round.Len(), 2u);
    EXPECT_EQ(Units(round), WideKanji);
    EXPECT_EQ(static_cast<char*>(round), nullptr);
    EXPECT_NE(static_cast<unsigned short*>(round), nullptr);
    ASSERT_NE(round.ChangeStringType(0), nullptr);
    EXPECT_EQ(round, Kanji);
    EXPECT_EQ(round.ChangeStringType(0), static_cast<unsigned char*>(round));

    // Half a double-byte character still converts to a terminated text.
    TString half(Kanji);
    half.CutString(3, 1);
    ASSERT_NE(half.ChangeStringType(1), nullptr);
    EXPECT_EQ(Bytes(half).substr(Bytes(half).size() - 2), std::string(2, '\0'));

    TString empty;
    ASSERT_NE(empty.ChangeStringType(1), nullptr);
    EXPECT_EQ(Bytes(empty), std::string(2, '\0'));

    const TString joined = TString("a") & TString(W(L"b")) & TString("c");
    EXPECT_EQ(joined, "abc");
}

TEST(TString, UnknownKindsChangeNothing)
{
    OddString odd;
    const std::string before = Bytes(odd);
    EXPECT_EQ(odd.Len(), 0u);
    EXPECT_EQ(odd.SetTextLength(8, 'x', TSTR_POS_LEFT), nullptr);
    EXPECT_EQ(odd.ChangeStringType(0), nullptr);
    odd.InsString(0, TString("x"));
    odd.CutString(0, 1);
    odd &= TString("x");
    char buffer[4] = "zz";
    EXPECT_EQ(odd.CopyString(buffer, 4), 0);
    EXPECT_EQ(Bytes(odd), before);
    EXPECT_EQ(static_cast<char*>(odd), nullptr);
    EXPECT_EQ(static_cast<long>(odd), 0);

    TString ansi("abc");
    ansi &= odd;
    ansi.InsString(1, odd);
    EXPECT_EQ(ansi, "abc");
}

TEST(TString, AssignmentAndByteAccess)
{
    TString s("abc");
    s = TString(W(L"wide"));
    EXPECT_EQ(s.GetStringType(), 1);
    EXPECT_EQ(s.Len(), 4u);
    s = TString("abc");
    s(1) = 'X';
    EXPECT_EQ(s, "aXc");
}
