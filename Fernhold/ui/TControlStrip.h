// The control strip of the full-size view window: the control window's buttons and the
// fit-to-window switch.
#pragma once

#include "ui/TControlSurface.h"

// A child of the full-size view window, owned by the main window; main thread.
class TControlStrip : public TControlSurface {
public:
    explicit TControlStrip(TUiContext& context)
        : TControlSurface(context, CANVAS_STRIP, ControlSurface::Strip, 4)
    {
    }

    int Create(HWND fullView);

protected:
    void Compose(TMemDC& canvas) override;
    void OnButtonsChanged() override;
    // The full-size view (the strip's parent) shows the image fitted or at actual size.
    void OnFitChanged() override;
};
