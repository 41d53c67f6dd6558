// Placement shared by the program's dialogs: centred on their owner.
#pragma once

#include <windows.h>

// Centres dialog over its owner window (over the screen's work area when it has none),
// kept inside the work area.
void CentreOnOwner(HWND dialog);
