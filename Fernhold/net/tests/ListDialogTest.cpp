// The list-file dialogs run on the client thread: what the main window and the links
// post to that thread while a dialog is open is done, in order, once it has closed.
#include "MainWindowStub.h"
#include "NetTestSupport.h"

#include "net/NetMessages.h"
#include "net/TClientCore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The visible dialog box of the thread, or null.
HWND DialogOfThread(DWORD threadId)
{
    HWND found = nullptr;
    EnumThreadWindows(
        threadId,
        [](HWND window, LPARAM result) -> BOOL {
            char name[16] = "";
            GetClassNameA(window, name, sizeof(name));
            if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(ListDialogTest, ThreadMessagesPostedWhileTheDialogIsOpenAreDoneAfterIt)
{
    MSG queue;
    PeekMessageA(&queue, nullptr, 0, 0, PM_NOREMOVE);
    TFernSettings settings;
    MainWindowStub main;
    TClientCore client(settings);
    client.SetMainWindow(main.GetHandle());
    ASSERT_TRUE(client.Start());
    const DWORD thread = client.GetThreadId();

    ASSERT_TRUE(PostThreadMessageA(thread, TM_SAVE_LIST, 0, 0));
    HWND dialog = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (dialog = DialogOfThread(thread)) != nullptr; }, 30000))
        << "the save dialog did not open";

    // A link reports its loss, then the main window asks to disconnect; a search tick
    // piles up in between.
    ASSERT_TRUE(PostThreadMessageA(thread, TM_LINK_LOST, 0, 0));
    ASSERT_TRUE(PostThreadMessageA(thread, TM_SEARCH_TICK, 0, 0));
    ASSERT_TRUE(PostThreadMessageA(thread, TM_DISCONNECT, 0, 0));
    EXPECT_FALSE(main.WaitForConnectEvent(4, 1000)) << "the dialog should still hold the thread";
    EXPECT_TRUE(IsWindow(dialog));

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(main.WaitForConnectEvent(0, 15000));
    EXPECT_EQ(main.Script(), (std::vector<std::string>{"event 4", "切断中です...|1", "|-1",
                                                       "event 0"}));
    client.Stop();
}

} // namespace
