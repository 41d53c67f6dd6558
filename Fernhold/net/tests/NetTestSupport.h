// Test support of the network tests: a raw Winsock client speaking the wire format by
// hand to 127.0.0.x, and bounded waits.
#pragma once

#include "net/WireFormat.h"

#include <atomic>
#include <string>
#include <functional>

#include <cstdint>

sockaddr_in LoopbackAddress(const char* address, uint16_t port);
// A socket listening on 127.0.0.1:port for a scripted peer of the test's own.
SOCKET ListenOnLoopback(uint16_t port);

// 1 when this process runs inside the test namespace, where the host name resolves
// to 127.0.0.1 and 127.0.0.2 only; tests that listen on the host's addresses skip
// anywhere else.
bool InTestNamespace();

// A path in the temporary folder with no file there yet.
std::string FreshTempPath(const char* name);

class TListener;
class TServerCore;
// Starts the server engine with its one listener on 127.0.0.1 at the configured port;
// false when it is not listening within 5 s.
bool StartLoopbackServer(TServerCore& server);
// Reaps the listener until no connection of the service is left; false when some
// are still there after timeoutMs.
bool ReapedWithin(TListener& listener, uint32_t selector, DWORD timeoutMs);
// Waits until value holds expected; false after timeoutMs.
bool WaitForValue(const std::atomic<int>& value, int expected, DWORD timeoutMs);
// Dispatches the calling thread's messages (its windows, its hooks) until condition
// holds; false after timeoutMs.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Accepts one connection and answers its selector the way a service does; the socket,
// or INVALID_SOCKET when nothing came.
SOCKET AcceptService(SOCKET listening);

class LoopbackClient {
public:
    LoopbackClient(const char* address, uint16_t port);
    ~LoopbackClient();
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool IsConnected() const { return m_Socket != INVALID_SOCKET; }
    // Sends the selector and returns the 4-byte answer as it arrived, or
    // NO_ANSWER when none came.
    uint32_t Select(uint32_t selector);
    // Sends a request with a payload of length bytes (the pattern 0, 1, 2, ... when
    // payload is null) and reads the reply; false when the connection broke.
    bool Request(uint32_t command, uint32_t length, ReplyHeader& reply,
                 const void* payload = nullptr);
    // Sends only the header, as a peer announcing a payload it never sends.
    bool SendHeader(uint32_t command, uint32_t length);
    bool ReadReply(ReplyHeader& reply);
    // Raw bytes both ways, for exchanges the helpers above do not shape (parameters,
    // go words, bulk data).
    bool Send(const void* data, int length);
    bool Receive(void* buffer, int length);
    // True when the server closes the connection within timeoutMs.
    bool WaitClosed(DWORD timeoutMs);
    // Closes without CMD_CLOSE.
    void Drop();

    static constexpr uint32_t NO_ANSWER = 0xDEADBEEF;

private:
    SOCKET m_Socket;
};
