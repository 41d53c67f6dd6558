// A listener and its service connections, driven by raw clients over loopback.
#include "NetTestSupport.h"

#include "net/NetMessages.h"
#include "net/TListener.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class ServiceProtocolTest : public ::testing::Test {
protected:
    // Each test listens on a port of its own, so test processes may run side by side.
    void Listen(uint16_t port)
    {
        m_Port = port;
        ASSERT_EQ(m_Listener.Start(inet_addr("127.0.0.1"), htons(port)), 1);
    }

    TFernSettings m_Settings;
    TListener m_Listener{m_Settings, 0};
    uint16_t m_Port = 0;
};

TEST_F(ServiceProtocolTest, RequestsTheServiceLacksAreAnsweredAndTheConnectionGoesOn)
{
    Listen(27101);
    LoopbackClient client("127.0.0.1", m_Port);
    ASSERT_EQ(client.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD);
    EXPECT_EQ(m_Listener.GetConnectionCount(SERVICE_EVENTS), 1u);

    struct Case {
        uint32_t command;
        uint32_t length;
    };
    const Case cases[] = {
        {0x77777, 300},       // unknown command, payload longer than any stored one
        {0x77777, 0},         // unknown command, no payload
        {CMD_GET_MACS, 0},    // a command of another service
        {CMD_MOUSE, 257},     // a known command with a payload beyond 256 bytes
        {0x12345, 64 * 1024}, // the longest payload that is still skipped
    };
    for (const Case& c : cases) {
        ReplyHeader reply{9, 9, 9, 9};
        ASSERT_TRUE(client.Request(c.command, c.length, reply)) << std::hex << c.command;
        EXPECT_EQ(reply.ok, 0u) << std::hex << c.command;
        EXPECT_EQ(reply.length, 0u);
        EXPECT_EQ(reply.value1, 0u);
        EXPECT_EQ(reply.value2, 0u);
    }

    ReplyHeader reply{};
    ASSERT_TRUE(client.Request(CMD_CLOSE, 0, reply));
    EXPECT_EQ(reply.ok, 1u);
    EXPECT_TRUE(client.WaitClosed(10000));
    EXPECT_TRUE(ReapedWithin(m_Listener, SERVICE_EVENTS, 5000));
}

TEST_F(ServiceProtocolTest, PayloadTooLongToSkipIsRefusedAndTheConnectionEnds)
{
    Listen(27102);
    for (uint32_t length : {64u * 1024 + 1, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        LoopbackClient client("127.0.0.1", m_Port);
        ASSERT_EQ(client.Select(SERVICE_IMAGES), SERVICE_ACCEPTED_WORD);
        // The payload is announced but never sent: the server must not wait for it.
        ASSERT_TRUE(client.SendHeader(0x77777, length));
        ReplyHeader reply{9, 9, 9, 9};
        ASSERT_TRUE(client.ReadReply(reply)) << length;
        EXPECT_EQ(reply.ok, 0u);
        EXPECT_TRUE(client.WaitClosed(10000)) << length;
    }
    EXPECT_TRUE(ReapedWithin(m_Listener, SERVICE_IMAGES, 5000));
}

TEST_F(ServiceProtocolTest, SelectorsWithoutAServiceAreRefusedAndClosed)
{
    Listen(27103);
    // A session that must outlive the refusals, the listener's own stop word among them.
    LoopbackClient session("127.0.0.1", m_Port);
    ASSERT_EQ(session.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD);
    for (uint32_t selector : {3u, 4u, 0u, 8u, 0x10001u, 0xFFFEu, SERVICE_STOP_LISTENER}) {
        LoopbackClient client("127.0.0.1", m_Port);
        EXPECT_EQ(client.Select(selector), SERVICE_REFUSED_WORD) << selector;
        EXPECT_TRUE(client.WaitClosed(5000)) << selector;
    }
    // Every accepted service still works after the refusals, and the session goes on.
    for (uint32_t selector :
         {SERVICE_EVENTS, SERVICE_IMAGES, SERVICE_MACS, SERVICE_UPDATE, SERVICE_UPDATE_REQUEST}) {
        LoopbackClient client("127.0.0.1", m_Port);
        EXPECT_EQ(client.Select(selector), SERVICE_ACCEPTED_WORD) << selector;
        EXPECT_EQ(m_Listener.GetConnectionCount(selector), selector == SERVICE_EVENTS ? 2u : 1u)
            << selector;
    }
    ReplyHeader reply;
    EXPECT_TRUE(session.Request(0x77777, 0, reply));
    EXPECT_EQ(m_Listener.IsListening(), 1);
}

TEST_F(ServiceProtocolTest, RefusalByOptionSparesConnectionsAcceptedBefore)
{
    Listen(27104);
    LoopbackClient older("127.0.0.1", m_Port);
    ASSERT_EQ(older.Select(SERVICE_IMAGES), SERVICE_ACCEPTED_WORD);

    m_Settings.serverFlags = 1;
    for (uint32_t selector : {SERVICE_EVENTS, SERVICE_IMAGES, SERVICE_MACS}) {
        LoopbackClient refused("127.0.0.1", m_Port);
        EXPECT_EQ(refused.Select(selector), SERVICE_REFUSED_WORD);
        EXPECT_TRUE(refused.WaitClosed(5000));
    }
    ReplyHeader reply{9, 9, 9, 9};
    ASSERT_TRUE(older.Request(0x77777, 0, reply));
    EXPECT_EQ(reply.ok, 0u);
    EXPECT_EQ(m_Listener.GetConnectionCount(SERVICE_IMAGES), 1u);

    m_Settings.serverFlags = 0;
    LoopbackClient later("127.0.0.1", m_Port);
    EXPECT_EQ(later.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD);
}

TEST_F(ServiceProtocolTest, AServiceTakesABoundedNumberOfConnections)
{
    Listen(27108);
    std::vector<std::unique_ptr<LoopbackClient>> clients;
    for (unsigned long n = 0; n < MAX_SERVICE_CONNECTIONS; ++n) {
        clients.push_back(std::make_unique<LoopbackClient>("127.0.0.1", m_Port));
        ASSERT_EQ(clients.back()->Select(SERVICE_IMAGES), SERVICE_ACCEPTED_WORD) << n;
    }
    LoopbackClient beyond("127.0.0.1", m_Port);
    EXPECT_EQ(beyond.Select(SERVICE_IMAGES), SERVICE_REFUSED_WORD);
    EXPECT_TRUE(beyond.WaitClosed(5000));
    // Other services and the sessions already there are not touched.
    LoopbackClient events("127.0.0.1", m_Port);
    EXPECT_EQ(events.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD);
    ReplyHeader reply;
    EXPECT_TRUE(clients.front()->Request(0x77777, 0, reply));

    // A connection that ends makes room once it is reaped.
    clients.back()->Drop();
    DWORD start = GetTickCount();
    while (m_Listener.GetConnectionCount(SERVICE_IMAGES) == MAX_SERVICE_CONNECTIONS &&
           GetTickCount() - start < 5000) {
        m_Listener.Reap();
        Sleep(20);
    }
    LoopbackClient again("127.0.0.1", m_Port);
    EXPECT_EQ(again.Select(SERVICE_IMAGES), SERVICE_ACCEPTED_WORD);
}

TEST_F(ServiceProtocolTest, SilentPeerIsDroppedAndDoesNotHoldUpTheListener)
{
    Listen(27105);
    LoopbackClient silent("127.0.0.1", m_Port);
    ASSERT_TRUE(silent.IsConnected());
    Sleep(200); // the accept thread now waits for the silent peer's selector

    DWORD start = GetTickCount();
    LoopbackClient next("127.0.0.1", m_Port);
    EXPECT_EQ(next.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD);
    EXPECT_LT(GetTickCount() - start, 8000u);
    EXPECT_TRUE(silent.WaitClosed(5000));
}

TEST_F(ServiceProtocolTest, ClientThatDropsWithoutCloseIsReaped)
{
    Listen(27106);
    LoopbackClient dropped("127.0.0.1", m_Port);
    ASSERT_EQ(dropped.Select(SERVICE_MACS), SERVICE_ACCEPTED_WORD);
    LoopbackClient halfway("127.0.0.1", m_Port);
    ASSERT_EQ(halfway.Select(SERVICE_MACS), SERVICE_ACCEPTED_WORD);
    ASSERT_TRUE(halfway.SendHeader(0x77777, 100)); // the payload never comes
    EXPECT_EQ(m_Listener.GetConnectionCount(SERVICE_MACS), 2u);

    dropped.Drop();
    halfway.Drop();
    EXPECT_TRUE(ReapedWithin(m_Listener, SERVICE_MACS, 10000));
}

TEST_F(ServiceProtocolTest, StoppedListenerClosesItsConnectionsAndItsPort)
{
    Listen(27107);
    LoopbackClient idle[3] = {{"127.0.0.1", m_Port}, {"127.0.0.1", m_Port}, {"127.0.0.1", m_Port}};
    for (LoopbackClient& client : idle)
        ASSERT_EQ(client.Select(SERVICE_IMAGES), SERVICE_ACCEPTED_WORD);
    // Connections waiting for their next request have nothing to finish: closed at once,
    // not after a grace time each.
    const DWORD start = GetTickCount();
    m_Listener.Stop();
    EXPECT_LT(GetTickCount() - start, 5000u);
    for (LoopbackClient& client : idle)
        EXPECT_TRUE(client.WaitClosed(1000));
    EXPECT_EQ(m_Listener.GetConnectionCount(SERVICE_IMAGES), 0u);
    EXPECT_EQ(m_Listener.IsListening(), 0);
    LoopbackClient after("127.0.0.1", m_Port);
    EXPECT_FALSE(after.IsConnected());
}

} // namespace
