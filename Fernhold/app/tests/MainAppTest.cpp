// The application object in this process: defaults, MAC entries, start and shutdown.
#include "net/tests/NetTestSupport.h"
#include "ui/tests/MainWindowHarness.h"

#include "app/AppGlobals.h"
#include "app/FoundationVersion.h"
#include "app/OptionsFile.h"
#include "ui/TMainWindow.h"
#include "app/TMainApp.h"
#include "net/NetMessages.h"
#include "net/TServerCore.h"

#include <Keelwork/TobjectBase.h>

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <cstdio>
#include <string>

namespace {

int CountOwnThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

std::string OwnFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string text(path);
    return text.substr(0, text.rfind('\\'));
}

TEST(MainAppTest, ConstructorSetsTheDefaultsAndTheProgramFolder)
{
    SetCurrentDirectoryA("C:\\");
    TMainApp app;
    EXPECT_EQ(app.IsWinsockReady(), 1);
    EXPECT_EQ(std::string(g_StartupDirectory), OwnFolder());
    char current[1024];
    GetCurrentDirectoryA(sizeof(current), current);
    EXPECT_EQ(std::string(current), OwnFolder());

    TFernSettings& settings = app.GetSettings();
    EXPECT_EQ(ntohs(settings.port.load()), 5483);
    EXPECT_EQ(settings.serverFlags.load(), 0u);
    EXPECT_EQ(settings.searchFlags.load(), 1u);
    EXPECT_EQ(settings.simultaneousSearches.load(), 4u);
    EXPECT_EQ(settings.gridColumns.load(), 4u);
    EXPECT_EQ(settings.gridRows.load(), 10u);
    EXPECT_EQ(settings.displayFlags.load(), 0x113u);
    EXPECT_EQ(settings.viewTimerInterval.load(), 500u);
    EXPECT_TRUE(settings.defaultListFile == "default.clf");
    EXPECT_EQ(settings.mainX, -10000);
    EXPECT_EQ(settings.mainY, -10000);
    EXPECT_EQ(app.GetScreenWidth(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(app.IsUpdatePending(), 0);
    EXPECT_EQ(app.GetMainWindow(), nullptr);

    // One entry per adapter, the text spelling out the bytes.
    for (unsigned long i = 0; i < app.GetMacCount(); ++i) {
        const unsigned char* mac = app.GetMacAddress(i);
        char expected[30];
        snprintf(expected, sizeof(expected), "%02X : %02X : %02X : %02X : %02X : %02X", mac[0],
                 mac[1], mac[2], mac[3], mac[4], mac[5]);
        EXPECT_TRUE(app.GetMacText(i) == static_cast<const char*>(expected)) << i;
    }
}

TEST(MainAppTest, FoundationVersionCheck)
{
    EXPECT_EQ(IsFoundationRecent(TobjectBase::m_hInstDll), 1);   // "1.13"
    EXPECT_EQ(IsFoundationRecent(GetModuleHandleA(nullptr)), 0); // no version resource
    HMODULE old = LoadLibraryA("FernholdOldFoundation.dll");     // "0.90"
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(IsFoundationRecent(old), 0);
    FreeLibrary(old);
}

TEST(MainAppTest, StartRunsTheEnginesAndShutDownEndsEveryThread)
{
    if (!InTestNamespace()) GTEST_SKIP() << "listens on the host's addresses: namespace only";
    ProgramObjects objects;
    // Without a saved position the window is shown, centred; with one it starts hidden in
    // the notification area. Either way shutdown leaves no thread behind.
    for (bool saved : {true, false}) {
        SCOPED_TRACE(saved ? "saved position" : "no saved position");
        TFernSettings options;
        options.port = htons(DEFAULT_PORT);
        options.mainX = saved ? 100 : -10000;
        options.mainY = saved ? 60 : -10000;
        ASSERT_EQ(WriteOptionsFile((OwnFolder() + "\\FernOption.dat").c_str(), options), 1);
        int threadsBefore = CountOwnThreads();
        {
            TMainApp app;
            ASSERT_EQ(app.Start(), 1);
            HWND hub = FindWindowA("FernholdWnd", "Fernhold ver1.13");
            ASSERT_NE(hub, nullptr);
            EXPECT_EQ(hub, app.GetMainWindow()->GetHandle());
            EXPECT_EQ(IsWindowVisible(hub) != 0, !saved);
            EXPECT_GE(CountOwnThreads(), threadsBefore + 2); // client and server threads

            // The first refresh opens a listener on each host address.
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            EXPECT_EQ(app.GetMainWindow()->GetUiState(), 1u);
            DWORD start = GetTickCount();
            TMemoryBase addresses;
            while (app.GetServer()->GetListenerAddresses(addresses) < 2 &&
                   GetTickCount() - start < 10000)
                Sleep(100);
            EXPECT_EQ(app.GetServer()->GetListenerAddresses(addresses), 2u);
            LoopbackClient client("127.0.0.2", 5483);
            EXPECT_EQ(client.Select(SERVICE_MACS), SERVICE_ACCEPTED_WORD);
            client.Drop();

            app.ShutDown();
            EXPECT_EQ(app.GetMainWindow(), nullptr);
            EXPECT_FALSE(IsWindow(hub));
            EXPECT_EQ(TMainApp::RunMessageLoop(), 0); // the main window's end posted WM_QUIT
        }
        EXPECT_LE(CountOwnThreads(), threadsBefore);
    }
    DeleteFileA((OwnFolder() + "\\FernOption.dat").c_str());
}

} // namespace
