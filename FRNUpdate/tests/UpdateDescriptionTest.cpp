// The description's path rules and its bounded counts.
#include "FRNUpdate/UpdateDescription.h"

#include "../../Ledgerkit/tests/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

struct PathCase {
    const char* path;
    int insideProgram;
    int insideStaging;
};

TEST(UpdateDescriptionTest, PathsStayInsideTheirFolders)
{
    const PathCase cases[] = {
        {"Fernhold.exe", 1, 0},
        {"Resource\\bg.bmp", 1, 0},
        {"./Resource/bg.bmp", 1, 0},
        {"UpdateFiles\\Fernhold.exe", 1, 1},
        {"./UpdateFiles/Resource/bg.bmp", 1, 1},
        {"updatefiles\\a.dll", 1, 1},
        {"UpdateFiles\\Update.ini", 1, 0},
        {"UpdateFiles\\.\\UPDATE.INI. ", 1, 0},
        {"UpdateFiles", 1, 0},
        {"UpdateFilesX\\a.dll", 1, 0},
        {"", 0, 0},
        {"..\\Fernhold.exe", 0, 0},
        {"UpdateFiles\\..\\..\\evil.exe", 0, 0},
        {"Resource/../../evil", 0, 0},
        {"Resource\\. .\\evil", 0, 0},
        {"...\\evil", 0, 0},
        {"\\Windows\\system32\\evil.dll", 0, 0},
        {"/etc/passwd", 0, 0},
        {"\\\\server\\share\\evil", 0, 0},
        {"C:\\Windows\\evil.dll", 0, 0},
        {"C:evil.dll", 0, 0},
        {"UpdateFiles\\a.dll:stream", 0, 0},
        {"Resource\\\\bg.bmp", 0, 0},
        {"Resource\\", 0, 0},
        {"CON", 0, 0},
        {"Resource\\nul.txt", 0, 0},
        {"UpdateFiles\\COM1", 0, 0},
        {"LPT9.log", 0, 0},
        {"COM0.txt", 1, 0},
        {"CONSOLE.txt", 1, 0},
        {"Resource\\bg\x01.bmp", 0, 0},
        // "ソ" in the system code page ends in 0x5C: read as a separator, it splits a
        // name, which is never less safe.
        {"\x83\x5C.dll", 1, 0},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(IsInsideProgramFolder(c.path), c.insideProgram) << c.path;
        EXPECT_EQ(IsInsideStagingFolder(c.path), c.insideStaging) << c.path;
    }
}

TEST(UpdateDescriptionTest, EntriesBreakingTheRulesAreNotOffered)
{
    TempFolder folder;
    std::string ini = folder.Write("Update.ini", "[UPDATEINFO]\r\nFileVersion=7\r\n"
                                                 "AllFileCount=3\r\nAllFolderCount=2\r\n"
                                                 "[DESFILE]\r\nFILE_0=a.dll\r\nFILE_1=..\\b.dll\r\n"
                                                 "FILE_2=c.dll\r\n"
                                                 "[SRCFILE]\r\nFILE_0=UpdateFiles\\a.dll\r\n"
                                                 "FILE_1=UpdateFiles\\b.dll\r\nFILE_2=c.dll\r\n"
                                                 "[FOLDER]\r\nFOLDER_0=Resource\r\n"
                                                 "FOLDER_1=C:\\Evil\r\n");
    EXPECT_EQ(ReadDescriptionVersion(ini.c_str()), 7u);
    TString target;
    TString staged;
    EXPECT_EQ(ReadFileEntry(ini.c_str(), 0, target, staged), 1);
    EXPECT_STREQ(static_cast<char*>(target), "a.dll");
    EXPECT_STREQ(static_cast<char*>(staged), "UpdateFiles\\a.dll");
    EXPECT_EQ(ReadFileEntry(ini.c_str(), 1, target, staged), 0);
    EXPECT_EQ(ReadFileEntry(ini.c_str(), 2, target, staged), 0) << "staged outside UpdateFiles";
    EXPECT_EQ(ReadTargetEntry(ini.c_str(), 2, target), 1);
    EXPECT_EQ(ReadFileEntry(ini.c_str(), 3, target, staged), 0) << "beyond the count: empty";
    TString made;
    EXPECT_EQ(ReadFolderEntry(ini.c_str(), 0, made), 1);
    EXPECT_EQ(ReadFolderEntry(ini.c_str(), 1, made), 0);
    EXPECT_EQ(IsDescriptionBounded(ini.c_str()), 1);
}

TEST(UpdateDescriptionTest, CountsBeyondTheBoundAreRefused)
{
    TempFolder folder;
    const char* const descriptions[] = {
        "[UPDATEINFO]\r\nAllFileCount=10001\r\n",
        "[UPDATEINFO]\r\nAllFileCount=-1\r\n",
        "[UPDATEINFO]\r\nAllFileCount=1\r\nAllFolderCount=4294967295\r\n",
    };
    for (const char* text : descriptions) {
        std::string ini = folder.Write("Update.ini", text);
        EXPECT_EQ(IsDescriptionBounded(ini.c_str()), 0) << text;
    }
    std::string ini = folder.Write("Update.ini", "[UPDATEINFO]\r\nAllFileCount=10000\r\n");
    EXPECT_EQ(IsDescriptionBounded(ini.c_str()), 1);
    EXPECT_EQ(ReadDescriptionVersion((folder.Path() + "missing.ini").c_str()), 0u);
}

} // namespace

namespace {

// The build's own description beside the test program: every entry passes the rules
// and names a file that the build put there, so an installed copy can serve it whole.
TEST(UpdateDescriptionTest, BuiltDescriptionListsEveryShippedFile)
{
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof(module));
    std::string bin(module);
    bin.resize(bin.find_last_of('\\') + 1);
    std::string ini = bin + "Update.ini";
    EXPECT_EQ(ReadDescriptionVersion(ini.c_str()), 113u);
    uint32_t files = ReadFileCount(ini.c_str());
    EXPECT_GT(files, 5u);
    bool programListed = false;
    for (uint32_t i = 0; i < files; ++i) {
        TString target;
        TString staged;
        ASSERT_EQ(ReadFileEntry(ini.c_str(), i, target, staged), 1) << i;
        std::string name = static_cast<char*>(target);
        EXPECT_NE(GetFileAttributesA((bin + name).c_str()), INVALID_FILE_ATTRIBUTES) << name;
        EXPECT_EQ(std::string(static_cast<char*>(staged)), "UpdateFiles\\" + name);
        programListed |= name == "Fernhold.exe";
    }
    EXPECT_TRUE(programListed);
    EXPECT_EQ(IsDescriptionBounded(ini.c_str()), 1);
}

} // namespace
