// The main window's title bar: the caption art with its gradient, minimise and close, the system
// menu, dragging.
#pragma once

#include "ui/TSkinWindow.h"

class TTitlebarWindow : public TSkinWindow {
public:
    explicit TTitlebarWindow(TUiContext& context) : TSkinWindow(context, CANVAS_TITLEBAR) {}

    int Create(HWND parent);

protected:
    void Compose(TMemDC& canvas) override;
};
