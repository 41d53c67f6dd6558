// Name and address lookups of destinations, replaceable so tests can make a host
// resolve or vanish.
#pragma once

#include <Keelwork/TString.h>

#include <winsock2.h>

#include <functional>

// Both lookups are called from the client thread and from several search threads at
// once, so a replacement must be safe to call concurrently.
struct THostResolver {
    // The name's first IPv4 address (network byte order); 1 when the name resolved.
    std::function<int(const char* name, in_addr& address)> byName;
    // The host name of an IPv4 address; 1 when the address resolved back to a host.
    std::function<int(const in_addr& address, TString& name)> byAddress;
};

// gethostbyname and gethostbyaddr (AF_INET).
THostResolver SystemHostResolver();
