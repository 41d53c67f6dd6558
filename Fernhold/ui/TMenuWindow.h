// The main window's menu bar: four menu titles and their owner-drawn pop-up menus.
#pragma once

#include "ui/TSkinWindow.h"

class TMenuWindow : public TSkinWindow {
public:
    explicit TMenuWindow(TUiContext& context) : TSkinWindow(context, CANVAS_MENU) {}

    int Create(HWND parent);

protected:
    void Compose(TMemDC& canvas) override;
};
