// The title bar on the screen under the person's mouse: the buttons' looks and actions,
// the system menu, dragging through the blue art, and the caption gradient following
// activation and the system colours.
#include "ui/TTitlebarWindow.h"

#include "net/MainWindowMessages.h"
#include "net/tests/NetTestSupport.h"
#include "ui/tests/WindowHarness.h"

#include <gtest/gtest.h>

namespace {

enum { NORMAL, HOVER, PRESSED };

TEST_F(WindowTest, TitlebarButtonsActOnlyWhenReleasedOnTheButtonPressed)
{
    HWND bar = harness->Titlebar();
    HWND main = harness->Main();
    auto look = [&](POINT client) { return TScreenShot(ClientOnScreen(bar)).At(client); };
    auto at = [&](POINT client) { return TWindowHarness::OnScreen(bar, client); };
    const POINT minimise = fixture::MINIMISE_BUTTON;
    EXPECT_TRUE(RunAsPerson(
        [&] {
            ASSERT_TRUE(person.MoveTo(at(minimise)));
            EXPECT_TRUE(
                WaitFor([&] { return look(minimise) == fixture::MINIMISE_LOOKS[HOVER]; }, 5000));
            EXPECT_TRUE(WaitFor(
                [&] {
                    return harness->LastStatusText() ==
                           "ウィンドウを最小化します。( タスクトレイに入れます )";
                },
                5000));
            ASSERT_TRUE(person.Press(at(minimise)));
            EXPECT_TRUE(
                WaitFor([&] { return look(minimise) == fixture::MINIMISE_LOOKS[PRESSED]; }, 5000));
            // Wandering off with the button held: another button shows hover only, and the
            // release runs nothing and ends the hold.
            ASSERT_TRUE(person.MoveTo(at(fixture::CLOSE_BUTTON)));
            EXPECT_TRUE(WaitFor(
                [&] {
                    return look(minimise) == fixture::MINIMISE_LOOKS[NORMAL] &&
                           look(fixture::CLOSE_BUTTON) == fixture::CLOSE_LOOKS[HOVER];
                },
                5000));
            ASSERT_TRUE(person.Release());
            // Once the mouse has left the buttons the title bar lets it go.
            ASSERT_TRUE(person.MoveTo(at(fixture::DRAG_AREA)));
            EXPECT_TRUE(WaitFor(
                [&] {
                    return CaptureOfThread(bar) == nullptr &&
                           look(fixture::CLOSE_BUTTON) == fixture::CLOSE_LOOKS[NORMAL];
                },
                5000));
            EXPECT_EQ(harness->LastStatusText(), "");
            EXPECT_FALSE(IsIconic(main));
            EXPECT_FALSE(harness->HasReceived(UM_QUIT_REQUEST, 0));

            ASSERT_TRUE(person.Click(at(fixture::CLOSE_BUTTON)));
            EXPECT_TRUE(WaitFor([&] { return harness->HasReceived(UM_QUIT_REQUEST, 0); }, 5000));
            ASSERT_TRUE(person.Click(at(minimise)));
            EXPECT_TRUE(WaitFor([&] { return IsIconic(main) != 0; }, 5000));
        },
        60000));
    ShowWindow(main, SW_RESTORE);
}

TEST_F(WindowTest, SystemMenuSpotOpensTheMenuWithOnlyMinimiseAndCloseUsable)
{
    HWND bar = harness->Titlebar();
    EXPECT_TRUE(RunAsPerson(
        [&] {
            ASSERT_TRUE(person.Click(TWindowHarness::OnScreen(bar, fixture::SYSTEM_MENU_SPOT)));
            HWND popup = nullptr;
            ASSERT_TRUE(WaitFor([&] { return (popup = VisiblePopupMenu()) != nullptr; }, 5000));
            HMENU menu = MenuOfPopup(popup);
            ASSERT_NE(menu, nullptr);
            RECT where;
            GetWindowRect(popup, &where);
            POINT expected = TWindowHarness::OnScreen(bar, POINT{15, 21});
            EXPECT_EQ(where.left, expected.x);
            EXPECT_EQ(where.top, expected.y);

            int closeAt = -1;
            int usable = 0;
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                UINT id = GetMenuItemID(menu, i);
                UINT state = GetMenuState(menu, i, MF_BYPOSITION);
                if (state & MF_SEPARATOR) continue;
                bool enabled = !(state & (MF_GRAYED | MF_DISABLED));
                EXPECT_EQ(enabled, id == SC_MINIMIZE || id == SC_CLOSE) << "command " << id;
                usable += enabled;
                if (id == SC_CLOSE) closeAt = i;
            }
            EXPECT_EQ(usable, 2);
            EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(SC_CLOSE));
            ASSERT_GE(closeAt, 0);

            RECT item;
            ASSERT_TRUE(GetMenuItemRect(nullptr, menu, closeAt, &item));
            ASSERT_TRUE(person.Click(CentreOf(item)));
            EXPECT_TRUE(
                WaitFor([&] { return harness->HasReceived(WM_SYSCOMMAND, SC_CLOSE); }, 5000));
            EXPECT_TRUE(WaitFor([] { return VisiblePopupMenu() == nullptr; }, 5000));
        },
        60000));
}

TEST_F(WindowTest, BlueTitleArtDragsTheMainWindowAndNothingElseDoes)
{
    HWND bar = harness->Titlebar();
    HWND main = harness->Main();
    auto origin = [&] {
        RECT r;
        GetWindowRect(main, &r);
        return POINT{r.left, r.top};
    };
    const POINT before = origin();
    auto drag = [&](POINT from) {
        POINT start = TWindowHarness::OnScreen(bar, from);
        ASSERT_TRUE(person.Press(start));
        ASSERT_TRUE(person.MoveTo(POINT{start.x + 20, start.y + 15}));
        ASSERT_TRUE(person.MoveTo(POINT{start.x + 40, start.y + 30}));
        ASSERT_TRUE(person.Release());
    };
    EXPECT_TRUE(RunAsPerson(
        [&] {
            drag(fixture::DRAG_AREA);
            EXPECT_TRUE(WaitFor(
                [&] {
                    POINT now = origin();
                    return now.x == before.x + 40 && now.y == before.y + 30;
                },
                5000));
            // Over art of no meaning the title bar keeps the click: no drag.
            harness->ClearReceived();
            drag(fixture::NOTHING_AREA);
            EXPECT_TRUE(WaitFor([&] { return CaptureOfThread(bar) == nullptr; }, 5000));
        },
        60000));
    POINT after = origin();
    EXPECT_EQ(after.x, before.x + 40);
    EXPECT_EQ(after.y, before.y + 30);
    EXPECT_FALSE(harness->HasReceived(WM_SYSCOMMAND, SC_MOVE | HTCAPTION));
}

TEST_F(WindowTest, CaptionGradientFollowsActivationAndTheSystemColours)
{
    HWND bar = harness->Titlebar();
    const int indices[4] = {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_INACTIVECAPTION,
                            COLOR_GRADIENTINACTIVECAPTION};
    COLORREF saved[4];
    for (int i = 0; i < 4; ++i)
        saved[i] = GetSysColor(indices[i]);
    // Grey rising by one a column while active, green falling by one while inactive.
    const COLORREF colours[4] = {RGB(0, 0, 0), RGB(191, 191, 191), RGB(0, 191, 0), RGB(0, 0, 0)};
    auto active = [](int column) { return RGB(column, column, column); };
    auto inactive = [](int column) { return RGB(0, 191 - column, 0); };
    auto shows = [&](COLORREF (*expected)(int)) {
        TScreenShot band(ClientOnScreen(bar));
        for (int column : {0, 1, 95, 190})
            for (int row = 13; row < 21; ++row)
                if (band.At(142 + column, row) != expected(column)) return false;
        return band.At(141, 16) == fixture::TITLE_ART && band.At(333, 16) == fixture::TITLE_ART;
    };
    ASSERT_TRUE(SetSysColors(4, indices, colours));
    EXPECT_TRUE(PumpUntil([&] { return shows(active); }, 5000));

    {
        TOtherWindow other(RECT{900, 100, 1100, 300});
        ASSERT_NE(other.Handle(), nullptr);
        EXPECT_TRUE(RunAsPerson(
            [&] {
                ASSERT_TRUE(person.Click(POINT{1000, 200}));
                EXPECT_TRUE(WaitFor([&] { return shows(inactive); }, 5000));
                ASSERT_TRUE(
                    person.Click(TWindowHarness::OnScreen(harness->State(), POINT{320, 12})));
                EXPECT_TRUE(WaitFor([&] { return shows(active); }, 5000));
            },
            60000));
    }
    SetSysColors(4, indices, saved);
}

} // namespace
