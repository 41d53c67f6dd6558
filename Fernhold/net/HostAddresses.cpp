// Host address lookup through the host's own name.
#include "net/HostAddresses.h"

#include <winsock2.h>

#include <cstring>

int LookupHostAddresses(TMemoryBase& addresses)
{
    addresses.Free();
    char name[256];
    if (gethostname(name, sizeof(name)) != 0) return 0;
    hostent* host = gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || host->h_length != 4) return 0;
    for (char** entry = host->h_addr_list; *entry; ++entry) {
        if (!addresses.AddMemory(4, *entry)) return 0;
    }
    return 1;
}
