// Service variants: debugger lines and the selector factory.
#include "net/FernServices.h"

#include "net/NetMessages.h"

#include <cstring>

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

FernImageServ::FernImageServ() { OutputDebugStringA(">>■FERN■<<FernImageServ : Start\n"); }
FernImageServ::~FernImageServ() { OutputDebugStringA(">>■FERN■<<FernImageServ : Exit\n"); }

FernUserInfoServ::FernUserInfoServ() { OutputDebugStringA(">>■FERN■<<FernUserInfoServ : Start\n"); }
FernUserInfoServ::~FernUserInfoServ() { OutputDebugStringA(">>■FERN■<<FernUserInfoServ : Exit\n"); }

// Both update services write the same lines.
FernUpdateServ::FernUpdateServ() { OutputDebugStringA(">>■FERN■<<FernUpdateServ : Start\n"); }
FernUpdateServ::~FernUpdateServ() { OutputDebugStringA(">>■FERN■<<FernUpdateServ : Exit\n"); }

FernUpdateRequestServ::FernUpdateRequestServ()
{
    OutputDebugStringA(">>■FERN■<<FernUpdateServ : Start\n");
}
FernUpdateRequestServ::~FernUpdateRequestServ()
{
    OutputDebugStringA(">>■FERN■<<FernUpdateServ : Exit\n");
}

TServerConn* CreateServiceConn(uint32_t selector)
{
    switch (selector) {
    case SERVICE_EVENTS:
        return new FernEventServ;
    case SERVICE_IMAGES:
        return new FernImageServ;
    case SERVICE_MACS:
        return new FernUserInfoServ;
    case SERVICE_UPDATE:
        return new FernUpdateServ;
    case SERVICE_UPDATE_REQUEST:
        return new FernUpdateRequestServ;
    default:
        return nullptr;
    }
}
