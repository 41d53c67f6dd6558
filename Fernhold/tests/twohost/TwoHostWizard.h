// The operator's add-destination wizard in the two-host test: the automatic entry finds the
// destination host and registers it.
#pragma once

#include <windows.h>

namespace TwoHostWizard {

// wizard <name> <seconds>: opens the operator's wizard, chooses the automatic entry alone,
// waits for the sweep, checks the one computer it found (which must be named name), registers
// it by name with its MAC addresses, waits until the main window's list shows one more
// row with that name ("registered <name> as row <row>" on standard output) and closes the
// wizard. 0 done, 1 failed (the reason on standard error).
int RegisterBySweep(const char* name, DWORD seconds);

} // namespace TwoHostWizard
