// The CMD_GET_MACS exchange of service 5 and the bounds both sides keep.
#pragma once

#include "net/MacAddressQuery.h"

// Addresses a server sends at most: its 256-byte reply buffer holds 42. A host with
// more adapters is served its first 42.
constexpr unsigned long MAX_SERVED_MACS = 42;
// Addresses a client takes at most: its 1024-byte receive buffer holds 170. A larger
// announcement is a broken exchange, never a reason to allocate.
constexpr unsigned long MAX_RECEIVED_MACS = 170;

enum class MacReply {
    Received,   // macs holds the addresses
    NoneServed, // ok 0: the host knows no address; the connection is still in step
    Broken,     // a failed read or an announcement refused: the stream cannot go on
};

// On a connection already given service 5: sends CMD_GET_MACS, checks the announcement
// (ok 1, a count of 1 to MAX_RECEIVED_MACS, a length of exactly six bytes per address),
// sends the go word 1 and receives the addresses into macs (emptied first). Anything
// but Received leaves macs empty.
MacReply RequestMacAddresses(SOCKET socket, std::vector<MacAddress>& macs);
