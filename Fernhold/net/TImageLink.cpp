// Image link: screen size, frame request and bulk receive.
#include "net/TImageLink.h"

#include "net/NetMessages.h"
#include "net/SocketIo.h"

TImageLink::TImageLink(const TFernSettings& settings, TClientImage& image, DWORD clientThreadId)
    : TClientLink(SERVICE_IMAGES, settings), m_Image(image), m_ClientThreadId(clientThreadId)
{
}

TImageLink::~TImageLink() { Stop(); }

void TImageLink::Handle(const MSG& message)
{
    if (message.message == TM_GET_SCREEN_SIZE)
        RequestScreenSize();
    else if (message.message == TM_GET_FRAME)
        RequestFrame();
}

void TImageLink::LinkLost()
{
    PostThreadMessageA(m_ClientThreadId, TM_LINK_LOST, 0, 0);
    PostThreadMessageA(GetThreadId(), TM_QUIT, 0, 0);
}

void TImageLink::RequestScreenSize()
{
    PacketHeader header{CMD_GET_SCREEN_SIZE, 0, 0, 0};
    ReplyHeader reply;
    if (!Exchange(header, nullptr, reply) || reply.ok == 0 || reply.value1 == 0 ||
        reply.value1 > MAX_SCREEN_SIDE || reply.value2 == 0 || reply.value2 > MAX_SCREEN_SIDE) {
        LinkLost();
        return;
    }
    m_Image.SetRemoteSize(static_cast<long>(reply.value1), static_cast<long>(reply.value2));
}

void TImageLink::RequestFrame()
{
    TWorkerThread::RemoveWaiting(TM_GET_FRAME, TM_GET_FRAME);
    PacketHeader header{CMD_GET_FRAME, 0, m_LastFrame.load(), 0};
    ReplyHeader reply;
    if (!Exchange(header, nullptr, reply) || reply.ok == 0 || reply.length > MAX_FRAME_STREAM) {
        LinkLost();
        return;
    }
    m_LastFrame = reply.value1;
    if (reply.length == 0) return;
    if (!m_Received.JustMemory(reply.length)) {
        // No room for it: decline, so the stream stays in step.
        uint32_t word = 0;
        if (SendWord(m_Socket, 0) < 1 || RecvAll(m_Socket, &word, sizeof(word)) < 1) LinkLost();
        return;
    }
    if (SendWord(m_Socket, 1) < 1 || RecvAll(m_Socket, static_cast<unsigned char*>(m_Received),
                                             static_cast<int>(reply.length)) < 1) {
        LinkLost();
        return;
    }
    unsigned long bytes = m_Image.GetImageBytes();
    if (bytes && FrameStreamPixelBytes(m_Received) == bytes) {
        m_Image.SwapInFrame(m_Received);
        PostThreadMessageA(m_ClientThreadId, TM_FRAME_RECEIVED, 0, 0);
        Sleep(0);
    } else {
        // No image yet, or the remote screen changed size.
        PostThreadMessageA(GetThreadId(), TM_GET_SCREEN_SIZE, 0, 0);
    }
}
