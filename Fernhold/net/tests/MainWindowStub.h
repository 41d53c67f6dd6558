// A hidden message-only window standing in for the main window of the client engine's
// tests: it records what the engine sends and posts to it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TDestination;

struct HeardMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // UM_STATUS_TEXT: a copy of the text wParam pointed to.
    std::string text;
    // timeGetTime() when the window procedure saw it.
    DWORD time;
};

// Lives on the test's thread, which must pump (PumpUntil of the test support) for
// messages to arrive.
class MainWindowStub {
public:
    MainWindowStub();
    ~MainWindowStub();
    MainWindowStub(const MainWindowStub&) = delete;
    MainWindowStub& operator=(const MainWindowStub&) = delete;

    HWND GetHandle() const { return m_Window; }
    // Pumps up to timeoutMs for a UM_CONNECT_EVENT with this event code; true when one
    // came, with its arrival time in *time.
    bool WaitForConnectEvent(WPARAM event, DWORD timeoutMs, DWORD* time = nullptr);
    // Status texts as "text|priority" and connection events as "event N", in order.
    std::vector<std::string> Script() const;
    // The UM_ENTRY_CHANGED messages about one record.
    int EntryChanges(const TDestination* record) const;

    std::vector<HeardMessage> heard;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_Window;
};
