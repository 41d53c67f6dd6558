// One outgoing connection to another copy's service, carried by a link thread of its own.
#pragma once

#include "net/TFernSettings.h"
#include "net/TWorkerThread.h"
#include "net/WireFormat.h"

#include <Keelwork/TobjectBase.h>

#include <atomic>

// How long a link waits for any answer of its peer (the handshake, a reply, the next
// piece of a frame) before it takes the connection for broken.
constexpr DWORD LINK_REPLY_TIMEOUT_MS = 10000;

// Created and stopped by the client engine; after Connect only the link thread reads
// and writes the socket, and other threads reach the link by thread messages alone.
// A link never reconnects: a new one is made instead.
class TClientLink : public TobjectBase {
public:
    // selector: the service this variant asks for; settings: read for the pause bit.
    TClientLink(uint32_t selector, const TFernSettings& settings);
    // Every variant calls Stop() in its own destructor: the link thread runs the
    // variant's Handle and uses its members, which are gone before this one runs.
    virtual ~TClientLink();

    // Sends the selector and reads the 4-byte answer; 1 when the service was accepted.
    virtual int Handshake();
    // Sends CMD_CLOSE and reads its reply; the result does not matter.
    virtual int Close();
    // The variant's work for one thread message; runs on the link thread.
    virtual void Handle(const MSG& message) = 0;

    // Connects to the 16-byte IPv4 address, shakes hands and starts the link thread
    // (lowest priority). Returns 1, or 0 with no socket and no thread left over.
    int Connect(const sockaddr_in& address);
    // Posts TM_QUIT every 500 ms until the link thread has ended. A thread still busy
    // after LINK_STOP_GRACE_MS (a peer that does not answer) has its socket closed, so
    // its wait fails and it ends; Stop returns only after it has.
    void Stop();
    // Posts TM_QUIT once and waits without limit for the link thread: the work posted
    // before is done first. The link's reply time-out bounds the wait.
    void Finish();

    DWORD GetThreadId() const { return m_Thread.GetId(); }
    int IsRunning() const { return m_Thread.IsRunning(); }
    // Waits without limit for a link thread that ends itself after its one piece of work.
    void WaitUntilEnded() { m_Thread.Join(INFINITE); }
    // 1 while the link thread waits for work; read without a lock by the main window.
    int IsIdle() const { return m_Idle.load(); }

protected:
    // One request-reply exchange on the link thread: header and payload (may be null
    // when the header's length is 0) in one send, then the 16-byte reply. Returns 1,
    // or 0 when the connection broke or the payload exceeds MAX_STORED_PAYLOAD (no
    // server stores more; nothing is sent).
    int Exchange(const PacketHeader& header, const void* payload, ReplyHeader& reply);

    // 1 for the session's links, whose work is dropped while the session is paused.
    virtual bool FollowsSessionPause() const { return true; }

    // Read by the link thread; closed from outside only by Stop, after its grace.
    std::atomic<SOCKET> m_Socket{INVALID_SOCKET};
    const TFernSettings& m_Settings;

private:
    static void LinkThread(void* owner);
    void Run();

    TWorkerThread m_Thread;
    std::atomic<int> m_Idle{0};
    uint32_t m_Selector;
};
