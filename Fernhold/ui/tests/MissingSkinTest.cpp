// Without the skin's bitmap files the three windows paint their plain faces and keep
// working where they do not need the art; no point of the title bar means anything.
#include "net/MainWindowMessages.h"
#include "net/tests/NetTestSupport.h"
#include "ui/MenuItems.h"
#include "ui/tests/WindowHarness.h"

#include <gtest/gtest.h>

namespace {

class MissingSkinTest : public WindowTest {
protected:
    bool WithSkin() const override { return false; }
};

TEST_F(MissingSkinTest, WindowsPaintTheirFacesAndTheTitleBarOpensNothing)
{
    HWND bar = harness->Titlebar();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_TRUE(TScreenShot(ClientOnScreen(bar)).IsAll(face));
    EXPECT_TRUE(TScreenShot(ClientOnScreen(harness->Menu())).IsAll(face));
    EXPECT_TRUE(RunAsPerson(
        [&] {
            // Where the art would have the system-menu spot and the buttons. A title's
            // hover text after each click shows that the click was taken and that no
            // menu holds the mouse.
            for (POINT spot :
                 {fixture::SYSTEM_MENU_SPOT, fixture::MINIMISE_BUTTON, fixture::CLOSE_BUTTON}) {
                SCOPED_TRACE(::testing::Message() << spot.x << ", " << spot.y);
                ASSERT_TRUE(person.Click(TWindowHarness::OnScreen(bar, spot)));
                ASSERT_TRUE(person.MoveTo(harness->MenuTitleOnScreen(MENU_FILE)));
                EXPECT_TRUE(WaitFor(
                    [&] { return harness->LastStatusText() == GetMenuTitleText(MENU_FILE); },
                    5000));
                EXPECT_EQ(VisiblePopupMenu(), nullptr);
                ASSERT_TRUE(person.MoveTo(TWindowHarness::OnScreen(bar, fixture::DRAG_AREA)));
                EXPECT_TRUE(WaitFor([&] { return harness->LastStatusText().empty(); }, 5000));
            }
            EXPECT_FALSE(IsIconic(harness->Main()));
            EXPECT_FALSE(harness->HasReceived(UM_QUIT_REQUEST, 0));
            // The titles lie where they always do: the pop-up opens and closes.
            ASSERT_TRUE(person.Click(harness->MenuTitleOnScreen(MENU_HELP)));
            EXPECT_TRUE(WaitFor([] { return VisiblePopupMenu() != nullptr; }, 5000));
            ASSERT_TRUE(person.Click(harness->MenuTitleOnScreen(MENU_HELP)));
            EXPECT_TRUE(WaitFor([] { return VisiblePopupMenu() == nullptr; }, 5000));
        },
        60000));

    static const char text[] = "テキスト";
    PostMessageA(harness->Main(), UM_STATUS_TEXT, reinterpret_cast<WPARAM>(text), 0);
    EXPECT_TRUE(PumpUntil(
        [&] { return !TScreenShot(ClientOnScreen(harness->State())).IsAll(face); }, 5000));
}

} // namespace
