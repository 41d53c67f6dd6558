// Frame pacing: a frame request goes to the image link only while it waits for work.
#include "ui/TSessionController.h"

#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TImageLink.h"
#include "net/tests/NetTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr uint16_t PACING_PORT = 27611;

// An image service on loopback that counts frame requests and holds each answer
// ("nothing newer") until the test lets it go.
class HeldImageService {
public:
    HeldImageService() : m_Listen(ListenOnLoopback(PACING_PORT))
    {
        m_Thread = std::thread([this] { Serve(); });
    }
    ~HeldImageService()
    {
        release = true;
        closesocket(m_Listen);
        m_Thread.join();
    }

    std::atomic<int> frameRequests{0};
    std::atomic<bool> release{false};

private:
    void Serve()
    {
        SOCKET s = AcceptService(m_Listen);
        if (s == INVALID_SOCKET) return;
        PacketHeader header{};
        while (RecvAll(s, &header, sizeof(header)) > 0) {
            ReplyHeader reply{1, 0, 0, 0};
            if (header.command == CMD_GET_FRAME) {
                ++frameRequests;
                while (!release.load())
                    Sleep(5);
                release = false;
                reply.value1 = header.param1; // nothing newer
            }
            if (SendAll(s, &reply, sizeof(reply)) < 1 || header.command == CMD_CLOSE) break;
        }
        closesocket(s);
    }

    SOCKET m_Listen;
    std::thread m_Thread;
};

TEST(FramePacingTest, OnlyAnIdleLinkGetsAFrameRequest)
{
    PaceFrame(nullptr); // no link: nothing to do

    HeldImageService service;
    TFernSettings settings;
    TClientImage image;
    TImageLink link(settings, image, GetCurrentThreadId());
    ASSERT_EQ(link.Connect(LoopbackAddress("127.0.0.1", PACING_PORT)), 1);
    ASSERT_TRUE(PumpUntil([&] { return link.IsIdle() == 1; }, 5000));

    PaceFrame(&link);
    ASSERT_TRUE(PumpUntil([&] { return service.frameRequests.load() == 1; }, 5000));
    // The link now waits for the answer: further ticks must not pile up requests.
    ASSERT_EQ(link.IsIdle(), 0);
    for (int tick = 0; tick < 3; ++tick)
        PaceFrame(&link);
    service.release = true;
    ASSERT_TRUE(PumpUntil([&] { return link.IsIdle() == 1; }, 5000));
    Sleep(300);
    EXPECT_EQ(service.frameRequests.load(), 1);

    // Idle again: the next tick asks again.
    PaceFrame(&link);
    EXPECT_TRUE(PumpUntil([&] { return service.frameRequests.load() == 2; }, 5000));
    service.release = true;
    link.Stop();
}

} // namespace
