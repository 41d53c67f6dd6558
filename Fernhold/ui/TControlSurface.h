// Base of the control window and the control strip: their push buttons read from a hit
// map, the button groups holding the mouse, and the actions the buttons run.
#pragma once

#include "ui/ControlButtons.h"
#include "ui/TButtonBoard.h"
#include "ui/TSkinWindow.h"

// Main thread. The hit map is the first bitmap of the window's group.
class TControlSurface : public TSkinWindow {
public:
    TControlSurface(TUiContext& context, SkinCanvas canvas, ControlSurface surface, int groups);

protected:
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // After any change of a button's state word.
    virtual void OnButtonsChanged() = 0;
    // After the fit switch changed (the strip's only).
    virtual void OnFitChanged() {}
    // Draws the buttons at their looks and the overlays that are on.
    void ComposeButtons(TMemDC& canvas) const;

    TButtonBoard m_Buttons;

private:
    // One mouse message through the group that holds the mouse, or every group in turn.
    void OnMouse(UINT message, int x, int y);
    void Run(int group, int button);

    ControlSurface m_Surface;
    // The button whose help text is shown (its table index, -1 none).
    int m_Hovered = -1;
};
