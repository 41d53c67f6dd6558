// The right panel: this computer's listening addresses while idle, the actual-size clip
// of the remote screen while connected.
#pragma once

#include "ui/TViewPanel.h"

// Owned by the main window; main thread.
class TMinViewWindow : public TViewPanel {
public:
    explicit TMinViewWindow(TUiContext& context);

    // UM_ENTRY_CHANGED 1: one row per listener of the server engine, its address and port.
    void UpdateListeners();

protected:
    int OnListNotify(const NMHDR& header, LRESULT* result) override;
    // The clip region from the client image; beyond a small screen's edge, black.
    void PaintPane(HDC screen) override;
    // Forwarded while the clip pane is the working view.
    void OnPaneMouse(UINT message, WPARAM wParam, LPARAM lParam) override;
};
