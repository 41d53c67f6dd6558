// The operator's side of an update: the link that asks a destination to fetch an update
// from this copy's first listening address.
#pragma once

#include "net/TClientLink.h"

class TServerCore;

// Made by the client engine on the main thread (TClientCore::SendUpdateRequest), which
// waits for its thread to end; its one piece of work is TM_SEND_UPDATE_REQUEST.
class TUpdateRequestLink : public TClientLink {
public:
    // server: whose first listener's address is offered; clientThreadId hears
    // TM_LINK_LOST when this copy listens nowhere.
    TUpdateRequestLink(const TFernSettings& settings, TServerCore& server, DWORD clientThreadId);
    ~TUpdateRequestLink() override;

    void Handle(const MSG& message) override;

protected:
    bool FollowsSessionPause() const override { return false; }

private:
    void SendRequest();

    TServerCore& m_Server;
    DWORD m_ClientThreadId;
};
