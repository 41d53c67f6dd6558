// Debugger line after a process start.
#include "FRNUpdate/StartLog.h"

#include <windows.h>

void LogProcessStart()
{
    DWORD error = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, error, 0,
                   reinterpret_cast<char*>(&text), 0, nullptr);
    OutputDebugStringA("CreateProcess");
    OutputDebugStringA(" : ");
    OutputDebugStringA(text ? text : "");
    OutputDebugStringA("\n");
    LocalFree(text);
}
