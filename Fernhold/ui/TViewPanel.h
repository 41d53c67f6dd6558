// What the two panels of the main window share: a list while idle, an image pane while
// connected, the waiting animation in between, and the panel art at rest.
#pragma once

#include "ui/TListControl.h"
#include "ui/TSkinWindow.h"
#include "ui/TViewPane.h"

// UM_REPAINT indexes of the view windows, as the main window's table numbers them.
constexpr WPARAM REPAINT_LEFT_PANEL = 3;
constexpr WPARAM REPAINT_RIGHT_PANEL = 4;
constexpr WPARAM REPAINT_FULL_VIEW = 7;

// What sets one panel apart; the rest of its geometry follows from its pane: the panel
// is the pane with a 20-pixel border, the sunken work area 3 pixels around the pane, the
// header strip across the pane's top, the list 15 pixels down, the animation's rows of
// 60 pixels over the pane. One constant per panel.
struct ViewPanelLayout {
    const char* text;
    RECT rect; // in the main window
    LONG_PTR id;
    SIZE pane;
    const char* paneText;
    LONG_PTR paneId;
    int listId;
    int listHeight;
    const ListColumn* columns;
    int columnCount;
    int frameStep;       // frames the animation advances per step
    WPARAM repaintIndex; // UM_REPAINT index of the panel
};

// Owned by the main window; main thread. The stage of the main window's controls
// (UI_STATE_*) decides what shows: 1 the list, 2 and 4 the waiting animation over what
// was last on screen, 3 the pane.
class TViewPanel : public TSkinWindow, protected TPaneOwner {
public:
    TViewPanel(TUiContext& context, SkinCanvas canvas, const ViewPanelLayout& layout);
    ~TViewPanel() override;
    TViewPanel(const TViewPanel&) = delete;
    TViewPanel& operator=(const TViewPanel&) = delete;

    // The panel in the main window with its hidden list and pane; 1 on success.
    int Create(HWND parent);
    // UM_UI_STATE: shows the list, the animation or the pane for the stage, then posts
    // the panel's repaint.
    void SetUiState(WPARAM stage);
    // Composes the canvas (one animation step while waiting) and, when invalidating,
    // invalidates the panel and its pane. TSkinWindow's Repaint, widened to the pane.
    void Repaint(int invalidate);

    HWND GetListHandle() const { return m_List.GetHandle(); }
    HWND GetPaneHandle() const { return m_Pane->GetHandle(); }

protected:
    void Compose(TMemDC& canvas) override;
    // The art at rest beyond the frame and header (the left panel's buttons).
    virtual void ComposeAtRest(TMemDC& canvas);
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // A notification of the panel's list; 1 when handled.
    virtual int OnListNotify(const NMHDR& header, LRESULT* result) = 0;
    // The pane's messages: its paint (all of it, between BeginPaint and EndPaint) and
    // its mouse; every mouse message then goes on to the default procedure.
    int OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    virtual void PaintPane(HDC screen) = 0;
    virtual void OnPaneMouse(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    TListControl m_List;
    TViewPane* m_Pane;

private:
    // The pane's rectangle, also the area the animation starts from.
    RECT ViewArea() const;
    bool IsWaiting() const;
    // The view area as it is on screen now, into the canvas (the animation fades over it).
    void TakeViewAreaFromScreen();
    void ComposeWaitingStep(TMemDC& canvas);

    const ViewPanelLayout& m_Layout;
    int m_Frame = 0;
    // Opacity of the animation, 0 to 100.
    int m_Counter = 0;
};
