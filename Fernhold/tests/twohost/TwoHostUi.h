// The operator's side of the two-host test: finds the program's windows on this
// display, clicks them with real input and reads back what they show.
#pragma once

#include <windows.h>

#include <functional>

// Each returns the process exit code for its driver command: 0 done, 1 failed (the
// reason on standard error).
namespace TwoHostUi {

// select <row>: a click on that row of the destination list; waits until it is the
// list's selection.
int SelectRow(int row);
// press <button>: a click on a session button, reduced, clip, full, disconnect, pause
// or connect: in the full-size view's strip while that view is shown, else in the
// control window.
int Press(const char* button);
// await <stage> <seconds>: waits for connected (both panes shown, both lists
// hidden), idle (both lists shown, both panes hidden), full (the full-size view
// shown) or waiting (connecting or disconnecting: neither the list nor the pane).
int Await(const char* stage, DWORD seconds);
// click-pane <x> <y>: a click at that point of the reduced pane.
int ClickReducedPane(int x, int y);
// pattern <pane> <width> <height> <clip x> <clip y> <seconds>: waits until the pane
// (reduced, clip or full) shows the destination's pattern of that display size, with
// the clip region at that origin; reports the pixels that differ when it does not.
int AwaitPattern(const char* pane, int width, int height, POINT clip, DWORD seconds);
// type <keys>: strikes the keys (letters and digits) while the main window is the
// foreground window, so that its thread's keyboard hook sees them.
int Type(const char* keys);

// Polls done every 100 ms; false when it has not come true within seconds.
bool WaitFor(const std::function<bool()>& done, DWORD seconds);
// update <row>: the operator's update command for that row of the destination list,
// sent to the main window as its operation menu sends it (UM_SEND_UPDATE_REQUEST); the
// main window checks the right and asks the destination, and answers once it has.
int PushUpdate(int row);
// wake <row> [notice] <seconds>: the operator's wake command for that row, posted to the
// main window as its operation menu posts it. With notice, the "please wait" notice must
// come (another worker of that destination still runs) and go within the seconds.
int Wake(int row, bool notice, DWORD seconds);

// The reduced pane's window, null (with a message) when it is not there.
HWND ReducedPane();
// The operator's main window, null (with a message) when it is not there.
HWND MainWindow();
// A real click (SendInput) at a point of a window's client area.
bool ClickAt(HWND window, int x, int y);

} // namespace TwoHostUi
