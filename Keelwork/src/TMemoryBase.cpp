// TMemoryBase: exact-size reallocation, fills, gap opening and removal.
#include <Keelwork/TMemoryBase.h>

#include "BlockRange.h"
#include "KeelworkHeap.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace {
constexpr uint32_t ClassMemoryBase = 0x10;

unsigned char* NewEmptyBuffer()
{
    auto* data = static_cast<unsigned char*>(KeelworkHeap::Alloc(0));
    if (!data) throw std::bad_alloc();
    return data;
}

// Whole 32-bit words first, then the 0 to 3 remaining bytes.
void FillWords(unsigned char* p, unsigned long n, int fill)
{
    const uint32_t word = (static_cast<uint32_t>(fill) & 0xFFu) * 0x01010101u;
    for (; n >= 4; n -= 4, p += 4)
        std::memcpy(p, &word, 4);
    for (; n > 0; --n)
        *p++ = static_cast<unsigned char>(fill);
}

bool TooLarge(unsigned long size, unsigned long extra)
{
    return extra > KeelworkHeap::MaxBlock || size > KeelworkHeap::MaxBlock - extra;
}

// Resizes data/size to exactly n bytes (n > 0); null when refused, all unchanged.
unsigned char* Resize(unsigned char*& data, unsigned long& size, unsigned long n)
{
    if (n == size) return data;
    auto* moved = static_cast<unsigned char*>(KeelworkHeap::Realloc(data, n));
    if (!moved) return nullptr;
    data = moved;
    size = n;
    return data;
}

// A copy of a source that lies inside the block, taken before the block changes.
class StagedSource {
public:
    StagedSource(const unsigned char* data, unsigned long size, const void* source, unsigned long n)
        : m_Copy(nullptr), m_Source(source)
    {
        if (BlockRange::OffsetOf(data, size, source) == BlockRange::Outside) return;
        m_Copy = KeelworkHeap::Alloc(n);
        if (m_Copy) std::memcpy(m_Copy, source, n);
        m_Source = m_Copy;
    }
    ~StagedSource() { KeelworkHeap::Free(m_Copy); }
    StagedSource(const StagedSource&) = delete;
    StagedSource& operator=(const StagedSource&) = delete;

    const void* Get() const { return m_Source; }

private:
    void* m_Copy;
    const void* m_Source;
};
} // namespace

TMemoryBase::TMemoryBase() : m_lpData(NewEmptyBuffer()), m_Size(0)
{
    m_ClassType = ClassMemoryBase;
}

TMemoryBase::TMemoryBase(const TMemoryBase& other) : TMemoryBase()
{
    Alloc(other.m_Size, other.m_lpData);
}

TMemoryBase::~TMemoryBase() { KeelworkHeap::Free(m_lpData); }

unsigned char* TMemoryBase::Alloc(unsigned long n)
{
    return n == 0 ? Free() : Resize(m_lpData, m_Size, n);
}

unsigned char* TMemoryBase::Alloc(unsigned long n, int fill)
{
    unsigned char* data = Alloc(n);
    if (data) FillWords(data, n, fill);
    return data;
}

unsigned char* TMemoryBase::Alloc(unsigned long n, const void* source)
{
    if (n == 0) return Free();
    if (!source) return nullptr;
    // A fresh buffer, so a source inside this block is still intact while copied.
    auto* fresh = static_cast<unsigned char*>(KeelworkHeap::Alloc(n));
    if (!fresh) return nullptr;
    std::memcpy(fresh, source, n);
    KeelworkHeap::Free(m_lpData);
    m_lpData = fresh;
    m_Size = n;
    return m_lpData;
}

unsigned char* TMemoryBase::Free()
{
    auto* fresh = static_cast<unsigned char*>(KeelworkHeap::Alloc(0));
    if (!fresh) return nullptr;
    KeelworkHeap::Free(m_lpData);
    m_lpData = fresh;
    m_Size = 0;
    return m_lpData;
}

unsigned char* TMemoryBase::AddMemory(unsigned long n)
{
    if (n == 0) return m_lpData;
    if (TooLarge(m_Size, n)) return nullptr;
    return Resize(m_lpData, m_Size, m_Size + n);
}

unsigned char* TMemoryBase::AddMemory(unsigned long n, int fill)
{
    const unsigned long old = m_Size;
    unsigned char* data = AddMemory(n);
    if (data) FillWords(data + old, n, fill);
    return data;
}

unsigned char* TMemoryBase::AddMemory(unsigned long n, const void* source)
{
    if (n == 0) return m_lpData;
    if (!source) return nullptr;
    const unsigned long old = m_Size;
    const unsigned long offset = BlockRange::OffsetOf(m_lpData, m_Size, source);
    unsigned char* data = AddMemory(n);
    if (!data) return nullptr;
    // Growing keeps the old bytes at their offsets, so a source inside the block moves with it.
    std::memmove(data + old, offset == BlockRange::Outside ? source : data + offset, n);
    return data;
}

unsigned char* TMemoryBase::LosMemory(unsigned long n)
{
    if (n == 0) return m_lpData;
    return n >= m_Size ? Free() : Resize(m_lpData, m_Size, m_Size - n);
}

unsigned char* TMemoryBase::InsMemory(unsigned long pos, unsigned long n)
{
    if (n == 0) return m_lpData;
    if (pos >= m_Size) {
        if (TooLarge(pos, n)) return nullptr;
        return Resize(m_lpData, m_Size, pos + n);
    }
    if (TooLarge(m_Size, n)) return nullptr;
    const unsigned long old = m_Size;
    unsigned char* data = Resize(m_lpData, m_Size, old + n);
    if (data) std::memmove(data + pos + n, data + pos, old - pos);
    return data;
}

unsigned char* TMemoryBase::InsMemory(unsigned long pos, unsigned long n, int fill)
{
    unsigned char* data = InsMemory(pos, n);
    if (data && n > 0) FillWords(data + pos, n, fill);
    return data;
}

unsigned char* TMemoryBase::InsMemory(unsigned long pos, unsigned long n, const void* source)
{
    if (n == 0) return m_lpData;
    if (!source) return nullptr;
    StagedSource staged(m_lpData, m_Size, source, n);
    if (!staged.Get()) return nullptr;
    unsigned char* data = InsMemory(pos, n);
    if (data) std::memcpy(data + pos, staged.Get(), n);
    return data;
}

unsigned char* TMemoryBase::CutMemory(unsigned long pos, unsigned long n)
{
    if (n == 0 || pos >= m_Size) return m_lpData;
    if (n < m_Size - pos) {
        std::memmove(m_lpData + pos, m_lpData + pos + n, m_Size - pos - n);
        return Resize(m_lpData, m_Size, m_Size - n);
    }
    return pos == 0 ? Free() : Resize(m_lpData, m_Size, pos);
}

unsigned char* TMemoryBase::JustMemory(unsigned long n) { return Alloc(n); }

unsigned char* TMemoryBase::JustMemory(unsigned long n, unsigned char fill)
{
    const unsigned long old = m_Size;
    unsigned char* data = JustMemory(n);
    if (data && n > old) FillWords(data + old, n - old, fill);
    return data;
}

const unsigned long& TMemoryBase::GetSize() const { return m_Size; }

TMemoryBase::operator unsigned char*() const { return m_lpData; }

int TMemoryBase::MemComp(const void* p) const { return MemNComp(p, m_Size); }

int TMemoryBase::MemComp(unsigned long start, const void* p) const
{
    return start >= m_Size || MemNComp(start, p, m_Size - start);
}

int TMemoryBase::MemNComp(const void* p, unsigned long n) const { return MemNComp(0, p, n); }

int TMemoryBase::MemNComp(unsigned long start, const void* p, unsigned long n) const
{
    if (n == 0) return 1;
    // A range reaching past the block cannot be equal: nothing beyond it is read.
    if (!p || start > m_Size || n > m_Size - start) return 0;
    return std::memcmp(m_lpData + start, p, n) == 0;
}

TMemoryBase& TMemoryBase::operator=(const TMemoryBase& other)
{
    if (this != &other) Alloc(other.m_Size, other.m_lpData);
    return *this;
}

TMemoryBase& TMemoryBase::operator+=(const TMemoryBase& other)
{
    AddMemory(other.m_Size, other.m_lpData);
    return *this;
}

TMemoryBase& TMemoryBase::operator<<=(TMemoryBase& other)
{
    if (this == &other) return *this;
    // The source's replacement comes first: when it is refused nothing changes.
    auto* fresh = static_cast<unsigned char*>(KeelworkHeap::Alloc(0));
    if (!fresh) return *this;
    KeelworkHeap::Free(m_lpData);
    m_lpData = other.m_lpData;
    m_Size = other.m_Size;
    other.m_lpData = fresh;
    other.m_Size = 0;
    return *this;
}

TMemoryBase& TMemoryBase::operator^=(TMemoryBase& other)
{
    unsigned char* data = m_lpData;
    unsigned long size = m_Size;
    m_lpData = other.m_lpData;
    m_Size = other.m_Size;
    other.m_lpData = data;
    other.m_Size = size;
    return *this;
}

int operator==(const TMemoryBase& a, const TMemoryBase& b)
{
    return a.GetSize() == b.GetSize() && a.MemComp(static_cast<unsigned char*>(b));
}

int operator!=(const TMemoryBase& a, const TMemoryBase& b) { return !(a == b); }
