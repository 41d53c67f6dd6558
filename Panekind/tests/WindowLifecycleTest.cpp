// A core's life with real windows: creation, binding, live setters, destruction
// and creation again, and the references held on the way.
#include "WindowTestSupport.h"

namespace {

using PanekindWindowTest = WindowTest;

TEST_F(PanekindWindowTest, SettersBeforeCreationReachTheWindowAndItIsBound)
{
    Held held;
    TWindow& window = held.window;
    const char* title = "日本語のタイトル";
    window.SetStyle(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE);
    window.SetExStyle(WS_EX_TOOLWINDOW);
    window.SetWindowTextA(title);
    window.SetClientRect(RECT{100, 120, 400, 320});
    RECT pendingWindow = held.core->GetWindowRect();
    bool stockDuringCreate = false;
    held.core->m_OnMessage = [&stockDuringCreate](TestCore* core, UINT message, WPARAM,
                                                  LPARAM) -> LRESULT {
        if (message == WM_CREATE) stockDuringCreate = TWinApp::GetTAppStock() == core;
        return 0;
    };

    HWND hwnd = window.CreateWindowExA(TestClass());
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(stockDuringCreate);
    EXPECT_EQ(TWinApp::GetTAppStock(), nullptr);
    EXPECT_EQ(static_cast<HWND>(window), hwnd);
    EXPECT_EQ(held.core->GetHandle(), hwnd);
    EXPECT_TRUE(held.core->IsCreate());
    // The core and its procedure sit in the pointer-sized slots.
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(held.core));
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&TWndCore::_BaseWindowProc));
    EXPECT_EQ(held.core->GetUserProc(), &TestUserProc);
    EXPECT_EQ(held.core->m_Messages.front(), static_cast<UINT>(WM_GETMINMAXINFO));

    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)) & ~WS_CLIPSIBLINGS,
              static_cast<unsigned long>(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                         WS_VISIBLE));
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    EXPECT_STREQ(text, title);
    EXPECT_TRUE(held.core->GetWindowTextA() == title);
    EXPECT_TRUE(SameRect(ScreenRectOf(hwnd), pendingWindow));
    EXPECT_TRUE(SameRect(held.core->GetClientRect(), RECT{100, 120, 400, 320}));
    // A second call hands back the same window.
    EXPECT_EQ(window.CreateWindowExA(TestClass()), hwnd);
}

TEST_F(PanekindWindowTest, LiveSettersMoveTheWindow)
{
    Held held;
    TWindow& window = held.window;
    window.SetWindowRect(RECT{40, 50, 440, 350});
    HWND hwnd = window.CreateWindowExA(TestClass());
    ASSERT_NE(hwnd, nullptr);
    RECT window0 = ScreenRectOf(hwnd);
    RECT client0 = held.core->GetClientRect();
    LONG frameLeft = client0.left - window0.left, frameTop = client0.top - window0.top;
    LONG frameRight = window0.right - client0.right, frameBottom = window0.bottom - client0.bottom;

    window.SetWindowRect(RECT{10, 20, 310, 220});
    EXPECT_TRUE(SameRect(ScreenRectOf(hwnd), RECT{10, 20, 310, 220}));
    window.SetWindowPos(POINT{30, 35});
    EXPECT_TRUE(SameRect(ScreenRectOf(hwnd), RECT{30, 35, 330, 235}));
    window.SetWindowSize(SIZE{250, 150});
    EXPECT_TRUE(SameRect(ScreenRectOf(hwnd), RECT{30, 35, 280, 185}));
    window.SetClientRect(RECT{200, 210, 500, 410});
    EXPECT_TRUE(SameRect(held.core->GetClientRect(), RECT{200, 210, 500, 410}));
    window.SetClientPos(POINT{100, 90});
    EXPECT_TRUE(SameRect(held.core->GetClientRect(), RECT{100, 90, 400, 290}));
    window.SetClientSize(SIZE{120, 80});
    EXPECT_TRUE(SameRect(held.core->GetClientRect(), RECT{100, 90, 220, 170}));
    EXPECT_TRUE(SameRect(ScreenRectOf(hwnd), RECT{100 - frameLeft, 90 - frameTop, 220 + frameRight,
                                                  170 + frameBottom}));

    EXPECT_EQ(window.SetStyle(WS_POPUP | WS_VISIBLE) & WS_CAPTION,
              static_cast<unsigned long>(WS_CAPTION));
    EXPECT_EQ(held.core->GetStyle() & WS_CAPTION, 0ul);
    window.SetWindowTextA("live");
    EXPECT_TRUE(held.core->GetWindowTextA() == "live");
}

TEST_F(PanekindWindowTest, RecreatedWindowComesBackWithItsLastAttributes)
{
    Held main;
    ASSERT_NE(main.window.CreateWindowExA(TestClass()), nullptr);
    Held top;
    top.window.SetStyle(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    top.window.SetExStyle(WS_EX_TOOLWINDOW);
    HWND first = top.window.CreateWindowExA(TestClass());
    ASSERT_NE(first, nullptr);
    top.window.SetWindowRect(RECT{70, 80, 370, 280});
    top.window.SetWindowTextA("before destruction");
    // A change made while the window is being destroyed is its last state too.
    top.core->m_OnMessage = [](TestCore* core, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_DESTROY) TWindow(*core).SetWindowTextA("said at WM_DESTROY");
        return 0;
    };
    RECT lastWindow = top.core->GetWindowRect();
    RECT lastClient = top.core->GetClientRect();
    DestroyWindow(first);

    EXPECT_FALSE(top.core->IsCreate());
    EXPECT_EQ(top.core->GetHandle(), nullptr);
    ASSERT_NE(top.core->GetPending(), nullptr);
    EXPECT_TRUE(top.core->GetWindowTextA() == "said at WM_DESTROY");
    EXPECT_TRUE(SameRect(top.core->GetWindowRect(), lastWindow));
    EXPECT_TRUE(SameRect(top.core->GetClientRect(), lastClient));
    // Destruction hides a window before it goes; every other bit is kept.
    EXPECT_EQ(top.core->GetStyle() & ~(WS_VISIBLE | WS_CLIPSIBLINGS),
              static_cast<unsigned long>(WS_POPUP | WS_CAPTION));
    EXPECT_TRUE(top.core->GetExStyle() & WS_EX_TOOLWINDOW);

    top.core->m_OnMessage = nullptr;
    HWND second = top.window.CreateWindowExA(TestClass());
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(top.core->IsCreate());
    EXPECT_TRUE(SameRect(ScreenRectOf(second), lastWindow));
    EXPECT_TRUE(SameRect(top.core->GetClientRect(), lastClient));
    EXPECT_TRUE(top.core->GetWindowTextA() == "said at WM_DESTROY");
    EXPECT_TRUE(top.core->GetExStyle() & WS_EX_TOOLWINDOW);
}

TEST_F(PanekindWindowTest, RecreatedChildReturnsToItsPlaceInTheParent)
{
    Held main;
    main.window.SetWindowRect(RECT{200, 150, 600, 450});
    HWND parent = main.window.CreateWindowExA(TestClass());
    ASSERT_NE(parent, nullptr);
    Held child;
    child.window.SetStyle(WS_CHILD | WS_VISIBLE | WS_BORDER);
    child.window.SetMother(parent);
    child.window.SetID(300);
    child.window.SetWindowRect(RECT{10, 20, 110, 90});
    HWND first = child.window.CreateWindowExA(TestClass());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetParent(first), parent);
    EXPECT_EQ(child.core->GetID(), 300);
    RECT placed = ScreenRectOf(first);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(SameRect(placed, RECT{10, 20, 110, 90}));

    DestroyWindow(first);
    EXPECT_TRUE(SameRect(child.core->GetWindowRect(), RECT{10, 20, 110, 90}));
    EXPECT_EQ(child.core->GetID(), 300);
    EXPECT_EQ(child.core->GetParent(), parent);
    HWND second = child.window.CreateWindowExA(TestClass());
    ASSERT_NE(second, nullptr);
    placed = ScreenRectOf(second);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(SameRect(placed, RECT{10, 20, 110, 90}));
    EXPECT_EQ(GetWindowLongPtrA(second, GWLP_ID), 300);
}

TEST_F(PanekindWindowTest, ReferencesCountedThroughWholeCycle)
{
    int destroyedBefore = TestCore::s_Destroyed;
    {
        Held main;
        Held other;
        // Creator and handle.
        EXPECT_EQ(main.core->GetRefCount(), 2ul);
        ASSERT_NE(main.window.CreateWindowExA(TestClass()), nullptr);
        EXPECT_EQ(main.core->GetRefCount(), 3ul); // + the main-window slot
        ASSERT_NE(other.window.CreateWindowExA(TestClass()), nullptr);
        EXPECT_EQ(other.core->GetRefCount(), 3ul); // + the list entry
        EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 1ul);

        DestroyWindow(other.window);
        EXPECT_EQ(other.core->GetRefCount(), 2ul);
        EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 0ul);
        ASSERT_NE(other.window.CreateWindowExA(TestClass()), nullptr);
        EXPECT_EQ(other.core->GetRefCount(), 3ul);

        DestroyWindow(main.window);
        EXPECT_EQ(main.core->GetRefCount(), 2ul);
        EXPECT_EQ(other.core->GetRefCount(), 2ul);
        EXPECT_EQ(TWinApp::GetMainWindow(), nullptr);
        EXPECT_FALSE(main.core->IsMainWindow());
        EXPECT_EQ(TestCore::s_Destroyed, destroyedBefore);
    }
    // Each core freed exactly once, by its last holder.
    EXPECT_EQ(TestCore::s_Destroyed, destroyedBefore + 2);
}

TEST_F(PanekindWindowTest, RefusedCreationKeepsTheCoreReusable)
{
    int destroyedBefore = TestCore::s_Destroyed;
    {
        Held main;
        ASSERT_NE(main.window.CreateWindowExA(TestClass()), nullptr);
        Held refused;
        refused.window.SetWindowTextA("refused");
        refused.core->m_OnMessage = [](TestCore*, UINT message, WPARAM, LPARAM) -> LRESULT {
            return message == WM_CREATE ? -1 : 0;
        };
        EXPECT_EQ(refused.window.CreateWindowExA(TestClass()), nullptr);
        EXPECT_FALSE(refused.core->IsCreate());
        EXPECT_EQ(refused.core->GetHandle(), nullptr);
        EXPECT_EQ(refused.core->GetRefCount(), 2ul);
        EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 0ul);
        EXPECT_TRUE(refused.core->GetWindowTextA() == "refused");

        refused.core->m_OnMessage = nullptr;
        ASSERT_NE(refused.window.CreateWindowExA(TestClass()), nullptr);
        EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 1ul);
    }
    TWinApp::End();
    EXPECT_EQ(TestCore::s_Destroyed, destroyedBefore + 2);
}

TEST_F(PanekindWindowTest, RefusedFirstWindowGivesUpTheMainSlot)
{
    Held first;
    first.core->m_OnMessage = [](TestCore*, UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == WM_CREATE ? -1 : 0;
    };
    EXPECT_EQ(first.window.CreateWindowExA(TestClass()), nullptr);
    EXPECT_EQ(TWinApp::GetMainWindow(), nullptr);
    EXPECT_EQ(first.core->GetRefCount(), 2ul);
    EXPECT_TRUE(PumpUntil([] { return QuitSeen(); }));
}

TEST_F(PanekindWindowTest, CopyOfCoreHasNoWindowAndItsOwnCount)
{
    Held source;
    source.window.SetWindowRect(RECT{5, 6, 205, 106});
    source.window.SetWindowProc(&TestUserProc);
    ASSERT_NE(source.window.CreateWindowExA(TestClass()), nullptr);
    source.window.SetWindowTextA("live text");

    TestCore* copy = new TestCore(*source.core);
    EXPECT_EQ(copy->GetRefCount(), 1ul);
    EXPECT_FALSE(copy->IsCreate());
    EXPECT_FALSE(copy->IsMainWindow());
    EXPECT_EQ(copy->GetHandle(), nullptr);
    EXPECT_EQ(copy->GetUserProc(), &TestUserProc);
    EXPECT_TRUE(copy->GetWindowTextA() == "live text");
    EXPECT_TRUE(SameRect(copy->GetWindowRect(), RECT{5, 6, 205, 106}));

    // A live core ignores assignment; a pending one takes the other's record.
    TestCore* pending = new TestCore;
    TWindow(*pending).SetWindowTextA("pending");
    *source.core = *pending;
    EXPECT_TRUE(source.core->GetWindowTextA() == "live text");
    *pending = *copy;
    EXPECT_TRUE(pending->GetWindowTextA() == "live text");
    EXPECT_EQ(pending->GetRefCount(), 1ul);
    pending->Release();
    copy->Release();
}

TEST_F(PanekindWindowTest, WindowOfTheClassWithoutCoreStaysPlain)
{
    HWND plain = CreateWindowExA(0, TestClass().GetWndClassName(), "plain", WS_POPUP, 0, 0, 50, 50,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(plain, GWLP_USERDATA), 0);
    EXPECT_EQ(GetWindowLongPtrA(plain, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&DefWindowProcA));
    // A core created afterwards is still bound to its own window, not the plain one.
    Held held;
    HWND bound = held.window.CreateWindowExA(TestClass());
    ASSERT_NE(bound, nullptr);
    SendMessageA(plain, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still plain"));
    EXPECT_EQ(held.core->GetHandle(), bound);
    DestroyWindow(plain);
    EXPECT_EQ(TWinApp::GetMainWindow(), held.core);
}

} // namespace
