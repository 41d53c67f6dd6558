// Fernhold.exe with its settings files: a first start, a restart that keeps the options,
// and the two copies of the user information at start-up.
#include "app/TUserInfo.h"
#include "app/tests/ProgramRunner.h"
#include "app/tests/SettingsTestSupport.h"
#include "net/tests/NetTestSupport.h"
#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The real system copy: the Wine prefix of this build folder is the test's own.
std::string SystemCopyPath()
{
    char directory[MAX_PATH];
    GetSystemDirectoryA(directory, sizeof(directory));
    return std::string(directory) + "\\frnsystem.dll";
}

class SettingsProgramTest : public ::testing::Test {
protected:
    std::string m_Options = ProgramFile("FernOption.dat");
    std::string m_LocalUser = ProgramFile("UserInfo\\UserInfo1.fnu");
    std::string m_SystemUser = SystemCopyPath();

    void SetUp() override
    {
        if (!InTestNamespace()) GTEST_SKIP() << "listens on the host's addresses: namespace only";
        RemoveFiles();
    }
    void TearDown() override { RemoveFiles(); }
    void RemoveFiles()
    {
        DeleteFileA(m_Options.c_str());
        DeleteFileA(m_LocalUser.c_str());
        RemoveDirectoryA(ProgramFile("UserInfo").c_str());
        DeleteFileA(m_SystemUser.c_str());
    }
    void WriteUserInfo(const std::string& path, uint32_t rights)
    {
        CreateDirectoryA(ProgramFile("UserInfo").c_str(), nullptr);
        TUserInfo info;
        info.m_Name = TString("admin");
        info.m_Password = TString("secret");
        info.m_Rights = rights;
        ASSERT_EQ(info.Save(TFileName(path.c_str())), 1);
    }
    // Starts the program and waits for its main window; null when it did not come.
    HWND StartProgram(Program& program)
    {
        if (!program.Start()) return nullptr;
        return WaitForWindow(program.GetId(), "FernholdWnd", "Fernhold ver1.13", 30000);
    }
};

TEST_F(SettingsProgramTest, StartsWithoutFilesAndKeepsItsSettingsAcrossARestart)
{
    {
        Program program;
        HWND hub = StartProgram(program);
        ASSERT_NE(hub, nullptr);
        EXPECT_TRUE(ServesWithin("127.0.0.1", 5483, 15000));
        EXPECT_TRUE(QuitConfirmed(program, hub));
    }
    EXPECT_FALSE(FileExists(m_LocalUser)); // rights not in use: nothing written
    EXPECT_FALSE(FileExists(m_SystemUser));
    std::vector<unsigned char> saved = ReadWholeFile(m_Options);
    ASSERT_EQ(saved.size(), 86u);
    EXPECT_EQ(saved[28], 0x15);
    EXPECT_EQ(saved[29], 0x6B);

    // Changed settings: port 5484, saved while connected.
    saved[29] = 0x6C;
    saved[9] = 0x04;
    WriteWholeFile(m_Options, saved);
    for (int run = 0; run < 2; ++run) {
        Program program;
        HWND hub = StartProgram(program);
        ASSERT_NE(hub, nullptr);
        EXPECT_TRUE(ServesWithin("127.0.0.1", 5484, 15000)) << "run " << run;
        EXPECT_TRUE(QuitConfirmed(program, hub));
        std::vector<unsigned char> kept = ReadWholeFile(m_Options);
        ASSERT_EQ(kept.size(), 86u);
        EXPECT_EQ(kept[29], 0x6C);
        EXPECT_EQ(kept[9], 0x01); // the connection state was reset to idle
    }
}

TEST_F(SettingsProgramTest, RebuildsTheLocalCopyFromTheSystemCopy)
{
    WriteUserInfo(m_SystemUser, 0x3FD);
    Program program;
    HWND hub = StartProgram(program);
    ASSERT_NE(hub, nullptr);
    EXPECT_TRUE(QuitConfirmed(program, hub));
    TUserInfo rebuilt;
    ASSERT_EQ(rebuilt.Load(TFileName(m_LocalUser.c_str())), 1);
    EXPECT_TRUE(rebuilt.Authenticates("admin", "secret"));
    EXPECT_EQ(rebuilt.m_Rights, 0x3FDu);
}

TEST_F(SettingsProgramTest, RefusesToStartWhenOnlyTheLocalCopyIsGood)
{
    WriteUserInfo(m_LocalUser, 0x3FD);
    std::vector<unsigned char> local = ReadWholeFile(m_LocalUser);
    Program program;
    ASSERT_TRUE(program.Start());
    HWND stop = WaitForWindow(program.GetId(), "#32770", "Fernhold ver1.13", 30000);
    ASSERT_NE(stop, nullptr);
    EXPECT_TRUE(PressButton(stop, IDOK));
    // The entry point then reports that the start failed.
    HWND failed = WaitForWindow(program.GetId(), "#32770", "Fernhold - [ Error ]", 30000);
    ASSERT_NE(failed, nullptr);
    EXPECT_TRUE(PressButton(failed, IDOK));
    EXPECT_EQ(program.WaitForExit(30000), 0u);
    EXPECT_EQ(WaitForWindow(program.GetId(), "FernholdWnd", "Fernhold ver1.13", 0), nullptr);
    EXPECT_EQ(ReadWholeFile(m_LocalUser), local);
    EXPECT_FALSE(FileExists(m_SystemUser));
}

} // namespace
