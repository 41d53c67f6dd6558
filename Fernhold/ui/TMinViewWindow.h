// The right panel: this computer's listening addresses while idle, the actual-size clip
// of the remote screen while connected.
#pragma once

#include "ui/TSkinWindow.h"

// Owned by the main window; main thread.
class TMinViewWindow : public TSkinWindow {
public:
    explicit TMinViewWindow(TUiContext& context) : TSkinWindow(context, CANVAS_MINVIEW) {}

    int Create(HWND parent);

protected:
    void Compose(TMemDC& canvas) override;
};
