// The main window under real mouse input: dragging by the title art's uncovered (blue)
// parts moves it, a drag started on a child does not.
#include "ui/tests/MainWindowHarness.h"

#include "net/tests/NetTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

POINT TopLeft(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{rect.left, rect.top};
}

bool ButtonUp() { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }

TEST(MainWindowInputTest, TheBlueTitleArtDragsTheWindowAChildDoesNot)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    HWND main = harness.Handle();
    SetForegroundWindow(main);
    DrainMessages();
    POINT start = TopLeft(main);

    // Title bar point 100, 12 is pure blue in the hit map: the main window takes the hit.
    std::thread hand(Drag, POINT{start.x + 100, start.y + 12}, POINT{40, 30});
    bool moved = PumpUntil(
        [&] {
            POINT now = TopLeft(main);
            return now.x == start.x + 40 && now.y == start.y + 30;
        },
        10000);
    hand.join();
    PumpUntil(ButtonUp, 2000);
    ASSERT_TRUE(moved) << "at " << TopLeft(main).x << "," << TopLeft(main).y;
    EXPECT_EQ(harness.settings.mainX, start.x + 40);
    EXPECT_EQ(harness.settings.mainY, start.y + 30);

    // A drag that starts on the left panel stays with the panel.
    POINT before = TopLeft(main);
    std::thread again(Drag, POINT{before.x + 100, before.y + 150}, POINT{40, 30});
    again.join();
    PumpUntil(ButtonUp, 2000);
    DrainMessages();
    POINT after = TopLeft(main);
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
}

} // namespace
