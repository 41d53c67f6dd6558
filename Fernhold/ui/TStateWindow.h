// The main window's state window: the one status line every control and engine reports in.
#pragma once

#include "ui/TSkinWindow.h"
#include "ui/TStatusLine.h"

#include <cstdint>

// The line is highlighted for a few seconds after it changed (timer 1, every second).
// Main thread.
class TStateWindow : public TSkinWindow {
public:
    explicit TStateWindow(TUiContext& context) : TSkinWindow(context, CANVAS_STATE) {}

    int Create(HWND parent);
    // UM_STATUS_TEXT: text (copied; null is the empty text) with its priority.
    void SetStatusText(const char* text, uint32_t priority);
    const TStatusLine& GetStatusLine() const { return m_Line; }

protected:
    void Compose(TMemDC& canvas) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    TStatusLine m_Line;
};
