// One accepted connection of a service, served request by request on a thread of its own.
#pragma once

#include "net/TWorkerThread.h"
#include "net/WireFormat.h"

#include <Keelwork/TobjectBase.h>

#include <atomic>

class TListener;

// Created, started, stopped and deleted by its TListener under the listener's
// connection lock. While it runs, only its service thread uses the socket; Stop may
// close the socket from outside to end a service thread that waits in a receive.
class TServerConn : public TobjectBase {
public:
    TServerConn();
    // Owners Stop() before deleting; the destructor closes a socket still held.
    virtual ~TServerConn();

    // The variant's answer to one request: reads the payload, acts, sends one reply.
    // This base answers every command as unknown.
    virtual void Handle(const PacketHeader& header);

    // Takes over the accepted socket and starts the service thread (above normal).
    // Returns 1, or 0 when the thread cannot be made (the socket stays with this object).
    int Start(TListener* listener, SOCKET socket);
    // Ends the service: lets a request in progress finish for up to 10 s, then closes
    // the socket (at once when no request is in progress), then waits for the thread
    // without limit.
    void Stop();

    // 1 while the connection is served; 0 once it ended and may be reaped.
    int IsRunning() const { return m_Running.load(); }

protected:
    // Sends one reply; a failed send ends the service.
    void Reply(uint32_t ok, uint32_t length, uint32_t value1, uint32_t value2);
    // The answer to a command this service does not have: the payload is discarded
    // and ok 0 sent. A payload beyond MAX_SKIPPED_PAYLOAD is not read: the reply is
    // ok 0 and the connection ends, since the stream cannot be followed any further.
    void RefuseRequest(const PacketHeader& header);
    // Reads the payload into a MAX_STORED_PAYLOAD-byte buffer. A longer payload is
    // refused as above (nothing is stored) and 0 returned; 0 also when the
    // connection broke. Returns 1 with header.length bytes in the buffer.
    int ReadPayload(const PacketHeader& header, unsigned char (&buffer)[MAX_STORED_PAYLOAD]);

    // The connection ends after the request in progress.
    void EndService() { m_Running = 0; }
    SOCKET GetSocket() const { return m_Socket.load(); }
    TListener* GetListener() const { return m_Listener; }

private:
    static void ServiceThread(void* owner);
    void Serve();
    // Clears running and closes the connection after CMD_CLOSE's reply.
    void HandleClose(const PacketHeader& header);

    TListener* m_Listener = nullptr;
    TWorkerThread m_Thread;
    std::atomic<SOCKET> m_Socket{INVALID_SOCKET};
    std::atomic<int> m_Running{0};
    // 1 from a request's header to its reply; 0 while the next header is awaited.
    std::atomic<int> m_InRequest{0};
};
