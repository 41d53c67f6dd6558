// Destination records and connection-list files: layout, round trip through the client
// engine, old and damaged files.
#include "NetTestSupport.h"

#include "net/ConnectionListFile.h"
#include "net/TClientCore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const unsigned char MAC_A[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
const unsigned char MAC_B[6] = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};

TDestination* At(TMemoryBase& records, unsigned long i)
{
    return reinterpret_cast<TDestination**>(static_cast<unsigned char*>(records))[i];
}
unsigned long Count(const TMemoryBase& records)
{
    return records.GetSize() / sizeof(TDestination*);
}

// Owns the records of a list the way the client engine does.
struct RecordList {
    ~RecordList()
    {
        for (unsigned long i = 0; i < Count(records); ++i)
            delete At(records, i);
    }
    TMemoryBase records;
};

TDestination* Named(RecordList& list, const char* name, const char* address, uint16_t port)
{
    TDestination* record = new TDestination;
    record->computerName = TString(name);
    record->storedAddress.sin_addr.s_addr = inet_addr(address);
    record->storedAddress.sin_port = htons(port);
    list.records.AddMemory(sizeof(record), &record);
    return record;
}

TEST(DestinationTest, DefaultsAndTheRecordLengthField)
{
    TDestination record;
    EXPECT_EQ(record.displayName.StringCmp("Computer"), 1);
    EXPECT_EQ(record.computerName.StringCmp("Computer"), 1);
    EXPECT_EQ(record.liveAddress.sin_family, AF_INET);
    EXPECT_EQ(record.liveAddress.sin_port, htons(5483));
    EXPECT_EQ(record.liveAddress.sin_addr.s_addr, 0u);
    EXPECT_EQ(memcmp(&record.storedAddress, &record.liveAddress, 16), 0);

    record.computerName = TString("abc");
    record.AddMac(MAC_A);
    record.AddMac(MAC_B);
    TMemoryBase image;
    record.Write(image);
    ASSERT_EQ(image.GetSize(), 52u);
    uint32_t words[4];
    memcpy(words, static_cast<unsigned char*>(image), 16);
    EXPECT_EQ(memcmp(words, "CNDT", 4), 0);
    EXPECT_EQ(words[1], 2u);
    EXPECT_EQ(words[2], 40u);
    EXPECT_EQ(words[3], 4u);
}

// The list moves between the client engine and disk whole; a load replaces the list.
TEST(ConnectionListFileTest, SavedListComesBackWholeThroughTheClientEngine)
{
    std::string path = FreshTempPath("fern-list-test.clf");
    TFernSettings settings;
    {
        TClientCore saver(settings);
        RecordList list;
        Named(list, "alpha", "10.0.0.7", 5483)->AddMac(MAC_A);
        TDestination* second = Named(list, "beta", "127.0.0.2", 6000);
        second->AddMac(MAC_B);
        second->AddMac(MAC_A);
        second->failureCount = 9;
        second->searchesLeft = 3;
        Named(list, "gamma", "0.0.0.0", 5483);
        for (unsigned long i = 0; i < Count(list.records); ++i)
            saver.AddDestination(*At(list.records, i));
        ASSERT_EQ(saver.SaveListFile(path.c_str()), 1);
        // Saving again over an existing file keeps it whole.
        ASSERT_EQ(saver.SaveListFile(path.c_str()), 1);
    }
    TClientCore loader(settings);
    TDestination stale;
    loader.AddDestination(stale);
    ASSERT_EQ(loader.LoadListFile(path.c_str()), 1);
    loader.LockList();
    ASSERT_EQ(loader.GetDestinationCount(), 3u);
    const char* names[] = {"alpha", "beta", "gamma"};
    const uint16_t ports[] = {5483, 6000, 5483};
    const unsigned long macs[] = {1, 2, 0};
    for (unsigned long i = 0; i < 3; ++i) {
        TDestination* record = loader.GetDestination(i);
        EXPECT_EQ(record->computerName.StringCmp(names[i]), 1) << i;
        EXPECT_EQ(record->displayName.StringCmp(names[i]), 1) << i;
        EXPECT_EQ(record->liveAddress.sin_port, htons(ports[i])) << i;
        EXPECT_EQ(memcmp(&record->liveAddress, &record->storedAddress, 16), 0) << i;
        EXPECT_EQ(record->GetMacCount(), macs[i]) << i;
        EXPECT_EQ(record->failureCount, 0u);
        EXPECT_EQ(record->searchesLeft, 0u);
    }
    EXPECT_EQ(loader.GetDestination(0)->liveAddress.sin_addr.s_addr, inet_addr("10.0.0.7"));
    EXPECT_EQ(memcmp(loader.GetDestination(1)->GetMac(0), MAC_B, 6), 0);
    EXPECT_EQ(memcmp(loader.GetDestination(1)->GetMac(1), MAC_A, 6), 0);
    loader.UnlockList();
    DeleteFileA(path.c_str());
}

TEST(ConnectionListFileTest, MissingOrForeignFileLeavesAnEmptyList)
{
    TFernSettings settings;
    TClientCore core(settings);
    TDestination record;
    core.AddDestination(record);
    std::string path = FreshTempPath("fern-missing-list.clf");
    EXPECT_EQ(core.LoadListFile(path.c_str()), 0);
    EXPECT_EQ(core.GetDestinationCount(), 0u);
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    core.AddDestination(record);
    ASSERT_EQ(core.SaveListFile(path.c_str()), 1);
    // The same bytes under another tag.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "LCNF", 4, &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(core.LoadListFile(path.c_str()), 0);
    EXPECT_EQ(core.GetDestinationCount(), 0u);
    DeleteFileA(path.c_str());
}

// A list image built by hand: header, then the given record bytes.
TMemoryBase ListImage(const char* tag, uint32_t version, uint32_t count, const TMemoryBase& body)
{
    TMemoryBase image;
    image.AddMemory(4, tag);
    image.AddMemory(4, &version);
    image.AddMemory(4, &count);
    image.AddMemory(body.GetSize(), static_cast<unsigned char*>(body));
    return image;
}

TEST(ConnectionListFileTest, VersionOneRecordsAndUnknownRecordsAndWrongTags)
{
    // Version 1: no MAC count, exactly one MAC after the address.
    TMemoryBase body;
    uint32_t v1[4];
    memcpy(v1, "CNDT", 4);
    v1[1] = 1;
    v1[2] = 2 + 19;
    v1[3] = 3;
    body.AddMemory(sizeof(v1), v1);
    body.AddMemory(3, "xy");
    TDestination address;
    body.AddMemory(16, &address.storedAddress);
    body.AddMemory(6, MAC_B);
    // A record of an unknown version stays a default record; reading goes on after it.
    uint32_t unknown[2];
    memcpy(unknown, "CNDT", 4);
    unknown[1] = 7;
    body.AddMemory(sizeof(unknown), unknown);

    RecordList list;
    TMemoryBase image = ListImage("FNCL", 1, 2, body);
    ASSERT_EQ(ReadListImage(image, image.GetSize(), list.records), 1);
    ASSERT_EQ(Count(list.records), 2u);
    EXPECT_EQ(At(list.records, 0)->computerName.StringCmp("xy"), 1);
    ASSERT_EQ(At(list.records, 0)->GetMacCount(), 1u);
    EXPECT_EQ(memcmp(At(list.records, 0)->GetMac(0), MAC_B, 6), 0);
    EXPECT_EQ(At(list.records, 1)->computerName.StringCmp("Computer"), 1);

    for (const auto& header : {std::make_pair("LCNF", 1u), std::make_pair("FNCL", 2u)}) {
        RecordList none;
        TMemoryBase wrong = ListImage(header.first, header.second, 2, body);
        EXPECT_EQ(ReadListImage(wrong, wrong.GetSize(), none.records), 0) << header.first;
        EXPECT_EQ(Count(none.records), 0u);
    }
}

TEST(ConnectionListFileTest, ListsStopAtTheLargestSize)
{
    // Four zero bytes a record (an unknown tag makes a default record), announced by
    // the billions: the list stops at its largest size instead of asking for gigabytes.
    TMemoryBase zeros;
    zeros.Alloc(4 * (MAX_DESTINATIONS + 50), 0);
    TMemoryBase image = ListImage("FNCL", 1, 0xFFFFFFFFu, zeros);
    RecordList list;
    ASSERT_EQ(ReadListImage(image, image.GetSize(), list.records), 1);
    EXPECT_EQ(Count(list.records), MAX_DESTINATIONS);

    TFernSettings settings;
    TClientCore client(settings);
    TDestination record;
    for (uint32_t n = 0; n < MAX_DESTINATIONS; ++n)
        ASSERT_NE(client.AddDestination(record), nullptr) << n;
    EXPECT_EQ(client.AddDestination(record), nullptr);
    EXPECT_EQ(client.GetDestinationCount(), MAX_DESTINATIONS);
}

TEST(ConnectionListFileTest, DamagedFilesKeepTheWholeRecordsBeforeTheDamage)
{
    RecordList source;
    Named(source, "first", "10.0.0.1", 5483)->AddMac(MAC_A);
    Named(source, "second", "10.0.0.2", 5483)->AddMac(MAC_B);
    TMemoryBase image;
    WriteListImage(
        reinterpret_cast<TDestination* const*>(static_cast<unsigned char*>(source.records)), 2,
        image);
    const unsigned long firstEnd = 12 + 5 + 25 + 6 + 12;
    // Every cut of the image: nothing read past it, whole records kept.
    for (unsigned long size = 0; size <= image.GetSize(); ++size) {
        TMemoryBase cut;
        cut.Alloc(size, static_cast<unsigned char*>(image));
        RecordList list;
        int whole = -1;
        ReadListImage(cut, cut.GetSize(), list.records, &whole);
        unsigned long expected = size == image.GetSize() ? 2 : size >= firstEnd ? 1 : 0;
        EXPECT_EQ(Count(list.records), expected) << size;
        EXPECT_EQ(whole, size == image.GetSize() ? 1 : 0) << size;
    }
    // Name length and MAC count fields that point far past the end, and a huge N.
    for (unsigned long offset : {12ul + 12, 12ul + 12 + 4 + 6 + 16}) {
        TMemoryBase bad;
        bad.Alloc(image.GetSize(), static_cast<unsigned char*>(image));
        uint32_t huge = 0xFFFFFFF0u;
        memcpy(static_cast<unsigned char*>(bad) + offset, &huge, 4);
        RecordList list;
        int whole = -1;
        EXPECT_EQ(ReadListImage(bad, bad.GetSize(), list.records, &whole), 1);
        EXPECT_EQ(Count(list.records), 0u) << offset;
        EXPECT_EQ(whole, 0) << offset;
    }
    TMemoryBase many;
    many.Alloc(image.GetSize(), static_cast<unsigned char*>(image));
    uint32_t count = 0x7FFFFFFF;
    memcpy(static_cast<unsigned char*>(many) + 8, &count, 4);
    RecordList list;
    int whole = -1;
    EXPECT_EQ(ReadListImage(many, many.GetSize(), list.records, &whole), 1);
    EXPECT_EQ(Count(list.records), 2u);
    EXPECT_EQ(whole, 0); // the records it announces beyond a list's bound are lost
}

} // namespace
