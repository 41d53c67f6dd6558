// Recording events service: accept, selector, then record and acknowledge.
#include "RecordingEventPeer.h"

#include "NetTestSupport.h"

#include "net/NetMessages.h"
#include "net/SocketIo.h"

RecordingEventPeer::RecordingEventPeer(uint16_t port)
{
    m_Listen = ListenOnLoopback(port);
    m_Thread = std::thread([this] { Serve(); });
}

RecordingEventPeer::~RecordingEventPeer()
{
    closesocket(m_Listen);
    if (m_Thread.joinable()) m_Thread.join();
}

std::vector<EventPacket> RecordingEventPeer::Received()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Received;
}

bool RecordingEventPeer::WaitForCount(size_t count, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (Received().size() < count) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

void RecordingEventPeer::Serve()
{
    SOCKET s = accept(m_Listen, nullptr, nullptr);
    if (s == INVALID_SOCKET) return;
    uint32_t selector = 0;
    if (RecvAll(s, &selector, 4) > 0 && selector == SERVICE_EVENTS) {
        SendWord(s, SERVICE_ACCEPTED_WORD);
        for (;;) {
            EventPacket packet{};
            if (RecvAll(s, &packet.header, sizeof(packet.header)) < 1) break;
            if (packet.header.length > sizeof(packet.payload) ||
                (packet.header.length &&
                 RecvAll(s, packet.payload, static_cast<int>(packet.header.length)) < 1))
                break;
            ReplyHeader reply{1, 0, 0, 0};
            SendAll(s, &reply, sizeof(reply));
            if (packet.header.command == CMD_CLOSE) break;
            std::lock_guard<std::mutex> lock(m_Mutex);
            m_Received.push_back(packet);
        }
    }
    closesocket(s);
}

PausedEventSession::PausedEventSession(uint16_t port) : peer(port)
{
    settings.displayFlags = 0x813; // paused
    m_Connected = link.Connect(LoopbackAddress("127.0.0.1", port)) == 1;
}

bool PausedEventSession::Resume()
{
    settings.displayFlags = 0x413;
    return PostThreadMessageA(link.GetThreadId(), TM_SEND_EVENTS, 0, 0) != 0;
}
