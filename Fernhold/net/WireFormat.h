// Byte-exact layouts of the TCP exchanges: request and reply headers, socket addresses.
#pragma once

#include <winsock2.h>

#include <cstdint>

// Every request starts with this header; the payload (length bytes) follows it.
// Words are little-endian, the host order of the x86 machines the program runs on.
struct PacketHeader {
    uint32_t command;
    uint32_t length;
    uint32_t param1;
    uint32_t param2;
};

// Every reply is this header; a non-zero length announces a bulk transfer.
struct ReplyHeader {
    uint32_t ok;
    uint32_t length;
    uint32_t value1;
    uint32_t value2;
};

static_assert(sizeof(PacketHeader) == 16, "the request header is 16 bytes on the wire");
static_assert(sizeof(ReplyHeader) == 16, "the reply header is 16 bytes on the wire");
static_assert(sizeof(sockaddr_in) == 16, "IPv4 socket addresses are 16 bytes on the wire");

// Answer to a service selector: 1 in network byte order accepts, zero refuses.
constexpr uint32_t SERVICE_ACCEPTED_WORD = 0x01000000; // bytes 00 00 00 01
constexpr uint32_t SERVICE_REFUSED_WORD = 0;

// Largest request payload a service ever stores (a file name with its terminator).
constexpr uint32_t MAX_STORED_PAYLOAD = 256;
// Longer payloads up to this size are read and discarded so the connection stays
// usable; anything longer is refused and the connection closed, since discarding
// it would tie the service thread to a peer that announces gigabytes.
constexpr uint32_t MAX_SKIPPED_PAYLOAD = 64 * 1024;
