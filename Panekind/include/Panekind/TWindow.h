// Counted handle on a window core: every setter (pending or live) and creation.
#pragma once

#include <Panekind/PanekindApi.h>
#include <Panekind/TWinApp.h>

class Panekind;

// Each setter acts on the live window while it exists, else on the core's pending
// record, so attributes set before creation reach the window when it is made.
// Rectangles and points are in the coordinates SetWindowPos and CreateWindowExA
// take: the screen for top-level windows, the parent's client area for children.
class PANEKIND_API TWindow : public TWinApp {
public:
    // Takes one counted reference on the core for the life of the handle.
    explicit TWindow(TWndCore& core);
    TWindow(const TWindow& other);
    TWindow& operator=(const TWindow& other);
    ~TWindow();

    operator HWND() const { return m_lpCore->GetHandle(); }
    TWndCore* GetCore() const { return m_lpCore; }

    // Return the previous value.
    unsigned long SetStyle(unsigned long style);
    unsigned long SetExStyle(unsigned long style);
    void SetWindowRect(const RECT& rect);
    void SetWindowPos(const POINT& point);
    void SetWindowSize(const SIZE& size);
    // The window rectangle follows from the style and the menu.
    void SetClientRect(const RECT& rect);
    void SetClientPos(const POINT& point);
    void SetClientSize(const SIZE& size);
    void SetWindowTextA(const TString& text);
    HMENU SetMenu(HMENU menu);
    // An owner for a top-level window; the style is left alone.
    HWND SetParent(HWND parent);
    // Makes the window a child of parent (adds WS_CHILD).
    HWND SetMother(HWND parent);
    LONG_PTR SetID(LONG_PTR id);
    void SetWindowProc(TWndUserProc proc);
    // Centres a top-level window in the work area now and whenever it is created.
    void SetPosToCenter();

    // Makes the core's window (its handle if it exists already); the first window
    // ever made becomes the main window. Null on failure.
    HWND CreateWindowExA(const Panekind& windowClass);

protected:
    // Shared by plain and MDI-child creation: mdiClient null makes a plain window.
    HWND _CreateWindow(const Panekind& windowClass, HWND mdiClient);
    // SetStyle and SetExStyle: the window word at index, or that field of the record.
    unsigned long _SetStyleWord(int index, unsigned long TWndCoreBaseData::*pending,
                                unsigned long style);
    // Moves and sizes the live window (SWP_NOZORDER | SWP_NOOWNERZORDER | extra).
    void _PlaceLive(const RECT& window, UINT extraFlags);
    // Moves every edge of both pending rectangles: by (dx, dy) at the left-top
    // and by (dr, db) at the right-bottom.
    void _ShiftPending(LONG dx, LONG dy, LONG dr, LONG db);
    // The window rectangle around a client rectangle for the core's style and menu.
    RECT _AdjustForClient(const RECT& client) const;

    TWndCore* m_lpCore;
};
