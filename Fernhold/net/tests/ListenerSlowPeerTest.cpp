// The listener under slow and silent peers: selectors read off the accept thread, one
// deadline per selector from the accept, a bounded number read at once.
#include "NetTestSupport.h"

#include "net/NetMessages.h"
#include "net/TListener.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

// A peer that connected at `connectedAt` and sent `bytes` of a selector.
struct PartialPeer {
    std::unique_ptr<LoopbackClient> client;
    DWORD connectedAt;
};

class ListenerSlowPeerTest : public ::testing::Test {
protected:
    void Listen(uint16_t port)
    {
        m_Port = port;
        ASSERT_EQ(m_Listener.Start(inet_addr("127.0.0.1"), htons(port)), 1);
    }

    // Peers that each send `bytes` bytes of the selector 1 and then nothing; returns once
    // the listener reads all of their selectors (or holds them in its backlog).
    std::vector<PartialPeer> HoldSelectorsOpen(unsigned count, int bytes)
    {
        std::vector<PartialPeer> peers;
        const uint32_t selector = SERVICE_EVENTS;
        for (unsigned i = 0; i < count; ++i) {
            PartialPeer peer{std::make_unique<LoopbackClient>("127.0.0.1", m_Port), timeGetTime()};
            EXPECT_TRUE(peer.client->IsConnected()) << i;
            if (bytes) {
                EXPECT_TRUE(peer.client->SendBytes(&selector, bytes)) << i;
            }
            peers.push_back(std::move(peer));
        }
        const unsigned long reading = count < MAX_PENDING_SELECTORS ? count : MAX_PENDING_SELECTORS;
        EXPECT_TRUE(PumpUntil([&] { return m_Listener.GetPendingCount() == reading; }, 5000))
            << m_Listener.GetPendingCount();
        return peers;
    }

    // Each peer is dropped at its own deadline, measured from its connect.
    void ExpectDroppedAtTheirDeadlines(std::vector<PartialPeer>& peers, DWORD lateMs)
    {
        for (size_t i = 0; i < peers.size(); ++i) {
            ASSERT_TRUE(peers[i].client->WaitClosed(10000)) << i;
            const DWORD held = timeGetTime() - peers[i].connectedAt;
            EXPECT_GE(held, SELECTOR_DEADLINE_MS - 100) << i;
            EXPECT_LE(held, SELECTOR_DEADLINE_MS + lateMs) << i;
        }
    }

    TFernSettings m_Settings;
    TListener m_Listener{m_Settings, 0};
    uint16_t m_Port = 0;
};

TEST_F(ListenerSlowPeerTest, PartialSelectorsDelayNobodyAndAreDroppedAtTheirDeadline)
{
    Listen(27711);
    for (int bytes : {0, 2, 3}) {
        std::vector<PartialPeer> peers = HoldSelectorsOpen(20, bytes);
        // A burst of normal clients at once, beyond the old backlog of 3. (Each start of a
        // service pauses 100 ms under the connection lock, so a burst is admitted one
        // after the other.)
        const DWORD start = timeGetTime();
        DWORD accepted[5] = {};
        std::vector<std::thread> clients;
        for (DWORD& at : accepted)
            clients.emplace_back([&] {
                LoopbackClient client("127.0.0.1", m_Port);
                if (client.Select(SERVICE_IMAGES) == SERVICE_ACCEPTED_WORD) at = timeGetTime();
            });
        for (std::thread& client : clients)
            client.join();
        for (DWORD at : accepted) {
            ASSERT_NE(at, 0u) << bytes;
            EXPECT_LT(at - start, 1000u) << bytes;
        }
        ExpectDroppedAtTheirDeadlines(peers, 700);
        EXPECT_TRUE(ReapedWithin(m_Listener, SERVICE_IMAGES, 10000));
    }
}

TEST_F(ListenerSlowPeerTest, OneByteDribblerIsDroppedAtThreeSeconds)
{
    Listen(27712);
    LoopbackClient dribbler("127.0.0.1", m_Port);
    ASSERT_TRUE(dribbler.IsConnected());
    const DWORD connectedAt = timeGetTime();
    HANDLE dropped = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // A byte every 2.5 s, as long as the listener keeps it.
    std::thread bytes([&] {
        const unsigned char byte = 1;
        for (int i = 0; i < 3 && dribbler.SendBytes(&byte, 1); ++i)
            if (WaitForSingleObject(dropped, 2500) == WAIT_OBJECT_0) break;
    });
    EXPECT_TRUE(dribbler.WaitClosed(10000));
    const DWORD held = timeGetTime() - connectedAt;
    SetEvent(dropped);
    bytes.join();
    CloseHandle(dropped);
    EXPECT_GE(held, SELECTOR_DEADLINE_MS - 100);
    EXPECT_LE(held, SELECTOR_DEADLINE_MS + 700);
    EXPECT_EQ(m_Listener.GetConnectionCount(SERVICE_EVENTS), 0u);
}

TEST_F(ListenerSlowPeerTest, BeyondTheBoundConnectionsWaitInTheBacklogAndAreServedLater)
{
    Listen(27713);
    std::vector<PartialPeer> peers = HoldSelectorsOpen(MAX_PENDING_SELECTORS + 6, 1);
    EXPECT_EQ(m_Listener.GetPendingCount(), MAX_PENDING_SELECTORS);
    // Waits in the backlog behind the six, until the first deadlines free slots.
    const DWORD start = timeGetTime();
    LoopbackClient late("127.0.0.1", m_Port);
    ASSERT_EQ(late.Select(SERVICE_EVENTS), SERVICE_ACCEPTED_WORD);
    EXPECT_LT(timeGetTime() - start, SELECTOR_DEADLINE_MS + 1500);
    // The six behind the bound got their three seconds from their own accept.
    std::vector<PartialPeer> first(std::make_move_iterator(peers.begin()),
                                   std::make_move_iterator(peers.begin() + MAX_PENDING_SELECTORS));
    ExpectDroppedAtTheirDeadlines(first, 1000);
    for (size_t i = MAX_PENDING_SELECTORS; i < peers.size(); ++i)
        EXPECT_TRUE(peers[i].client->WaitClosed(10000)) << i;
}

TEST_F(ListenerSlowPeerTest, StopWithSelectorsBeingReadEndsEverythingAndRefusesThem)
{
    Listen(27714);
    std::vector<PartialPeer> peers = HoldSelectorsOpen(5, 2);
    const DWORD start = timeGetTime();
    m_Listener.Stop();
    EXPECT_LE(timeGetTime() - start, SELECTOR_DEADLINE_MS + 1000);
    EXPECT_EQ(m_Listener.GetPendingCount(), 0u);
    EXPECT_EQ(m_Listener.IsListening(), 0);
    // A peer that completes its selector now finds nothing behind it.
    const uint16_t rest = 0;
    for (PartialPeer& peer : peers) {
        peer.client->SendBytes(&rest, 2);
        EXPECT_TRUE(peer.client->WaitClosed(1000));
    }
    EXPECT_EQ(m_Listener.GetConnectionCount(SERVICE_EVENTS), 0u);
}

} // namespace
