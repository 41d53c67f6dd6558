// The main window's side of waking a destination: the rights check, the wait for a search
// still running on it, and the request to the client thread.
#pragma once

#include "ui/TUiContext.h"

#include <windows.h>

// UM_WAKE_DESTINATION with the destination's index: right 0x80 (asks the administrator
// when missing; a refusal ends it), then, while the destination's worker thread runs, the
// wait behind the notice; then TM_WAKE with the index to clientThread, which checks the
// index against the list. Main thread.
void RequestWake(TUiContext& context, WPARAM index, DWORD clientThread);
