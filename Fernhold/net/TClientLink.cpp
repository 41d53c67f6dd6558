// Client link: connect, handshake, link thread loop and stop.
#include "net/TClientLink.h"

#include "net/NetMessages.h"
#include "net/RequestExchange.h"
#include "net/SocketIo.h"

namespace {
constexpr DWORD LINK_STOP_WAIT_MS = 500;
constexpr DWORD LINK_STOP_GRACE_MS = 2000;
} // namespace

TClientLink::TClientLink(uint32_t selector, const TFernSettings& settings)
    : m_Settings(settings), m_Selector(selector)
{
}

TClientLink::~TClientLink()
{
    Stop();
    SOCKET socket = m_Socket.exchange(INVALID_SOCKET);
    if (socket != INVALID_SOCKET) closesocket(socket);
}

int TClientLink::Handshake() { return SelectService(m_Socket, m_Selector); }

int TClientLink::Close() { return CloseService(m_Socket); }

int TClientLink::Exchange(const PacketHeader& header, const void* payload, ReplyHeader& reply)
{
    return ExchangeRequest(m_Socket, header, payload, reply);
}

int TClientLink::Connect(const sockaddr_in& address)
{
    m_Socket = socket(AF_INET, SOCK_STREAM, 0);
    if (m_Socket.load() == INVALID_SOCKET) return 0;
    if (connect(m_Socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        !SetReceiveTimeout(m_Socket, LINK_REPLY_TIMEOUT_MS) || !Handshake() ||
        !m_Thread.Start(LinkThread, this, THREAD_PRIORITY_LOWEST, 0, true)) {
        closesocket(m_Socket);
        m_Socket = INVALID_SOCKET;
        return 0;
    }
    return 1;
}

void TClientLink::Stop()
{
    for (DWORD waited = 0; waited < LINK_STOP_GRACE_MS; waited += LINK_STOP_WAIT_MS) {
        if (!m_Thread.GetHandle()) return;
        PostThreadMessageA(m_Thread.GetId(), TM_QUIT, 0, 0);
        if (m_Thread.Join(LINK_STOP_WAIT_MS)) return;
    }
    // Closing is what wakes a blocked receive (a shutdown does not under Wine).
    SOCKET socket = m_Socket.exchange(INVALID_SOCKET);
    if (socket != INVALID_SOCKET) closesocket(socket);
    m_Thread.PostQuitAndJoin(TM_QUIT, LINK_STOP_WAIT_MS);
}

void TClientLink::Finish()
{
    if (!m_Thread.GetHandle()) return;
    PostThreadMessageA(m_Thread.GetId(), TM_QUIT, 0, 0);
    m_Thread.Join(INFINITE);
}

void TClientLink::LinkThread(void* owner) { static_cast<TClientLink*>(owner)->Run(); }

void TClientLink::Run()
{
    for (;;) {
        MSG message;
        TWorkerThread::TakeMessage(message, &m_Idle);
        if (message.message == TM_QUIT) break;
        // While the session is paused, work that arrives is dropped, not queued.
        if (!FollowsSessionPause() || !(m_Settings.displayFlags.load() & DISPLAY_STATE_PAUSED))
            Handle(message);
    }
    Close();
    // Closed by the destructor (or by Stop), never here: Stop may reach for it meanwhile.
    shutdown(m_Socket, SD_SEND);
}
