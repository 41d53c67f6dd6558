// Where an incoming update request leaves the requester's address for the main window.
#pragma once

#include <winsock2.h>

// Owned by the server engine. Service threads deliver; the main window reads the
// address after UM_UPDATE_REQUESTED. The lock guards the address alone.
class TUpdateInbox {
public:
    TUpdateInbox();
    ~TUpdateInbox();
    TUpdateInbox(const TUpdateInbox&) = delete;
    TUpdateInbox& operator=(const TUpdateInbox&) = delete;

    // Window that hears UM_UPDATE_REQUESTED (may be null: the address is only kept).
    void SetMainWindow(HWND window);
    // Service thread: stores the address, then posts UM_UPDATE_REQUESTED.
    void Deliver(const sockaddr_in& source);
    // The address last delivered; zeros before the first request.
    sockaddr_in GetSource() const;

private:
    mutable CRITICAL_SECTION m_Lock;
    sockaddr_in m_Source{};
    HWND m_MainWindow = nullptr;
};
