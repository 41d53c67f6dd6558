// Destination record: defaults, worker shutdown and the "CNDT" form.
#include "net/TDestination.h"

#include <cstring>
#include <vector>

namespace {
constexpr uint16_t DESTINATION_PORT = 5483;
constexpr uint32_t RECORD_VERSION = 2;
constexpr uint32_t RECORD_FIXED_BYTES = 25;

void PutWord(TMemoryBase& out, uint32_t word) { out.AddMemory(4, &word); }

// Copies n bytes at cursor when they lie inside the image.
bool Take(const unsigned char* data, unsigned long size, unsigned long& cursor, void* out,
          unsigned long n)
{
    if (cursor > size || size - cursor < n) return false;
    memcpy(out, data + cursor, n);
    cursor += n;
    return true;
}
} // namespace

TDestination::TDestination()
{
    liveAddress.sin_family = AF_INET;
    liveAddress.sin_port = htons(DESTINATION_PORT);
    liveAddress.sin_addr.s_addr = inet_addr("0.0.0.0");
    storedAddress = liveAddress;
}

TDestination::~TDestination()
{
    cancel = 1;
    worker.Join(INFINITE);
}

void TDestination::CopyFrom(const TDestination& source)
{
    displayName = source.displayName;
    liveAddress = source.liveAddress;
    searchState = source.searchState == SEARCH_SEARCHING || source.searchState == SEARCH_WAKING
                      ? SEARCH_IDLE
                      : source.searchState;
    computerName = source.computerName;
    storedAddress = source.storedAddress;
    lastSearchTime = source.lastSearchTime;
    failureCount = source.failureCount;
    searchesLeft = source.searchesLeft;
    m_Macs = source.m_Macs;
}

void TDestination::SetMac(unsigned long index, const unsigned char (&mac)[6])
{
    if (index < GetMacCount())
        memcpy(static_cast<unsigned char*>(m_Macs) + index * MAC_BYTES, mac, MAC_BYTES);
}

void TDestination::RemoveMac(unsigned long index)
{
    if (index < GetMacCount()) m_Macs.CutMemory(index * MAC_BYTES, MAC_BYTES);
}

int TDestination::Write(TMemoryBase& out) const
{
    const unsigned long before = out.GetSize();
    uint32_t nameLength = computerName.Len();
    uint32_t macCount = GetMacCount();
    out.AddMemory(4, "CNDT");
    PutWord(out, RECORD_VERSION);
    PutWord(out, nameLength + RECORD_FIXED_BYTES + MAC_BYTES * macCount);
    PutWord(out, nameLength + 1);
    out.AddMemory(nameLength, static_cast<unsigned char*>(computerName));
    out.AddMemory(1, 0);
    out.AddMemory(sizeof(storedAddress), &storedAddress);
    PutWord(out, macCount);
    if (macCount) out.AddMemory(macCount * MAC_BYTES, static_cast<unsigned char*>(m_Macs));
    // Tag, version and length field, then the length field's count.
    return out.GetSize() - before == 12 + nameLength + RECORD_FIXED_BYTES + MAC_BYTES * macCount;
}

int TDestination::Read(const unsigned char* data, unsigned long size, unsigned long& cursor)
{
    char tag[4];
    uint32_t version = 0;
    if (!Take(data, size, cursor, tag, 4)) return -1;
    if (memcmp(tag, "CNDT", 4) != 0) return 0;
    if (!Take(data, size, cursor, &version, 4)) return -1;
    if (version != 1 && version != RECORD_VERSION) return 0;
    uint32_t recordLength = 0, nameBytes = 0;
    if (!Take(data, size, cursor, &recordLength, 4) || !Take(data, size, cursor, &nameBytes, 4) ||
        nameBytes == 0 || cursor > size || size - cursor < nameBytes)
        return -1;
    // The name ends at its first zero, whatever the stored length says.
    std::vector<char> name(data + cursor, data + cursor + nameBytes);
    name.push_back(0);
    cursor += nameBytes;
    sockaddr_in address;
    if (!Take(data, size, cursor, &address, sizeof(address))) return -1;
    uint32_t macCount = 1;
    if (version == RECORD_VERSION && !Take(data, size, cursor, &macCount, 4)) return -1;
    if (macCount > (size - cursor) / MAC_BYTES) return -1;
    computerName = TString(name.data());
    storedAddress = address;
    m_Macs.Alloc(macCount * MAC_BYTES, data + cursor);
    cursor += macCount * MAC_BYTES;
    displayName = computerName;
    liveAddress = storedAddress;
    return 1;
}
