// Service variants: debugger lines and the selector factory.
#include "net/FernServices.h"

#include "net/NetMessages.h"

FernEventServ::FernEventServ() { OutputDebugStringA(">>■FERN■<<FernEventServ : Start\n"); }
FernEventServ::~FernEventServ() { OutputDebugStringA(">>■FERN■<<FernEventServ : Exit\n"); }

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
