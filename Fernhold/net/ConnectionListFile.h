// The connection-list file ("FNCL"): a whole destination list on disk.
#pragma once

#include "net/TDestination.h"

// records: a TMemoryBase of TDestination pointers in list order; the caller holds the
// client's critical section around each call that reads or changes it.

// Most destinations a list holds, from a file or added: beyond any list of one LAN
// an operator keeps, and within what a window's message queue takes when loading
// announces every record. A file record may be 4 bytes long and still become a whole
// record, so a small hostile file could otherwise ask for gigabytes.
constexpr uint32_t MAX_DESTINATIONS = 10000;

// The file image of count records. 0 when memory ran out (the image is then not whole
// and must not be written).
int WriteListImage(TDestination* const* records, unsigned long count, TMemoryBase& image);

// Hands out the records of a list image one at a time, so a caller can publish each
// as it arrives. The image must outlive the reader.
class TListImageReader {
public:
    // 1 when the image opens with the "FNCL" tag and version 1.
    int Open(const unsigned char* image, unsigned long size);
    // The next record as a new object, or null once the announced count (at most
    // MAX_DESTINATIONS) is read or a record runs past the end of the image (the rest
    // counts as damaged).
    TDestination* Next();
    // 1 while every announced record has been or can still be handed out: 0 once a record
    // ran past the end, or when the image announces more than a list holds.
    int IsWhole() const { return m_Whole; }

private:
    const unsigned char* m_Image = nullptr;
    unsigned long m_Size = 0;
    unsigned long m_Cursor = 0;
    uint32_t m_Left = 0;
    int m_Whole = 0;
};

// Appends the records of a file image as new TDestination objects. Returns 0 (nothing
// added) for a wrong tag or version; the records before a damaged one are kept, and
// whole (when given) says whether every announced record was read.
int ReadListImage(const unsigned char* image, unsigned long size, TMemoryBase& records,
                  int* whole = nullptr);

// Copies a list file that did not load whole (another tag or version, from a newer
// release, or damaged records) to "<name>.bad" before the list saved at exit replaces
// it. A missing or empty file has nothing to keep.
void KeepDamagedListFile(const char* path);

// Reads the whole file into image; a missing file is created empty. 1 on success.
int LoadFileImage(const char* path, TMemoryBase& image);
