// The rights check of every guarded operation, and the main window's answer to
// UM_AUTHENTICATE until the administrator dialog takes it over.
#pragma once

#include <windows.h>

#include <cstdint>

// Answers UM_AUTHENTICATE for the owner window: 1 when the administrator's name and
// password were entered correctly, 0 otherwise.
using AuthenticateHandler = LRESULT (*)(HWND owner);

// Installs the handler the main window calls; returns the previous one. The default
// refuses (no dialog can ask yet). Main thread only.
AuthenticateHandler SetAuthenticateHandler(AuthenticateHandler handler);
// Called by the main window for UM_AUTHENTICATE.
LRESULT RunAuthenticateHandler(HWND owner);

// 1 when the operation may go on this once: the rights word holds its bit, or the main
// window's UM_AUTHENTICATE answered 1. 0 means abandon it without a further message.
int IsOperationAllowed(HWND mainWindow, HWND owner, uint32_t rights, uint32_t bit);

// The system directory that holds the system copy of the user information; tests point
// it at a folder of their own (null restores the real one).
void SetSystemDirectoryOverride(const char* directory);
// The system directory followed by "\frnsystem.dll".
void GetSystemCopyPath(char* path, unsigned long size);
