// The view panes under real mouse input (SendInput from a hand thread while the test
// thread pumps): a held button keeps the cursor confined when the hand leaves the pane,
// the clip region is dragged by its outline with the hand cursors, and the full-size
// view's thumb moves the image only when it is released.
#include "ui/tests/ViewTestSupport.h"

#include "net/tests/NetTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

constexpr uint32_t CONNECTED_REDUCED = 0x411;
constexpr uint32_t CONNECTED_CLIP_WORKING = 0x421;
constexpr uint32_t CONNECTED_FULL = 0x441;

// The hand waits for the user-interface thread (the test thread) to reach a state.
bool AwaitOnHand(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

HWND CaptureOf(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(thread, &info);
    return info.hwndCapture;
}

bool ButtonUp() { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }

POINT Inside(const RECT& rect, int x, int y) { return POINT{rect.left + x, rect.top + y}; }

bool Contains(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

uint16_t Halves(long x, long) { return x < 320 ? PIXEL_RED : PIXEL_BLUE; }
// Red in the first 100 columns: any scroll to the right shows blue at the pane's edge.
uint16_t RedStart(long x, long) { return x < 100 ? PIXEL_RED : PIXEL_BLUE; }

// A hand on a thread of its own while this, the user-interface thread, pumps: press
// moves, presses and returns where the hand stands; look then runs here with the button
// held and the last moves delivered; then the hand releases. False when the hand never
// got that far.
bool PressLookRelease(const std::function<POINT()>& press, const std::function<void()>& look)
{
    std::atomic<bool> held{false}, looked{false};
    std::thread hand([&] {
        POINT at = press();
        held = true;
        AwaitOnHand([&] { return looked.load(); }, 10000);
        MouseAt(at, MOUSEEVENTF_LEFTUP);
    });
    bool reached = PumpUntil([&] { return held.load(); }, 10000);
    PumpUntil([] { return false; }, 100); // the last moves reach the windows
    if (reached) look();
    looked = true;
    PumpUntil(ButtonUp, 5000);
    hand.join();
    DrainMessages();
    return reached;
}

// The main window connected with a 640 x 480 remote screen and the given working view,
// in front; false when the window could not be made.
bool ConnectedOnTop(MainWindowHarness& harness, uint32_t displayFlags)
{
    if (!harness.Create()) return false;
    PaintRemote(harness.client.GetImage(), 640, 480, Halves);
    EnterStage(harness, UI_STATE_CONNECTED, displayFlags);
    SetForegroundWindow(harness.Handle());
    DrainMessages();
    return true;
}

TEST(ViewInputTest, AHeldButtonKeepsTheCursorConfinedToThePaneUntilItsRelease)
{
    MainWindowHarness harness;
    // No event link: nothing is sent, and the pane still captures and confines.
    ASSERT_TRUE(ConnectedOnTop(harness, CONNECTED_REDUCED));
    HWND pane = LeftPane(harness);
    const RECT paneRect = ScreenRectOf(pane);
    const DWORD uiThread = GetCurrentThreadId();

    bool pressed = false;
    RECT clip{};
    POINT cursor{};
    HWND capture = nullptr;
    ASSERT_TRUE(PressLookRelease(
        [&] {
            POINT start = Inside(paneRect, 160, 120);
            POINT outside{paneRect.right + 200, paneRect.bottom + 150};
            MouseAt(start, 0);
            Sleep(50);
            MouseAt(start, MOUSEEVENTF_LEFTDOWN);
            pressed = AwaitOnHand([&] { return CaptureOf(uiThread) == pane; }, 5000);
            MoveInSteps(start, outside);
            return outside;
        },
        [&] {
            GetClipCursor(&clip);
            GetCursorPos(&cursor);
            capture = GetCapture();
        }));
    EXPECT_TRUE(pressed) << "the press never captured";
    EXPECT_EQ(capture, pane);
    EXPECT_TRUE(EqualRect(&clip, &paneRect))
        << clip.left << "," << clip.top << "," << clip.right << "," << clip.bottom;
    EXPECT_TRUE(Contains(paneRect, cursor)) << cursor.x << "," << cursor.y;
    // Released: the cursor is free again.
    RECT freed{};
    GetClipCursor(&freed);
    EXPECT_FALSE(EqualRect(&freed, &paneRect));
    EXPECT_EQ(freed.right - freed.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_NE(GetCapture(), pane);
}

TEST(ViewInputTest, TheClipRegionIsDraggedByItsOutlineWithTheHandCursors)
{
    MainWindowHarness harness;
    // Clip origin 0, 0: outlined at 0, 0 to 120, 90 in the reduced pane.
    ASSERT_TRUE(ConnectedOnTop(harness, CONNECTED_CLIP_WORKING));
    TClientImage& image = harness.client.GetImage();
    HWND pane = LeftPane(harness);
    const RECT paneRect = ScreenRectOf(pane);
    const DWORD uiThread = GetCurrentThreadId();

    HCURSOR hover = nullptr, duringDrag = nullptr;
    RECT clip{};
    auto shape = [] {
        CURSORINFO info{};
        info.cbSize = sizeof(info);
        GetCursorInfo(&info);
        return info.hCursor;
    };
    ASSERT_TRUE(PressLookRelease(
        [&] {
            POINT grip = Inside(paneRect, 60, 45), to = Inside(paneRect, 200, 150);
            MoveInSteps(Inside(paneRect, 200, 200), grip);
            Sleep(100);
            hover = shape();
            MouseAt(grip, MOUSEEVENTF_LEFTDOWN);
            AwaitOnHand([&] { return CaptureOf(uiThread) == pane; }, 5000);
            MoveInSteps(grip, to);
            Sleep(100);
            duringDrag = shape();
            return to;
        },
        [&] { GetClipCursor(&clip); }));
    EXPECT_EQ(hover, harness.skin.GetHoverCursor());
    EXPECT_EQ(duringDrag, harness.skin.GetDragCursor());
    EXPECT_TRUE(EqualRect(&clip, &paneRect));
    // Centred on 200, 150 of the pane: 200 * 640 / 320 - 120, 150 * 480 / 240 - 90.
    EXPECT_EQ(image.GetView().clip.x, 280);
    EXPECT_EQ(image.GetView().clip.y, 210);
    RECT freed{};
    GetClipCursor(&freed);
    EXPECT_FALSE(EqualRect(&freed, &paneRect));
    EXPECT_NE(GetCapture(), pane);
}

TEST(ViewInputTest, TheThumbMovesTheImageOnlyWhenItIsReleased)
{
    MainWindowHarness harness;
    ASSERT_TRUE(harness.Create());
    PaintRemote(harness.client.GetImage(), 1920, 1080, RedStart);
    EnterStage(harness, UI_STATE_CONNECTED, CONNECTED_FULL);
    HWND full = FullViewWindow();
    ASSERT_TRUE(IsWindowVisible(full));
    SetForegroundWindow(full);
    HWND bar = GetDlgItem(full, 258);
    ClientPixelsOnceShown(FullPane(),
                          [](const TScreenShot& p) { return p.At(0, 50) == SCREEN_RED; });

    SCROLLBARINFO thumb{};
    thumb.cbSize = sizeof(thumb);
    ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &thumb));
    const RECT barRect = thumb.rcScrollBar;
    POINT grip{barRect.left + (thumb.xyThumbTop + thumb.xyThumbBottom) / 2,
               (barRect.top + barRect.bottom) / 2};
    std::atomic<bool> tracked{false}, checked{false};
    std::atomic<COLORREF> duringDrag{0};
    std::thread hand([&] {
        MouseAt(grip, 0);
        Sleep(50);
        MouseAt(grip, MOUSEEVENTF_LEFTDOWN);
        MoveInSteps(grip, POINT{grip.x + 150, grip.y});
        // The bar follows the thumb (tracking reached the window)...
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        tracked = AwaitOnHand(
            [&] {
                GetScrollInfo(bar, SB_CTL, &info);
                return info.nTrackPos > 100;
            },
            5000);
        // ...while the image stays where it was: a followed thumb would have repainted
        // the pane within this time.
        Sleep(300);
        duringDrag = ClientPixels(FullPane()).At(0, 50);
        checked = true;
        MouseAt(POINT{grip.x + 150, grip.y}, MOUSEEVENTF_LEFTUP);
    });
    PumpUntil([&] { return checked.load() && ButtonUp(); }, 15000);
    hand.join();
    TScreenShot after = ClientPixelsOnceShown(
        FullPane(), [](const TScreenShot& p) { return p.At(0, 50) == SCREEN_BLUE; });

    EXPECT_TRUE(tracked.load());
    EXPECT_EQ(duringDrag.load(), SCREEN_RED);
    EXPECT_EQ(after.At(0, 50), SCREEN_BLUE);
    TFullViewWindow* view = FullViewOf(full);
    EXPECT_GT(view->GetScrollOffset().x, 100);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), view->GetScrollOffset().x);
}

} // namespace
