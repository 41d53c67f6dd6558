// Dialog 101, the modeless "please wait" notice shown while the main thread waits for a
// destination's worker thread.
#pragma once

#include <windows.h>

class TDestination;

// Main thread. The notice has no buttons: it goes when its owner's wait is over.
class TWaitNotice {
public:
    // Creates and shows the notice centred on owner; null when it could not be made.
    static HWND Show(HWND owner);
    static void Close(HWND notice);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

// A handle of the record's worker thread to wait on, or null when none runs. The
// duplicate stays valid when the record is deleted meanwhile. Caller holds the list lock.
HANDLE OpenRunningWorker(const TDestination& record);
// Shows the notice owned by owner, waits without limit for thread to end (painting the
// windows and taking the engines' notifications meanwhile, nothing else: no command can
// start while a record is in between),
// destroys the notice and closes the handle. Main thread, without the list lock: the
// worker takes it before it ends.
void WaitShowingNotice(HWND owner, HANDLE thread);
