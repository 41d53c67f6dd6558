// The left panel: the destination list while idle, the reduced whole-screen view of the
// remote computer while connected.
#pragma once

#include <vector>

#include "ui/TButtonBoard.h"
#include "ui/TDestinationEditor.h"
#include "ui/TDestinationSelection.h"
#include "ui/TViewPanel.h"

// Owned by the main window; main thread. Offers the list's selection to the other
// windows through TUiContext::selection.
class TMaxViewWindow : public TViewPanel, public TDestinationSelection {
public:
    explicit TMaxViewWindow(TUiContext& context);

    int Create(HWND parent);

    // UM_ENTRY_CHANGED 0: under the destination-list lock, rows beyond the list go; then
    // the row of the destination with that record id (filling any rows before it), or
    // every row for ENTRY_CHANGED_ALL, takes the name with its search-state icon, the
    // address and the port. An id no longer in the list changes no row.
    void UpdateDestination(LPARAM recordId);
    // Several UM_ENTRY_CHANGED that waited together (a bulk registration): the rows in one
    // redraw, since a visible row insertion redraws the list and its scroll bar each time.
    void UpdateDestinations(const std::vector<LPARAM>& recordIds);

    // The edit menu's add, edit and delete (MENU_ADD_DESTINATION to
    // MENU_DELETE_DESTINATION) on the selected row, as the list buttons run them.
    void RunDestinationCommand(UINT menuId);
    TDestinationEditor& GetEditor() { return m_Editor; }

    long GetSelectedRow() const override;
    int GetSelectedSearchState() const override;

protected:
    void ComposeAtRest(TMemDC& canvas) override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    int OnListNotify(const NMHDR& header, LRESULT* result) override;
    int OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The reduced image and, while the remote size is known, the clip outline.
    void PaintPane(HDC screen) override;
    // Forwarded and followed while the reduced pane is the working view; the clip
    // region dragged while the clip pane is.
    void OnPaneMouse(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Caller holds the destination-list lock.
    void SetDestinationRow(unsigned long index);
    // Add, edit and delete: hover help, press and release.
    void OnListButtonMouse(UINT message, POINT point);
    void RunListButton(int button);
    // The label edit renames a destination while holding the list lock from its start
    // to its end.
    LRESULT BeginLabelEdit();
    LRESULT EndLabelEdit(const NMLVDISPINFOA& info);
    void ReleaseEditLock();

    // Working view reduced: the clip region follows the cursor.
    void FollowClip(POINT point);
    // Working view clip: the clip region is dragged by its outline.
    void DragClip(UINT message, POINT point);
    void MoveClipTo(POINT point);
    void EndDrag();
    void ShowPaneCursor(HCURSOR cursor);

    // The copy and scratch address the destination dialogs work on.
    TDestinationEditor m_Editor;
    TButtonBoard m_ListButtons;
    int m_HoverButton = 0;
    bool m_TrackingLeave = false;
    bool m_EditHoldsLock = false;
    bool m_Dragging = false;
    // Cursor of the pane while the clip region can be dragged; null for the arrow.
    HCURSOR m_PaneCursor = nullptr;
};
