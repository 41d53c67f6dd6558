// The main window's state window: the one status line every control and engine reports in.
#pragma once

#include "ui/TSkinWindow.h"

#include <cstdint>

class TStateWindow : public TSkinWindow {
public:
    explicit TStateWindow(TUiContext& context) : TSkinWindow(context, CANVAS_STATE) {}

    int Create(HWND parent);
    // UM_STATUS_TEXT: text (copied) with its priority.
    void SetStatusText(const char* text, uint32_t priority);

protected:
    void Compose(TMemDC& canvas) override;
};
