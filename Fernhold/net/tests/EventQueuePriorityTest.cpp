// A full event queue keeps every button, wheel and key request: plain moves give way, so a
// release is never lost and nothing stays held down on the remote computer.
#include "NetTestSupport.h"
#include "RecordingEventPeer.h"

#include "net/EventRequests.h"
#include "net/NetMessages.h"
#include "net/TEventLink.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A mouse request at remote column n of a 1024-pixel-wide screen.
EventPacket Mouse(long n, UINT message, int32_t data = 0)
{
    EventPacket packet;
    MakeMouseRequest(n, 0, 1024, 768, MouseFlagsForMessage(message), data, packet);
    return packet;
}

uint32_t FlagsOf(const EventPacket& packet) { return packet.payload[0]; }

TEST(EventQueuePriorityTest, ButtonsWheelAndKeysTakeTheSlotOfAQueuedMove)
{
    TEventQueue queue;
    ASSERT_EQ(queue.Put(Mouse(1, WM_MOUSEMOVE)), 1);
    ASSERT_EQ(queue.Put(Mouse(1, WM_LBUTTONDOWN)), 1);
    int movesStored = 0;
    for (long n = 2; n < 300; ++n)
        movesStored += queue.Put(Mouse(n, WM_MOUSEMOVE));
    EXPECT_EQ(movesStored, 197); // a full queue still drops a new move
    EXPECT_EQ(queue.Put(Mouse(500, WM_LBUTTONUP)), 1);
    EXPECT_EQ(queue.Put(Mouse(500, WM_MOUSEWHEEL, -120)), 1);
    EXPECT_EQ(queue.Put(MakeKeyRequest(VK_SHIFT, static_cast<LPARAM>(0xC0000001u))), 1);

    std::vector<EventPacket> taken;
    while (queue.HasItems())
        taken.push_back(queue.Take());
    ASSERT_EQ(taken.size(), 199u);
    // The move that places the click stays before it; the moves that gave way were the
    // oldest ones whose position a later move replaced; order is kept.
    EXPECT_EQ(FlagsOf(taken[0]), 0x8001u);
    EXPECT_EQ(taken[0].header.param1, 1u * 65535 / 1024);
    EXPECT_EQ(FlagsOf(taken[1]), 0x8002u);
    EXPECT_EQ(taken[2].header.param1, 5u * 65535 / 1024); // moves 2, 3 and 4 gave way
    for (size_t i = 2; i + 3 < taken.size(); ++i) {
        EXPECT_EQ(FlagsOf(taken[i]), 0x8001u) << i;
        EXPECT_LT(taken[i].header.param1, taken[i + 1].header.param1) << i;
    }
    EXPECT_EQ(FlagsOf(taken[195]), 0x8001u); // the last move before the release stays too
    EXPECT_EQ(FlagsOf(taken[196]), 0x8004u);
    EXPECT_EQ(FlagsOf(taken[197]), 0x8800u);
    EXPECT_EQ(taken[197].payload[1], 0xFFFFFF88u);
    EXPECT_EQ(taken[198].header.command, CMD_KEY);
    EXPECT_EQ(taken[198].header.param2, 2u);
}

TEST(EventQueuePriorityTest, AButtonUpAfterAPauseFullOfMovesReachesTheDestination)
{
    PausedEventSession session(27307);
    ASSERT_TRUE(session.IsConnected());
    for (long n = 0; n < 250; ++n)
        session.link.Post(Mouse(n, WM_MOUSEMOVE));
    session.link.Post(Mouse(250, WM_LBUTTONUP));

    ASSERT_TRUE(session.Resume());
    ASSERT_TRUE(session.peer.WaitForCount(199, 10000));
    std::vector<EventPacket> got = session.peer.Received();
    ASSERT_EQ(got.size(), 199u);
    EXPECT_EQ(FlagsOf(got.back()), 0x8004u);
    EXPECT_EQ(FlagsOf(got[got.size() - 2]), 0x8001u);
}

} // namespace
