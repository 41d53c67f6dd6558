// MDI frames and children: the client inside the margins, children in the registry,
// and a frame that cannot make its client.
#include "WindowTestSupport.h"

#include <Panekind/TMdiWindow.h>

namespace {

using PanekindMdiTest = WindowTest;

LRESULT FrameProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    return static_cast<TMdiWndCore*>(core)->DefMessageProc(message, wParam, lParam);
}

LRESULT ChildProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    return static_cast<TMdiChildCore*>(core)->DefMessageProc(message, wParam, lParam);
}

// A frame held by its creator and a TMdiWindow, hidden (see Held).
struct HeldFrame {
    HeldFrame() : core(new TMdiWndCore), window(*core)
    {
        window.SetStyle(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
        window.SetWindowProc(&FrameProc);
        window.SetWindowRect(RECT{50, 50, 550, 450});
    }
    ~HeldFrame() { core->Release(); }
    TMdiWndCore* core;
    TMdiWindow window;
};

// The client's rectangle in the frame's client coordinates.
RECT ClientPlace(const TMdiWndCore& frame)
{
    RECT rect = ScreenRectOf(frame.GetClient());
    MapWindowPoints(HWND_DESKTOP, frame.GetHandle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT FrameArea(const TMdiWndCore& frame)
{
    RECT area;
    GetClientRect(frame.GetHandle(), &area);
    return area;
}

TEST_F(PanekindMdiTest, ClientStaysInsideTheMarginsAndFollowsSetSpaceAtOnce)
{
    HeldFrame frame;
    HMENU menu = CreateMenu();
    EXPECT_EQ(frame.window.SetMdiMenu(menu), nullptr);
    EXPECT_EQ(frame.window.SetMdiMenu(menu), menu);
    frame.window.SetSpace(RECT{10, 20, 30, 40});
    EXPECT_EQ(frame.window.GetClient(), nullptr);
    ASSERT_NE(frame.window.CreateWindowExA(TestClass()), nullptr);
    TMdiWndCore* core = frame.window;
    ASSERT_NE(core->GetClient(), nullptr);
    EXPECT_EQ(core->GetMdiMenu(), menu);
    EXPECT_EQ(GetParent(core->GetClient()), core->GetHandle());

    RECT area = FrameArea(*core);
    EXPECT_TRUE(SameRect(ClientPlace(*core), RECT{10, 20, area.right - 30, area.bottom - 40}));

    // New margins apply without the frame being sized.
    frame.window.SetSpace(RECT{5, 6, 7, 8});
    EXPECT_TRUE(SameRect(ClientPlace(*core), RECT{5, 6, area.right - 7, area.bottom - 8}));

    // Sizing the frame keeps them.
    frame.window.SetWindowSize(SIZE{300, 250});
    area = FrameArea(*core);
    EXPECT_TRUE(SameRect(ClientPlace(*core), RECT{5, 6, area.right - 7, area.bottom - 8}));

    // Margins wider than the frame leave an empty client, not a negative one.
    frame.window.SetSpace(RECT{400, 400, 400, 400});
    RECT squeezed = ClientPlace(*core);
    EXPECT_EQ(squeezed.right - squeezed.left, 0);
    EXPECT_EQ(squeezed.bottom - squeezed.top, 0);
    EXPECT_EQ(core->GetSpace().left, 400);
    TWinApp::End();
    EXPECT_EQ(core->GetClient(), nullptr);
    DestroyMenu(menu);
}

TEST_F(PanekindMdiTest, ChildIsMadeInTheClientAndRegisteredButNeverMain)
{
    TMdiChildCore* childCore = new TMdiChildCore;
    TMdiChildWindow child(*childCore);
    childCore->Release();
    child.SetWindowProc(&ChildProc);
    child.SetWindowTextA("document");
    child.SetWindowRect(RECT{10, 10, 210, 160});

    HeldFrame frame;
    // No client yet: nothing is made, and the child does not become the main window.
    EXPECT_EQ(child.CreateWindowExA(*frame.core, TestClass()), nullptr);
    EXPECT_EQ(TWinApp::GetMainWindow(), nullptr);

    ASSERT_NE(frame.window.CreateWindowExA(TestClass()), nullptr);
    HWND hwnd = child.CreateWindowExA(*frame.core, TestClass());
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetParent(hwnd), frame.core->GetClient());
    EXPECT_EQ(childCore->GetParent(), frame.core->GetClient());
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_TRUE(childCore->GetWindowTextA() == "document");
    EXPECT_EQ(TWinApp::GetMainWindow(), frame.core);
    EXPECT_EQ(TWinApp::GetWindowList().GetItemIndex(*childCore), 0ul);
    EXPECT_EQ(childCore->GetRefCount(), 2ul);
    EXPECT_EQ(SendMessageA(frame.core->GetClient(), WM_MDIGETACTIVE, 0, 0),
              reinterpret_cast<LRESULT>(hwnd));
    EXPECT_EQ(child.CreateWindowExA(*frame.core, TestClass()), hwnd);

    // The child goes with its frame.
    EXPECT_EQ(TWinApp::End(), 0);
    EXPECT_FALSE(childCore->IsCreate());
    EXPECT_EQ(childCore->GetRefCount(), 1ul);
    EXPECT_EQ(frame.core->GetRefCount(), 2ul);
}

HHOOK g_RefuseHook = nullptr;

// Refuses every MDI client window.
LRESULT CALLBACK RefuseClients(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(create->lpszClass) && lstrcmpiA(create->lpszClass, "MDICLIENT") == 0)
            return 1;
    }
    return CallNextHookEx(g_RefuseHook, code, wParam, lParam);
}

TEST_F(PanekindMdiTest, FrameWithoutItsClientIsNotCreated)
{
    Held main;
    ASSERT_NE(main.window.CreateWindowExA(TestClass()), nullptr);
    HeldFrame frame;
    g_RefuseHook = SetWindowsHookExA(WH_CBT, &RefuseClients, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_RefuseHook, nullptr);
    HWND refused = frame.window.CreateWindowExA(TestClass());
    UnhookWindowsHookEx(g_RefuseHook);
    EXPECT_EQ(refused, nullptr);
    EXPECT_FALSE(frame.core->IsCreate());
    EXPECT_EQ(frame.core->GetClient(), nullptr);
    EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 0ul);

    ASSERT_NE(frame.window.CreateWindowExA(TestClass()), nullptr);
    EXPECT_NE(frame.core->GetClient(), nullptr);
}

} // namespace
