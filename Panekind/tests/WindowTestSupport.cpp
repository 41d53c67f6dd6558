// Fixture of the window tests (see WindowTestSupport.h).
#include "WindowTestSupport.h"

int TestCore::s_Destroyed = 0;

RECT ScreenRectOf(HWND hwnd)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(hwnd, &rect);
    return rect;
}

::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected)
{
    if (EqualRect(&actual, &expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "rect {" << actual.left << ", " << actual.top << ", " << actual.right << ", "
           << actual.bottom << "} expected {" << expected.left << ", " << expected.top << ", "
           << expected.right << ", " << expected.bottom << "}";
}

LRESULT TestUserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    TestCore* test = static_cast<TestCore*>(core);
    test->m_Messages.push_back(message);
    if (test->m_OnMessage) {
        LRESULT answer = test->m_OnMessage(test, message, wParam, lParam);
        if (answer) return answer;
    }
    return core->DefMessageProc(message, wParam, lParam);
}

const Panekind& TestClass()
{
    static Panekind* windowClass = [] {
        TobjectBase::m_hInst = GetModuleHandleA(nullptr);
        Panekind* made = new Panekind;
        made->SetDefUserProc(&TestUserProc);
        made->RegisterClassExA();
        return made;
    }();
    return *windowClass;
}

bool& QuitSeen()
{
    static bool seen = false;
    return seen;
}

WPARAM& QuitCode()
{
    static WPARAM code = 0;
    return code;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            QuitSeen() = true;
            QuitCode() = msg.wParam;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void WindowTest::SetUp()
{
    TestClass();
    PumpPending();
    QuitSeen() = false;
    QuitCode() = 0;
    ASSERT_EQ(TWinApp::GetMainWindow(), nullptr);
    ASSERT_EQ(TWinApp::GetWindowList().GetItemCount(), 0ul);
}

void WindowTest::TearDown()
{
    // End() is the orderly shutdown; it also frees a main core that has no window.
    TWinApp::End();
    PumpPending();
    EXPECT_EQ(TWinApp::GetMainWindow(), nullptr);
    EXPECT_EQ(TWinApp::GetWindowList().GetItemCount(), 0ul);
}
