// Control surface: hit-map reading, the button groups and the actions.
#include "ui/TControlSurface.h"

#include "net/MainWindowMessages.h"
#include "ui/ControlActions.h"
#include "ui/ConnectionState.h"
#include "ui/TAppShell.h"
#include "ui/TDestinationSelection.h"

#include <windowsx.h>

TControlSurface::TControlSurface(TUiContext& context, SkinCanvas canvas, ControlSurface surface,
                                 int groups)
    : TSkinWindow(context, canvas), m_Buttons(groups), m_Surface(surface)
{
}

void TControlSurface::ComposeButtons(TMemDC& canvas) const
{
    ComposeControlButtons(m_Skin, canvas, m_Surface, m_Buttons, m_Context.settings.displayFlags);
}

int TControlSurface::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(GetHandle());
        [[fallthrough]];
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnMouse(message, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        *result = 0;
        return 1;
    default:
        return 0;
    }
}

void TControlSurface::OnMouse(UINT message, int x, int y)
{
    COLORREF colour = 0;
    if (m_Skin.Lock()) {
        colour = HitColour(m_Skin.GetBitmap(m_Canvas, 0), x, y);
        m_Skin.Unlock();
    }
    int active = m_Buttons.GetActiveGroup();
    bool changed = false;
    for (int group = 1; group <= m_Buttons.GetGroupCount(); ++group) {
        if (active && group != active) continue;
        int run = 0;
        if (m_Buttons.Handle(group, message, ControlButtonAt(group, colour), &run)) changed = true;
        if (run) Run(group, run);
    }
    if (message == WM_MOUSEMOVE) {
        int hovered = ControlButtonIndex(colour, m_Buttons.GetGroupCount());
        if (hovered != m_Hovered)
            ShowStatusText(hovered >= 0 ? CONTROL_BUTTONS[hovered].statusText : "");
        m_Hovered = hovered;
    }
    if (!changed) return;
    if (m_Buttons.GetActiveGroup())
        SetCapture(GetHandle());
    else if (GetCapture() == GetHandle())
        ReleaseCapture();
    OnButtonsChanged();
}

void TControlSurface::Run(int group, int button)
{
    TFernSettings& settings = m_Context.settings;
    switch (group) {
    case GROUP_VIEW:
        SelectWorkingView(settings, VIEW_REDUCED << (button - 1));
        PostToMain(UM_UI_STATE, UI_STATE_UNCHANGED, 0);
        break;
    case GROUP_SESSION:
        if (button == 1)
            PostToMain(UM_CONNECT_EVENT, CONNECT_EVENT_DISCONNECT, 0);
        else if (button == 2)
            PostToMain(UM_CONNECT_EVENT, CONNECT_EVENT_PAUSE, 0);
        else
            PostToMain(UM_CONNECT_EVENT, CONNECT_EVENT_CONNECT,
                       m_Context.selection ? m_Context.selection->GetSelectedRow() : -1);
        break;
    case GROUP_EVENTS:
        ClickEventSwitch(settings, m_Context.shell.GetRights(),
                         button == 1 ? DISPLAY_SEND_MOUSE : DISPLAY_SEND_KEYBOARD);
        break;
    case GROUP_FIT:
        ToggleFitToWindow(settings);
        OnFitChanged();
        break;
    default:
        break;
    }
}
