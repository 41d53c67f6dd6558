// A memory block with a read/write cursor: file images, packets and streams.
#pragma once

#include <Keelwork/TMemoryBase.h>

class KEELWORK_API TMemory : public TMemoryBase {
public:
    TMemory();
    // Copies the bytes and the cursor.
    TMemory(const TMemory& other);
    ~TMemory();
    TMemory& operator=(const TMemory& other);

    // Copies up to n bytes from the cursor; never reads past the block (a cursor at
    // or beyond the size reads nothing). Returns the count copied; the cursor
    // advances by it.
    unsigned long _Read(void* destination, unsigned long n);
    // Writes n bytes at the cursor, first growing the block to cursor + n when
    // needed. Returns n and advances the cursor, or 0 with nothing changed when
    // the block cannot grow.
    unsigned long _Write(const void* source, unsigned long n);

    // Byte position of the next _Read or _Write; callers rewind it themselves.
    unsigned long m_Pos;
};
