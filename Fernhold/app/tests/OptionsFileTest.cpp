// The options file: byte-exact layout, old versions and damaged files.
#include "app/OptionsFile.h"
#include "app/tests/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Builds a file image field by field, as the layout table lists them.
struct Image {
    std::vector<unsigned char> bytes;
    Image& Text(const char* text, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            bytes.push_back(static_cast<unsigned char>(text[i]));
        return *this;
    }
    Image& U32(uint32_t v) { return Text(reinterpret_cast<const char*>(&v), 4); }
    Image& U16(uint16_t v) { return Text(reinterpret_cast<const char*>(&v), 2); }
};

// Application section of the given version with recognisable values.
Image AppSection(uint32_t version, uint32_t displayFlags)
{
    Image image;
    image.Text("FNAP", 4).U32(version).U32(displayFlags).U32(250).U32(2).U32(8).U32(6);
    image.Text("\x04\xD2", 2).U32(1).U32(100).U32(static_cast<uint32_t>(-20));
    image.U32(1).U32(2).U32(801).U32(602);
    if (version > 50) image.U32(0);
    return image;
}

Image WithNames(Image image, const char* name)
{
    uint32_t n = static_cast<uint32_t>(strlen(name)) + 1;
    return image.Text("FNST", 4).U32(1).U32(n).Text(name, n);
}

class OptionsFileTest : public ::testing::Test {
protected:
    TempFolder m_Folder;
    std::string m_Path = m_Folder.Path("FernOption.dat");
    TFernSettings m_Settings;

    void SetUp() override { m_Settings.port = 0x6B15; } // 5483 in network order
};

TEST_F(OptionsFileTest, DefaultsAreWrittenAtTheirOffsets)
{
    ASSERT_EQ(WriteOptionsFile(m_Path.c_str(), m_Settings), 1);
    Image expected;
    expected.Text("FNAP", 4).U32(54).U32(0x113).U32(500).U32(4).U32(4).U32(10);
    expected.Text("\x15\x6B", 2).U32(0).U32(static_cast<uint32_t>(-10000));
    expected.U32(static_cast<uint32_t>(-10000)).U32(0).U32(0).U32(0).U32(0).U32(1);
    expected.Text("FNST", 4).U32(1).U32(12).Text("default.clf", 12);
    std::vector<unsigned char> written = ReadWholeFile(m_Path);
    EXPECT_EQ(written, expected.bytes);
    ASSERT_EQ(written.size(), 74u + 12u);
    EXPECT_EQ(written[28], 0x15);
    EXPECT_EQ(written[29], 0x6B);
    EXPECT_FALSE(FileExists(m_Path + ".new"));
}

TEST_F(OptionsFileTest, SettingsSurviveARoundTripWithTheConnectionStateReset)
{
    m_Settings.displayFlags = 0xABCD4413; // saved while connected
    m_Settings.viewTimerInterval = 120;
    m_Settings.simultaneousSearches = 9;
    m_Settings.gridColumns = 3;
    m_Settings.gridRows = 7;
    m_Settings.port = 0x3412;
    m_Settings.serverFlags = 1;
    m_Settings.mainX = -5;
    m_Settings.mainY = 300;
    m_Settings.viewWindowRect = RECT{10, 20, 810, 620};
    m_Settings.searchFlags = 0;
    m_Settings.defaultListFile = TString("接続一覧.clf");
    ASSERT_EQ(WriteOptionsFile(m_Path.c_str(), m_Settings), 1);

    TFernSettings loaded;
    ReadOptionsFile(m_Path.c_str(), loaded);
    EXPECT_EQ(loaded.displayFlags, 0xABCD0113u);
    EXPECT_EQ(loaded.viewTimerInterval, 120u);
    EXPECT_EQ(loaded.simultaneousSearches, 9u);
    EXPECT_EQ(loaded.gridColumns, 3u);
    EXPECT_EQ(loaded.gridRows, 7u);
    EXPECT_EQ(loaded.port, 0x3412);
    EXPECT_EQ(loaded.serverFlags, 1u);
    EXPECT_EQ(loaded.mainX, -5);
    EXPECT_EQ(loaded.mainY, 300);
    EXPECT_EQ(loaded.viewWindowRect.right, 810);
    EXPECT_EQ(loaded.viewWindowRect.bottom, 620);
    EXPECT_EQ(loaded.searchFlags, 0u);
    EXPECT_STREQ(static_cast<char*>(loaded.defaultListFile),
                 static_cast<char*>(m_Settings.defaultListFile));
}

TEST_F(OptionsFileTest, EmptyNameIsOneZeroByte)
{
    m_Settings.defaultListFile = TString("");
    ASSERT_EQ(WriteOptionsFile(m_Path.c_str(), m_Settings), 1);
    std::vector<unsigned char> written = ReadWholeFile(m_Path);
    ASSERT_EQ(written.size(), 75u);
    EXPECT_EQ(written[70], 1);
    EXPECT_EQ(written[74], 0);
    TFernSettings loaded;
    ReadOptionsFile(m_Path.c_str(), loaded);
    EXPECT_EQ(loaded.defaultListFile.Len(), 0u);
}

TEST_F(OptionsFileTest, OldAndNewerVersionsAreRead)
{
    // Version 50 has no search flags; its string section starts at 58.
    Image old = WithNames(AppSection(50, 0x413), "old.clf");
    ASSERT_EQ(old.bytes.size(), 58u + 12u + 8u);
    WriteWholeFile(m_Path, old.bytes);
    TFernSettings loaded;
    loaded.searchFlags = 0; // a value from before, which the old file must not keep
    ReadOptionsFile(m_Path.c_str(), loaded);
    EXPECT_EQ(loaded.displayFlags, 0x113u);
    EXPECT_EQ(loaded.port, 0xD204);
    EXPECT_EQ(loaded.mainY, -20);
    EXPECT_EQ(loaded.searchFlags, 1u);
    EXPECT_STREQ(static_cast<char*>(loaded.defaultListFile), "old.clf");

    WriteWholeFile(m_Path, WithNames(AppSection(60, 0x12), "new.clf").bytes);
    TFernSettings newer;
    ReadOptionsFile(m_Path.c_str(), newer);
    EXPECT_EQ(newer.displayFlags, 0x112u);
    EXPECT_EQ(newer.searchFlags, 0u);
    EXPECT_STREQ(static_cast<char*>(newer.defaultListFile), "new.clf");
}

TEST_F(OptionsFileTest, DamagedApplicationSectionChangesNothing)
{
    Image wrongTag = AppSection(54, 0x12);
    wrongTag.bytes[0] = 'X';
    Image truncated = AppSection(54, 0x12);
    truncated.bytes.resize(57);
    const std::vector<unsigned char> cases[] = {
        {}, {'F', 'N'}, wrongTag.bytes, AppSection(49, 0x12).bytes, truncated.bytes};
    for (const auto& bytes : cases) {
        WriteWholeFile(m_Path, bytes);
        TFernSettings loaded;
        ReadOptionsFile(m_Path.c_str(), loaded);
        EXPECT_EQ(loaded.displayFlags, 0x113u);
        EXPECT_EQ(loaded.gridRows, 10u);
        EXPECT_EQ(loaded.mainX, -10000);
    }
    TFernSettings missing;
    ReadOptionsFile(m_Folder.Path("absent.dat").c_str(), missing);
    EXPECT_EQ(missing.viewTimerInterval, 500u);
}

TEST_F(OptionsFileTest, DamagedStringSectionKeepsTheDefaultName)
{
    Image zero = AppSection(54, 0x12);
    zero.Text("FNST", 4).U32(1).U32(0);
    Image pastEnd = AppSection(54, 0x12);
    pastEnd.Text("FNST", 4).U32(1).U32(0xFFFFFFF0).Text("abc", 4);
    Image oneShort = AppSection(54, 0x12);
    oneShort.Text("FNST", 4).U32(1).U32(9).Text("abcdefg", 8);
    Image wrongVersion = AppSection(54, 0x12);
    wrongVersion.Text("FNST", 4).U32(2).U32(4).Text("abc", 4);
    Image wrongTag = AppSection(54, 0x12);
    wrongTag.Text("FNSX", 4).U32(1).U32(4).Text("abc", 4);
    Image cut = AppSection(54, 0x12);
    cut.Text("FNST", 4).U32(1);
    for (const Image* image : {&zero, &pastEnd, &oneShort, &wrongVersion, &wrongTag, &cut}) {
        WriteWholeFile(m_Path, image->bytes);
        TFernSettings loaded;
        ReadOptionsFile(m_Path.c_str(), loaded);
        EXPECT_EQ(loaded.displayFlags, 0x112u); // the application section stands
        EXPECT_EQ(loaded.gridRows, 6u);
        EXPECT_STREQ(static_cast<char*>(loaded.defaultListFile), "default.clf");
    }
}

TEST_F(OptionsFileTest, FailedSaveKeepsTheOldFile)
{
    std::vector<unsigned char> old = WithNames(AppSection(54, 0x12), "keep.clf").bytes;
    WriteWholeFile(m_Path, old);
    // A directory where the temporary file must go makes the save fail before the move.
    CreateDirectoryA((m_Path + ".new").c_str(), nullptr);
    EXPECT_EQ(WriteOptionsFile(m_Path.c_str(), m_Settings), 0);
    EXPECT_EQ(ReadWholeFile(m_Path), old);
    RemoveDirectoryA((m_Path + ".new").c_str());
    EXPECT_EQ(WriteOptionsFile(m_Folder.Path("none\\FernOption.dat").c_str(), m_Settings), 0);
}

} // namespace
