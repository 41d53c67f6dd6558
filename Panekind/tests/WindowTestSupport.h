// Shared fixture of the window tests: the registered class, a counting core and
// bounded message pumping on the test thread.
#pragma once

#include <Panekind/Panekind.h>
#include <Panekind/TWindow.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// A core that logs its messages and counts its destructions, so tests see both
// what the window went through and whether the object was freed exactly once.
class TestCore : public TWndCore {
public:
    TestCore() = default;
    TestCore(const TestCore& other) = default;
    ~TestCore() override { ++s_Destroyed; }

    // The core's last-attribute record, for checks on what a copy or snapshot holds.
    const TWndCoreBaseData* GetPending() const { return m_lpBaseData; }
    // Only for provoking the registry's refusal of a false main window.
    void ForceMainFlag() { m_Flags |= FlagMain; }
    unsigned long GetFlags() const { return m_Flags; }

    std::vector<UINT> m_Messages;
    // Called for every message before the default procedure; a non-zero answer
    // is returned instead of the default result.
    std::function<LRESULT(TestCore*, UINT, WPARAM, LPARAM)> m_OnMessage;

    static int s_Destroyed;
};

// A core held by its creator's reference and a TWindow, as the program holds them.
// Hidden unless a test shows it: Wine without a window manager waits two seconds
// for every visible top-level window it takes down.
struct Held {
    Held() : core(new TestCore), window(*core) { window.SetStyle(WS_OVERLAPPEDWINDOW); }
    ~Held() { core->Release(); }
    TestCore* core;
    TWindow window;
};

// The window's rectangle on the screen.
RECT ScreenRectOf(HWND hwnd);

// Rectangle comparison that prints both rectangles on failure.
::testing::AssertionResult SameRect(const RECT& actual, const RECT& expected);

// The user procedure of every TestCore window.
LRESULT TestUserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);

// The class "TClassWindow", registered once per process, TestUserProc as default.
const Panekind& TestClass();

// Dispatches messages until the condition holds or the time runs out; WM_QUIT is
// recorded in QuitSeen()/QuitCode() instead of ending the pump.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 3000);
void PumpPending();
bool& QuitSeen();
WPARAM& QuitCode();

// Every test starts and ends with an empty registry and no pending WM_QUIT.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
