// MAC address texts and the delete question.
#include "ui/DestinationTexts.h"

#include "net/TDestination.h"
#include "ui/AddressText.h"

#include <cstdio>

namespace {
// Value of one hexadecimal digit in upper case, -1 for anything else.
int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
} // namespace

MacText FormatMacText(const unsigned char* mac)
{
    MacText row{};
    snprintf(row.text, sizeof(row.text), "%02X : %02X : %02X : %02X : %02X : %02X", mac[0], mac[1],
             mac[2], mac[3], mac[4], mac[5]);
    return row;
}

unsigned char ParseMacByteText(const char* text)
{
    if (!text || !text[0]) return 0;
    int high = DigitValue(text[0]);
    if (high < 0) high = 0;
    if (!text[1]) return static_cast<unsigned char>(high);
    int low = DigitValue(text[1]);
    return static_cast<unsigned char>(high * 16 + (low < 0 ? 0 : low));
}

TString DeleteDestinationQuestion(const TDestination& destination)
{
    AddressTexts address = FormatAddress(destination.liveAddress);
    const char* name = static_cast<char*>(destination.displayName);
    return TString("\"") & TString(name ? name : "") & TString("\"\n\"") &
           TString(address.address) & TString("\"\n\"") & TString(address.port) & TString("\"\n") &
           TString("\nを本当に削除しますか？。");
}
