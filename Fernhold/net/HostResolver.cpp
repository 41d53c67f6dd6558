// Destination lookups through the platform's host database.
#include "net/HostResolver.h"

#include <cstring>

namespace {

int ResolveName(const char* name, in_addr& address)
{
    hostent* host = gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list[0])
        return 0;
    memcpy(&address, host->h_addr_list[0], 4);
    return 1;
}

int ResolveAddress(const in_addr& address, TString& name)
{
    hostent* host = gethostbyaddr(reinterpret_cast<const char*>(&address), 4, AF_INET);
    if (!host || !host->h_name) return 0;
    name = TString(host->h_name);
    return 1;
}

} // namespace

THostResolver SystemHostResolver() { return THostResolver{ResolveName, ResolveAddress}; }
