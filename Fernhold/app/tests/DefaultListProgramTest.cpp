// Fernhold.exe and its default connection list: loaded at start, written back at exit.
#include "app/OptionsFile.h"
#include "app/tests/ProgramRunner.h"
#include "app/tests/SettingsTestSupport.h"
#include "net/ConnectionListFile.h"
#include "net/tests/NetTestSupport.h"
#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

namespace {

std::vector<unsigned char> ListBytes(TDestination* const* records, unsigned long count)
{
    TMemoryBase image;
    WriteListImage(records, count, image);
    const unsigned char* bytes = static_cast<unsigned char*>(image);
    return std::vector<unsigned char>(bytes, bytes + image.GetSize());
}

class DefaultListProgramTest : public ::testing::Test {
protected:
    std::string m_List = ProgramFile("default.clf");
    std::string m_Unreadable = ProgramFile("default.clf.bad");
    std::string m_Options = ProgramFile("FernOption.dat");
    std::vector<unsigned char> m_Empty = ListBytes(nullptr, 0);

    void SetUp() override
    {
        if (!InTestNamespace()) GTEST_SKIP() << "listens on the host's addresses: namespace only";
        RemoveFiles();
        // No background search: it would rename and readdress the records while the
        // program runs.
        TFernSettings settings;
        settings.port = htons(DEFAULT_PORT);
        settings.searchFlags = 0;
        ASSERT_EQ(WriteOptionsFile(m_Options.c_str(), settings), 1);
    }
    void TearDown() override { RemoveFiles(); }
    void RemoveFiles()
    {
        DeleteFileA(m_List.c_str());
        DeleteFileA(m_Unreadable.c_str());
        DeleteFileA(m_Options.c_str());
    }
    // Starts the program and waits until Start has run to its end (listeners open).
    HWND Run(Program& program)
    {
        if (!program.Start()) return nullptr;
        HWND hub = WaitForWindow(program.GetId(), "FernholdWnd", "Fernhold ver1.13", 30000);
        if (hub && !ServesWithin("127.0.0.1", DEFAULT_PORT, 15000)) return nullptr;
        return hub;
    }
};

TEST_F(DefaultListProgramTest, TheListLoadedAtStartIsWrittenAtExit)
{
    const unsigned char mac[2][6] = {{0x00, 0x11, 0x22, 0x33, 0x44, 0x55},
                                     {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}};
    TDestination alpha, byName, gamma;
    alpha.displayName = TString("アルファ");
    alpha.computerName = TString("alpha");
    alpha.storedAddress.sin_addr.s_addr = inet_addr("127.0.0.1");
    alpha.AddMac(mac[0]);
    alpha.AddMac(mac[1]);
    byName.computerName = TString("beta"); // 0.0.0.0: found by its name
    gamma.computerName = TString("gamma");
    gamma.storedAddress.sin_addr.s_addr = inet_addr("127.0.0.2");
    gamma.storedAddress.sin_port = htons(5490);
    TDestination* records[] = {&alpha, &byName, &gamma};
    std::vector<unsigned char> list = ListBytes(records, 3);
    WriteWholeFile(m_List, list);

    Program program;
    HWND hub = Run(program);
    ASSERT_NE(hub, nullptr);
    // Only a list the program holds can bring the file back.
    WriteWholeFile(m_List, m_Empty);
    EXPECT_TRUE(QuitConfirmed(program, hub));
    EXPECT_EQ(ReadWholeFile(m_List), list);
}

TEST_F(DefaultListProgramTest, AMissingListIsCreatedEmptyAndWrittenEmpty)
{
    Program program;
    HWND hub = Run(program);
    ASSERT_NE(hub, nullptr);
    EXPECT_TRUE(FileExists(m_List)); // made at start, still without a list in it
    DeleteFileA(m_List.c_str());
    EXPECT_TRUE(QuitConfirmed(program, hub));
    EXPECT_EQ(ReadWholeFile(m_List), m_Empty);
}

TEST_F(DefaultListProgramTest, AListThatCannotBeReadIsKeptBesideTheOneWrittenAtExit)
{
    // A list of a later file version: this program reads nothing of it and writes its
    // own empty list at exit, but the file itself must not be lost.
    std::vector<unsigned char> later = m_Empty;
    later[4] = 2;
    later.insert(later.end(), {'C', 'N', 'D', 'T', 9, 0, 0, 0});
    WriteWholeFile(m_List, later);

    Program program;
    HWND hub = Run(program);
    ASSERT_NE(hub, nullptr);
    EXPECT_TRUE(QuitConfirmed(program, hub));
    EXPECT_EQ(ReadWholeFile(m_List), m_Empty);
    EXPECT_EQ(ReadWholeFile(m_Unreadable), later);
}

TEST_F(DefaultListProgramTest, AListDamagedPartWayIsKeptBesideTheRecordsWrittenAtExit)
{
    TDestination first, second;
    first.computerName = TString("first");
    second.computerName = TString("second");
    TDestination* both[] = {&first, &second};
    std::vector<unsigned char> damaged = ListBytes(both, 2);
    damaged.resize(damaged.size() - 3); // the second record runs past the end

    WriteWholeFile(m_List, damaged);
    Program program;
    HWND hub = Run(program);
    ASSERT_NE(hub, nullptr);
    EXPECT_TRUE(QuitConfirmed(program, hub));
    TDestination* kept[] = {&first};
    EXPECT_EQ(ReadWholeFile(m_List), ListBytes(kept, 1));
    EXPECT_EQ(ReadWholeFile(m_Unreadable), damaged);
}

} // namespace
