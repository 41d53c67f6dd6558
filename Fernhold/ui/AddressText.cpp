// Address and port texts.
#include "ui/AddressText.h"

#include <cstdio>

AddressTexts FormatAddress(const sockaddr_in& address)
{
    AddressTexts texts{};
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&address.sin_addr);
    snprintf(texts.address, sizeof(texts.address), "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2],
             bytes[3]);
    snprintf(texts.port, sizeof(texts.port), "%u", ntohs(address.sin_port));
    return texts;
}
