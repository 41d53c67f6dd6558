// The control window of the main window: working view, connect, pause, disconnect, the
// mouse and keyboard switches, and the information panel.
#pragma once

#include "ui/TButtonBoard.h"
#include "ui/TSkinWindow.h"

// Owned by the main window; main thread.
class TControlWindow : public TSkinWindow {
public:
    explicit TControlWindow(TUiContext& context)
        : TSkinWindow(context, CANVAS_CONTROL), m_Buttons(3)
    {
    }

    int Create(HWND parent);

protected:
    void Compose(TMemDC& canvas) override;

private:
    // The information panel's three lines for the connection state.
    void ComposeInformation(TMemDC& canvas);

    TButtonBoard m_Buttons;
    // Ticks the information panel stays highlighted after a change.
    int m_Highlight = 5;
};
