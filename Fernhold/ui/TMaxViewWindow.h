// The left panel: the destination list while idle, the reduced whole-screen view of the
// remote computer while connected.
#pragma once

#include "ui/TButtonBoard.h"
#include "ui/TSkinWindow.h"

// Owned by the main window; main thread.
class TMaxViewWindow : public TSkinWindow {
public:
    explicit TMaxViewWindow(TUiContext& context)
        : TSkinWindow(context, CANVAS_MAXVIEW), m_ListButtons(1)
    {
    }

    int Create(HWND parent);

protected:
    void Compose(TMemDC& canvas) override;

private:
    // Add, edit and delete below the list (hover and pressed looks).
    TButtonBoard m_ListButtons;
};
