// One listening socket on one address of this host, with its accept thread and the
// connections it accepted, one list per service.
#pragma once

#include "net/TFernSettings.h"
#include "net/TWorkerThread.h"
#include "net/WireFormat.h"

#include <Keelwork/TMemoryBase.h>
#include <Keelwork/TobjectBase.h>

#include <atomic>

class TFrameStore;
class TServerConn;
class TUpdateInbox;

// Connections one service takes on one listener: far beyond the one a session uses
// and the few operators a computer has at a time. Each costs a thread, so a peer that
// opens them by the thousand is refused instead.
constexpr unsigned long MAX_SERVICE_CONNECTIONS = 32;

// Started, stopped and deleted by the server thread (TServerCore); reaped there too.
// The accept thread appends connections under the connection lock; the server thread
// takes that lock only inside the listener lock of TServerCore.
class TListener : public TobjectBase {
public:
    // settings: read for the refusal bit of serverFlags. serverThreadId: where ended
    // service threads post TM_SERVICE_ENDED (0 when nobody reaps, as in tests) and
    // image services TM_CAPTURE. frames: the server's frame store (null: no frames).
    // inbox: where update requests go (null: they are answered and dropped).
    TListener(const TFernSettings& settings, DWORD serverThreadId, TFrameStore* frames = nullptr,
              TUpdateInbox* inbox = nullptr);
    ~TListener();

    // Listens on address:port (both in network byte order) and starts the accept
    // thread; returns 1, or 0 with everything closed again.
    int Start(uint32_t address, uint16_t port);
    // Ends the accept thread and stops and deletes every connection.
    void Stop();
    // Stops and deletes the connections whose service has ended.
    void Reap();

    // Called by a service thread that has ended.
    void NotifyServiceEnded();

    // 1 while the accept thread runs; a listener whose accept failed is closed for good.
    int IsListening() const { return m_Thread.IsRunning(); }
    // The address Start bound (zeros while closed). Read under the listener lock.
    const sockaddr_in& GetBoundAddress() const { return m_BoundAddress; }
    // Connections of one service (0 for a selector without a list), under the lock.
    unsigned long GetConnectionCount(uint32_t selector);

private:
    static constexpr int LIST_COUNT = 5;

    static void AcceptThread(void* owner);
    void AcceptLoop();
    // Reads the selector of a fresh connection and hands it on; the connection lock
    // is held while a service is started.
    void Admit(SOCKET socket, uint32_t selector);
    // Stops and deletes the connections of every list, or only those whose service
    // has ended. Caller holds the connection lock.
    void DeleteConnections(bool onlyEnded);
    // Closes the listening socket once, whoever gets there first.
    void CloseListenSocket();
    // Index of the list for a selector, or -1.
    static int ListIndex(uint32_t selector);

    TWorkerThread m_Thread;
    std::atomic<SOCKET> m_ListenSocket{INVALID_SOCKET};
    // Set by Stop before its self-connection; only then does the stop word count.
    std::atomic<bool> m_Stopping{false};
    sockaddr_in m_BoundAddress{};
    CRITICAL_SECTION m_ConnectionLock;
    // Events, images, MAC addresses, update files, update requests: TServerConn*.
    TMemoryBase m_Connections[LIST_COUNT];
    const TFernSettings& m_Settings;
    DWORD m_ServerThreadId;
    TFrameStore* m_Frames;
    TUpdateInbox* m_UpdateInbox;
};
