// Server connection: service thread, common command handling and stop.
#include "net/TServerConn.h"

#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TListener.h"

namespace {
constexpr DWORD SERVICE_START_PAUSE_MS = 100;
constexpr DWORD SERVICE_STOP_GRACE_MS = 10000;
} // namespace

TServerConn::TServerConn() = default;

TServerConn::~TServerConn()
{
    Stop();
    SOCKET socket = m_Socket.exchange(INVALID_SOCKET);
    if (socket != INVALID_SOCKET) closesocket(socket);
}

void TServerConn::Handle(const PacketHeader& header) { RefuseRequest(header); }

int TServerConn::Start(TListener* listener, SOCKET socket)
{
    m_Listener = listener;
    m_Socket = socket;
    m_Running = 1;
    if (!m_Thread.Start(ServiceThread, this, THREAD_PRIORITY_ABOVE_NORMAL, SERVICE_START_PAUSE_MS,
                        false)) {
        m_Running = 0;
        return 0;
    }
    return 1;
}

void TServerConn::Stop()
{
    if (m_Socket.load() != INVALID_SOCKET) {
        m_Running = 0;
        // A connection waiting for its next request has nothing to finish: it is closed
        // at once, so stopping many idle connections does not take 10 s each.
        if (!m_InRequest.load() || !m_Thread.Join(SERVICE_STOP_GRACE_MS)) {
            // The service thread waits in a receive: closing the socket ends it.
            SOCKET socket = m_Socket.exchange(INVALID_SOCKET);
            if (socket != INVALID_SOCKET) closesocket(socket);
        }
    }
    m_Thread.Join(INFINITE);
}

void TServerConn::Reply(uint32_t ok, uint32_t length, uint32_t value1, uint32_t value2)
{
    ReplyHeader reply{ok, length, value1, value2};
    if (SendAll(GetSocket(), &reply, sizeof(reply)) < 1) m_Running = 0;
}

void TServerConn::RefuseRequest(const PacketHeader& header)
{
    if (header.length > MAX_SKIPPED_PAYLOAD) {
        Reply(0, 0, 0, 0);
        m_Running = 0;
        return;
    }
    if (SkipBytes(GetSocket(), header.length) < 1) {
        m_Running = 0;
        return;
    }
    Reply(0, 0, 0, 0);
}

int TServerConn::ReadPayload(const PacketHeader& header,
                             unsigned char (&buffer)[MAX_STORED_PAYLOAD])
{
    if (header.length > MAX_STORED_PAYLOAD) {
        RefuseRequest(header);
        return 0;
    }
    if (header.length && RecvAll(GetSocket(), buffer, static_cast<int>(header.length)) < 1) {
        m_Running = 0;
        return 0;
    }
    return 1;
}

void TServerConn::HandleClose(const PacketHeader& header)
{
    if (header.length && header.length <= MAX_SKIPPED_PAYLOAD)
        SkipBytes(GetSocket(), header.length);
    m_Running = 0;
    Reply(1, 0, 0, 0);
}

void TServerConn::ServiceThread(void* owner) { static_cast<TServerConn*>(owner)->Serve(); }

void TServerConn::Serve()
{
    while (m_Running.load()) {
        PacketHeader header;
        m_InRequest = 0;
        if (RecvAll(GetSocket(), &header, sizeof(header)) < 1) {
            m_Running = 0;
            break;
        }
        m_InRequest = 1;
        if (header.command == CMD_CLOSE)
            HandleClose(header);
        else
            Handle(header);
    }
    SOCKET socket = m_Socket.exchange(INVALID_SOCKET);
    if (socket != INVALID_SOCKET) CloseGracefully(socket);
    m_Listener->NotifyServiceEnded();
}
