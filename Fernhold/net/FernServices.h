// The service variants of TServerConn, one per service selector, and their factory.
#pragma once

#include "net/MacAddressQuery.h"
#include "net/TServerConn.h"

#include <Keelwork/TMemoryBase.h>

class TFrameStore;
class TUpdateInbox;

// Each variant writes a debugger line when it is made and when it is deleted. A
// service answers commands it does not serve yet as unknown (ok 0), which keeps its
// connection usable.

// Replays CMD_MOUSE and CMD_KEY into this machine's input unchanged; nothing is filtered.
class FernEventServ : public TServerConn {
public:
    FernEventServ();
    ~FernEventServ() override;
    void Handle(const PacketHeader& header) override;
};

// Serves the screen size and the frames of the shared frame store; a request that
// finds no newer frame makes the server thread capture one for the next request.
class FernImageServ : public TServerConn {
public:
    // frames may be null (no frame is ever served); serverThreadId hears TM_CAPTURE.
    FernImageServ(TFrameStore* frames, DWORD serverThreadId);
    ~FernImageServ() override;
    void Handle(const PacketHeader& header) override;

private:
    void ServeFrame(uint32_t clientFrame);

    TFrameStore* m_Frames;
    DWORD m_ServerThreadId;
    // The frame announced to this connection, copied under the frame lock: exactly the
    // announced bytes go out, and a slow peer never holds the lock (nor the captures).
    TMemoryBase m_Sending;
};

// Serves this host's MAC addresses (CMD_GET_MACS), at most MAX_SERVED_MACS of them.
class FernUserInfoServ : public TServerConn {
public:
    // served: the application's addresses, written before any listener opens and read
    // here without a lock; null serves none.
    explicit FernUserInfoServ(const std::vector<MacAddress>* served);
    ~FernUserInfoServ() override;
    void Handle(const PacketHeader& header) override;

private:
    void ServeMacs();

    const std::vector<MacAddress>* m_Served;
};

// A new, not yet started connection object for the selector; null for a selector
// that no service has (3, 4 and every unknown value). frames and serverThreadId go
// to the image service, servedMacs to the MAC service, inbox to the update-request service
// (the update services are in FernUpdateServices.h).
TServerConn* CreateServiceConn(uint32_t selector, TFrameStore* frames, DWORD serverThreadId,
                               const std::vector<MacAddress>* servedMacs = nullptr,
                               TUpdateInbox* inbox = nullptr);
