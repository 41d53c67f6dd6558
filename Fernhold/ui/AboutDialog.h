// The about dialog: version, this computer's name, first IPv4 address and MAC addresses.
#pragma once

#include "ui/TAppShell.h"

#include <windows.h>

// The version the dialog shows.
constexpr char ABOUT_VERSION_TEXT[] = "1.13";

// An IPv4 address (network byte order) as "%3hu.%3hu.%3hu.%3hu": 15 characters and the
// zero.
void FormatAboutAddress(const unsigned char (&address)[4], char (&text)[16]);
// This computer's host name and the first IPv4 address of that name as the dialog shows
// them; a text stays empty when its lookup fails.
void ReadAboutHost(char (&name)[256], char (&address)[16]);

// Dialog 123, modal; OK closes it. Main thread.
void RunAboutDialog(HWND owner, const TAppShell& shell);
