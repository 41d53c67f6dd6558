// The full-size view window: a separate, resizable skinned window that shows the remote
// screen at actual size or fitted.
#pragma once

#include "ui/TSkinWindow.h"

// A top-level window owned by the main window, created hidden; the main window owns the
// object. Main thread.
class TFullViewWindow : public TSkinWindow {
public:
    explicit TFullViewWindow(TUiContext& context) : TSkinWindow(context, CANVAS_FULLVIEW) {}

    // Hidden, centred, then at the saved view rectangle unless all four values are 0.
    int Create(HWND owner);

protected:
    void Compose(TMemDC& canvas) override;
    // The frame art: caption and bottom bar stretched to any width around caps.
    void PaintCanvas(HDC screen, TMemDC& canvas, const RECT& client) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
