// Listener: bind and listen, the accept thread, stop by self-connection, reaping.
#include "net/TListener.h"

#include "net/FernServices.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"

#include <mmsystem.h>

#include <cstring>

namespace {
// Room for a burst of connects while the accept thread hands the previous ones on, or
// while every selector slot is taken.
constexpr int LISTEN_BACKLOG = 64;
// Bound on the stop word's answer; the accept thread may first have to wait for a
// free selector slot. Without the answer the listening socket is closed directly.
constexpr DWORD STOP_ANSWER_TIMEOUT_MS = 10000;
// A service whose peer takes nothing for this long ends (a frame cannot be pushed
// into a peer that stopped reading).
constexpr DWORD SERVICE_SEND_TIMEOUT_MS = 10000;
constexpr uint32_t SERVER_REFUSE_CONNECTIONS = 0x1;
constexpr DWORD ACCEPT_RETRY_PAUSE_MS = 10;

// Sends the refusal word and closes.
void Refuse(SOCKET socket)
{
    SendWord(socket, SERVICE_REFUSED_WORD);
    shutdown(socket, SD_SEND);
    closesocket(socket);
}

TServerConn*& ConnectionAt(TMemoryBase& list, unsigned long index)
{
    return reinterpret_cast<TServerConn**>(static_cast<unsigned char*>(list))[index];
}

unsigned long ConnectionCount(const TMemoryBase& list)
{
    return list.GetSize() / sizeof(TServerConn*);
}

} // namespace

TListener::TListener(const TFernSettings& settings, DWORD serverThreadId, TFrameStore* frames,
                     const std::vector<MacAddress>* servedMacs, TUpdateInbox* inbox)
    : m_FreeSlots(CreateSemaphoreA(nullptr, MAX_PENDING_SELECTORS, MAX_PENDING_SELECTORS, nullptr)),
      m_Settings(settings), m_ServerThreadId(serverThreadId), m_Frames(frames),
      m_ServedMacs(servedMacs), m_UpdateInbox(inbox)
{
    InitializeCriticalSection(&m_ConnectionLock);
    for (SelectorSlot& slot : m_Slots)
        slot.owner = this;
}

TListener::~TListener()
{
    Stop();
    CloseHandle(m_FreeSlots);
    DeleteCriticalSection(&m_ConnectionLock);
}

int TListener::ListIndex(uint32_t selector)
{
    switch (selector) {
    case SERVICE_EVENTS:
        return 0;
    case SERVICE_IMAGES:
        return 1;
    case SERVICE_MACS:
        return 2;
    case SERVICE_UPDATE:
        return 3;
    case SERVICE_UPDATE_REQUEST:
        return 4;
    default:
        return -1;
    }
}

int TListener::Start(uint32_t address, uint16_t port)
{
    Stop();
    m_Stopping = false;
    m_BoundAddress.sin_family = AF_INET;
    m_BoundAddress.sin_port = port;
    m_BoundAddress.sin_addr.s_addr = address;
    SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket == INVALID_SOCKET) {
        Stop();
        return 0;
    }
    m_ListenSocket = socket;
    if (bind(socket, reinterpret_cast<const sockaddr*>(&m_BoundAddress), sizeof(m_BoundAddress)) ||
        listen(socket, LISTEN_BACKLOG) ||
        !m_Thread.Start(AcceptThread, this, THREAD_PRIORITY_LOWEST, 0, false)) {
        Stop();
        return 0;
    }
    return 1;
}

void TListener::Stop()
{
    m_Stopping = true;
    if (m_ListenSocket.load() != INVALID_SOCKET) {
        bool answered = false;
        SOCKET self = socket(AF_INET, SOCK_STREAM, 0);
        if (self != INVALID_SOCKET) {
            SetReceiveTimeout(self, STOP_ANSWER_TIMEOUT_MS);
            uint32_t answer;
            answered = connect(self, reinterpret_cast<const sockaddr*>(&m_BoundAddress),
                               sizeof(m_BoundAddress)) == 0 &&
                       SendWord(self, SERVICE_STOP_LISTENER) > 0 &&
                       RecvAll(self, &answer, sizeof(answer)) > 0;
            closesocket(self);
        }
        // Without the self-connection, a closed listening socket makes accept fail.
        if (!answered) CloseListenSocket();
    }
    EnterCriticalSection(&m_ConnectionLock);
    DeleteConnections(false);
    LeaveCriticalSection(&m_ConnectionLock);
    m_Thread.Join(INFINITE);
    // Selectors still being read end by their deadline; what they bring is refused.
    for (SelectorSlot& slot : m_Slots) {
        slot.thread.Join(INFINITE);
        slot.thread.Release();
    }
    CloseListenSocket();
    m_BoundAddress = sockaddr_in{};
}

void TListener::Reap()
{
    EnterCriticalSection(&m_ConnectionLock);
    DeleteConnections(true);
    LeaveCriticalSection(&m_ConnectionLock);
}

void TListener::NotifyServiceEnded()
{
    if (!m_ServerThreadId) return;
    // A full queue is retried; a server thread that no longer exists reaps nothing.
    while (!PostThreadMessageA(m_ServerThreadId, TM_SERVICE_ENDED, 0, 0)) {
        if (GetLastError() == ERROR_INVALID_THREAD_ID) return;
        Sleep(0);
    }
}

unsigned long TListener::GetConnectionCount(uint32_t selector)
{
    int index = ListIndex(selector);
    if (index < 0) return 0;
    EnterCriticalSection(&m_ConnectionLock);
    unsigned long count = ConnectionCount(m_Connections[index]);
    LeaveCriticalSection(&m_ConnectionLock);
    return count;
}

void TListener::DeleteConnections(bool onlyEnded)
{
    for (TMemoryBase& list : m_Connections) {
        unsigned long index = 0;
        while (index < ConnectionCount(list)) {
            TServerConn* connection = ConnectionAt(list, index);
            if (onlyEnded && connection->IsRunning()) {
                ++index;
                continue;
            }
            connection->Stop();
            delete connection;
            list.CutMemory(index * sizeof(TServerConn*), sizeof(TServerConn*));
        }
    }
}

void TListener::CloseListenSocket()
{
    SOCKET socket = m_ListenSocket.exchange(INVALID_SOCKET);
    if (socket != INVALID_SOCKET) closesocket(socket);
}

void TListener::AcceptThread(void* owner) { static_cast<TListener*>(owner)->AcceptLoop(); }

void TListener::AcceptLoop()
{
    for (;;) {
        // While every slot reads a selector, new connections wait in the backlog.
        WaitForSingleObject(m_FreeSlots, INFINITE);
        sockaddr_in peer;
        int peerLength = sizeof(peer);
        SOCKET socket =
            accept(m_ListenSocket.load(), reinterpret_cast<sockaddr*>(&peer), &peerLength);
        const DWORD acceptedAt = timeGetTime();
        if (socket == INVALID_SOCKET) {
            ReleaseSemaphore(m_FreeSlots, 1, nullptr);
            // A peer that reset its connection before it was taken, or a moment short
            // of sockets, must not end the listener and every session on it.
            const int error = WSAGetLastError();
            const bool passing = error == WSAECONNRESET || error == WSAEMFILE ||
                                 error == WSAENOBUFS || error == WSAEINTR;
            if (m_Stopping.load() || m_ListenSocket.load() == INVALID_SOCKET || !passing) break;
            Sleep(ACCEPT_RETRY_PAUSE_MS);
            continue;
        }
        if (m_Stopping.load()) {
            // Stop's own connection, or one that came just before it: refused either way.
            // Closing the listening socket resets whatever still waits in the backlog.
            Refuse(socket);
            ReleaseSemaphore(m_FreeSlots, 1, nullptr);
            break;
        }
        StartSelectorRead(socket, acceptedAt);
    }
    CloseListenSocket();
    EnterCriticalSection(&m_ConnectionLock);
    DeleteConnections(false);
    LeaveCriticalSection(&m_ConnectionLock);
}

void TListener::StartSelectorRead(SOCKET socket, DWORD acceptedAt)
{
    for (SelectorSlot& slot : m_Slots) {
        if (slot.taken.load()) continue;
        // The slot's previous thread gave it back as its last act and is ending.
        slot.thread.Join(INFINITE);
        slot.thread.Release();
        slot.taken = true;
        slot.socket = socket;
        slot.acceptedAt = acceptedAt;
        ++m_Pending;
        if (slot.thread.Start(SelectorThread, &slot, THREAD_PRIORITY_LOWEST, 0, false)) return;
        --m_Pending;
        slot.taken = false;
        break;
    }
    closesocket(socket);
    ReleaseSemaphore(m_FreeSlots, 1, nullptr);
}

void TListener::SelectorThread(void* slot)
{
    SelectorSlot& taken = *static_cast<SelectorSlot*>(slot);
    taken.owner->ReadSelector(taken);
}

void TListener::ReadSelector(SelectorSlot& slot)
{
    SOCKET socket = slot.socket;
    unsigned char bytes[4];
    int received = 0;
    // One deadline for the whole selector: a peer sending a byte now and then does not
    // earn a fresh time-out with each one.
    while (received < 4) {
        const DWORD elapsed = timeGetTime() - slot.acceptedAt;
        if (elapsed >= SELECTOR_DEADLINE_MS ||
            !SetReceiveTimeout(socket, SELECTOR_DEADLINE_MS - elapsed))
            break;
        int result = recv(socket, reinterpret_cast<char*>(bytes) + received, 4 - received, 0);
        if (result < 1) break;
        received += result;
    }
    if (received < 4) {
        closesocket(socket);
    } else {
        uint32_t selector;
        memcpy(&selector, bytes, sizeof(selector));
        // The services themselves wait for requests without a time-out.
        SetReceiveTimeout(socket, 0);
        SetSendTimeout(socket, SERVICE_SEND_TIMEOUT_MS);
        if (m_Settings.serverFlags.load() & SERVER_REFUSE_CONNECTIONS)
            Refuse(socket);
        else
            Admit(socket, selector);
    }
    --m_Pending;
    slot.taken = false;
    ReleaseSemaphore(m_FreeSlots, 1, nullptr);
}

void TListener::Admit(SOCKET socket, uint32_t selector)
{
    EnterCriticalSection(&m_ConnectionLock);
    int index = m_Stopping.load() ? -1 : ListIndex(selector);
    TServerConn* connection =
        index < 0 ? nullptr
                  : CreateServiceConn(selector, m_Frames, m_ServerThreadId, m_ServedMacs, m_UpdateInbox);
    TMemoryBase* list = index < 0 ? nullptr : &m_Connections[index];
    if (connection && (ConnectionCount(*list) >= MAX_SERVICE_CONNECTIONS ||
                       !list->AddMemory(sizeof(connection), &connection))) {
        delete connection;
        connection = nullptr;
    }
    if (!connection) {
        Refuse(socket);
    } else {
        SendWord(socket, SERVICE_ACCEPTED_WORD);
        if (!connection->Start(this, socket)) {
            // Its own list only: the other services' lists are not touched.
            list->LosMemory(sizeof(connection));
            delete connection;
        }
    }
    LeaveCriticalSection(&m_ConnectionLock);
}
