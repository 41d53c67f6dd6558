// The control strip of the full-size view window: the control window's buttons and the
// fit-to-window switch.
#pragma once

#include "ui/TButtonBoard.h"
#include "ui/TSkinWindow.h"

// A child of the full-size view window, owned by the main window; main thread.
class TControlStrip : public TSkinWindow {
public:
    explicit TControlStrip(TUiContext& context) : TSkinWindow(context, CANVAS_STRIP), m_Buttons(4)
    {
    }

    int Create(HWND fullView);

protected:
    void Compose(TMemDC& canvas) override;

private:
    TButtonBoard m_Buttons;
};
