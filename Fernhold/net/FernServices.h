// The service variants of TServerConn, one per service selector, and their factory.
#pragma once

#include "net/TServerConn.h"

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

class FernImageServ : public TServerConn {
public:
    FernImageServ();
    ~FernImageServ() override;
};

class FernUserInfoServ : public TServerConn {
public:
    FernUserInfoServ();
    ~FernUserInfoServ() override;
};

class FernUpdateServ : public TServerConn {
public:
    FernUpdateServ();
    ~FernUpdateServ() override;
};

class FernUpdateRequestServ : public TServerConn {
public:
    FernUpdateRequestServ();
    ~FernUpdateRequestServ() override;
};

// A new, not yet started connection object for the selector; null for a selector
// that no service has (3, 4 and every unknown value).
TServerConn* CreateServiceConn(uint32_t selector);
