// One destination of the operator's list and its "CNDT" record form.
#pragma once

#include <Keelwork/TMemoryBase.h>
#include <Keelwork/TString.h>
#include <Keelwork/TobjectBase.h>

#include <winsock2.h>

#include <cstdint>

// Owned by the client engine's list; fields are copied in and out only inside the
// client's critical section. A record that dies stops its worker thread first.
class TDestination : public TobjectBase {
public:
    TDestination();
    // Sets the cancel flag and waits without limit for the worker thread to end.
    ~TDestination();
    TDestination(const TDestination&) = delete;
    TDestination& operator=(const TDestination&) = delete;

    // Appends the record's "CNDT" form (version 2) to out.
    void Write(TMemoryBase& out) const;
    // Reads one record at cursor within the size bytes at data and advances cursor.
    // Returns 1 for a version 1 or 2 record; 0 when the tag or version is unknown
    // (the record keeps its defaults, the cursor stays after what was read) and -1
    // when a field runs past the end (the rest of the image is damaged).
    int Read(const unsigned char* data, unsigned long size, unsigned long& cursor);

    unsigned long GetMacCount() const { return m_Macs.GetSize() / MAC_BYTES; }
    const unsigned char* GetMac(unsigned long index) const
    {
        return static_cast<unsigned char*>(m_Macs) + index * MAC_BYTES;
    }
    void AddMac(const unsigned char (&mac)[6]) { m_Macs.AddMemory(MAC_BYTES, mac); }

    static constexpr unsigned long MAC_BYTES = 6;

    TString displayName{"Computer"};
    sockaddr_in liveAddress{};
    uint16_t searchState = 0;
    TString computerName{"Computer"};
    sockaddr_in storedAddress{};
    // Run-time only: the search or wake-up thread working on this record.
    HANDLE workerThread = nullptr;
    DWORD workerThreadId = 0;
    uint16_t busy = 0;
    volatile uint16_t cancel = 0;
    uint32_t lastSearchTime = 0;
    uint32_t failureCount = 0;
    uint32_t searchesLeft = 0;

private:
    // The MAC addresses, six bytes each, in adapter order.
    TMemoryBase m_Macs;
};
