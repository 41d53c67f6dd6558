// The full-size view window: a separate, resizable skinned window that shows the remote
// screen at actual size with scroll bars, or fitted to the window.
#pragma once

#include "ui/TSkinWindow.h"
#include "ui/TViewPane.h"

// A top-level window owned by the main window, created hidden; the main window owns the
// object. Its live rectangle is kept in the settings' viewWindowRect (the options save
// it). Main thread.
class TFullViewWindow : public TSkinWindow, private TPaneOwner {
public:
    explicit TFullViewWindow(TUiContext& context);
    ~TFullViewWindow() override;
    TFullViewWindow(const TFullViewWindow&) = delete;
    TFullViewWindow& operator=(const TFullViewWindow&) = delete;

    // Hidden, centred, then at the saved view rectangle unless all four values are 0
    // (never smaller than the minimum window); with its pane and scroll bars.
    int Create(HWND owner);
    // UM_UI_STATE: 3 shows the window while it is the working view and lets it size,
    // scroll and forward the mouse; 1, 2 and 4 hide it (2 and 4 paint only the frame
    // and a black pane). Then posts the window's repaint.
    void SetUiState(WPARAM stage);
    // The scroll bars for the image and the pane as they are now: at actual size with a
    // known remote size, ranges over the image with the pane as page; else reset.
    void UpdateScrollInfo();
    // UM_IMAGE_READY while this is the working view: ranges anew, the pane redrawn.
    void ImageArrived();
    // The fit switch (bit 7 of displayFlags) changed: ranges anew, the pane redrawn with
    // erasing. The control strip's fit button calls it.
    void FitChanged();

    POINT GetScrollOffset() const { return m_Scroll; }
    HWND GetPaneHandle() const { return m_Pane->GetHandle(); }

protected:
    void Compose(TMemDC& canvas) override;
    // The frame art: caption and bottom bar stretched to any width around caps, the
    // edges around the client band, the scroll bars and the pane.
    void PaintCanvas(HDC screen, TMemDC& canvas, const RECT& client) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    int OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    PaneGeometry GetPaneGeometry();
    void PaintPane();
    // WM_WINDOWPOSCHANGED: children placed for the new size, ranges anew, the rectangle
    // kept for the options.
    void OnPositionChanged();
    // WM_VSCROLL (vertical) or WM_HSCROLL from the window's scroll bars.
    void Scroll(bool vertical, int code, long thumb);

    TViewPane* m_Pane;
    HWND m_Vertical = nullptr;
    HWND m_Horizontal = nullptr;
    // Remote pixel at the pane's left-top corner at actual size.
    POINT m_Scroll{0, 0};
    // State 3: sizing, scrolling and the image-and-mouse pane; otherwise frame and black.
    bool m_Live = false;
};
