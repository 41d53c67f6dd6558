// View pane: creation, message hand-over, capture and confinement.
#include "ui/TViewPane.h"

#include "net/TClientCore.h"
#include "net/TEventLink.h"
#include "ui/ConnectionState.h"
#include "ui/TSkinWindow.h"

#include <windowsx.h>

int TViewPane::Create(HWND parent, const char* text, const RECT& rect, LONG_PTR id,
                      unsigned long style)
{
    return CreateChildWindow(*this, parent, text, rect, id, style, UserProc);
}

int TViewPane::ForwardMouse(TUiContext& context, const PaneGeometry& geometry, UINT message,
                            WPARAM wParam, LPARAM lParam)
{
    TEventLink* link = context.client.GetEventLink();
    bool sendAllowed = link && (context.settings.displayFlags & DISPLAY_SEND_MOUSE);
    PaneMouseAction action = DecidePaneMouse(geometry, message, wParam,
                                             MousePoint(GetHandle(), message, lParam), sendAllowed);
    if (action.send) link->Post(action.packet);
    ApplyCapture(action.capture, action.confine);
    // The platform sends the wheel to the focus window: a pane that is pressed takes the
    // focus, so the wheel turned over it afterwards reaches it. Keys still reach the
    // keyboard hook, which sees the whole thread.
    if (action.capture == PaneCapture::Take) SetFocus(GetHandle());
    return action.forwards;
}

void TViewPane::ApplyCapture(PaneCapture capture, const RECT& confine)
{
    if (capture == PaneCapture::Release) {
        Free();
        return;
    }
    if (capture != PaneCapture::Take) return;
    SetCapture(GetHandle());
    RECT screen = confine;
    MapWindowPoints(GetHandle(), nullptr, reinterpret_cast<POINT*>(&screen), 2);
    ClipCursor(&screen);
    m_Confined = true;
}

void TViewPane::ConfineToPane()
{
    RECT client;
    ::GetClientRect(GetHandle(), &client);
    ApplyCapture(PaneCapture::Take, client);
}

void TViewPane::Free()
{
    m_Confined = false;
    if (GetCapture() == GetHandle()) ReleaseCapture();
    ClipCursor(nullptr);
}

void TViewPane::FreeIfHeld()
{
    if (m_Confined || GetCapture() == GetHandle()) Free();
}

SIZE TViewPane::GetClientSize() const
{
    RECT client{0, 0, 0, 0};
    if (GetHandle()) ::GetClientRect(GetHandle(), &client);
    return SIZE{client.right, client.bottom};
}

LRESULT TViewPane::UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam)
{
    TViewPane* pane = static_cast<TViewPane*>(core);
    if (message == WM_CAPTURECHANGED && pane->m_Confined &&
        reinterpret_cast<HWND>(lParam) != core->GetHandle()) {
        pane->m_Confined = false;
        ClipCursor(nullptr);
    }
    LRESULT result = 0;
    if (pane->m_Owner.OnPaneMessage(message, wParam, lParam, &result)) return result;
    return core->DefMessageProc(message, wParam, lParam);
}

bool IsPaneMouseMessage(UINT message)
{
    return message == WM_MOUSEMOVE || message == WM_MOUSEWHEEL ||
           (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONUP);
}

POINT MousePoint(HWND window, UINT message, LPARAM lParam)
{
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (message == WM_MOUSEWHEEL) ScreenToClient(window, &point);
    return point;
}
