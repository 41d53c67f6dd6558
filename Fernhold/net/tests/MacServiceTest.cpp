// The MAC service and its clients over loopback: what the service sends for a given
// set of adapters, and what the query and the MAC link make of honest and hostile hosts.
#include "NetTestSupport.h"

#include "net/MacExchange.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TDestination.h"
#include "net/TListener.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

std::vector<MacAddress> Adapters(unsigned count)
{
    std::vector<MacAddress> macs(count);
    for (unsigned i = 0; i < count; ++i)
        macs[i] = {
            0x00, 0x1B, 0x21, static_cast<unsigned char>(i >> 8), static_cast<unsigned char>(i),
            0x5A};
    return macs;
}

class MacServiceTest : public ::testing::Test {
protected:
    void Serve(uint16_t port, unsigned adapters)
    {
        m_Port = port;
        m_Served = Adapters(adapters);
        ASSERT_EQ(m_Listener.Start(inet_addr("127.0.0.1"), htons(port)), 1);
    }

    TFernSettings m_Settings;
    std::vector<MacAddress> m_Served;
    TListener m_Listener{m_Settings, 0, nullptr, &m_Served};
    uint16_t m_Port = 0;
};

TEST_F(MacServiceTest, ServesItsAdaptersUpToFortyTwoAfterTheGoWord)
{
    Serve(27701, 0);
    // A host with more adapters than the reply buffer holds is served its first 42.
    for (unsigned adapters : {1u, 3u, 42u, 43u, 60u}) {
        m_Served = Adapters(adapters);
        const unsigned served = adapters < MAX_SERVED_MACS ? adapters : MAX_SERVED_MACS;
        LoopbackClient client("127.0.0.1", m_Port);
        ASSERT_EQ(client.Select(SERVICE_MACS), SERVICE_ACCEPTED_WORD);
        ReplyHeader reply{};
        ASSERT_TRUE(client.Request(CMD_GET_MACS, 0, reply));
        EXPECT_EQ(reply.ok, 1u) << adapters;
        EXPECT_EQ(reply.length, 6u * served) << adapters;
        EXPECT_EQ(reply.value1, served) << adapters;
        EXPECT_EQ(reply.value2, 0u);
        ASSERT_TRUE(client.SendGoWord(1));
        std::vector<MacAddress> received(served);
        ASSERT_TRUE(client.Receive(received.data(), static_cast<int>(6 * served)));
        EXPECT_EQ(received, std::vector<MacAddress>(m_Served.begin(), m_Served.begin() + served));
        // Nothing beyond the announced bytes: the next reply follows directly.
        ASSERT_TRUE(client.Request(CMD_CLOSE, 0, reply));
        EXPECT_EQ(reply.ok, 1u);
        EXPECT_TRUE(client.WaitClosed(5000));
    }
}

TEST_F(MacServiceTest, NoAdapterIsOkZeroAndTheConnectionClosesCleanly)
{
    Serve(27702, 0);
    LoopbackClient client("127.0.0.1", m_Port);
    ASSERT_EQ(client.Select(SERVICE_MACS), SERVICE_ACCEPTED_WORD);
    ReplyHeader reply{9, 9, 9, 9};
    ASSERT_TRUE(client.Request(CMD_GET_MACS, 0, reply));
    EXPECT_EQ(reply.ok, 0u);
    EXPECT_EQ(reply.length, 0u);
    EXPECT_EQ(reply.value1, 0u);
    EXPECT_EQ(reply.value2, 0u);
    ASSERT_TRUE(client.Request(CMD_CLOSE, 0, reply));
    EXPECT_EQ(reply.ok, 1u);
    EXPECT_TRUE(client.WaitClosed(5000));
    client.Drop();
    EXPECT_TRUE(ReapedWithin(m_Listener, SERVICE_MACS, 5000));
}

TEST_F(MacServiceTest, GoWordZeroIsAnsweredWithTheWordOneAndTheServiceGoesOn)
{
    Serve(27703, 2);
    LoopbackClient client("127.0.0.1", m_Port);
    ASSERT_EQ(client.Select(SERVICE_MACS), SERVICE_ACCEPTED_WORD);
    ReplyHeader reply{};
    ASSERT_TRUE(client.Request(CMD_GET_MACS, 0, reply));
    ASSERT_EQ(reply.length, 12u);
    ASSERT_TRUE(client.SendGoWord(0));
    uint32_t word = 0;
    ASSERT_TRUE(client.Receive(&word, 4));
    EXPECT_EQ(word, 1u);
    // The stream is in step: the next request gets the addresses.
    ASSERT_TRUE(client.Request(CMD_GET_MACS, 0, reply));
    EXPECT_EQ(reply.value1, 2u);
    ASSERT_TRUE(client.SendGoWord(1));
    MacAddress received[2];
    ASSERT_TRUE(client.Receive(received, 12));
    EXPECT_EQ(received[1], m_Served[1]);
}

// Connects a plain socket to the port, as the wizard's sweep does.
SOCKET ConnectTo(uint16_t port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress("127.0.0.1", port);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    SetReceiveTimeout(s, 10000);
    return s;
}

TEST_F(MacServiceTest, QueryAndFetchTakeWhatTheHostServes)
{
    Serve(27704, 3);
    SOCKET s = ConnectTo(m_Port);
    ASSERT_NE(s, INVALID_SOCKET);
    std::vector<MacAddress> macs;
    EXPECT_TRUE(QueryMacAddresses(s, macs));
    EXPECT_EQ(macs, m_Served);
    // The query ended the service with CMD_CLOSE: the server closes its end.
    char byte;
    EXPECT_EQ(recv(s, &byte, 1, 0), 0);
    closesocket(s);

    TDestination destination;
    destination.liveAddress = LoopbackAddress("127.0.0.1", m_Port);
    const unsigned char typed[6] = {1, 2, 3, 4, 5, 6};
    destination.AddMac(typed);
    FetchDestinationMacs(destination);
    // Appended after what the record held, in the server's order.
    ASSERT_EQ(destination.GetMacCount(), 4u);
    EXPECT_EQ(memcmp(destination.GetMac(0), typed, 6), 0);
    for (unsigned i = 0; i < 3; ++i)
        EXPECT_EQ(memcmp(destination.GetMac(i + 1), m_Served[i].data(), 6), 0) << i;
    EXPECT_TRUE(ReapedWithin(m_Listener, SERVICE_MACS, 5000));

    // A host serving none gives nothing, and the query still closes the service.
    m_Served.clear();
    s = ConnectTo(m_Port);
    EXPECT_FALSE(QueryMacAddresses(s, macs));
    EXPECT_TRUE(macs.empty());
    EXPECT_EQ(recv(s, &byte, 1, 0), 0);
    closesocket(s);
    FetchDestinationMacs(destination);
    EXPECT_EQ(destination.GetMacCount(), 4u);
}

// A host that accepts service 5 and answers CMD_GET_MACS with a scripted reply, then
// sends `data` whatever the go word (a hostile server does not wait for it).
struct HostileAnswer {
    const char* what;
    ReplyHeader reply;
    uint32_t dataBytes;
};

void AnswerOnce(SOCKET listening, const HostileAnswer& answer)
{
    SOCKET s = AcceptService(listening);
    if (s == INVALID_SOCKET) return;
    SetReceiveTimeout(s, 10000);
    PacketHeader request;
    if (RecvAll(s, &request, sizeof(request)) > 0) {
        std::vector<unsigned char> data(answer.dataBytes, 0xAB);
        SendAll(s, &answer.reply, sizeof(answer.reply));
        if (!data.empty()) SendAll(s, data.data(), static_cast<int>(data.size()));
    }
    CloseGracefully(s);
}

TEST(MacClientTest, HostileAnnouncementsEndTheFetchWithNoAddresses)
{
    const HostileAnswer answers[] = {
        {"more than the client holds", {1, 6 * 171, 171, 0}, 6 * 171},
        {"count far beyond any buffer", {1, 0xFFFFFFFA, 0x2AAAAAAA, 0}, 0},
        {"length not six per address", {1, 17, 3, 0}, 17},
        {"length short of the count", {1, 6, 3, 0}, 18},
        {"count zero with a length", {1, 12, 0, 0}, 12},
        {"ok 1 with nothing", {1, 0, 0, 0}, 0},
        {"ok 0 with a length", {0, 18, 3, 0}, 18},
        {"data cut short", {1, 18, 3, 0}, 7},
    };
    const uint16_t port = 27705;
    SOCKET listening = ListenOnLoopback(port);
    ASSERT_NE(listening, INVALID_SOCKET);
    for (const HostileAnswer& answer : answers) {
        std::thread host([&] { AnswerOnce(listening, answer); });
        SOCKET s = ConnectTo(port);
        std::vector<MacAddress> macs(1);
        EXPECT_FALSE(QueryMacAddresses(s, macs)) << answer.what;
        EXPECT_TRUE(macs.empty()) << answer.what;
        closesocket(s);
        host.join();

        std::thread linkHost([&] { AnswerOnce(listening, answer); });
        TDestination destination;
        destination.liveAddress = LoopbackAddress("127.0.0.1", port);
        FetchDestinationMacs(destination);
        EXPECT_EQ(destination.GetMacCount(), 0u) << answer.what;
        linkHost.join();
    }
    closesocket(listening);
}

TEST(MacClientTest, AHostWithoutTheServiceGivesNoAddresses)
{
    TDestination destination;
    // Nobody listens there.
    destination.liveAddress = LoopbackAddress("127.0.0.1", 27706);
    FetchDestinationMacs(destination);
    EXPECT_EQ(destination.GetMacCount(), 0u);

    // A listener that refuses the selector (connections refused by option).
    TFernSettings settings;
    settings.serverFlags = 1;
    std::vector<MacAddress> served = Adapters(2);
    TListener listener(settings, 0, nullptr, &served);
    ASSERT_EQ(listener.Start(inet_addr("127.0.0.1"), htons(27706)), 1);
    FetchDestinationMacs(destination);
    EXPECT_EQ(destination.GetMacCount(), 0u);
    SOCKET s = ConnectTo(27706);
    std::vector<MacAddress> macs;
    EXPECT_FALSE(QueryMacAddresses(s, macs));
    closesocket(s);
}

} // namespace
