// The registry of windows: main window, orderly shutdown, activation and centring.
#include "WindowTestSupport.h"

#include <Panekind/TDesktop.h>

#include <string>

namespace {

using PanekindWinAppTest = WindowTest;

TEST_F(PanekindWinAppTest, FirstWindowBecomesMainEvenWhenMeantAsChild)
{
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                nullptr, nullptr);
    Held child;
    child.window.SetMother(host);
    ASSERT_NE(child.window.CreateWindowExA(TestClass()), nullptr);
    EXPECT_EQ(TWinApp::GetMainWindow(), child.core);
    EXPECT_TRUE(child.core->IsMainWindow());
    EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 0ul);
    // A later window, child or not, only joins the list.
    Held later;
    ASSERT_NE(later.window.CreateWindowExA(TestClass()), nullptr);
    EXPECT_FALSE(later.core->IsMainWindow());
    EXPECT_EQ(TWinApp::GetWindowList().GetItemIndex(*later.core), 0ul);
    TWinApp::End();
    DestroyWindow(host);
}

// Closing the main window through a real message loop: every other window goes
// first, while the main window is still registered, then the loop ends with 0.
TEST_F(PanekindWinAppTest, ClosingMainWindowDestroysAllOthersFirstAndEndsTheLoop)
{
    Held main, popupA, popupB, child;
    ASSERT_NE(main.window.CreateWindowExA(TestClass()), nullptr);
    ASSERT_NE(popupA.window.CreateWindowExA(TestClass()), nullptr);
    popupB.window.SetParent(main.window); // owned, not a child
    ASSERT_NE(popupB.window.CreateWindowExA(TestClass()), nullptr);
    child.window.SetStyle(WS_CHILD | WS_VISIBLE);
    child.window.SetMother(main.window);
    ASSERT_NE(child.window.CreateWindowExA(TestClass()), nullptr);
    ASSERT_EQ(TWinApp::GetWindowList().GetItemCount(), 3ul);

    std::vector<std::string> order;
    auto record = [&order, &main](const char* name) {
        return [&order, &main, name](TestCore*, UINT message, WPARAM, LPARAM) -> LRESULT {
            if (message == WM_NCDESTROY)
                order.push_back(std::string(name) +
                                (TWinApp::GetMainWindow() == main.core ? "+main" : "-main"));
            return 0;
        };
    };
    popupA.core->m_OnMessage = record("A");
    popupB.core->m_OnMessage = record("B");
    child.core->m_OnMessage = record("child");

    PostMessageA(main.window, WM_CLOSE, 0, 0);
    // Bounded: a timer ends the loop with 99 if the library never does.
    UINT_PTR guard =
        SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, guard);
    EXPECT_EQ(msg.wParam, 0u);

    // The system takes owned windows, then children, with the main window; the
    // registry then destroys what is left of its list, all before letting go.
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], "B+main");
    EXPECT_EQ(order[1], "child+main");
    EXPECT_EQ(order[2], "A+main");
    EXPECT_EQ(TWinApp::GetMainWindow(), nullptr);
    EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 0ul);
    for (Held* held : {&main, &popupA, &popupB, &child}) {
        EXPECT_FALSE(held->core->IsCreate());
        EXPECT_EQ(held->core->GetRefCount(), 2ul);
    }
}

TEST_F(PanekindWinAppTest, EndClosesEverythingAndReturnsTheExitCode)
{
    // Nothing registered: End only ends the loop.
    EXPECT_EQ(TWinApp::End(), 0);

    Held main, other;
    ASSERT_NE(main.window.CreateWindowExA(TestClass()), nullptr);
    ASSERT_NE(other.window.CreateWindowExA(TestClass()), nullptr);
    EXPECT_EQ(TWinApp::End(), 0);
    EXPECT_FALSE(main.core->IsCreate());
    EXPECT_FALSE(other.core->IsCreate());
    EXPECT_EQ(TWinApp::GetMainWindow(), nullptr);

    // A main window without a live window is still let go, with the list.
    Held windowless, listed;
    TWinApp::SetMainWindow(windowless.core);
    ASSERT_NE(listed.window.CreateWindowExA(TestClass()), nullptr);
    EXPECT_EQ(TWinApp::End(), 0);
    EXPECT_FALSE(listed.core->IsCreate());
    EXPECT_EQ(TWinApp::GetMainWindow(), nullptr);
    EXPECT_EQ(windowless.core->GetRefCount(), 2ul);
    EXPECT_FALSE(windowless.core->IsMainWindow());
}

TEST_F(PanekindWinAppTest, SetMainWindowHandsTheSlotOverWithItsReference)
{
    Held first, second;
    ASSERT_NE(first.window.CreateWindowExA(TestClass()), nullptr);
    ASSERT_NE(second.window.CreateWindowExA(TestClass()), nullptr);
    TWinApp::SetMainWindow(second.core);
    EXPECT_TRUE(second.core->IsMainWindow());
    EXPECT_FALSE(first.core->IsMainWindow());
    EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 1ul);
    EXPECT_EQ(TWinApp::GetWindowList().GetItemIndex(*first.core), 0ul);
    EXPECT_EQ(first.core->GetRefCount(), 3ul);
    EXPECT_EQ(second.core->GetRefCount(), 3ul);
    TWinApp::SetMainWindow(second.core);
    EXPECT_EQ(second.core->GetRefCount(), 3ul);

    // The former main window now leaves like any other window.
    DestroyWindow(first.window);
    EXPECT_EQ(first.core->GetRefCount(), 2ul);
    EXPECT_EQ(TWinApp::GetMainWindow(), second.core);
    PumpPending();
    EXPECT_FALSE(QuitSeen());
}

TEST_F(PanekindWinAppTest, NullCoresChangeNothing)
{
    Held main, other;
    ASSERT_NE(main.window.CreateWindowExA(TestClass()), nullptr);
    ASSERT_NE(other.window.CreateWindowExA(TestClass()), nullptr);
    TWinApp::RegisterWndCore(nullptr);
    TWinApp::UnRegisterWndCore(nullptr);
    EXPECT_EQ(TWinApp::GetMainWindow(), main.core);
    EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 1ul);
    // Clearing the slot keeps the former main window registered, in the list.
    TWinApp::SetMainWindow(nullptr);
    EXPECT_EQ(TWinApp::GetMainWindow(), nullptr);
    EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 2ul);
    EXPECT_EQ(main.core->GetRefCount(), 3ul);
    // End without a main window still takes the listed windows down.
    EXPECT_EQ(TWinApp::End(), 0);
    EXPECT_FALSE(main.core->IsCreate());
    EXPECT_FALSE(other.core->IsCreate());
    EXPECT_EQ(main.core->GetRefCount(), 2ul);
}

TEST_F(PanekindWinAppTest, FormerMainWindowMadeAgainIsAnOrdinaryWindow)
{
    Held first, second;
    ASSERT_NE(first.window.CreateWindowExA(TestClass()), nullptr);
    DestroyWindow(first.window);
    EXPECT_FALSE(first.core->IsMainWindow());
    ASSERT_TRUE(PumpUntil([] { return QuitSeen(); }));
    ASSERT_NE(second.window.CreateWindowExA(TestClass()), nullptr);
    ASSERT_EQ(TWinApp::GetMainWindow(), second.core);
    ASSERT_NE(first.window.CreateWindowExA(TestClass()), nullptr);
    EXPECT_FALSE(first.core->IsMainWindow());
    DestroyWindow(first.window);
    EXPECT_EQ(TWinApp::GetMainWindow(), second.core);
    EXPECT_EQ(first.core->GetRefCount(), 2ul);
}

TEST_F(PanekindWinAppTest, FalseMainWindowIsRefusedWithCode32)
{
    Held main, impostor;
    ASSERT_NE(main.window.CreateWindowExA(TestClass()), nullptr);
    impostor.core->ForceMainFlag();
    try {
        TWinApp::UnRegisterWndCore(impostor.core);
        ADD_FAILURE() << "no exception";
    } catch (const TobjectBase::TobjectExpection& e) {
        EXPECT_EQ(e.m_Code, 32u);
        EXPECT_EQ(e.m_lpObject, static_cast<TobjectBase*>(impostor.core));
    }
    // Its window still goes quietly: no exception crosses the window procedure.
    ASSERT_NE(impostor.window.CreateWindowExA(TestClass()), nullptr);
    impostor.core->ForceMainFlag();
    DestroyWindow(impostor.window);
    EXPECT_FALSE(impostor.core->IsCreate());
    EXPECT_FALSE(impostor.core->IsMainWindow());
    EXPECT_EQ(impostor.core->GetRefCount(), 2ul);
    EXPECT_EQ(TWinApp::GetMainWindow(), main.core);
    EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 0ul);
}

TEST_F(PanekindWinAppTest, ActiveFlagsFollowActivationMessages)
{
    Held held;
    HWND hwnd = held.window.CreateWindowExA(TestClass());
    ASSERT_NE(hwnd, nullptr);
    struct Case {
        WPARAM wParam;
        bool activeBefore;
        bool activeAfter;
    } cases[] = {
        {WA_INACTIVE, true, false},
        {WA_ACTIVE, false, true},
        {WA_CLICKACTIVE, false, true},
        // A minimised flag in the high word leaves the flag alone.
        {MAKEWPARAM(WA_INACTIVE, 1), true, true},
        {MAKEWPARAM(WA_ACTIVE, 1), false, false},
        {3, true, true},
    };
    for (const Case& c : cases) {
        SendMessageA(hwnd, WM_ACTIVATE, c.activeBefore ? WA_ACTIVE : WA_INACTIVE, 0);
        ASSERT_EQ(static_cast<bool>(held.core->IsActive()), c.activeBefore);
        SendMessageA(hwnd, WM_ACTIVATE, c.wParam, 0);
        EXPECT_EQ(static_cast<bool>(held.core->IsActive()), c.activeAfter) << c.wParam;
    }
    SendMessageA(hwnd, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(TWinApp::IsActiveApp());
    SendMessageA(hwnd, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(TWinApp::IsActiveApp());
}

TEST_F(PanekindWinAppTest, RealActivationMovesTheActiveFlag)
{
    Held first, second;
    for (Held* held : {&first, &second}) {
        held->window.SetStyle(WS_POPUP | WS_VISIBLE);
        ASSERT_NE(held->window.CreateWindowExA(TestClass()), nullptr);
    }
    SetForegroundWindow(first.window);
    SetActiveWindow(first.window);
    EXPECT_TRUE(PumpUntil([&] { return first.core->IsActive() && !second.core->IsActive(); }));
    EXPECT_TRUE(PumpUntil([] { return TWinApp::IsActiveApp() != 0; }));
    SetActiveWindow(second.window);
    EXPECT_TRUE(PumpUntil([&] { return second.core->IsActive() && !first.core->IsActive(); }));
}

TEST_F(PanekindWinAppTest, CentringUsesTheWorkArea)
{
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(SameRect(TDesktop::GetWorkArea(), area));
    SIZE screen = TDesktop::GetDesktopSize();
    EXPECT_EQ(screen.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen.cy, GetSystemMetrics(SM_CYSCREEN));
    // Odd leftovers are truncated.
    LONG width = 321, height = 243;
    LONG left = area.left + ((area.right - area.left) - width) / 2;
    LONG top = area.top + ((area.bottom - area.top) - height) / 2;
    RECT centred = {left, top, left + width, top + height};

    Held atCreation;
    atCreation.window.SetWindowRect(RECT{0, 0, width, height});
    atCreation.window.SetPosToCenter();
    EXPECT_TRUE(SameRect(atCreation.core->GetWindowRect(), RECT{0, 0, width, height}));
    HWND hwnd = atCreation.window.CreateWindowExA(TestClass());
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(SameRect(ScreenRectOf(hwnd), centred));

    Held live;
    live.window.SetWindowRect(RECT{3, 4, 3 + width, 4 + height});
    ASSERT_NE(live.window.CreateWindowExA(TestClass()), nullptr);
    live.window.SetPosToCenter();
    EXPECT_TRUE(SameRect(ScreenRectOf(live.window), centred));

    // A child keeps its place in its parent.
    Held child;
    child.window.SetStyle(WS_CHILD);
    child.window.SetMother(hwnd);
    child.window.SetWindowRect(RECT{5, 5, 25, 25});
    child.window.SetPosToCenter();
    HWND childWindow = child.window.CreateWindowExA(TestClass());
    ASSERT_NE(childWindow, nullptr);
    RECT inParent = ScreenRectOf(childWindow);
    MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT*>(&inParent), 2);
    EXPECT_TRUE(SameRect(inParent, RECT{5, 5, 25, 25}));
}

} // namespace
