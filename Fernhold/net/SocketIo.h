// Blocking whole-buffer send and receive on one socket; used by every link and service.
#pragma once

#include <winsock2.h>

#include <cstdint>

// Sends all bytes; returns length, or the result (0 or less) of the send that failed.
int SendAll(SOCKET socket, const void* data, int length);
// Receives exactly length bytes; returns length, or the result (0 or less) of the
// recv that found the connection closed or broken.
int RecvAll(SOCKET socket, void* buffer, int length);
// Receives and discards length bytes through a 256-byte scratch buffer; returns 1,
// or the failed recv's result.
int SkipBytes(SOCKET socket, uint32_t length);
// Sends one 4-byte word exactly as it lies in memory.
int SendWord(SOCKET socket, uint32_t word);
// Receive time-out in milliseconds for later recv calls; 0 waits without limit.
int SetReceiveTimeout(SOCKET socket, DWORD milliseconds);
// The same for send calls: a peer that stops reading fails the send instead of
// holding the sender for ever (closing the socket does not wake a blocked send
// everywhere).
int SetSendTimeout(SOCKET socket, DWORD milliseconds);
// How long CloseGracefully waits for the peer's end of the connection.
constexpr DWORD CLOSE_DRAIN_TIMEOUT_MS = 5000;

// shutdown for sending, then read until the peer closes too (or the drain time-out
// passes), then closesocket: the peer sees an orderly end and every byte sent before.
void CloseGracefully(SOCKET socket);
