// Starting Fernhold.exe from a test and finding and answering its windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Fernhold.exe beside the test program.
std::string ProgramPath();
// A file in the program's folder.
std::string ProgramFile(const char* name);
// A top-level window of the process with that class and caption, or null after timeoutMs.
HWND WaitForWindow(DWORD process, const char* className, const char* caption, DWORD timeoutMs);
// True once the window is visible; a window is found as soon as it exists, before the
// program has shown it.
bool WaitUntilShown(HWND window, DWORD timeoutMs);
// Presses a message box's button the way a click does, again until the box is gone
// (a press that arrives while the box is still being set up is lost).
bool PressButton(HWND box, int id);

// True once the events service on address:port accepts and closes an exchange.
bool ServesWithin(const char* address, uint16_t port, DWORD timeoutMs);

// One run of Fernhold.exe in its own folder; a run still going at destruction is ended.
class Program {
public:
    ~Program();
    bool Start();
    DWORD GetId() const { return m_Info.dwProcessId; }
    // The exit code, or STILL_ACTIVE when the program has not ended within timeoutMs.
    DWORD WaitForExit(DWORD timeoutMs);

private:
    PROCESS_INFORMATION m_Info{};
};

// Posts the quit request to the running program's main window and answers Yes; true
// when the program then ended with exit code 0.
bool QuitConfirmed(Program& program, HWND mainWindow);
