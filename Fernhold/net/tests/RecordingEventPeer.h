// An events service of the tests' own on loopback that records every request it answers.
#pragma once

#include "net/TEventLink.h"
#include "net/TEventQueue.h"

#include <mutex>
#include <thread>
#include <vector>

// Accepts one connection on 127.0.0.1:port, answers the events selector, then records
// each request's header and payload and acknowledges it until CMD_CLOSE or the end.
class RecordingEventPeer {
public:
    explicit RecordingEventPeer(uint16_t port);
    ~RecordingEventPeer();
    RecordingEventPeer(const RecordingEventPeer&) = delete;
    RecordingEventPeer& operator=(const RecordingEventPeer&) = delete;

    std::vector<EventPacket> Received();
    // False when fewer than count requests arrived within timeoutMs.
    bool WaitForCount(size_t count, DWORD timeoutMs);

private:
    void Serve();

    SOCKET m_Listen;
    std::thread m_Thread;
    std::mutex m_Mutex;
    std::vector<EventPacket> m_Received;
};

// An event link to a recording peer on 127.0.0.1:port, made while the session is paused:
// what is posted waits in the queue until Resume.
class PausedEventSession {
public:
    explicit PausedEventSession(uint16_t port);

    bool IsConnected() const { return m_Connected; }
    // The session connected again and the first TM_SEND_EVENTS after the pause; false
    // when it could not be posted.
    bool Resume();

    RecordingEventPeer peer;
    TFernSettings settings;
    TEventLink link{settings};

private:
    bool m_Connected;
};
