// Port text check shared by the options sheet and the destination dialog.
#include "ui/PortText.h"

bool ParsePortText(const char* text, unsigned short& port)
{
    if (!text || !*text) return false;
    unsigned long value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
        value = value * 10 + static_cast<unsigned long>(*c - '0');
        if (value > 65535) return false;
    }
    if (value == 0) return false;
    port = static_cast<unsigned short>(value);
    return true;
}
