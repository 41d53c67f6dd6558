// Listener: bind and listen, the accept thread, stop by self-connection, reaping.
#include "net/TListener.h"

#include "net/FernServices.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"

namespace {
constexpr int LISTEN_BACKLOG = 3;
// A peer that connects and sends no selector is dropped after this time, so that it
// cannot hold up the connections behind it.
constexpr DWORD SELECTOR_TIMEOUT_MS = 3000;
// Bound on the stop word's answer; the accept thread may first have to drop a
// silent peer. Without the answer the listening socket is closed directly.
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
                     TUpdateInbox* inbox)
    : m_Settings(settings), m_ServerThreadId(serverThreadId), m_Frames(frames),
      m_UpdateInbox(inbox)
{
    InitializeCriticalSection(&m_ConnectionLock);
}

TListener::~TListener()
{
    Stop();
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
        sockaddr_in peer;
        int peerLength = sizeof(peer);
        SOCKET socket =
            accept(m_ListenSocket.load(), reinterpret_cast<sockaddr*>(&peer), &peerLength);
        if (socket == INVALID_SOCKET) {
            // A peer that reset its connection before it was taken, or a moment short
            // of sockets, must not end the listener and every session on it.
            const int error = WSAGetLastError();
            const bool passing = error == WSAECONNRESET || error == WSAEMFILE ||
                                 error == WSAENOBUFS || error == WSAEINTR;
            if (m_Stopping.load() || m_ListenSocket.load() == INVALID_SOCKET || !passing) break;
            Sleep(ACCEPT_RETRY_PAUSE_MS);
            continue;
        }
        uint32_t selector = 0;
        SetReceiveTimeout(socket, SELECTOR_TIMEOUT_MS);
        if (RecvAll(socket, &selector, sizeof(selector)) < 1) {
            closesocket(socket);
            continue;
        }
        // The services themselves wait for requests without a time-out.
        SetReceiveTimeout(socket, 0);
        SetSendTimeout(socket, SERVICE_SEND_TIMEOUT_MS);
        // The stop word counts only from Stop's own connection: from anyone else it
        // would close the listener and every session on it.
        if (selector == SERVICE_STOP_LISTENER && m_Stopping.load()) {
            Refuse(socket);
            break;
        }
        if (m_Settings.serverFlags.load() & SERVER_REFUSE_CONNECTIONS) {
            Refuse(socket);
            continue;
        }
        Admit(socket, selector);
    }
    CloseListenSocket();
    EnterCriticalSection(&m_ConnectionLock);
    DeleteConnections(false);
    LeaveCriticalSection(&m_ConnectionLock);
}

void TListener::Admit(SOCKET socket, uint32_t selector)
{
    EnterCriticalSection(&m_ConnectionLock);
    int index = ListIndex(selector);
    TServerConn* connection =
        index < 0 ? nullptr : CreateServiceConn(selector, m_Frames, m_ServerThreadId, m_UpdateInbox);
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
