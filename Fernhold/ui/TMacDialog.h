// Dialog 146: one MAC address in six two-character edits.
#pragma once

#include <windows.h>

// Main thread, modal.
class TMacDialog {
public:
    // Edits the six bytes; when the dialog closes (OK and cancel alike) each edit's text
    // becomes its byte (ParseMacByteText). 1 for OK: only then does the caller use them.
    static int Run(HWND owner, unsigned char (&mac)[6]);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};
