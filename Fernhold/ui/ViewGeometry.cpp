// View geometry: the coordinate table of the panes, the clip region, scrolling, the
// full-size view's layout and hit areas.
#include "ui/ViewGeometry.h"

#include "net/EventRequests.h"

#include <algorithm>

namespace {

constexpr RECT EMPTY_RECT{0, 0, 0, 0};

bool Contains(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

// One axis of an image shown pixel for pixel in a pane of the given length: where it
// lands, how much of it shows, and where reading starts.
struct AxisWindow {
    long target;
    long length;
    long source;
};

AxisWindow CentredAxis(long pane, long image, long scroll)
{
    if (pane <= 0) return AxisWindow{0, 0, 0};
    if (image < pane) return AxisWindow{(pane - image) / 2, image, 0};
    return AxisWindow{0, pane, std::clamp(scroll, 0L, image - pane)};
}

// A remote pixel as column / across and row / down: the fraction MakeMouseRequest
// scales to 0..65535.
struct RemoteFraction {
    long column;
    long across;
    long row;
    long down;
};

bool FromImageWindow(const ImageWindow& window, const RemoteView& remote, POINT point,
                     RemoteFraction* fraction)
{
    if (!Contains(window.target, point)) return false;
    *fraction = RemoteFraction{window.source.x + point.x - window.target.left, remote.width,
                               window.source.y + point.y - window.target.top, remote.height};
    return true;
}

bool LocatePanePoint(const PaneGeometry& geometry, POINT point, RemoteFraction* fraction)
{
    const RemoteView& remote = geometry.remote;
    if (remote.width <= 0 || remote.height <= 0) return false;
    switch (geometry.kind) {
    case PaneKind::Reduced:
        if (!Contains(RECT{0, 0, REDUCED_WIDTH, REDUCED_HEIGHT}, point)) return false;
        *fraction = RemoteFraction{point.x, REDUCED_WIDTH, point.y, REDUCED_HEIGHT};
        return true;
    case PaneKind::Clip:
        return FromImageWindow(ClipPaneWindow(remote), remote, point, fraction);
    case PaneKind::FullActual:
        return FromImageWindow(
            ActualPaneWindow(geometry.pane, remote.width, remote.height, geometry.scroll), remote,
            point, fraction);
    case PaneKind::FullFitted:
        if (!Contains(RECT{0, 0, geometry.pane.cx, geometry.pane.cy}, point)) return false;
        *fraction = RemoteFraction{point.x, geometry.pane.cx, point.y, geometry.pane.cy};
        return true;
    }
    return false;
}

bool IsButtonDown(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool IsButtonUp(UINT message)
{
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

} // namespace

WorkingView GetWorkingView(uint32_t displayFlags)
{
    switch (displayFlags & 0x70) {
    case 0x10:
        return WorkingView::Reduced;
    case 0x20:
        return WorkingView::Clip;
    case 0x40:
        return WorkingView::Full;
    default:
        return WorkingView::None;
    }
}

bool IsFittedToWindow(uint32_t displayFlags) { return (displayFlags & 0x80) != 0; }

ImageWindow ClipPaneWindow(const RemoteView& remote)
{
    if (remote.width <= 0 || remote.height <= 0) return ImageWindow{EMPTY_RECT, POINT{0, 0}};
    // The origin is kept inside the screen by its owner; held to it here as well, so a
    // stale origin can never make the painting read outside the image.
    long x = std::clamp(remote.clip.x, 0L, remote.width - 1);
    long y = std::clamp(remote.clip.y, 0L, remote.height - 1);
    long width = std::min(CLIP_WIDTH, remote.width - x);
    long height = std::min(CLIP_HEIGHT, remote.height - y);
    return ImageWindow{RECT{0, 0, width, height}, POINT{x, y}};
}

ImageWindow ActualPaneWindow(SIZE pane, long width, long height, POINT scroll)
{
    if (width <= 0 || height <= 0) return ImageWindow{EMPTY_RECT, POINT{0, 0}};
    AxisWindow x = CentredAxis(pane.cx, width, scroll.x);
    AxisWindow y = CentredAxis(pane.cy, height, scroll.y);
    return ImageWindow{RECT{x.target, y.target, x.target + x.length, y.target + y.length},
                       POINT{x.source, y.source}};
}

int MakePaneMouseRequest(const PaneGeometry& geometry, POINT point, uint32_t flags, int32_t data,
                         EventPacket& packet)
{
    RemoteFraction at{};
    if (!LocatePanePoint(geometry, point, &at)) return 0;
    return MakeMouseRequest(at.column, at.row, at.across, at.down, flags, data, packet);
}

RECT PaneConfinement(const PaneGeometry& geometry)
{
    switch (geometry.kind) {
    case PaneKind::Reduced:
        return RECT{0, 0, REDUCED_WIDTH, REDUCED_HEIGHT};
    case PaneKind::Clip:
        return ClipPaneWindow(geometry.remote).target;
    case PaneKind::FullActual:
        return ActualPaneWindow(geometry.pane, geometry.remote.width, geometry.remote.height,
                                geometry.scroll)
            .target;
    case PaneKind::FullFitted:
        return RECT{0, 0, geometry.pane.cx, geometry.pane.cy};
    }
    return EMPTY_RECT;
}

PaneMouseAction DecidePaneMouse(const PaneGeometry& geometry, UINT message, WPARAM wParam,
                                POINT point, bool sendAllowed)
{
    PaneMouseAction action{0, 0, EventPacket{}, PaneCapture::Keep, EMPTY_RECT};
    uint32_t flags = MouseFlagsForMessage(message);
    if (!flags) return action;
    int32_t data = message == WM_MOUSEWHEEL ? GET_WHEEL_DELTA_WPARAM(wParam) : 0;
    // A release frees even where it forwards nothing: the remote size may have gone to
    // 0 (a disconnect) while the button was held.
    if (IsButtonUp(message)) action.capture = PaneCapture::Release;
    action.forwards = MakePaneMouseRequest(geometry, point, flags, data, action.packet);
    if (!action.forwards) return action;
    action.send = sendAllowed;
    if (IsButtonDown(message)) {
        action.capture = PaneCapture::Take;
        action.confine = PaneConfinement(geometry);
    }
    return action;
}

POINT ClipCentredOn(POINT reducedPoint, long width, long height)
{
    return POINT{reducedPoint.x * width / REDUCED_WIDTH - CLIP_WIDTH / 2,
                 reducedPoint.y * height / REDUCED_HEIGHT - CLIP_HEIGHT / 2};
}

RECT ClipOutline(const RemoteView& remote)
{
    if (remote.width <= 0 || remote.height <= 0) return EMPTY_RECT;
    const POINT& clip = remote.clip;
    // A screen smaller than the clip region is outlined whole, inside the pane.
    return RECT{clip.x * REDUCED_WIDTH / remote.width, clip.y * REDUCED_HEIGHT / remote.height,
                std::min(REDUCED_WIDTH, (clip.x + CLIP_WIDTH) * REDUCED_WIDTH / remote.width),
                std::min(REDUCED_HEIGHT, (clip.y + CLIP_HEIGHT) * REDUCED_HEIGHT / remote.height)};
}

long ScrollOffset(long offset, int code, long thumb, long image, long pane)
{
    long room = image - pane;
    if (room <= 0) return offset;
    switch (code) {
    case SB_LINEDOWN:
        offset += 1;
        break;
    case SB_LINEUP:
        offset -= 1;
        break;
    case SB_PAGEDOWN:
        offset += room / 10;
        break;
    case SB_PAGEUP:
        offset -= room / 10;
        break;
    case SB_THUMBPOSITION:
        offset = thumb;
        break;
    default: // SB_THUMBTRACK among them: the image follows the thumb only when released
        return offset;
    }
    return std::clamp(offset, 0L, room);
}

ScrollRange AxisScrollRange(long image, long pane, long offset, bool shown)
{
    if (!shown || image <= 0) return ScrollRange{0, 1, 0};
    if (image > pane)
        return ScrollRange{static_cast<int>(image - 1), static_cast<UINT>(std::max(pane, 0L)),
                           std::clamp(offset, 0L, image - std::max(pane, 0L))};
    return ScrollRange{static_cast<int>(image - 1), static_cast<UINT>(image), 0};
}

FullViewLayout LayOutFullView(long width, long height)
{
    // Sizes below the minimum window come only from a damaged saved rectangle: the
    // children shrink to nothing rather than turn inside out.
    auto box = [](long left, long top, long w, long h) {
        return RECT{left, top, left + std::max(w, 0L), top + std::max(h, 0L)};
    };
    return FullViewLayout{box(12, 36, width - 38, height - 82),
                          box(width - 22, 35, 10, height - 67),
                          box(11, height - 42, width - 36, 10), POINT{width - 315, height - 19}};
}

LRESULT FullViewHitTest(POINT point, SIZE window, bool maximised)
{
    constexpr long BORDER = 3;
    if (!maximised) {
        bool left = point.x < BORDER, right = point.x >= window.cx - BORDER;
        bool top = point.y < BORDER, bottom = point.y >= window.cy - BORDER;
        if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    if (point.x >= 40 && point.x < window.cx - 43 && point.y >= 3 && point.y < 24) return HTCAPTION;
    return 0;
}
