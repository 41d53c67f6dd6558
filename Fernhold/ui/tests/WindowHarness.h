// Test support of the window tests: a skin of fixture bitmaps, a stand-in main window
// carrying the title bar, the menu window and the state window, a person at the screen
// moving the X pointer (xdotool), and the screen's pixels.
#pragma once

#include "net/TClientCore.h"
#include "net/TFernSettings.h"
#include "net/TServerCore.h"
#include "ui/SkinStore.h"
#include "ui/TMenuWindow.h"
#include "ui/TStateWindow.h"
#include "ui/TTitlebarWindow.h"
#include "ui/TUiContext.h"
#include "ui/tests/RecordingShell.h"
#include "ui/tests/TScreenShot.h"

#include <Panekind/TWndCore.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Colours of the fixture art, as the screen shows them (COLORREF).
namespace fixture {
constexpr COLORREF TITLE_ART = RGB(60, 90, 60);
constexpr COLORREF MINIMISE_LOOKS[3] = {RGB(0, 0, 160), RGB(0, 160, 160), RGB(160, 160, 0)};
constexpr COLORREF CLOSE_LOOKS[3] = {RGB(160, 0, 0), RGB(160, 0, 160), RGB(90, 0, 0)};
constexpr COLORREF MENU_BACKGROUND = RGB(150, 150, 200);
// Title t (1 to 4) in look 0 normal, 1 hover, 2 pressed.
constexpr COLORREF MenuTitleColour(int title, int look)
{
    return RGB(40 + 50 * (title - 1), 50 + 100 * look, 30);
}
constexpr COLORREF ICON_NORMAL = RGB(0, 200, 0);
constexpr COLORREF ICON_CHECKED = RGB(200, 0, 200);
constexpr COLORREF ICON_GREYED = RGB(0, 200, 200);
constexpr COLORREF SELECTION_MARK = RGB(255, 128, 0);
constexpr COLORREF STATE_PLAIN = RGB(90, 90, 90);
constexpr COLORREF STATE_HIGHLIGHT = RGB(200, 200, 90);

// Title-bar client points on the fixture's hit map.
constexpr POINT SYSTEM_MENU_SPOT{12, 10};
constexpr POINT MINIMISE_BUTTON{342, 7};
constexpr POINT CLOSE_BUTTON{351, 7};
constexpr POINT DRAG_AREA{200, 5};
constexpr POINT NOTHING_AREA{634, 12};
// Icon square inside an item's 18 x 16 icon cell, and the selection mark's column.
constexpr POINT ICON_SAMPLE{8, 8};
constexpr POINT SELECTION_SAMPLE{0, 8};
} // namespace fixture

// Writes the fixture skin (every bitmap of the title bar, menu and state groups) into
// folder, which must exist.
void WriteFixtureSkin(const std::string& folder);

// A message the stand-in main window received.
struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The main window as far as the three windows need one: it routes UM_REPAINT and
// UM_STATUS_TEXT to them, keeps appActive from WM_ACTIVATEAPP, composes the caption
// gradients again on WM_SYSCOLORCHANGE, drags by its surface (HTCAPTION), and records
// every message of the program's own range and WM_SYSCOMMAND. Visible at 100, 100 and
// the foreground window. The windows run on the creating thread; Received() and
// LastStatusText() may be called from any thread.
class TWindowHarness {
public:
    // Without the skin files the store points at an empty folder.
    explicit TWindowHarness(bool withSkin = true);
    ~TWindowHarness();
    TWindowHarness(const TWindowHarness&) = delete;
    TWindowHarness& operator=(const TWindowHarness&) = delete;

    bool IsReady() const { return m_Ready; }
    HWND Main() const { return m_Main->GetHandle(); }
    HWND Titlebar() const { return m_Titlebar->GetHandle(); }
    HWND Menu() const { return m_Menu->GetHandle(); }
    HWND State() const { return m_State->GetHandle(); }
    TStateWindow& StateWindow() { return *m_State; }

    std::vector<Received> ReceivedMessages() const;
    bool HasReceived(UINT message, WPARAM wParam) const;
    void ClearReceived();
    std::string LastStatusText() const;

    // A client point of a window in screen coordinates.
    static POINT OnScreen(HWND window, POINT client);
    // The centre of a menu title (1 to 4) on the screen.
    POINT MenuTitleOnScreen(int title) const;

    TFernSettings settings;
    RecordingShell shell;

private:
    static LRESULT MainProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMainMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Repaint(WPARAM child, LPARAM invalidate);

    std::string m_Folder;
    TClientCore m_Client{settings};
    TServerCore m_Server{settings};
    SkinStore* m_Skin = nullptr;
    TUiContext* m_Context = nullptr;
    TWndCore* m_Main = nullptr;
    TTitlebarWindow* m_Titlebar = nullptr;
    TMenuWindow* m_Menu = nullptr;
    TStateWindow* m_State = nullptr;
    bool m_Ready = false;

    mutable std::mutex m_Lock;
    std::vector<Received> m_Received;
    std::string m_LastStatusText;
};

// The person at the screen: moves and clicks through the X server with xdotool. Each
// gesture returns once xdotool has done it (false when it could not run). Any thread.
class TPerson {
public:
    // False where there is no X server with xdotool (a native Windows run).
    static bool IsAvailable();
    bool MoveTo(POINT screen);
    bool Click(POINT screen);
    bool Press(POINT screen);
    bool Release();

private:
    bool Run(const std::string& arguments);
    int m_Gestures = 0;
};

// Waits, polling, until condition holds; false after timeoutMs. Dispatches nothing.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

// Runs scenario on a thread of its own, as the person at the screen, while this thread
// runs the windows (modal menu loops included). A pop-up menu the scenario leaves open is
// cancelled afterwards, so that this thread comes back. False when the scenario took
// longer than timeoutMs.
bool RunAsPerson(const std::function<void()>& scenario, DWORD timeoutMs);

// The visible pop-up menu window, or null; the menu it shows.
HWND VisiblePopupMenu();
HMENU MenuOfPopup(HWND popup);

// A window's client area on the screen.
RECT ClientOnScreen(HWND window);
POINT CentreOf(const RECT& rect);
// The window holding the mouse capture on the thread of window, or null.
HWND CaptureOfThread(HWND window);

// A window of another program as far as activation goes: visible, top-level, with a
// thread and message loop of its own.
class TOtherWindow {
public:
    explicit TOtherWindow(const RECT& rect);
    ~TOtherWindow();
    TOtherWindow(const TOtherWindow&) = delete;
    TOtherWindow& operator=(const TOtherWindow&) = delete;
    HWND Handle() const { return m_Window; }

private:
    HWND m_Window = nullptr;
    HANDLE m_Thread = nullptr;
};

// Window tests: the stand-in main window with its three windows on the screen, and the
// person; skipped where no X server with xdotool is at hand.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    virtual bool WithSkin() const { return true; }

    std::unique_ptr<TWindowHarness> harness;
    TPerson person;
};
