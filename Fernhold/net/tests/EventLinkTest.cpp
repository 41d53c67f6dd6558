// Input requests: builders, the event queue, and the event link against a recording peer.
#include "NetTestSupport.h"
#include "RecordingEventPeer.h"

#include "net/EventRequests.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TEventLink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

TEST(EventRequestTest, MouseCoordinatesScaleToTheFullRange)
{
    struct Case {
        long column, row, width, height;
        uint32_t x, y;
    };
    const Case cases[] = {
        {1023, 767, 1024, 768, 65471, 65449}, // bottom-right pixel
        {0, 0, 1024, 768, 0, 0},
        {512, 384, 1024, 768, 32767, 32767},
        {40000, 30000, 40001, 30001, 65533, 65532}, // products past 32 bits
    };
    for (const Case& c : cases) {
        EventPacket packet;
        ASSERT_EQ(MakeMouseRequest(c.column, c.row, c.width, c.height, 0x8001, 0, packet), 1);
        EXPECT_EQ(packet.header.command, CMD_MOUSE);
        EXPECT_EQ(packet.header.length, 8u);
        EXPECT_EQ(packet.header.param1, c.x) << c.column;
        EXPECT_EQ(packet.header.param2, c.y) << c.row;
        EXPECT_EQ(packet.payload[0], 0x8001u);
    }
    EventPacket untouched{};
    EXPECT_EQ(MakeMouseRequest(5, 5, 0, 768, 0x8001, 0, untouched), 0);
    EXPECT_EQ(MakeMouseRequest(5, 5, 1024, 0, 0x8001, 0, untouched), 0);
}

TEST(EventRequestTest, MouseFlagsAndWheelData)
{
    const std::pair<UINT, uint32_t> flags[] = {
        {WM_MOUSEMOVE, 0x8001},   {WM_LBUTTONDOWN, 0x8002}, {WM_LBUTTONUP, 0x8004},
        {WM_RBUTTONDOWN, 0x8008}, {WM_RBUTTONUP, 0x8010},   {WM_MBUTTONDOWN, 0x8020},
        {WM_MBUTTONUP, 0x8040},   {WM_MOUSEWHEEL, 0x8800},  {WM_KEYDOWN, 0},
    };
    for (const auto& f : flags)
        EXPECT_EQ(MouseFlagsForMessage(f.first), f.second) << std::hex << f.first;

    // One notch towards the user.
    EventPacket packet;
    ASSERT_EQ(MakeMouseRequest(0, 0, 1024, 768, MouseFlagsForMessage(WM_MOUSEWHEEL), -120, packet),
              1);
    EXPECT_EQ(packet.payload[0], 0x8800u);
    EXPECT_EQ(packet.payload[1], 0xFFFFFF88u);
}

TEST(EventRequestTest, KeyUpFlagFollowsTheTransitionBit)
{
    EventPacket down = MakeKeyRequest('A', 0x001E0001);
    EventPacket up = MakeKeyRequest('A', static_cast<LPARAM>(0xC01E0001u));
    EXPECT_EQ(down.header.command, CMD_KEY);
    EXPECT_EQ(down.header.length, 0u);
    EXPECT_EQ(down.header.param1, static_cast<uint32_t>('A'));
    EXPECT_EQ(down.header.param2, 0u);
    EXPECT_EQ(up.header.param2, 2u);
}

EventPacket Numbered(uint32_t n)
{
    EventPacket packet{};
    packet.header.command = CMD_KEY;
    packet.header.param1 = n;
    return packet;
}

TEST(EventQueueTest, HoldsAtMost199PacketsOldestFirst)
{
    TEventQueue queue;
    EXPECT_EQ(queue.HasItems(), 0);
    int stored = 0;
    for (uint32_t n = 0; n < 250; ++n)
        stored += queue.Put(Numbered(n));
    EXPECT_EQ(stored, 199);
    for (uint32_t n = 0; n < 199; ++n) {
        ASSERT_EQ(queue.HasItems(), 1);
        EXPECT_EQ(queue.Take().header.param1, n);
    }
    EXPECT_EQ(queue.HasItems(), 0);
    EventPacket empty = queue.Take();
    EXPECT_EQ(empty.header.command, 0u);
    EXPECT_EQ(empty.header.param1, 0u);

    // The ring wraps: after emptying, a full 199 fit again in order.
    for (uint32_t n = 0; n < 199; ++n)
        ASSERT_EQ(queue.Put(Numbered(1000 + n)), 1);
    EXPECT_EQ(queue.Put(Numbered(0)), 0);
    EXPECT_EQ(queue.Take().header.param1, 1000u);
    EXPECT_EQ(queue.Put(Numbered(2000)), 1);
}

TEST(EventLinkTest, PacketsGoOutWholeAndInOrder)
{
    RecordingEventPeer peer(27301);
    TFernSettings settings;
    settings.displayFlags = 0x413; // connected
    TEventLink link(settings);
    ASSERT_EQ(link.Connect(LoopbackAddress("127.0.0.1", 27301)), 1);

    EventPacket mouse;
    ASSERT_EQ(MakeMouseRequest(1023, 767, 1024, 768, 0x8800, -120, mouse), 1);
    link.Post(mouse);
    link.Post(MakeKeyRequest(VK_RETURN, static_cast<LPARAM>(0xC0000001u)));
    ASSERT_TRUE(peer.WaitForCount(2, 5000));
    std::vector<EventPacket> got = peer.Received();
    EXPECT_EQ(got[0].header.command, CMD_MOUSE);
    EXPECT_EQ(got[0].header.param1, 65471u);
    EXPECT_EQ(got[0].header.param2, 65449u);
    EXPECT_EQ(got[0].payload[0], 0x8800u);
    EXPECT_EQ(got[0].payload[1], 0xFFFFFF88u);
    EXPECT_EQ(got[1].header.command, CMD_KEY);
    EXPECT_EQ(got[1].header.length, 0u);
    EXPECT_EQ(got[1].header.param1, static_cast<uint32_t>(VK_RETURN));
    EXPECT_EQ(got[1].header.param2, 2u);
}

TEST(EventLinkTest, PauseKeepsQueuedPacketsUntilTheNextSend)
{
    PausedEventSession session(27302);
    ASSERT_TRUE(session.IsConnected());

    for (uint32_t n = 0; n < 250; ++n)
        session.link.Post(Numbered(n));
    Sleep(300);
    EXPECT_EQ(session.peer.Received().size(), 0u);

    ASSERT_TRUE(session.Resume());
    ASSERT_TRUE(session.peer.WaitForCount(199, 10000));
    Sleep(200);
    std::vector<EventPacket> got = session.peer.Received();
    ASSERT_EQ(got.size(), 199u);
    for (uint32_t n = 0; n < 199; ++n)
        EXPECT_EQ(got[n].header.param1, n);
}

TEST(EventLinkTest, DeletingTheLinkWhileItSendsEndsItsThreadFirst)
{
    RecordingEventPeer peer(27304);
    TFernSettings settings;
    settings.displayFlags = 0x413;
    TEventLink* link = new TEventLink(settings);
    ASSERT_EQ(link->Connect(LoopbackAddress("127.0.0.1", 27304)), 1);
    for (uint32_t n = 0; n < 150; ++n)
        link->Post(Numbered(n));
    // The link thread is still sending: it must end before the queue goes, or it
    // sends from freed memory (or calls into a half-destroyed link and crashes).
    delete link;
    Sleep(300); // the peer records the last request it answered
    std::vector<EventPacket> got = peer.Received();
    EXPECT_LE(got.size(), 150u);
    for (uint32_t n = 0; n < got.size(); ++n) {
        EXPECT_EQ(got[n].header.command, CMD_KEY);
        EXPECT_EQ(got[n].header.param1, n);
    }
}

TEST(EventLinkTest, RequestLeavesInOnePiece)
{
    // Split into header and payload, the payload would wait for the peer's delayed
    // acknowledgement of the header: tens of milliseconds for every mouse request.
    SOCKET listening = ListenOnLoopback(27303);
    int firstRead = 0;
    unsigned char request[64] = {};
    std::thread peer([&] {
        SOCKET s = accept(listening, nullptr, nullptr);
        uint32_t selector = 0;
        RecvAll(s, &selector, 4);
        SendWord(s, SERVICE_ACCEPTED_WORD);
        firstRead = recv(s, reinterpret_cast<char*>(request), sizeof(request), 0);
        ReplyHeader reply{1, 0, 0, 0};
        SendAll(s, &reply, sizeof(reply));
        closesocket(s);
    });
    TFernSettings settings;
    settings.displayFlags = 0x413;
    TEventLink link(settings);
    ASSERT_EQ(link.Connect(LoopbackAddress("127.0.0.1", 27303)), 1);
    EventPacket mouse;
    ASSERT_EQ(MakeMouseRequest(10, 20, 1024, 768, 0x8001, 0, mouse), 1);
    link.Post(mouse);
    peer.join();
    closesocket(listening);
    EXPECT_EQ(firstRead, 24);
    EXPECT_EQ(memcmp(request, &mouse, 24), 0);
}

} // namespace
