// Fernhold.exe as a whole: one copy at a time, listening, and shutdown on request.
#include "app/tests/ProgramRunner.h"
#include "net/tests/NetTestSupport.h"

#include "net/MainWindowMessages.h"

#include <gtest/gtest.h>

namespace {

constexpr uint16_t PROGRAM_PORT = 5483;

TEST(ProgramTest, OneCopyRunsListensAndEndsOnTheQuitRequest)
{
    if (!InTestNamespace()) GTEST_SKIP() << "listens on the host's addresses: namespace only";
    Program first;
    ASSERT_TRUE(first.Start());
    HWND hub = WaitForWindow(first.GetId(), "FernholdWnd", "Fernhold ver1.13", 30000);
    ASSERT_NE(hub, nullptr);
    EXPECT_TRUE(WaitUntilShown(hub, 15000)); // no saved position: shown, centred
    EXPECT_TRUE(ServesWithin("127.0.0.1", PROGRAM_PORT, 15000));
    EXPECT_TRUE(ServesWithin("127.0.0.2", PROGRAM_PORT, 5000));

    // A second copy shows the error box, ends with 1 and leaves the first alone.
    Program second;
    ASSERT_TRUE(second.Start());
    HWND error = WaitForWindow(second.GetId(), "#32770", "Fernhold - [ Error ]", 30000);
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(PressButton(error, IDOK));
    EXPECT_EQ(second.WaitForExit(15000), 1u);
    EXPECT_TRUE(IsWindow(hub));
    EXPECT_TRUE(ServesWithin("127.0.0.1", PROGRAM_PORT, 5000));

    // Quitting is confirmed: No keeps the program, Yes ends it.
    PostMessageA(hub, UM_QUIT_REQUEST, 0, 0);
    HWND confirm = WaitForWindow(first.GetId(), "#32770", "Fernhold", 15000);
    ASSERT_NE(confirm, nullptr);
    EXPECT_TRUE(PressButton(confirm, IDNO));
    EXPECT_EQ(first.WaitForExit(1000), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(ServesWithin("127.0.0.1", PROGRAM_PORT, 5000));

    PostMessageA(hub, UM_QUIT_REQUEST, 0, 0);
    confirm = WaitForWindow(first.GetId(), "#32770", "Fernhold", 15000);
    ASSERT_NE(confirm, nullptr);
    EXPECT_TRUE(PressButton(confirm, IDYES));
    EXPECT_EQ(first.WaitForExit(30000), 0u);
    LoopbackClient after("127.0.0.1", PROGRAM_PORT);
    EXPECT_FALSE(after.IsConnected());
}

} // namespace
