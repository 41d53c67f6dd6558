// Update inbox: the requester's address and the main window's notice.
#include "net/TUpdateInbox.h"

#include "net/MainWindowMessages.h"

TUpdateInbox::TUpdateInbox() { InitializeCriticalSection(&m_Lock); }

TUpdateInbox::~TUpdateInbox() { DeleteCriticalSection(&m_Lock); }

void TUpdateInbox::SetMainWindow(HWND window)
{
    EnterCriticalSection(&m_Lock);
    m_MainWindow = window;
    LeaveCriticalSection(&m_Lock);
}

void TUpdateInbox::Deliver(const sockaddr_in& source)
{
    EnterCriticalSection(&m_Lock);
    m_Source = source;
    HWND window = m_MainWindow;
    LeaveCriticalSection(&m_Lock);
    if (window) PostMessageA(window, UM_UPDATE_REQUESTED, 0, 0);
}

sockaddr_in TUpdateInbox::GetSource() const
{
    EnterCriticalSection(&m_Lock);
    sockaddr_in source = m_Source;
    LeaveCriticalSection(&m_Lock);
    return source;
}
