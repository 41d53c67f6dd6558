// The server engine: its thread, the listeners on every address of this host, reaping.
#pragma once

#include "net/HostAddresses.h"
#include "net/MacAddressQuery.h"
#include "net/TFrameStore.h"
#include "net/TFernSettings.h"
#include "net/TUpdateInbox.h"
#include "net/TWorkerThread.h"

#include <Keelwork/TMemoryBase.h>
#include <Keelwork/TobjectBase.h>

#include <atomic>

class TListener;

// Owned by the application object. Other threads reach it only by posting the TM_
// server messages to GetThreadId(); the listener list is changed on the server
// thread alone, under the listener lock (taken before any connection lock).
// The frame store is shared with the image services of every listener.
class TServerCore : public TobjectBase {
public:
    explicit TServerCore(const TFernSettings& settings);
    // Stops the thread if still running and deletes the listeners.
    ~TServerCore();

    // Window that hears UM_ENTRY_CHANGED when the listeners changed and
    // UM_UPDATE_REQUESTED when a peer asked for an update (may be null).
    void SetMainWindow(HWND window)
    {
        m_MainWindow = window;
        m_UpdateInbox.SetMainWindow(window);
    }
    // Replaces the host-address lookup (by default gethostname/gethostbyname).
    void SetHostLookup(THostLookup lookup) { m_HostLookup = std::move(lookup); }
    // The addresses the MAC service serves; set before Start, since the service
    // threads read them without a lock.
    void SetServedMacs(std::vector<MacAddress> macs) { m_ServedMacs = std::move(macs); }

    // Starts the server thread (normal priority); no listener opens before the first
    // TM_REFRESH_LISTENERS. Returns 1, or 0 when the thread cannot be made.
    int Start();
    // Posts TM_SERVER_QUIT every 2000 ms until the server thread has ended.
    void Stop();

    // Server thread: listeners follow the host's addresses on the configured port.
    void RefreshListeners();
    // Server thread: every listener is stopped and deleted.
    void CloseListeners();

    DWORD GetThreadId() const { return m_Thread.GetId(); }
    // Copies the listeners' bound addresses (16 bytes each, list order); returns the count.
    unsigned long GetListenerAddresses(TMemoryBase& addresses);
    // Connections of every service on every listener.
    unsigned long GetConnectionCount();
    TFrameStore& GetFrames() { return m_Frames; }
    // The address of the last peer that asked this copy to fetch an update.
    TUpdateInbox& GetUpdateInbox() { return m_UpdateInbox; }

private:
    static void ServerThread(void* owner);
    void Run();
    void ReapAll();
    // Stops every listener and, with remove, deletes them and empties the list.
    void StopListeners(bool remove);
    void NotifyListenersChanged();
    // Server thread, TM_CAPTURE: the desktop at its current size into the frame store.
    void Capture();

    CRITICAL_SECTION m_ListenerLock;
    // TListener* entries.
    TMemoryBase m_Listeners;
    TWorkerThread m_Thread;
    const TFernSettings& m_Settings;
    std::atomic<HWND> m_MainWindow{nullptr};
    THostLookup m_HostLookup;
    TFrameStore m_Frames;
    std::vector<MacAddress> m_ServedMacs;
    TUpdateInbox m_UpdateInbox;
};
