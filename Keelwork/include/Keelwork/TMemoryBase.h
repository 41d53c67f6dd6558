// Exact-size growable byte block with a never-null data pointer: the system's buffer.
#pragma once

#include <Keelwork/TobjectBase.h>

// Every size-changing operation returns the data pointer after the change, or
// null when the allocation is refused; a refused block keeps its pointer, size
// and contents. The block keeps no spare capacity: take the pointer again after
// any size change. Blocks are refused beyond 0x7FFFFFFF bytes.
class KEELWORK_API TMemoryBase : public virtual TobjectBase {
public:
    TMemoryBase();
    TMemoryBase(const TMemoryBase& other);
    ~TMemoryBase();

    // Resize to exactly n bytes (new bytes undefined / filled / copied from source);
    // n = 0 acts as Free. Fill forms use the low byte of fill.
    unsigned char* Alloc(unsigned long n);
    unsigned char* Alloc(unsigned long n, int fill);
    unsigned char* Alloc(unsigned long n, const void* source);
    // Empty block holding a fresh zero-byte allocation.
    unsigned char* Free();
    // Grow by n bytes at the end; n = 0 changes nothing.
    unsigned char* AddMemory(unsigned long n);
    unsigned char* AddMemory(unsigned long n, int fill);
    unsigned char* AddMemory(unsigned long n, const void* source);
    // Shrink by n bytes at the end; n >= size acts as Free.
    unsigned char* LosMemory(unsigned long n);
    // Open a gap of n bytes at pos (beyond the end: the block grows to pos + n).
    unsigned char* InsMemory(unsigned long pos, unsigned long n);
    unsigned char* InsMemory(unsigned long pos, unsigned long n, int fill);
    unsigned char* InsMemory(unsigned long pos, unsigned long n, const void* source);
    // Remove n bytes at pos (clipped to the end; pos beyond the end changes nothing).
    unsigned char* CutMemory(unsigned long pos, unsigned long n);
    // Set the size to exactly n, keeping the contents up to the smaller size;
    // the fill form sets only the bytes added by growing.
    unsigned char* JustMemory(unsigned long n);
    unsigned char* JustMemory(unsigned long n, unsigned char fill);

    const unsigned long& GetSize() const;
    operator unsigned char*() const;

    // Byte-exact comparisons, 1 when equal else 0 (never an ordering).
    int MemComp(const void* p) const;
    int MemComp(unsigned long start, const void* p) const;
    int MemNComp(const void* p, unsigned long n) const;
    // The range start .. start+n-1 is the caller's to keep inside the block.
    int MemNComp(unsigned long start, const void* p, unsigned long n) const;

    // Exact copy of the other block's bytes.
    TMemoryBase& operator=(const TMemoryBase& other);
    // Appends a copy of the other block's bytes.
    TMemoryBase& operator+=(const TMemoryBase& other);
    // Move: takes over the other's buffer; the other is left a valid empty block.
    TMemoryBase& operator<<=(TMemoryBase& other);
    // Swap of buffers and sizes.
    TMemoryBase& operator^=(TMemoryBase& other);

protected:
    unsigned char* m_lpData;
    unsigned long m_Size;
};

KEELWORK_API int operator==(const TMemoryBase& a, const TMemoryBase& b);
KEELWORK_API int operator!=(const TMemoryBase& a, const TMemoryBase& b);
