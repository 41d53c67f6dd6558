// The inner pane of a view window: a plain child that hands its messages to its owner,
// and applies the owner's capture and cursor confinement.
#pragma once

#include "ui/TUiContext.h"
#include "ui/ViewGeometry.h"

#include <Panekind/TWndCore.h>

// Implemented by the window the pane belongs to (a panel or the full-size view).
class TPaneOwner {
public:
    // One message of the pane; 1 when handled, with the answer in *result. Unhandled
    // messages go to DefWindowProcA.
    virtual int OnPaneMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;

protected:
    ~TPaneOwner() = default;
};

// Created with new and given back with Release by its owner, whose window is its
// parent (so the pane's window is gone before the owner's). Main thread.
class TViewPane : public TWndCore {
public:
    explicit TViewPane(TPaneOwner& owner) : m_Owner(owner) {}

    // A child of parent with the program's class; 1 on success.
    int Create(HWND parent, const char* text, const RECT& rect, LONG_PTR id, unsigned long style);

    // While the pane is the working view: one mouse message of the pane decided by
    // DecidePaneMouse for geometry, its request queued on the client's event link when
    // that exists and the mouse switch is on, the capture applied. 1 when the point
    // forwards (lies on the remote screen).
    int ForwardMouse(TUiContext& context, const PaneGeometry& geometry, UINT message, WPARAM wParam,
                     LPARAM lParam);
    // Captures the mouse and confines the cursor to confine (pane coordinates), or frees
    // both; Keep does nothing.
    void ApplyCapture(PaneCapture capture, const RECT& confine);
    // Captures the mouse and confines the cursor to the whole pane.
    void ConfineToPane();
    // Releases the capture when the pane holds it, and the confinement.
    void Free();
    // Free, when the pane holds the capture or confines the cursor (a pane that is hidden
    // or stops being the working view must not keep either).
    void FreeIfHeld();
    SIZE GetClientSize() const;

private:
    static LRESULT UserProc(TWndCore* core, UINT message, WPARAM wParam, LPARAM lParam);

    TPaneOwner& m_Owner;
    // The cursor is confined on this pane's behalf; a capture lost to another window
    // (a dialog, another application) ends it, or the cursor would stay caught.
    bool m_Confined = false;
};

// The mouse messages a pane forwards: moves, the three buttons and the wheel.
bool IsPaneMouseMessage(UINT message);
// A mouse message's point in the window's client coordinates: the wheel reports the
// screen position, the other messages the client position.
POINT MousePoint(HWND window, UINT message, LPARAM lParam);
