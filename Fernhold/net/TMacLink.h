// The client's MAC link: fetches the addresses another copy serves on service 5.
#pragma once

#include "net/MacAddressQuery.h"
#include "net/TClientLink.h"

// Made by the fetch procedure (FetchDestinationMacs) on the caller's thread; work
// arrives as TM_GET_MACS. A broken exchange ends the link thread and leaves the list
// empty. The link belongs to no session: it never posts TM_LINK_LOST (the client
// thread would end the operator's session for it) and ignores the session's pause.
class TMacLink : public TClientLink {
public:
    TMacLink();
    ~TMacLink() override;

    void Handle(const MSG& message) override;

    // The addresses received, in the server's order; read only once the link thread
    // has ended.
    const std::vector<MacAddress>& GetMacs() const { return m_Macs; }

private:
    std::vector<MacAddress> m_Macs;
};
