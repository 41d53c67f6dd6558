// The client half of the wire protocol on a connected socket: the service selector, one
// request with its reply, and the closing request. Links and one-shot queries share it.
#pragma once

#include "net/WireFormat.h"

// Sends the selector and reads the 4-byte answer; true when the service was accepted
// (any non-zero word).
bool SelectService(SOCKET socket, uint32_t selector);
// Header and payload (may be null when the header's length is 0) in one send, then the
// 16-byte reply. False when the connection broke or the payload exceeds
// MAX_STORED_PAYLOAD (no server stores more; nothing is sent then).
bool ExchangeRequest(SOCKET socket, const PacketHeader& header, const void* payload,
                     ReplyHeader& reply);
// Sends CMD_CLOSE and reads its reply; true when the server answered ok 1.
bool CloseService(SOCKET socket);
