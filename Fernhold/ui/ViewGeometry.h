// Where the remote screen lies in each view pane: mouse positions to remote event
// positions, capture and confinement, the clip region's centring and outline, the
// full-size view's placement, scrolling, layout and hit areas. No window involved.
#pragma once

#include "net/TClientImage.h"
#include "net/TEventQueue.h"
#include "ui/SkinStore.h"

#include <windows.h>

// The working view: which pane forwards the mouse (bits 4 to 6 of displayFlags).
enum class WorkingView { Reduced, Clip, Full, None };
WorkingView GetWorkingView(uint32_t displayFlags);
// Bit 7 of displayFlags: the full-size view fits the image to its window.
bool IsFittedToWindow(uint32_t displayFlags);

// How a pane shows the remote screen.
enum class PaneKind {
    Reduced,    // the left panel's pane: the whole screen in 320 x 240
    Clip,       // the right panel's pane: the clip region at actual size
    FullActual, // the full-size pane at actual size, centred when smaller, scrolled
    FullFitted, // the full-size pane with the whole screen stretched to it
};

// One pane at one moment: what the mouse and the painting need to know.
struct PaneGeometry {
    PaneKind kind;
    RemoteView remote;
    SIZE pane;    // client size of the full-size pane (the panels' panes are fixed)
    POINT scroll; // the full-size pane's scroll offset at actual size
};

// The part of the remote image a pane shows pixel for pixel: where it lands in the pane
// (empty when nothing is shown) and the image point it starts from. The source never
// lies outside the image.
struct ImageWindow {
    RECT target;
    POINT source;
};

// The clip pane: the clip region from its origin; on a screen smaller than the region,
// what lies beyond the screen's edge is not image.
ImageWindow ClipPaneWindow(const RemoteView& remote);
// The full-size pane at actual size: an image smaller than the pane is centred, a larger
// one is read from the scroll offset (kept inside the image).
ImageWindow ActualPaneWindow(SIZE pane, long width, long height, POINT scroll);

// The CMD_MOUSE request for a pane point: 0 when the point forwards nothing (remote size
// unknown, or the point outside the image).
int MakePaneMouseRequest(const PaneGeometry& geometry, POINT point, uint32_t flags, int32_t data,
                         EventPacket& packet);
// The pane rectangle a button press confines the cursor to: the image rectangle for the
// full-size pane at actual size, else the whole pane (pane coordinates).
RECT PaneConfinement(const PaneGeometry& geometry);

// What a pane does with one of its mouse messages while it is the working view.
enum class PaneCapture { Keep, Take, Release };
struct PaneMouseAction {
    int forwards; // the point lies on the remote screen: packet is made
    int send;     // queue packet on the event link
    EventPacket packet;
    PaneCapture capture;
    RECT confine; // with Take, in pane coordinates
};
// Moves, the three buttons and the wheel (point in pane coordinates, the wheel's too).
// sendAllowed: the event link exists and the mouse switch is on. A press that forwards
// captures and confines even when nothing may be sent; a release always frees, so a
// press can never leave the cursor confined.
PaneMouseAction DecidePaneMouse(const PaneGeometry& geometry, UINT message, WPARAM wParam,
                                POINT point, bool sendAllowed);

// The clip origin that centres the clip region on a reduced-pane point, before
// ClampClipOrigin keeps it inside the screen.
POINT ClipCentredOn(POINT reducedPoint, long width, long height);
// The clip region outlined in the reduced pane; empty while the remote size is unknown.
RECT ClipOutline(const RemoteView& remote);

// One scroll-bar action (SB_ code, thumb position) on one axis: the new offset, kept
// within 0 .. image - pane. Nothing moves while the image fits or the thumb is only
// being tracked.
long ScrollOffset(long offset, int code, long thumb, long image, long pane);
// One scroll bar's range 0 .. max with its page, and the offset it leaves.
struct ScrollRange {
    int max;
    UINT page;
    long offset;
};
// shown: the pane shows the image at actual size and the remote size is known; else
// the bar is reset (range 0 .. 0, page 1, offset 0).
ScrollRange AxisScrollRange(long image, long pane, long offset, bool shown);

// The full-size view window's children for a client size.
struct FullViewLayout {
    RECT pane;
    RECT vertical;
    RECT horizontal;
    POINT strip; // left-top corner; the strip keeps its size
};
FullViewLayout LayOutFullView(long width, long height);
constexpr long FULLVIEW_MIN_WIDTH = 330;
constexpr long FULLVIEW_MIN_HEIGHT = 240;
// WM_NCHITTEST of the full-size view window for a point in window coordinates: sizing
// borders within 3 pixels of an edge (not while maximised), the caption band, or 0 for
// the default answer.
LRESULT FullViewHitTest(POINT point, SIZE window, bool maximised);
