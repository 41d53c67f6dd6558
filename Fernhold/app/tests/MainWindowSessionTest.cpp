// The main window driving a real session: this program connects to its own server,
// frames flow on the frame timer, a pause stops them, and a disconnect ends it all.
#include "app/AppGlobals.h"
#include "app/OptionsFile.h"
#include "ui/TMainWindow.h"
#include "app/TMainApp.h"
#include "app/tests/SettingsTestSupport.h"
#include "net/ConnectionListFile.h"
#include "net/TClientCore.h"
#include "net/TEventLink.h"
#include "net/TImageLink.h"
#include "net/tests/NetTestSupport.h"
#include "ui/tests/MainWindowHarness.h"
#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

namespace {

uint32_t LastFrame(TClientCore& client)
{
    TImageLink* link = client.GetImageLink();
    return link ? link->GetLastFrameNumber() : 0;
}

TEST(MainWindowSessionTest, ConnectFramesPauseResumeAndDisconnectThroughTheMainWindow)
{
    if (!InTestNamespace()) GTEST_SKIP() << "listens on the host's addresses: namespace only";
    ProgramObjects objects;
    {
        TMainApp app; // the program's folder is now the current directory
        // One destination: this computer. No background search, no keys sent (a key
        // replayed on this same display would come back through the hook).
        TFernSettings options;
        options.port = htons(DEFAULT_PORT);
        options.searchFlags = 0;
        options.displayFlags = 0x111;
        options.viewTimerInterval = 100;
        ASSERT_EQ(WriteOptionsFile(".\\FernOption.dat", options), 1);
        TDestination self;
        self.computerName = TString("fernhost");
        self.storedAddress.sin_addr.s_addr = inet_addr("127.0.0.1");
        TDestination* records[] = {&self};
        TMemoryBase image;
        WriteListImage(records, 1, image);
        WriteWholeFile("default.clf", std::vector<unsigned char>(
                                          static_cast<unsigned char*>(image),
                                          static_cast<unsigned char*>(image) + image.GetSize()));

        ASSERT_EQ(app.Start(), 1);
        TMainWindow* hub = app.GetMainWindow();
        TClientCore& client = *app.GetClient();
        auto state = [&] { return (app.GetSettings().displayFlags.load() >> 8) & 0xFF; };
        ASSERT_TRUE(
            PumpUntil([&] { return state() == 0x01 && client.GetDestinationCount() == 1; }, 5000));

        PostMessageA(hub->GetHandle(), UM_CONNECT_EVENT, 1, 0);
        ASSERT_TRUE(PumpUntil([&] { return state() == 0x04; }, 20000));
        EXPECT_EQ(hub->GetUiState(), UI_STATE_CONNECTED);
        EXPECT_EQ(hub->GetController().GetKeyboardHook().IsInstalled(), 1);
        EXPECT_NE(client.GetEventLink(), nullptr);
        // The frame timer asks, the server captures, and newer frames arrive.
        ASSERT_TRUE(PumpUntil([&] { return LastFrame(client) >= 2; }, 15000));
        EXPECT_EQ(client.GetImage().GetImageBytes(),
                  static_cast<unsigned long>(((16 * app.GetScreenWidth() + 31) / 32) * 4 *
                                             app.GetScreenHeight()));

        // Paused: the links stay open but fetch nothing.
        PostMessageA(hub->GetHandle(), UM_CONNECT_EVENT, 3, 0);
        ASSERT_TRUE(PumpUntil([&] { return state() == 0x08; }, 5000));
        PumpUntil([] { return false; }, 500); // a request in flight may still land
        uint32_t paused = LastFrame(client);
        PumpUntil([] { return false; }, 1000);
        EXPECT_EQ(LastFrame(client), paused);
        EXPECT_EQ(hub->GetController().GetKeyboardHook().IsInstalled(), 1);

        // A connect while paused resumes the same links.
        TImageLink* links = client.GetImageLink();
        PostMessageA(hub->GetHandle(), UM_CONNECT_EVENT, 1, 0);
        ASSERT_TRUE(PumpUntil([&] { return LastFrame(client) > paused; }, 10000));
        EXPECT_EQ(state(), 0x04u);
        EXPECT_EQ(client.GetImageLink(), links);

        PostMessageA(hub->GetHandle(), UM_CONNECT_EVENT, 4, 0);
        ASSERT_TRUE(PumpUntil([&] { return state() == 0x01; }, 15000));
        EXPECT_EQ(hub->GetUiState(), UI_STATE_IDLE);
        EXPECT_EQ(hub->GetController().GetKeyboardHook().IsInstalled(), 0);
        EXPECT_EQ(client.GetEventLink(), nullptr);
        EXPECT_EQ(client.GetImageLink(), nullptr);

        // The search reset reaches the client thread: without end while the option is
        // on, not at all once it is off (only the reset clears an endless search).
        auto searchesLeft = [&] {
            client.LockList();
            uint32_t left = client.GetDestination(0)->searchesLeft;
            client.UnlockList();
            return left;
        };
        app.GetSettings().searchFlags = 1;
        PostMessageA(hub->GetHandle(), UM_RESET_SEARCH, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return searchesLeft() == 0xFFFFFFFF; }, 5000));
        app.GetSettings().searchFlags = 0;
        PostMessageA(hub->GetHandle(), UM_RESET_SEARCH, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return searchesLeft() == 0; }, 5000));

        app.ShutDown();
        EXPECT_EQ(TMainApp::RunMessageLoop(), 0);
        DeleteFileA(".\\FernOption.dat");
        DeleteFileA("default.clf");
    }
}

} // namespace
