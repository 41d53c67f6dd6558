// The soak's driver commands (tools/twohost/soak.sh): resource samples of a process,
// quitting the operator's copy through its windows, a second operator made from the
// program's own client code, and the destination's screen resolution.
#pragma once

#include <windows.h>

// Each returns the process exit code for its driver command: 0 done, 1 failed (the
// reason on standard error).
namespace TwoHostSoak {

// resources <program.exe>: one line "threads handles gdi user private working-set"
// (bytes) of that process of this Wine session, as Windows reports them. Under Wine
// only the threads and the working set are counted: the rest is 0 there.
int Resources(const char* program);
// quit <seconds>: clicks the title bar's close button, answers the question with a
// click on Yes and waits until the program has ended.
int Quit(DWORD seconds);
// second <host> <port> <seconds>: a second operator on the host, an event link and an
// image link of the program's own client code fetching frames for that long; prints
// "frames <n>" whenever a frame is shown, and fails when none arrives or a link breaks.
int SecondOperator(const char* host, int port, DWORD seconds);
// resolution <width> <height>: changes this display's resolution and waits until the
// system reports it.
int Resolution(int width, int height);

} // namespace TwoHostSoak
