// The control window under real mouse input, and the button logic beneath it: a press
// that wanders to another button runs nothing, colours outside the table are no button,
// the event switches obey their rights.
#include "ui/tests/MainWindowHarness.h"

#include "net/tests/NetTestSupport.h"
#include "ui/ControlActions.h"
#include "ui/ControlButtons.h"
#include "ui/RightsCheck.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(ControlButtonsTest, OnlyTheTablesColoursAreButtons)
{
    struct Case {
        int group;
        COLORREF colour;
        int button;
    } cases[] = {
        {GROUP_VIEW, RGB(100, 0, 0), 1},    {GROUP_VIEW, RGB(0, 0, 100), 3},
        {GROUP_SESSION, RGB(0, 0, 255), 3}, {GROUP_SESSION, RGB(0, 255, 0), 2},
        {GROUP_EVENTS, RGB(0, 200, 0), 2},  {GROUP_FIT, RGB(50, 0, 0), 1},
        {GROUP_VIEW, RGB(0, 0, 255), 0},    // another group's colour
        {GROUP_SESSION, RGB(254, 0, 0), 0}, // one step off
        {GROUP_EVENTS, RGB(0, 0, 0), 0},    {GROUP_VIEW, RGB(255, 255, 255), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ControlButtonAt(c.group, c.colour), c.button) << std::hex << c.colour;
    EXPECT_EQ(ControlButtonIndex(RGB(50, 0, 0), 3), -1); // the fit switch is the strip's
}

TEST(ControlButtonsTest, APressRunsOnlyWhenReleasedOnItsOwnButton)
{
    TButtonBoard board(3);
    int run = 0;
    board.Handle(GROUP_SESSION, WM_MOUSEMOVE, 3, &run);
    EXPECT_EQ(board.GetActiveGroup(), GROUP_SESSION);
    board.Handle(GROUP_SESSION, WM_LBUTTONDOWN, 3, &run);
    EXPECT_EQ(board.GetLook(GROUP_SESSION, 3), ButtonLook::Pressed);
    // Another group cannot take the mouse meanwhile.
    EXPECT_EQ(board.Handle(GROUP_VIEW, WM_MOUSEMOVE, 1, &run), 0);
    board.Handle(GROUP_SESSION, WM_MOUSEMOVE, 2, &run); // onto pause
    EXPECT_EQ(board.GetLook(GROUP_SESSION, 3), ButtonLook::Normal);
    EXPECT_EQ(board.GetLook(GROUP_SESSION, 2), ButtonLook::Hover);
    EXPECT_EQ(board.Handle(GROUP_SESSION, WM_LBUTTONUP, 2, &run), 1);
    EXPECT_EQ(run, 0);
    EXPECT_EQ(board.GetActiveGroup(), 0);

    board.Handle(GROUP_SESSION, WM_LBUTTONDOWN, 2, &run);
    board.Handle(GROUP_SESSION, WM_LBUTTONUP, 2, &run);
    EXPECT_EQ(run, 2);
}

TEST(ControlActionsTest, EventSwitchesGoOnOnlyWithTheirRight)
{
    struct Case {
        uint32_t flags;
        uint32_t rights;
        uint32_t switchBit;
        uint32_t after;
    } cases[] = {
        {0x110, RIGHTS_NOT_IN_USE, DISPLAY_SEND_MOUSE, 0x111},
        {0x111, RIGHTS_NOT_IN_USE, DISPLAY_SEND_MOUSE, 0x110},
        {0x110, 0x3FB, DISPLAY_SEND_MOUSE, 0x110}, // no right 0x4: stays off
        {0x111, 0x3FB, DISPLAY_SEND_MOUSE, 0x110}, // and can only be turned off
        {0x110, RIGHT_KEYBOARD, DISPLAY_SEND_KEYBOARD, 0x112},
        {0x112, 0x3F7, DISPLAY_SEND_KEYBOARD, 0x110},
        {0x110, 0x3F7, DISPLAY_SEND_KEYBOARD, 0x110},
    };
    for (const Case& c : cases) {
        TFernSettings settings;
        settings.displayFlags = c.flags;
        ClickEventSwitch(settings, c.rights, c.switchBit);
        EXPECT_EQ(settings.displayFlags.load(), c.after) << std::hex << c.flags << " " << c.rights;
    }
    TFernSettings settings;
    settings.displayFlags = 0x4C3;
    SelectWorkingView(settings, VIEW_CLIP);
    EXPECT_EQ(settings.displayFlags.load(), 0x4A3u);
}

uint32_t State(const MainWindowHarness& harness)
{
    return (harness.settings.displayFlags.load() >> 8) & 0xFF;
}

TEST(ControlWindowTest, ConnectPressedThenReleasedOnPauseRunsNothingAPauseClickPauses)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    SetForegroundWindow(harness.Handle());
    DrainMessages();
    HWND control = harness.Child(500);
    harness.settings.displayFlags = 0x413; // connected
    // Connect's visible part from x 134, pause from 112 to 133 (row 3 to 13).
    POINT onConnect = OnScreen(control, 160, 8), onPause = OnScreen(control, 122, 8);

    std::thread hand(PressMoveRelease, onConnect, onPause);
    hand.join();
    ASSERT_TRUE(PumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }, 2000));
    DrainMessages();
    EXPECT_EQ(State(harness), 0x04u);

    std::thread click(PressMoveRelease, onPause, onPause);
    click.join();
    EXPECT_TRUE(PumpUntil([&] { return State(harness) == 0x08; }, 3000));
}

TEST(ControlWindowTest, WithoutTheMouseRightTheSwitchOnlyTurnsOff)
{
    MainWindowHarness harness;
    harness.shell.rights = 0x3FB;
    ASSERT_TRUE(harness.Create());
    SetForegroundWindow(harness.Handle());
    DrainMessages();
    POINT onSwitch = OnScreen(harness.Child(500), 40, 28);
    ASSERT_EQ(harness.settings.displayFlags.load() & DISPLAY_SEND_MOUSE, 1u);
    for (uint32_t expected : {0u, 0u}) {
        std::thread click(PressMoveRelease, onSwitch, onSwitch);
        click.join();
        PumpUntil([&] { return (harness.settings.displayFlags.load() & 1) == expected; }, 2000);
        DrainMessages();
        EXPECT_EQ(harness.settings.displayFlags.load() & DISPLAY_SEND_MOUSE, expected);
    }
}

} // namespace
