// Reference-counted window object: keeps its window's attributes before, during
// and after the life of the Win32 window, and dispatches the window's messages.
#pragma once

#include <Panekind/PanekindApi.h>
#include <Panekind/TWndCoreBaseData.h>

#include <Keelwork/TReference.h>

#include <windows.h>

class TWndCore;

// Receives every message of a core's window; what it does not handle it passes
// to the core's DefMessageProc (or the MDI cores' own).
typedef LRESULT (*TWndUserProc)(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);

// Used on the thread that owns the windows only. A core with a live window is
// held by the application registry (TWinApp) until its WM_NCDESTROY; getters read
// the live window while it exists and the pending record otherwise.
class PANEKIND_API TWndCore : public TReference {
public:
    static constexpr unsigned long FlagActive = 0x0002;
    static constexpr unsigned long FlagCenter = 0x0004;
    static constexpr unsigned long FlagMain = 0x1000;
    static constexpr unsigned long FlagCreated = 0x2000;

    TWndCore();
    // A copy has no window: it takes the source's last attributes (a snapshot when
    // the source's window exists), user procedure and flags, but is neither main
    // nor created, and starts with a count of 1.
    TWndCore(const TWndCore& other);
    // Ignored while this core's window exists; the reference count is kept.
    TWndCore& operator=(const TWndCore& other);
    ~TWndCore() override;

    HWND GetParent() const;
    HMENU GetMenu() const;
    unsigned long GetStyle() const;
    unsigned long GetExStyle() const;
    LONG_PTR GetID() const;
    // Screen coordinates while the window exists (see TWndCoreBaseData otherwise).
    RECT GetWindowRect() const;
    RECT GetClientRect() const;
    TString GetWindowTextA() const;
    int IsEnable() const;
    int IsVisible() const;

    HWND GetHandle() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    int IsCreate() const { return (m_Flags & FlagCreated) != 0; }
    int IsMainWindow() const { return (m_Flags & FlagMain) != 0; }
    int IsActive() const { return (m_Flags & FlagActive) != 0; }
    TWndUserProc GetUserProc() const { return m_lpUserProc; }
    WNDPROC GetSysWindowProc() const { return m_lpSysWindowProc; }

    LRESULT DefMessageProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The procedure a plain core's window is subclassed to once bound.
    static LRESULT CALLBACK _BaseWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // The core bound to a window of the registered class, or null.
    static TWndCore* _FromHandle(HWND hwnd);
    // Bookkeeping every message passes through before the user procedure.
    void _BaseMessageProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT _CallUserProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // WM_NCDESTROY: keeps the last attributes, unbinds and leaves the registry
    // (which may free this core: nothing may touch it afterwards).
    LRESULT _EndWindow(HWND hwnd, WPARAM wParam, LPARAM lParam);
    // Moves a top-level window to the middle of the work area.
    void _MoveToCenter(const RECT& window);
    void _CopyFrom(const TWndCore& other);

    // Present exactly while no Win32 window exists (null only if it could not be
    // allocated, when getters answer 0 and pending setters do nothing).
    TWndCoreBaseData* m_lpBaseData;
    unsigned long m_Flags;
    HWND m_hWnd;
    TWndUserProc m_lpUserProc;
    WNDPROC m_lpSysWindowProc;

    friend class TWindow;
    friend class TWinApp;
};
