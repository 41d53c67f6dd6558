// The control window of the main window: working view, connect, pause, disconnect, the
// mouse and keyboard switches, and the information panel.
#pragma once

#include "ui/TControlSurface.h"

// Owned by the main window; main thread.
class TControlWindow : public TControlSurface {
public:
    explicit TControlWindow(TUiContext& context)
        : TControlSurface(context, CANVAS_CONTROL, ControlSurface::Window, 3)
    {
    }

    int Create(HWND parent);

protected:
    void Compose(TMemDC& canvas) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnButtonsChanged() override;

private:
    // The information panel's three lines for the connection state.
    void ComposeInformation(TMemDC& canvas);

    // Seconds the information panel stays highlighted after a change.
    int m_Highlight = 5;
};
