// The program's help file "FernHelp.chm" in the program's folder, opened with HTML Help.
#pragma once

#include <windows.h>

// HtmlHelpA's form; tests put a recorder in its place.
using HtmlHelpFunction = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

// Replaces the call to hhctrl.ocx's HtmlHelpA (null restores it). Tests only.
void SetHtmlHelpFunction(HtmlHelpFunction function);

// The help file's full name beside Fernhold.exe into path; false when it does not fit.
bool GetHelpFilePath(char* path, DWORD size);

// Opens the help file's default page (command 0, HH_DISPLAY_TOPIC) owned by caller, the
// main window. Without HTML Help on the machine nothing happens. Main thread.
void ShowHelpFile(HWND caller);
