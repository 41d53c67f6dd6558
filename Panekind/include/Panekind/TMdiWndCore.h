// MDI frame core: owns the system's MDI client window and keeps it inside margins.
#pragma once

#include <Panekind/PanekindApi.h>
#include <Panekind/TWndCore.h>

// The client is made with the frame (in its WM_CREATE) and dies with it. Its
// window procedure is subclassed so that every placement the system gives it is
// narrowed by the four margins of the space.
class PANEKIND_API TMdiWndCore : public TWndCore {
public:
    TMdiWndCore();
    // Copies the margins and the window menu, never the client window.
    TMdiWndCore(const TMdiWndCore& other);
    TMdiWndCore& operator=(const TMdiWndCore& other);

    HWND GetClient() const { return m_hClient; }
    HMENU GetMdiMenu() const { return m_hMdiMenu; }
    // Margins kept free around the client inside the frame's client area.
    const RECT& GetSpace() const { return m_Space; }

    // DefFrameProcA: the frame's user procedure passes unhandled messages here.
    LRESULT DefMessageProc(UINT message, WPARAM wParam, LPARAM lParam);

    // As TWndCore's, and a frame whose client cannot be made is not created.
    static LRESULT CALLBACK _BaseWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Makes the client window, placed at once inside the margins.
    int _CreateClientWindow();
    // Gives the client the frame's whole client area, which the filter narrows.
    void _PlaceClient();
    // The margin filter of the client window.
    static LRESULT CALLBACK _CltWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hClient;
    WNDPROC m_lpCltOldProc;
    RECT m_Space;
    HMENU m_hMdiMenu;

    friend class TMdiWindow;
};
