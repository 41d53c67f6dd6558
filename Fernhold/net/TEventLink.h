// The client's event link: queued input requests sent one at a time to the events service.
#pragma once

#include "net/TClientLink.h"
#include "net/TEventQueue.h"

// Post is called on the main thread (view windows, keyboard hook); the link thread
// sends. While the session is paused the link thread drops TM_SEND_EVENTS but the
// queue keeps its packets, which go out at the first TM_SEND_EVENTS after the pause.
class TEventLink : public TClientLink {
public:
    explicit TEventLink(const TFernSettings& settings);
    ~TEventLink() override;

    // Queues the packet (a full queue drops plain moves first, see TEventQueue) and wakes
    // the link thread.
    void Post(const EventPacket& packet);
    void Handle(const MSG& message) override;

    TEventQueue& GetQueue() { return m_Queue; }

private:
    TEventQueue m_Queue;
};
