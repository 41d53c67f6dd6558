// The picture the recorder shows on the destination's display and the driver looks for
// on the operator's: what colour each screen pixel has, so both sides agree.
#pragma once

#include <windows.h>

// Every colour has channels of 0 or 255 only: they pass the frame's 5-bit channels
// unchanged (31 is shown as 255 again), so a pane can be compared exactly.
namespace TwoHostPattern {

constexpr COLORREF TOP_LEFT = RGB(255, 0, 0);
constexpr COLORREF TOP_RIGHT = RGB(0, 255, 0);
constexpr COLORREF BOTTOM_LEFT = RGB(0, 0, 255);
constexpr COLORREF BOTTOM_RIGHT = RGB(255, 255, 0);
// A white block in the top-left quadrant, from (W/8, H/8) to (W/4, H/4): the
// orientation marker, large enough to survive the reduction to 320 x 240.
constexpr COLORREF MARKER = RGB(255, 255, 255);
// A checkerboard of single pixels near the top-left corner: any shift or scaling
// at actual size breaks it.
constexpr int CHECKER_LEFT = 16, CHECKER_TOP = 16, CHECKER_SIZE = 64;

// The colour of screen pixel (x, y) of a width x height display.
inline COLORREF At(int x, int y, int width, int height)
{
    if (x >= CHECKER_LEFT && x < CHECKER_LEFT + CHECKER_SIZE && y >= CHECKER_TOP &&
        y < CHECKER_TOP + CHECKER_SIZE)
        return (x + y) % 2 ? RGB(0, 0, 0) : RGB(255, 255, 255);
    if (x >= width / 8 && x < width / 4 && y >= height / 8 && y < height / 4) return MARKER;
    bool right = x >= width / 2, bottom = y >= height / 2;
    if (bottom) return right ? BOTTOM_RIGHT : BOTTOM_LEFT;
    return right ? TOP_RIGHT : TOP_LEFT;
}

// The changing picture of the frame-rate measurement: the whole screen in one colour
// that names the step (15 bits, as a frame carries them), so each frame that shows a
// newer step is seen as a new frame.
inline COLORREF StepColour(unsigned step)
{
    return RGB((step & 31) << 3, ((step >> 5) & 31) << 3, ((step >> 10) & 31) << 3);
}

} // namespace TwoHostPattern
