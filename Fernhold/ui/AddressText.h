// The texts the windows show for an IPv4 socket address: its address and its port.
#pragma once

#include <winsock2.h>

struct AddressTexts {
    char address[16]; // dotted decimal, "192.168.1.20"
    char port[6];     // decimal in host order, "5483"
};

AddressTexts FormatAddress(const sockaddr_in& address);
