// User information: the spread format, its check, damaged files, the rights check and the
// start-up reconciliation of the local and system copies.
#include "app/TMainApp.h"
#include "app/TUserInfo.h"
#include "ui/RightsCheck.h"
#include "app/tests/SettingsTestSupport.h"
#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Plain bytes of a spread file: bit j of the j-th byte of each group of eight.
std::vector<unsigned char> Gather(const std::vector<unsigned char>& file, size_t plainCount)
{
    std::vector<unsigned char> plain(plainCount, 0);
    for (size_t i = 0; i < plainCount; ++i)
        for (int j = 0; j < 8; ++j)
            plain[i] |= file[i * 8 + j] & (1u << j);
    return plain;
}

uint32_t U32At(const std::vector<unsigned char>& bytes, size_t at)
{
    uint32_t value;
    memcpy(&value, &bytes[at], 4);
    return value;
}

class UserInfoTest : public ::testing::Test {
protected:
    TempFolder m_Folder;
    std::string m_Path = m_Folder.Path("UserInfo1.fnu");

    // Writes name "a", password "b", empty reserved text and the rights; returns the bytes.
    std::vector<unsigned char> SaveSmall(uint32_t rights)
    {
        TUserInfo info;
        info.m_Name = TString("a");
        info.m_Password = TString("b");
        info.m_Rights = rights;
        EXPECT_EQ(info.Save(TFileName(m_Path.c_str())), 1);
        info.CloseRecordFile();
        return ReadWholeFile(m_Path);
    }

    bool Loads(const std::vector<unsigned char>& bytes)
    {
        WriteWholeFile(m_Path, bytes);
        TUserInfo info;
        return info.Load(TFileName(m_Path.c_str())) == 1;
    }
};

// Records "a\0", "b\0", "\0" and 4 rights bytes: 20 + 6 + 6 + 5 + 8 = 45 plain bytes.
constexpr size_t SMALL_PLAIN = 45;

TEST_F(UserInfoTest, TextsAndRightsSurviveARoundTrip)
{
    const std::string longName(255, 'N');
    const std::string longPassword(255, 'p');
    TUserInfo info;
    info.m_Name = TString(longName.c_str());
    info.m_Password = TString(longPassword.c_str());
    info.m_Reserved = TString("予備");
    info.m_Rights = 0x2A5;
    ASSERT_EQ(info.Save(TFileName(m_Path.c_str())), 1);
    // The saved file is held open without sharing.
    EXPECT_EQ(CreateFileA(m_Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                          nullptr),
              INVALID_HANDLE_VALUE);
    info.CloseRecordFile();

    TUserInfo loaded;
    ASSERT_EQ(loaded.Load(TFileName(m_Path.c_str())), 1);
    EXPECT_TRUE(loaded.SameAs(info));
    EXPECT_EQ(loaded.m_Name.Len(), 255u);
    EXPECT_EQ(loaded.m_Rights, 0x2A5u);
    EXPECT_TRUE(loaded.Authenticates(longName.c_str(), longPassword.c_str()));
    EXPECT_FALSE(loaded.Authenticates(longName.c_str(), std::string(255, 'P').c_str()));
    EXPECT_FALSE(FileExists(m_Path + ".new"));
}

TEST_F(UserInfoTest, FileIsTheSpreadPlainContentFollowedByTheTrailer)
{
    std::vector<unsigned char> file = SaveSmall(0x12345678);
    ASSERT_GE(file.size(), SMALL_PLAIN * 8);
    std::vector<unsigned char> plain = Gather(file, SMALL_PLAIN);
    EXPECT_EQ(U32At(plain, 0), ProcessorWord());
    for (size_t at = 4; at < 20; at += 4)
        EXPECT_EQ(U32At(plain, at), 4u);
    EXPECT_EQ(U32At(plain, 20), 2u);
    EXPECT_EQ(memcmp(&plain[24], "a\0", 2), 0);
    EXPECT_EQ(U32At(plain, 26), 2u);
    EXPECT_EQ(U32At(plain, 32), 1u);
    EXPECT_EQ(U32At(plain, 37), 4u);
    EXPECT_EQ(U32At(plain, 41), 0x12345678u);

    // The filler of the first four spread bytes is F0 = S * 3.141592 in single precision,
    // S being the sum of the record data bytes.
    float seed = static_cast<float>('a' + 'b' + 0x12 + 0x34 + 0x56 + 0x78) * 3.141592f;
    unsigned char filler[4];
    memcpy(filler, &seed, 4);
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(file[j] & ~(1u << j), filler[j] & ~(1u << j)) << "byte " << j;
    // The trailer is at most 512 bytes, in whole words.
    size_t trailer = file.size() - SMALL_PLAIN * 8;
    EXPECT_GT(trailer, 0u);
    EXPECT_LE(trailer, 512u);
    EXPECT_EQ(trailer % 4, 0u);
}

TEST_F(UserInfoTest, DataAndTrailerDamageFailsFillerDamageDoesNot)
{
    const std::vector<unsigned char> good = SaveSmall(0x3FF);
    // Spread byte of the password's first data byte, plain offset 30.
    for (int j = 0; j < 8; ++j) {
        std::vector<unsigned char> dataFlip = good;
        dataFlip[30 * 8 + j] ^= static_cast<unsigned char>(1u << j);
        EXPECT_FALSE(Loads(dataFlip)) << "data bit " << j;
        std::vector<unsigned char> fillerFlip = good;
        fillerFlip[30 * 8 + j] ^= static_cast<unsigned char>(1u << ((j + 3) % 8));
        ASSERT_TRUE(Loads(fillerFlip)) << "filler bit " << j;
        TUserInfo info;
        info.Load(TFileName(m_Path.c_str()));
        EXPECT_TRUE(info.Authenticates("a", "b"));
        EXPECT_EQ(info.m_Rights, 0x3FFu);
    }
    for (size_t at = SMALL_PLAIN * 8; at < good.size(); ++at) {
        std::vector<unsigned char> trailerFlip = good;
        trailerFlip[at] ^= 0x40;
        EXPECT_FALSE(Loads(trailerFlip)) << "trailer byte " << at;
    }
    std::vector<unsigned char> cut(good.begin(), good.end() - 1);
    EXPECT_FALSE(Loads(cut));
}

TEST_F(UserInfoTest, MalformedFilesFailWithoutTouchingTheFields)
{
    std::vector<unsigned char> good = SaveSmall(0x3FF);
    std::vector<unsigned char> countsDiffer = good;
    countsDiffer[4 * 8 + 0] ^= 0x01; // first count 4 -> 5
    std::vector<unsigned char> hugeLength = good;
    for (int j = 0; j < 8; ++j)
        hugeLength[23 * 8 + j] |= static_cast<unsigned char>(1u << j);
    std::vector<unsigned char> hugeCounts = good;
    for (size_t i = 7; i < 20; i += 4)
        for (int j = 0; j < 8; ++j)
            hugeCounts[i * 8 + j] |= static_cast<unsigned char>(1u << j);
    std::vector<unsigned char> header(good.begin(), good.begin() + 20 * 8);
    std::vector<unsigned char> cases[] = {{},           {1, 2, 3},  header,
                                          countsDiffer, hugeLength, hugeCounts};
    for (const auto& bytes : cases) {
        WriteWholeFile(m_Path, bytes);
        TUserInfo info;
        info.m_Name = TString("kept");
        EXPECT_EQ(info.Load(TFileName(m_Path.c_str())), 0);
        EXPECT_TRUE(SameText(info.m_Name, "kept"));
        EXPECT_EQ(info.m_Rights, RIGHTS_NOT_IN_USE);
    }
    TUserInfo missing;
    EXPECT_EQ(missing.Load(TFileName(m_Folder.Path("absent.fnu").c_str())), 0);
    EXPECT_EQ(missing.Save(TFileName(m_Folder.Path("none\\x.fnu").c_str())), 0);
}

// A window that answers UM_AUTHENTICATE with a set answer and counts the questions.
int g_Asked = 0;
LRESULT g_Answer = 0;
HWND g_Owner = nullptr;
LRESULT CALLBACK AuthenticateWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != UM_AUTHENTICATE) return DefWindowProcA(window, message, wParam, lParam);
    ++g_Asked;
    g_Owner = reinterpret_cast<HWND>(wParam);
    return g_Answer;
}

TEST(UserRightsTest, OperationAsksOnlyWhenItsBitIsClear)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = AuthenticateWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "FernAuthenticateTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "FernAuthenticateTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    HWND owner = reinterpret_cast<HWND>(0x1234);

    struct Case {
        uint32_t rights;
        uint32_t bit;
        LRESULT answer;
        int allowed;
        int asked;
    } cases[] = {
        {RIGHTS_NOT_IN_USE, RIGHT_WAKE_ON_LAN, 0, 1, 0},
        {RIGHT_CONNECT | RIGHT_MOUSE, RIGHT_MOUSE, 0, 1, 0},
        {RIGHT_CONNECT, RIGHT_MOUSE, 1, 1, 1},
        {RIGHT_CONNECT, RIGHT_MOUSE, 0, 0, 1},
        {0, RIGHT_CHANGE_OPTIONS, 2, 0, 1},
    };
    for (const Case& c : cases) {
        g_Asked = 0;
        g_Answer = c.answer;
        EXPECT_EQ(IsOperationAllowed(window, owner, c.rights, c.bit), c.allowed);
        EXPECT_EQ(g_Asked, c.asked);
    }
    EXPECT_EQ(g_Owner, owner);
    DestroyWindow(window);
}

// The application object's reconciliation, run in a temporary program folder with the
// system copy in a temporary system folder.
class UserInfoStartTest : public ::testing::Test {
protected:
    TempFolder m_Program;
    TempFolder m_System;
    char m_Previous[MAX_PATH] = {};
    std::string m_Local = m_Program.Path("UserInfo\\UserInfo1.fnu");
    std::string m_SystemCopy = m_System.Path("frnsystem.dll");

    void SetUp() override
    {
        GetCurrentDirectoryA(sizeof(m_Previous), m_Previous);
        SetSystemDirectoryOverride(m_System.Path().c_str());
    }
    void TearDown() override
    {
        SetSystemDirectoryOverride(nullptr);
        SetCurrentDirectoryA(m_Previous);
    }
    void WriteCopy(const std::string& path, const char* name, uint32_t rights)
    {
        CreateDirectoryA(m_Program.Path("UserInfo").c_str(), nullptr);
        TUserInfo info;
        info.m_Name = TString(name);
        info.m_Password = TString("pw");
        info.m_Rights = rights;
        ASSERT_EQ(info.Save(TFileName(path.c_str())), 1);
    }
    // Starts the reconciliation with the program folder current.
    int LoadIn(TMainApp& app)
    {
        SetCurrentDirectoryA(m_Program.Path().c_str());
        return app.LoadUserInfo();
    }
};

TEST_F(UserInfoStartTest, NoFilesMeansRightsNotInUse)
{
    TMainApp app;
    EXPECT_EQ(LoadIn(app), 1);
    EXPECT_EQ(app.GetUserInfo().m_Rights, RIGHTS_NOT_IN_USE);
    EXPECT_FALSE(FileExists(m_Local));
    EXPECT_FALSE(FileExists(m_SystemCopy));
}

TEST_F(UserInfoStartTest, SystemCopyRebuildsOrOverridesTheLocalCopy)
{
    WriteCopy(m_SystemCopy, "admin", 0x1);
    {
        TMainApp app;
        EXPECT_EQ(LoadIn(app), 1);
        EXPECT_EQ(app.GetUserInfo().m_Rights, 0x1u);
        EXPECT_TRUE(app.GetUserInfo().Authenticates("admin", "pw"));
    }
    TUserInfo rebuilt;
    ASSERT_EQ(rebuilt.Load(TFileName(m_Local.c_str())), 1);
    EXPECT_TRUE(rebuilt.Authenticates("admin", "pw"));
    rebuilt.CloseRecordFile();

    WriteCopy(m_Local, "other", 0x3FF);
    TMainApp app;
    EXPECT_EQ(LoadIn(app), 1);
    EXPECT_EQ(app.GetUserInfo().m_Rights, 0x1u);
    EXPECT_TRUE(SameText(app.GetUserInfo().m_Name, "admin"));
}

} // namespace
