// One listening socket on one address of this host, with its accept thread and the
// connections it accepted, one list per service.
#pragma once

#include "net/MacAddressQuery.h"
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
// Fresh connections whose selector is being read at once, each on a thread of its own.
// Beyond that, new connections wait in the backlog until a read ends (3000 ms at most).
constexpr unsigned long MAX_PENDING_SELECTORS = 64;
// A fresh connection has this long from its accept to send its whole selector.
constexpr DWORD SELECTOR_DEADLINE_MS = 3000;

// Started, stopped and deleted by the server thread (TServerCore); reaped there too.
// The accept thread appends connections under the connection lock; the server thread
// takes that lock only inside the listener lock of TServerCore.
class TListener : public TobjectBase {
public:
    // settings: read for the refusal bit of serverFlags. serverThreadId: where ended
    // service threads post TM_SERVICE_ENDED (0 when nobody reaps, as in tests) and
    // image services TM_CAPTURE. frames: the server's frame store (null: no frames).
    // servedMacs: the addresses the MAC service serves (null: none), unchanged while the
    // listener lives; inbox: where update requests go (null: answered and dropped).
    TListener(const TFernSettings& settings, DWORD serverThreadId, TFrameStore* frames = nullptr,
              const std::vector<MacAddress>* servedMacs = nullptr, TUpdateInbox* inbox = nullptr);
    ~TListener();

    // Listens on address:port (both in network byte order) and starts the accept
    // thread; returns 1, or 0 with everything closed again.
    int Start(uint32_t address, uint16_t port);
    // Ends the accept thread, stops and deletes every connection and waits for the
    // selectors still being read (SELECTOR_DEADLINE_MS at most; what they bring is refused).
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
    // Fresh connections whose selector is being read now.
    unsigned long GetPendingCount() const { return m_Pending.load(); }

private:
    static constexpr int LIST_COUNT = 5;

    // One fresh connection whose selector is read off the accept thread. Taken by the
    // accept thread, given back by its selector thread as the thread's last act.
    struct SelectorSlot {
        TListener* owner = nullptr;
        TWorkerThread thread;
        std::atomic<bool> taken{false};
        SOCKET socket = INVALID_SOCKET;
        DWORD acceptedAt = 0;
    };

    static void AcceptThread(void* owner);
    void AcceptLoop();
    // Accept thread: hands the socket to a free slot's thread (a free slot exists: the
    // accept thread holds one count of m_FreeSlots). A thread that cannot be made
    // closes the socket and gives the count back.
    void StartSelectorRead(SOCKET socket, DWORD acceptedAt);
    static void SelectorThread(void* slot);
    // Selector thread: the whole selector by the slot's deadline, then the service.
    void ReadSelector(SelectorSlot& slot);
    // Hands a connection to its service; the connection lock is held while a service
    // is started. While Stop is under way everything is refused.
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
    // Set by Stop before its self-connection: the next accept ends the accept thread.
    std::atomic<bool> m_Stopping{false};
    SelectorSlot m_Slots[MAX_PENDING_SELECTORS];
    // Counts the free slots; the accept thread takes one before each accept.
    HANDLE m_FreeSlots;
    std::atomic<unsigned long> m_Pending{0};
    sockaddr_in m_BoundAddress{};
    CRITICAL_SECTION m_ConnectionLock;
    // Events, images, MAC addresses, update files, update requests: TServerConn*.
    TMemoryBase m_Connections[LIST_COUNT];
    const TFernSettings& m_Settings;
    DWORD m_ServerThreadId;
    TFrameStore* m_Frames;
    const std::vector<MacAddress>* m_ServedMacs;
    TUpdateInbox* m_UpdateInbox;
};
