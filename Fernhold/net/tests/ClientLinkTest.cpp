// Client links: handshake, work on the link thread, pause, and peers that stop answering.
#include "NetTestSupport.h"

#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TClientLink.h"
#include "net/TListener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr UINT TEST_REQUEST = WM_APP + 1;

// Sends one request the services do not have for each TEST_REQUEST it handles.
class ProbeLink : public TClientLink {
public:
    ProbeLink(uint32_t selector, const TFernSettings& settings) : TClientLink(selector, settings) {}
    ~ProbeLink() override { Stop(); }

    void Handle(const MSG& message) override
    {
        if (message.message != TEST_REQUEST) return;
        ReplyHeader reply{9, 9, 9, 9};
        PacketHeader header{0x77777, payloadLength.load(), 0, 0};
        lastExchange = Exchange(header, payload, reply);
        lastOk = reply.ok;
        ++handled;
    }

    // Each request carries payloadLength bytes of payload (zeros).
    std::atomic<uint32_t> payloadLength{0};
    unsigned char payload[MAX_STORED_PAYLOAD + 44] = {};
    std::atomic<int> handled{0};
    std::atomic<int> lastExchange{-1};
    std::atomic<uint32_t> lastOk{9};
};

class ClientLinkTest : public ::testing::Test {
protected:
    // A listener on 127.0.0.1 at a port of the test's own.
    void Listen(uint16_t port)
    {
        m_Port = port;
        ASSERT_EQ(listener.Start(inet_addr("127.0.0.1"), htons(port)), 1);
    }
    int Connect(ProbeLink& link) { return link.Connect(LoopbackAddress("127.0.0.1", m_Port)); }

    TFernSettings settings;
    TListener listener{settings, 0};
    uint16_t m_Port = 0;
};

TEST_F(ClientLinkTest, LinkServesRequestsUntilStoppedAndClosesItsService)
{
    Listen(27201);
    ProbeLink link(SERVICE_IMAGES, settings);
    ASSERT_EQ(Connect(link), 1);
    EXPECT_EQ(link.IsRunning(), 1);
    EXPECT_EQ(listener.GetConnectionCount(SERVICE_IMAGES), 1u);

    ASSERT_TRUE(PostThreadMessageA(link.GetThreadId(), TEST_REQUEST, 0, 0));
    ASSERT_TRUE(WaitForValue(link.handled, 1, 5000));
    EXPECT_EQ(link.lastExchange.load(), 1);
    EXPECT_EQ(link.lastOk.load(), 0u);

    // The link thread goes back to waiting for work.
    DWORD start = GetTickCount();
    while (!link.IsIdle() && GetTickCount() - start < 5000)
        Sleep(20);
    EXPECT_EQ(link.IsIdle(), 1);

    link.Stop();
    EXPECT_EQ(link.IsRunning(), 0);
    // Stop sent CMD_CLOSE: the service ended by itself and is reaped.
    EXPECT_TRUE(ReapedWithin(listener, SERVICE_IMAGES, 5000));
}

TEST_F(ClientLinkTest, PayloadBeyondWhatServersStoreIsNotSent)
{
    Listen(27205);
    ProbeLink link(SERVICE_EVENTS, settings);
    ASSERT_EQ(Connect(link), 1);
    link.payloadLength = MAX_STORED_PAYLOAD + 44;
    ASSERT_TRUE(PostThreadMessageA(link.GetThreadId(), TEST_REQUEST, 0, 0));
    ASSERT_TRUE(WaitForValue(link.handled, 1, 5000));
    EXPECT_EQ(link.lastExchange.load(), 0);

    // Nothing went out, so the stream is still in step: the largest payload is answered.
    link.payloadLength = MAX_STORED_PAYLOAD;
    ASSERT_TRUE(PostThreadMessageA(link.GetThreadId(), TEST_REQUEST, 0, 0));
    ASSERT_TRUE(WaitForValue(link.handled, 2, 5000));
    EXPECT_EQ(link.lastExchange.load(), 1);
    EXPECT_EQ(link.lastOk.load(), 0u);
    link.Stop();
}

TEST_F(ClientLinkTest, PausedSessionDropsWork)
{
    Listen(27202);
    ProbeLink link(SERVICE_EVENTS, settings);
    ASSERT_EQ(Connect(link), 1);

    settings.displayFlags = 0x813; // connection state paused
    ASSERT_TRUE(PostThreadMessageA(link.GetThreadId(), TEST_REQUEST, 0, 0));
    Sleep(300);
    settings.displayFlags = 0x413; // connected again
    ASSERT_TRUE(PostThreadMessageA(link.GetThreadId(), TEST_REQUEST, 0, 0));
    ASSERT_TRUE(WaitForValue(link.handled, 1, 5000));
    Sleep(300);
    EXPECT_EQ(link.handled.load(), 1);
    link.Stop();
}

TEST_F(ClientLinkTest, ConnectFailsWithoutAcceptingService)
{
    Listen(27203);
    ProbeLink refused(3, settings);
    EXPECT_EQ(Connect(refused), 0);
    EXPECT_EQ(refused.IsRunning(), 0);

    settings.serverFlags = 1;
    ProbeLink byOption(SERVICE_EVENTS, settings);
    EXPECT_EQ(Connect(byOption), 0);

    ProbeLink nobody(SERVICE_EVENTS, settings);
    EXPECT_EQ(nobody.Connect(LoopbackAddress("127.0.0.1", 27299)), 0);
    EXPECT_EQ(nobody.IsRunning(), 0);
}

TEST_F(ClientLinkTest, ConnectToAServiceThatNeverAnswersFailsAfterTheReplyTimeout)
{
    // Listening, so the connection is made, but nothing ever accepts or answers it.
    SOCKET server = ListenOnLoopback(27205);
    ProbeLink link(SERVICE_IMAGES, settings);
    DWORD start = GetTickCount();
    EXPECT_EQ(link.Connect(LoopbackAddress("127.0.0.1", 27205)), 0);
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, LINK_REPLY_TIMEOUT_MS - 500);
    EXPECT_LT(took, LINK_REPLY_TIMEOUT_MS + 5000);
    EXPECT_EQ(link.IsRunning(), 0);
    closesocket(server);
}

TEST_F(ClientLinkTest, StopOfLinkBlockedInReceiveWaitsThenEndsTheConnection)
{
    // A server that accepts the service, takes one request and never answers it.
    SOCKET server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress("127.0.0.1", 27204);
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(listen(server, 1), 0);

    ProbeLink link(SERVICE_IMAGES, settings);
    SOCKET accepted = INVALID_SOCKET;
    std::thread serverSide([&] {
        accepted = accept(server, nullptr, nullptr);
        uint32_t selector;
        RecvAll(accepted, &selector, 4);
        SendWord(accepted, SERVICE_ACCEPTED_WORD);
    });
    ASSERT_EQ(link.Connect(address), 1);
    serverSide.join();

    ASSERT_TRUE(PostThreadMessageA(link.GetThreadId(), TEST_REQUEST, 0, 0));
    Sleep(300); // the link thread now waits for the reply
    std::atomic<bool> stopped{false};
    const DWORD start = GetTickCount();
    std::thread stopper([&] {
        link.Stop();
        stopped = true;
    });
    Sleep(1500); // three rounds of TM_QUIT went unanswered: Stop still waits
    EXPECT_FALSE(stopped.load());
    EXPECT_EQ(link.IsRunning(), 1);

    // The peer stays silent: after the grace the connection is shut down, the
    // receive fails and the thread ends well before the reply time-out would.
    while (!stopped.load() && GetTickCount() - start < 20000)
        Sleep(20);
    EXPECT_TRUE(stopped.load());
    EXPECT_LT(GetTickCount() - start, LINK_REPLY_TIMEOUT_MS - 2000);
    stopper.join();
    EXPECT_EQ(link.IsRunning(), 0);
    EXPECT_EQ(link.lastExchange.load(), 0);
    closesocket(accepted);
    closesocket(server);
}

} // namespace
