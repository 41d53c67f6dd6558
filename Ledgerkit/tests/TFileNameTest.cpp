// TFileName: normalisation and the name parts of plain, UNC, extended and extended-UNC
// names, hostile names, double-byte names and the current directory.
#include <Ledgerkit/TFileName.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Str(const TString& s) { return std::string(static_cast<const char*>(s), s.Len()); }

TEST(TFileName, RefreshNormalisesSeparatorsAfterThePrefix)
{
    const struct {
        const char* input;
        const char* expected;
    } cases[] = {
        {"C:/dir//sub\\\\\\f.txt", "C:\\dir\\sub\\f.txt"},
        {"\\\\srv\\\\share//f", "\\\\srv\\share\\f"},
        {"//srv/share", "\\\\srv\\share"},
        {"\\\\?\\C:\\\\x", "\\\\?\\C:\\x"},
        {"\\\\?\\\\\\x", "\\\\?\\x"},
        {"//?/UNC//srv/share", "\\\\?\\UNC\\srv\\share"},
        {"\\\\?\\unc\\\\srv", "\\\\?\\unc\\srv"},
        {"a\\\\\\", "a\\"},
        {"", ""},
        {"\\", "\\"},
        {"\\\\\\\\\\\\", "\\\\"},
        {"////////", "\\\\"},
        {"\\\\?\\", "\\\\?\\"},
        {"\\\\?\\UNC", "\\\\?\\UNC"},
        {"\\\\?\\UNC\\", "\\\\?\\UNC\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(c.expected, Str(TFileName(c.input)));
        EXPECT_EQ(c.expected, Str(TFileName(TString(c.input))));
    }
    const unsigned short wide[] = {'C', ':', '/', '/', 'w', 0};
    const TFileName fromWide{TString(wide)};
    EXPECT_EQ(0, fromWide.GetStringType());
    EXPECT_EQ("C:\\w", Str(fromWide));
    EXPECT_EQ(0x01000000u, fromWide.GetClassWord());
}

TEST(TFileName, PartsOfEveryKindOfName)
{
    const struct {
        const char* name;
        const char* drive;
        const char* directory;
        const char* shortName;
        const char* up;
    } cases[] = {
        {"C:\\dir\\sub\\f.txt", "C:\\", "C:\\dir\\sub\\", "f.txt", "C:\\dir\\"},
        {"f.txt", "", "", "f.txt", ""},
        {"C:\\a\\b\\", "C:\\", "C:\\a\\b\\", "", "C:\\a\\"},
        {"C:\\", "C:\\", "C:\\", "", ""},
        {"C:f.txt", "C:", "", "C:f.txt", ""},
        {"C:", "C:", "", "C:", ""},
        {"\\f", "", "\\", "f", ""},
        {"\\\\srv\\share\\f", "\\\\srv\\", "\\\\srv\\share\\", "f", "\\\\srv\\"},
        {"\\\\srv", "", "\\\\", "srv", ""},
        {"\\\\?\\UNC\\srv\\share\\f", "\\\\srv\\", "\\\\srv\\share\\", "f", "\\\\srv\\"},
        {"\\\\?\\C:\\x", "C:\\", "C:\\", "x", ""},
        {"\\\\?\\C:\\a\\b\\x", "C:\\", "C:\\a\\b\\", "x", "C:\\a\\"},
        // Prefixes without a body, and separators alone.
        {"\\\\?\\", "", "", "", ""},
        {"\\\\?\\UNC\\", "", "\\\\", "", ""},
        {"\\\\?\\UNC", "", "", "UNC", ""},
        {"\\\\", "", "\\\\", "", ""},
        {"\\", "", "\\", "", ""},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TFileName name(c.name);
        EXPECT_EQ(c.drive, Str(name.GetDriveName()));
        EXPECT_EQ(c.directory, Str(name.GetDirectoryName()));
        EXPECT_EQ(c.shortName, Str(name.GetShortFileName()));
        EXPECT_EQ(c.up, Str(name.GetUpDirName()));
    }
}

TEST(TFileName, SettersReplaceOnePartAndNormalise)
{
    const struct {
        const char* name;
        char part; // d drive, p directory, s short name
        const char* value;
        const char* expected;
    } cases[] = {
        {"C:\\dir\\f.txt", 'd', "D:", "D:\\dir\\f.txt"},
        {"C:\\dir\\f.txt", 'd', "D:\\", "D:\\dir\\f.txt"},
        {"\\\\srv\\share\\d\\f", 'd', "\\\\other\\", "\\\\other\\share\\d\\f"},
        {"\\\\?\\UNC\\srv\\share\\f", 'd', "E:", "E:\\share\\f"},
        {"f.txt", 'd', "E:", "E:\\f.txt"},
        {"C:\\dir\\f.txt", 'p', "E:\\new\\", "E:\\new\\f.txt"},
        {"C:\\dir\\f.txt", 'p', "E:/x//", "E:\\x\\f.txt"},
        {"f.txt", 'p', "\\\\srv\\share\\", "\\\\srv\\share\\f.txt"},
        {"C:\\dir\\f.txt", 's', "g.bin", "C:\\dir\\g.bin"},
        {"\\\\?\\C:\\dir\\f", 's', "g.bin", "\\\\?\\C:\\dir\\g.bin"},
        {"f.txt", 's', "g.bin", "g.bin"},
        {"C:\\dir\\", 's', "\\g", "C:\\dir\\g"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.part + " " + c.value);
        TFileName name(c.name);
        if (c.part == 'd') name.SetDriveName(TString(c.value));
        if (c.part == 'p') name.SetDirectoryName(TString(c.value));
        if (c.part == 's') name.SetShortFileName(TString(c.value));
        EXPECT_EQ(c.expected, Str(name));
    }
}

TEST(TFileName, JoiningAndCopying)
{
    const TFileName dir("C:\\a\\");
    EXPECT_EQ("C:\\a\\b", Str(dir & TFileName("\\b")));
    TFileName name("x/");
    name &= TFileName("/y");
    EXPECT_EQ("x\\y", Str(name));
    TFileName copy(name);
    EXPECT_EQ("x\\y", Str(copy));
    copy = dir;
    EXPECT_EQ("C:\\a\\", Str(copy));
    EXPECT_EQ(0x01000000u, copy.GetClassWord());
}

TEST(TFileName, VeryLongNamesAreHandledWhole)
{
    std::string text;
    for (int i = 0; i < 25000; ++i)
        text += "ab//";
    text += "end.txt";
    const TFileName name(text.c_str());
    std::string expected;
    for (int i = 0; i < 25000; ++i)
        expected += "ab\\";
    EXPECT_EQ(expected + "end.txt", Str(name));
    EXPECT_EQ(expected, Str(name.GetDirectoryName()));
    EXPECT_EQ("end.txt", Str(name.GetShortFileName()));
    EXPECT_EQ(expected.substr(0, expected.size() - 3), Str(name.GetUpDirName()));
    EXPECT_EQ("", Str(name.GetDriveName()));
}

TEST(TFileName, SecondBytesOfDoubleByteCharactersAreNotSeparators)
{
    if (GetACP() != 932) GTEST_SKIP() << "needs the Japanese ANSI code page";
    // 表 and ソ end in 0x5C, the byte of the backslash, in code page 932.
    const TFileName name("C:\\表\\\\ソ//f.txt");
    EXPECT_EQ("C:\\表\\ソ\\f.txt", Str(name));
    EXPECT_EQ("C:\\表\\ソ\\", Str(name.GetDirectoryName()));
    EXPECT_EQ("C:\\表\\", Str(name.GetUpDirName()));
    const TFileName trailing("C:\\dir\\ソ");
    EXPECT_EQ("ソ", Str(trailing.GetShortFileName()));
    EXPECT_EQ("C:\\dir\\", Str(trailing.GetDirectoryName()));
    EXPECT_EQ("\\\\表\\", Str(TFileName("\\\\表\\share").GetDriveName()));
}

TEST(TFileName, SetCurrentDirectoryReturnsThePreviousOne)
{
    TempFolder folder;
    const TFileName before = TFileName::GetCurrentDirectoryA();
    ASSERT_GT(before.Len(), 0ul);
    const TFileName target(folder.Path().c_str());
    const TFileName previous = TFileName::SetCurrentDirectoryA(target);
    EXPECT_EQ(Str(before), Str(previous));
    const TFileName now = TFileName::GetCurrentDirectoryA();
    EXPECT_EQ(Str(target), Str(now) + "\\");
    EXPECT_EQ(Str(target), Str(TFileName::SetCurrentDirectoryA(before)) + "\\");
    EXPECT_EQ(Str(before), Str(TFileName::GetCurrentDirectoryA()));
}

} // namespace
