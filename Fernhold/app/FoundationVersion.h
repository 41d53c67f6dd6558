// The start-up check that the foundation library is recent enough.
#pragma once

#include <windows.h>

// Lowest ProductVersion of the foundation library this program runs with.
constexpr double FOUNDATION_MIN_VERSION = 1.0;

// Reads "\StringFileInfo\041104b0\ProductVersion" of the module as a decimal
// number; 1 when it is at least FOUNDATION_MIN_VERSION, 0 when it is lower or the
// module has no version resource.
int IsFoundationRecent(HMODULE module);
