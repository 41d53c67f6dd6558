// Service variants: debugger lines and the selector factory.
#include "net/FernServices.h"

#include "net/MacExchange.h"
#include "net/FernUpdateServices.h"
#include "net/NetMessages.h"
#include "net/SocketIo.h"
#include "net/TFrameStore.h"

#include <cstring>

namespace {
// Gives the server thread time to capture before the client's next request.
constexpr DWORD FRAME_CAPTURE_PAUSE_MS = 100;
} // namespace

FernEventServ::FernEventServ() { OutputDebugStringA(">>■FERN■<<FernEventServ : Start\n"); }
FernEventServ::~FernEventServ() { OutputDebugStringA(">>■FERN■<<FernEventServ : Exit\n"); }

void FernEventServ::Handle(const PacketHeader& header)
{
    if (header.command != CMD_MOUSE && header.command != CMD_KEY) {
        TServerConn::Handle(header);
        return;
    }
    // Zeroed so that a mouse request with a short payload injects zeros, not stale bytes.
    unsigned char payload[MAX_STORED_PAYLOAD] = {};
    if (!ReadPayload(header, payload)) return;
    if (header.command == CMD_MOUSE) {
        uint32_t words[2];
        memcpy(words, payload, sizeof(words));
        mouse_event(words[0], header.param1, header.param2, words[1], 0);
    } else {
        keybd_event(static_cast<BYTE>(header.param1), 0, header.param2, 0);
    }
    Reply(1, 0, 0, 0);
}

FernImageServ::FernImageServ(TFrameStore* frames, DWORD serverThreadId)
    : m_Frames(frames), m_ServerThreadId(serverThreadId)
{
    OutputDebugStringA(">>■FERN■<<FernImageServ : Start\n");
}
FernImageServ::~FernImageServ() { OutputDebugStringA(">>■FERN■<<FernImageServ : Exit\n"); }

void FernImageServ::Handle(const PacketHeader& header)
{
    if (header.command != CMD_GET_SCREEN_SIZE && header.command != CMD_GET_FRAME) {
        TServerConn::Handle(header);
        return;
    }
    unsigned char payload[MAX_STORED_PAYLOAD];
    if (!ReadPayload(header, payload)) return;
    if (header.command == CMD_GET_SCREEN_SIZE) {
        SIZE screen = ScreenSize();
        Reply(1, 0, static_cast<uint32_t>(screen.cx), static_cast<uint32_t>(screen.cy));
    } else {
        ServeFrame(header.param1);
    }
}

void FernImageServ::ServeFrame(uint32_t clientFrame)
{
    unsigned long length = 0;
    uint32_t number = 0;
    bool copied = false;
    if (m_Frames) {
        m_Frames->Lock();
        const TMemory& frame = m_Frames->GetCompressed();
        length = frame.GetSize();
        number = m_Frames->GetFrameNumber();
        if (number > clientFrame && length)
            copied = m_Sending.Alloc(length, static_cast<unsigned char*>(frame)) != nullptr;
        m_Frames->Unlock();
    }
    if (number <= clientFrame) {
        // The client has seen the newest frame: capture one for its next request.
        Reply(1, 0, number, 0);
        if (m_ServerThreadId) PostThreadMessageA(m_ServerThreadId, TM_CAPTURE, 0, 0);
        Sleep(FRAME_CAPTURE_PAUSE_MS);
        return;
    }
    if (length == 0) {
        Reply(1, 0, number, 0);
        return;
    }
    if (!copied) {
        // No room for the copy: no frame this time; the client keeps its number and asks again.
        Reply(1, 0, clientFrame, 0);
        return;
    }
    Reply(1, static_cast<uint32_t>(length), number, 0);
    uint32_t go = 0;
    if (RecvAll(GetSocket(), &go, sizeof(go)) < 1) {
        EndService();
        return;
    }
    if (go == 0) {
        SendWord(GetSocket(), 1);
        return;
    }
    int length32 = static_cast<int>(length);
    if (SendAll(GetSocket(), static_cast<unsigned char*>(m_Sending), length32) != length32)
        EndService();
}

FernUserInfoServ::FernUserInfoServ(const std::vector<MacAddress>* served) : m_Served(served)
{
    OutputDebugStringA(">>■FERN■<<FernUserInfoServ : Start\n");
}
FernUserInfoServ::~FernUserInfoServ() { OutputDebugStringA(">>■FERN■<<FernUserInfoServ : Exit\n"); }

void FernUserInfoServ::Handle(const PacketHeader& header)
{
    if (header.command != CMD_GET_MACS) {
        TServerConn::Handle(header);
        return;
    }
    unsigned char payload[MAX_STORED_PAYLOAD];
    if (ReadPayload(header, payload)) ServeMacs();
}

void FernUserInfoServ::ServeMacs()
{
    size_t count = m_Served ? m_Served->size() : 0;
    if (count > MAX_SERVED_MACS) count = MAX_SERVED_MACS;
    if (count == 0) {
        Reply(0, 0, 0, 0);
        return;
    }
    unsigned char sending[MAX_SERVED_MACS * sizeof(MacAddress)];
    memcpy(sending, m_Served->data(), count * sizeof(MacAddress));
    const uint32_t length = static_cast<uint32_t>(count * sizeof(MacAddress));
    Reply(1, length, static_cast<uint32_t>(count), 0);
    uint32_t go = 0;
    if (!IsRunning() || RecvAll(GetSocket(), &go, sizeof(go)) < 1) {
        EndService();
        return;
    }
    if (go == 0) {
        SendWord(GetSocket(), 1);
        return;
    }
    if (SendAll(GetSocket(), sending, static_cast<int>(length)) != static_cast<int>(length))
        EndService();
}

TServerConn* CreateServiceConn(uint32_t selector, TFrameStore* frames, DWORD serverThreadId,
                               const std::vector<MacAddress>* servedMacs, TUpdateInbox* inbox)
{
    switch (selector) {
    case SERVICE_EVENTS:
        return new FernEventServ;
    case SERVICE_IMAGES:
        return new FernImageServ(frames, serverThreadId);
    case SERVICE_MACS:
        return new FernUserInfoServ(servedMacs);
    case SERVICE_UPDATE:
        return new FernUpdateServ;
    case SERVICE_UPDATE_REQUEST:
        return new FernUpdateRequestServ(inbox);
    default:
        return nullptr;
    }
}
