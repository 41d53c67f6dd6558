// The image link against a scripted image service: announcements it must not trust.
#include "NetTestSupport.h"

#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TImageLink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// Answers the first request with a fixed reply, then records the next request's command.
class ScriptedImageService {
public:
    ScriptedImageService(uint16_t port, ReplyHeader reply) : m_Reply(reply)
    {
        m_Listen = ListenOnLoopback(port);
        m_Thread = std::thread([this] { Serve(); });
    }
    ~ScriptedImageService()
    {
        closesocket(m_Listen);
        if (m_Thread.joinable()) m_Thread.join();
    }

    std::atomic<uint32_t> nextCommand{0};

private:
    void Serve()
    {
        SOCKET s = accept(m_Listen, nullptr, nullptr);
        if (s == INVALID_SOCKET) return;
        uint32_t selector = 0;
        PacketHeader header{};
        if (RecvAll(s, &selector, 4) > 0 && SendWord(s, SERVICE_ACCEPTED_WORD) > 0 &&
            RecvAll(s, &header, sizeof(header)) > 0 && SendAll(s, &m_Reply, sizeof(m_Reply)) > 0) {
            SetReceiveTimeout(s, 5000);
            PacketHeader next{};
            if (RecvAll(s, &next, sizeof(next)) > 0) nextCommand = next.command;
            ReplyHeader closed{1, 0, 0, 0};
            SendAll(s, &closed, sizeof(closed));
        }
        closesocket(s);
    }

    SOCKET m_Listen;
    ReplyHeader m_Reply;
    std::thread m_Thread;
};

// Waits on this thread's queue for one of the client-thread messages of the link.
UINT WaitForClientMessage(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == TM_LINK_LOST || message.message == TM_FRAME_RECEIVED)
                return message.message;
        }
        Sleep(10);
    }
    return 0;
}

TEST(ImageLinkTest, OversizedRefusedOrEmptyAnnouncementsBreakTheLink)
{
    struct Case {
        UINT request;
        ReplyHeader reply;
        const char* what;
    };
    const Case cases[] = {
        {TM_GET_FRAME, {1, static_cast<uint32_t>(MAX_FRAME_STREAM + 1), 7, 0},
         "frame past the largest screen"},
        {TM_GET_FRAME, {1, 0xFFFFFFFFu, 7, 0}, "frame of 4 GiB"},
        {TM_GET_FRAME, {0, 0, 0, 0}, "frame refused"},
        {TM_GET_SCREEN_SIZE, {1, 0, MAX_SCREEN_SIDE + 1, 768}, "screen too wide"},
        {TM_GET_SCREEN_SIZE, {1, 0, 1024, 0xFFFFFFFFu}, "screen of negative height"},
        {TM_GET_SCREEN_SIZE, {1, 0, 0, 0}, "screen of no size"},
        {TM_GET_SCREEN_SIZE, {0, 0, 1024, 768}, "screen size refused"},
    };
    uint16_t port = 27501;
    for (const Case& c : cases) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        ScriptedImageService service(port, c.reply);
        TFernSettings settings;
        TClientImage image;
        TImageLink link(settings, image, GetCurrentThreadId());
        ASSERT_EQ(link.Connect(LoopbackAddress("127.0.0.1", port++)), 1) << c.what;
        ASSERT_TRUE(PostThreadMessageA(link.GetThreadId(), c.request, 0, 0));
        EXPECT_EQ(WaitForClientMessage(5000), TM_LINK_LOST) << c.what;
        // The link ended by itself: no go word, only its closing request followed.
        DWORD start = GetTickCount();
        while (link.IsRunning() && GetTickCount() - start < 5000)
            Sleep(20);
        EXPECT_EQ(link.IsRunning(), 0) << c.what;
        link.Stop();
        EXPECT_EQ(service.nextCommand.load(), CMD_CLOSE) << c.what;
        EXPECT_EQ(image.GetImageBytes(), 0u) << c.what;
    }
}

} // namespace
