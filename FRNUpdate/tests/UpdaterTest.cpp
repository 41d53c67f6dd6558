// The updater's run in a folder of its own: in-process for the copies and their retries,
// and FRNUpdate.exe started as a process for the exit codes, the window and the restart.
#include "FRNUpdate/UpdateDescription.h"
#include "Updater.h"

#include "../../Ledgerkit/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Makes the folder the current directory for one test, as the updater has it.
class InFolder {
public:
    explicit InFolder(const TempFolder& folder)
    {
        GetCurrentDirectoryA(sizeof(m_Previous), m_Previous);
        SetCurrentDirectoryA(folder.Path().c_str());
    }
    ~InFolder() { SetCurrentDirectoryA(m_Previous); }

private:
    char m_Previous[MAX_PATH] = "";
};

class RecordedProgress final : public TUpdateProgress {
public:
    void SetRange(uint32_t files) override { range = files; }
    void SetPosition(uint32_t file) override { last = file; }
    uint32_t range = 0xFFFFFFFF;
    uint32_t last = 0xFFFFFFFF;
};

const CopyPause NO_PAUSE = [](int) {};

// Program folder at version 1 with two installed files, and a staged version 2 that
// replaces both, creates two folders (one already there) and breaks the rules twice.
void StageVersionTwo(const TempFolder& folder)
{
    folder.Write("Update.ini", "[UPDATEINFO]\r\nFileVersion=1\r\n");
    folder.Write("a.dll", "old a");
    folder.MakeFolder("Resource");
    folder.Write("Resource\\b.bmp", "old b");
    folder.MakeFolder("UpdateFiles");
    folder.Write("UpdateFiles\\a.dll", "new a");
    folder.Write("UpdateFiles\\b.bmp", "new b");
    folder.Write("UpdateFiles\\evil.dll", "evil");
    folder.Write("UpdateFiles\\Update.ini",
                 "[UPDATEINFO]\r\nFileVersion=2\r\nAllFileCount=5\r\nAllFolderCount=3\r\n"
                 "[FOLDER]\r\nFOLDER_0=Resource\r\nFOLDER_1=Plugins\r\nFOLDER_2=..\\Outside\r\n"
                 "[DESFILE]\r\nFILE_0=a.dll\r\nFILE_1=Resource\\b.bmp\r\nFILE_2=..\\evil.dll\r\n"
                 "FILE_3=missing.dll\r\nFILE_4=c.dll\r\n"
                 "[SRCFILE]\r\nFILE_0=UpdateFiles\\a.dll\r\nFILE_1=UpdateFiles\\b.bmp\r\n"
                 "FILE_2=UpdateFiles\\evil.dll\r\nFILE_3=UpdateFiles\\missing.dll\r\n"
                 "FILE_4=a.dll\r\n");
}

TEST(UpdaterTest, RunReplacesFilesInstallsTheDescriptionAndRemovesTheStagedFiles)
{
    TempFolder folder;
    StageVersionTwo(folder);
    InFolder inside(folder);
    ASSERT_EQ(IsStagedUpdateNewer(), 1);
    RecordedProgress progress;
    InstallStagedUpdate(progress, NO_PAUSE);

    EXPECT_EQ(folder.Read("a.dll"), "new a");
    EXPECT_EQ(folder.Read("Resource\\b.bmp"), "new b");
    EXPECT_TRUE(folder.Exists("Plugins"));
    EXPECT_EQ(ReadDescriptionVersion(INSTALLED_DESCRIPTION), 2u);
    EXPECT_EQ(progress.range, 5u);
    EXPECT_EQ(progress.last, 4u);
    // The staged copies of used entries are gone; the rejected entry touched nothing.
    EXPECT_FALSE(folder.Exists("UpdateFiles\\a.dll"));
    EXPECT_FALSE(folder.Exists("UpdateFiles\\b.bmp"));
    EXPECT_TRUE(folder.Exists("UpdateFiles\\evil.dll"));
    EXPECT_TRUE(folder.Exists("UpdateFiles\\Update.ini")) << "kept for the next fetch";
    EXPECT_FALSE(folder.Exists("..\\evil.dll"));
    EXPECT_FALSE(folder.Exists("c.dll")) << "staged outside UpdateFiles";
    EXPECT_FALSE(folder.Exists("..\\Outside"));
    EXPECT_EQ(IsStagedUpdateNewer(), 0) << "the installed version is now 2";
}

TEST(UpdaterTest, UnboundedDescriptionTouchesNothing)
{
    TempFolder folder;
    StageVersionTwo(folder);
    folder.Write("UpdateFiles\\Update.ini",
                 "[UPDATEINFO]\r\nFileVersion=2\r\nAllFileCount=4000000000\r\n"
                 "[DESFILE]\r\nFILE_0=a.dll\r\n[SRCFILE]\r\nFILE_0=UpdateFiles\\a.dll\r\n");
    InFolder inside(folder);
    RecordedProgress progress;
    InstallStagedUpdate(progress, NO_PAUSE);
    EXPECT_EQ(folder.Read("a.dll"), "old a");
    EXPECT_EQ(ReadDescriptionVersion(INSTALLED_DESCRIPTION), 1u);
    EXPECT_TRUE(folder.Exists("UpdateFiles\\a.dll"));
}

TEST(UpdaterTest, LockedTargetIsReplacedOnTheFourthAttemptOrLeftAfterEleven)
{
    TempFolder folder;
    std::string staged = folder.Write("staged.dll", "new");
    std::string target = folder.Write("target.dll", "old");
    // Held as the exiting main program holds its own image: no sharing at all.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DWORD start = GetTickCount();
    // The real pauses: the file is let go after three seconds of failed attempts.
    int attempt = CopyOverTarget(staged.c_str(), target.c_str(), [&](int failures) {
        Sleep(COPY_RETRY_PAUSE_MS);
        if (failures == 3) CloseHandle(held);
    });
    EXPECT_EQ(attempt, 4);
    EXPECT_GE(GetTickCount() - start, 2900u);
    EXPECT_EQ(folder.Read("target.dll"), "new");

    folder.Write("target.dll", "old");
    held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    int pauses = 0;
    EXPECT_EQ(CopyOverTarget(staged.c_str(), target.c_str(), [&](int) { ++pauses; }), 0);
    EXPECT_EQ(pauses, COPY_RETRIES);
    CloseHandle(held);
    EXPECT_EQ(folder.Read("target.dll"), "old");
}

// FRNUpdate.exe with its DLL and the probe as Fernhold.exe in a folder of its own.
class UpdaterProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char module[MAX_PATH];
        GetModuleFileNameA(nullptr, module, sizeof(module));
        std::string bin(module);
        bin.resize(bin.find_last_of('\\') + 1);
        ASSERT_TRUE(CopyFileA((bin + "FRNUpdate.exe").c_str(),
                              (m_Folder.Path() + "FRNUpdate.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((bin + "Keelwork.dll").c_str(),
                              (m_Folder.Path() + "Keelwork.dll").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((bin + "UpdaterRestartProbe.exe").c_str(),
                              (m_Folder.Path() + "Fernhold.exe").c_str(), FALSE));
    }

    // Started as the main program starts it: no arguments, the folder as current directory.
    DWORD RunUpdater()
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        std::string exe = m_Folder.Path() + "FRNUpdate.exe";
        char commandLine[1] = {'\0'};
        if (!CreateProcessA(exe.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                            m_Folder.Path().c_str(), &startup, &process))
            return 0xDEAD;
        DWORD code = 0xDEAD;
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return code;
    }

    bool WaitForRestart()
    {
        for (int i = 0; i < 200; ++i) {
            if (m_Folder.Read("restarted.txt") != "<missing>") return true;
            Sleep(50);
        }
        return false;
    }

    TempFolder m_Folder;
};

TEST_F(UpdaterProcessTest, EqualVersionsExitZeroWithoutWindowOrRestart)
{
    StageVersionTwo(m_Folder);
    m_Folder.Write("Update.ini", "[UPDATEINFO]\r\nFileVersion=2\r\n");
    DWORD start = GetTickCount();
    EXPECT_EQ(RunUpdater(), 0u);
    // The dialog alone would take longer than this to come and go.
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(FindWindowA(nullptr, "Fernhold Update"), nullptr);
    EXPECT_EQ(m_Folder.Read("a.dll"), "old a");
    EXPECT_TRUE(m_Folder.Exists("UpdateFiles\\a.dll"));
    Sleep(500);
    EXPECT_FALSE(m_Folder.Exists("restarted.txt"));
}

TEST_F(UpdaterProcessTest, UpdateRunExitsOneAndStartsTheMainProgramAgain)
{
    StageVersionTwo(m_Folder);
    EXPECT_EQ(RunUpdater(), 1u);
    EXPECT_EQ(m_Folder.Read("a.dll"), "new a");
    EXPECT_EQ(m_Folder.Read("Resource\\b.bmp"), "new b");
    EXPECT_FALSE(m_Folder.Exists("UpdateFiles\\a.dll"));
    ASSERT_TRUE(WaitForRestart());
    std::string folder = m_Folder.Path();
    folder.pop_back();
    EXPECT_EQ(m_Folder.Read("restarted.txt"), "1 " + folder + "\n")
        << "empty command line, the program folder as current directory";
}

TEST_F(UpdaterProcessTest, NoFilesStillInstallsTheDescriptionAndRestarts)
{
    m_Folder.Write("Update.ini", "[UPDATEINFO]\r\nFileVersion=1\r\n");
    m_Folder.MakeFolder("UpdateFiles");
    m_Folder.Write("UpdateFiles\\Update.ini",
                   "[UPDATEINFO]\r\nFileVersion=3\r\nAllFileCount=0\r\n");
    EXPECT_EQ(RunUpdater(), 1u);
    EXPECT_EQ(m_Folder.Read("Update.ini"), m_Folder.Read("UpdateFiles\\Update.ini"));
    EXPECT_TRUE(WaitForRestart());
}

} // namespace
