// The debugger line both programs write after starting the other one.
#pragma once

// Writes "CreateProcess : <the platform's text for the last error>\n" to the debugger
// output; call it right after CreateProcessA, whatever it returned.
void LogProcessStart();
