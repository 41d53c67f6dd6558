// Server engine: thread loop, listener refresh and close, reaping.
#include "net/TServerCore.h"

#include "net/NetMessages.h"
#include "net/TListener.h"
#include "net/MainWindowMessages.h"

#include <cstring>

namespace {
constexpr DWORD SERVER_STOP_WAIT_MS = 2000;

TListener*& ListenerAt(TMemoryBase& list, unsigned long index)
{
    return reinterpret_cast<TListener**>(static_cast<unsigned char*>(list))[index];
}

unsigned long ListenerCount(const TMemoryBase& list) { return list.GetSize() / sizeof(TListener*); }

bool ContainsAddress(TMemoryBase& addresses, uint32_t address)
{
    for (unsigned long offset = 0; offset + 4 <= addresses.GetSize(); offset += 4) {
        if (addresses.MemNComp(offset, &address, 4)) return true;
    }
    return false;
}

} // namespace

TServerCore::TServerCore(const TFernSettings& settings)
    : m_Settings(settings), m_HostLookup(LookupHostAddresses)
{
    InitializeCriticalSection(&m_ListenerLock);
}

TServerCore::~TServerCore()
{
    Stop();
    EnterCriticalSection(&m_ListenerLock);
    StopListeners(true);
    LeaveCriticalSection(&m_ListenerLock);
    DeleteCriticalSection(&m_ListenerLock);
}

int TServerCore::Start()
{
    return m_Thread.Start(ServerThread, this, THREAD_PRIORITY_NORMAL, 0, true);
}

void TServerCore::Stop() { m_Thread.PostQuitAndJoin(TM_SERVER_QUIT, SERVER_STOP_WAIT_MS); }

void TServerCore::RefreshListeners()
{
    TMemoryBase hosts;
    int found = m_HostLookup(hosts);
    EnterCriticalSection(&m_ListenerLock);
    if (!found) {
        StopListeners(true);
        LeaveCriticalSection(&m_ListenerLock);
        return;
    }
    // A listener whose address is gone, or whose accept thread ended on an accept
    // failure, is closed; its address is opened afresh below when it is still here.
    unsigned long index = 0;
    while (index < ListenerCount(m_Listeners)) {
        TListener* listener = ListenerAt(m_Listeners, index);
        if (ContainsAddress(hosts, listener->GetBoundAddress().sin_addr.s_addr) &&
            listener->IsListening()) {
            ++index;
            continue;
        }
        listener->Stop();
        delete listener;
        m_Listeners.CutMemory(index * sizeof(TListener*), sizeof(TListener*));
    }
    for (unsigned long offset = 0; offset + 4 <= hosts.GetSize(); offset += 4) {
        uint32_t address;
        memcpy(&address, static_cast<unsigned char*>(hosts) + offset, 4);
        bool bound = false;
        for (unsigned long i = 0; i < ListenerCount(m_Listeners) && !bound; ++i)
            bound = ListenerAt(m_Listeners, i)->GetBoundAddress().sin_addr.s_addr == address;
        if (bound) continue;
        TListener* listener = new TListener(m_Settings, m_Thread.GetId(), &m_Frames, &m_ServedMacs,
                                            &m_UpdateInbox);
        if (!m_Listeners.AddMemory(sizeof(listener), &listener)) {
            delete listener;
            continue;
        }
        if (!listener->Start(address, m_Settings.port.load())) {
            m_Listeners.LosMemory(sizeof(listener));
            delete listener;
        }
    }
    LeaveCriticalSection(&m_ListenerLock);
}

void TServerCore::CloseListeners()
{
    EnterCriticalSection(&m_ListenerLock);
    StopListeners(true);
    LeaveCriticalSection(&m_ListenerLock);
}

unsigned long TServerCore::GetListenerAddresses(TMemoryBase& addresses)
{
    addresses.Free();
    EnterCriticalSection(&m_ListenerLock);
    unsigned long count = ListenerCount(m_Listeners);
    for (unsigned long i = 0; i < count; ++i)
        addresses.AddMemory(sizeof(sockaddr_in), &ListenerAt(m_Listeners, i)->GetBoundAddress());
    LeaveCriticalSection(&m_ListenerLock);
    return count;
}

unsigned long TServerCore::GetConnectionCount()
{
    unsigned long count = 0;
    EnterCriticalSection(&m_ListenerLock);
    for (unsigned long i = 0; i < ListenerCount(m_Listeners); ++i) {
        for (uint32_t selector :
             {SERVICE_EVENTS, SERVICE_IMAGES, SERVICE_MACS, SERVICE_UPDATE, SERVICE_UPDATE_REQUEST})
            count += ListenerAt(m_Listeners, i)->GetConnectionCount(selector);
    }
    LeaveCriticalSection(&m_ListenerLock);
    return count;
}

void TServerCore::StopListeners(bool remove)
{
    for (unsigned long i = 0; i < ListenerCount(m_Listeners); ++i) {
        TListener* listener = ListenerAt(m_Listeners, i);
        listener->Stop();
        if (remove) delete listener;
    }
    if (remove) m_Listeners.Free();
}

void TServerCore::ReapAll()
{
    EnterCriticalSection(&m_ListenerLock);
    for (unsigned long i = 0; i < ListenerCount(m_Listeners); ++i)
        ListenerAt(m_Listeners, i)->Reap();
    LeaveCriticalSection(&m_ListenerLock);
}

void TServerCore::Capture()
{
    SIZE screen = ScreenSize();
    m_Frames.Capture(screen.cx, screen.cy, m_Settings.gridColumns.load(),
                     m_Settings.gridRows.load());
}

void TServerCore::NotifyListenersChanged()
{
    HWND window = m_MainWindow.load();
    if (window) PostMessageA(window, UM_ENTRY_CHANGED, ENTRY_CHANGED_LISTENERS, 0);
}

void TServerCore::ServerThread(void* owner) { static_cast<TServerCore*>(owner)->Run(); }

void TServerCore::Run()
{
    for (;;) {
        MSG message;
        TWorkerThread::TakeMessage(message);
        switch (message.message) {
        case TM_SERVER_QUIT:
            EnterCriticalSection(&m_ListenerLock);
            StopListeners(false);
            LeaveCriticalSection(&m_ListenerLock);
            return;
        case TM_REFRESH_LISTENERS:
            TWorkerThread::RemoveWaiting(TM_REFRESH_LISTENERS, TM_REFRESH_LISTENERS);
            RefreshListeners();
            NotifyListenersChanged();
            break;
        case TM_SERVICE_ENDED:
            ReapAll();
            break;
        case TM_CAPTURE:
            // Requests that piled up are served by one capture.
            TWorkerThread::RemoveWaiting(TM_CAPTURE, TM_CAPTURE);
            Capture();
            break;
        case TM_CLOSE_LISTENERS:
            // A refresh posted behind this close (the new port) must still run, so
            // only the later service, capture and close messages are dropped.
            TWorkerThread::RemoveWaiting(TM_SERVICE_ENDED, TM_CLOSE_LISTENERS);
            CloseListeners();
            NotifyListenersChanged();
            break;
        default:
            break;
        }
    }
}
