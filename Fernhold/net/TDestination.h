// One destination of the operator's list and its "CNDT" record form.
#pragma once

#include "net/TWorkerThread.h"

#include <Keelwork/TMemoryBase.h>
#include <Keelwork/TString.h>
#include <Keelwork/TobjectBase.h>

#include <winsock2.h>

#include <atomic>
#include <cstdint>

// Search states of a destination.
constexpr uint16_t SEARCH_IDLE = 0;
constexpr uint16_t SEARCH_FOUND = 1;
constexpr uint16_t SEARCH_NOT_FOUND = 2;
constexpr uint16_t SEARCH_SEARCHING = 3;
constexpr uint16_t SEARCH_WAKING = 4;
// searchesLeft of a destination searched without end.
constexpr uint32_t SEARCHES_WITHOUT_END = 0xFFFFFFFF;

// Owned by the client engine's list; fields are copied in and out only inside the
// client's critical section. A record that dies stops its worker thread first. The
// worker thread's handle belongs to the record: only the client thread starts and
// releases it (and the destructor waits for it), so a search or wake-up thread never
// clears it and a thread that ended is told apart by IsRunning.
class TDestination : public TobjectBase {
public:
    TDestination();
    // Sets the cancel flag and waits without limit for the worker thread to end.
    ~TDestination();
    TDestination(const TDestination&) = delete;
    TDestination& operator=(const TDestination&) = delete;

    // Takes names, both addresses, the search fields and the MAC list of source; the
    // worker thread, busy and cancel flags are not taken, and a searching or waking
    // state becomes idle since no thread works on the copy.
    void CopyFrom(const TDestination& source);

    // Appends the record's "CNDT" form (version 2) to out; 0 when out could not grow
    // by all of it.
    int Write(TMemoryBase& out) const;
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
    // The destination dialog's edits of one address; an index beyond the list changes
    // nothing.
    void SetMac(unsigned long index, const unsigned char (&mac)[6]);
    void RemoveMac(unsigned long index);

    static constexpr unsigned long MAC_BYTES = 6;

    // Run-time identity given by the list when the record joins it, never reused while the
    // program runs: messages name records by it, since a freed record's address may be
    // taken by a new one. 0 while the record is in no list.
    uint32_t id = 0;
    TString displayName{"Computer"};
    sockaddr_in liveAddress{};
    uint16_t searchState = 0;
    TString computerName{"Computer"};
    sockaddr_in storedAddress{};
    // Run-time only: the search or wake-up thread working on this record.
    TWorkerThread worker;
    uint16_t busy = 0;
    std::atomic<uint16_t> cancel{0};
    uint32_t lastSearchTime = 0;
    uint32_t failureCount = 0;
    uint32_t searchesLeft = 0;

private:
    // The MAC addresses, six bytes each, in adapter order.
    TMemoryBase m_Macs;
};
