// What the view-window tests share: a remote image painted with a pattern, the main
// window put into a stage with a working view, window rectangles and pixels on screen.
#pragma once

#include "ui/TFullViewWindow.h"
#include "ui/tests/MainWindowHarness.h"

#include <windows.h>

#include <cstdint>
#include <functional>

// 16-bit pixels (X1R5G5B5) and the colour they show on screen.
constexpr uint16_t PIXEL_RED = 0x7C00;
constexpr uint16_t PIXEL_BLUE = 0x001F;
constexpr COLORREF SCREEN_RED = RGB(255, 0, 0);
constexpr COLORREF SCREEN_BLUE = RGB(0, 0, 255);
constexpr COLORREF SCREEN_BLACK = RGB(0, 0, 0);

// The client image made width x height and filled by pixel(x, y).
void PaintRemote(TClientImage& image, long width, long height, uint16_t (*pixel)(long x, long y));

// displayFlags set (connection state and switches as given), then UM_UI_STATE stage
// sent and the posted repaints and paints drained.
void EnterStage(MainWindowHarness& harness, WPARAM stage, uint32_t displayFlags);

RECT ScreenRectOf(HWND window);
// The window's client area on screen, pixel by pixel.
TScreenShot ClientPixels(HWND window);
// The client area once it shows what check wants, read again while the messages are
// pumped (the display receives painted pixels a little later); after timeoutMs, the
// last reading.
TScreenShot ClientPixelsOnceShown(HWND window, const std::function<bool(const TScreenShot&)>& check,
                                  DWORD timeoutMs = 3000);

// The panes: left 320, right 420, and the full-size view window's pane.
HWND LeftPane(const MainWindowHarness& harness);
HWND RightPane(const MainWindowHarness& harness);
HWND FullViewWindow();
HWND FullPane();
// The window object behind the full-size view window, found as the control strip finds
// its parent: through the window's user data.
TFullViewWindow* FullViewOf(HWND window);
