// TMemory: the cursor rules of _Read and _Write.
#include <Keelwork/TMemory.h>

#include "BlockRange.h"

#include <cstring>

namespace {
constexpr unsigned long ClassMemory = 0x11;
} // namespace

TMemory::TMemory() : m_Pos(0) { m_ClassType = ClassMemory; }

TMemory::TMemory(const TMemory& other) : TobjectBase(), TMemoryBase(other), m_Pos(other.m_Pos)
{
    m_ClassType = ClassMemory;
}

TMemory::~TMemory() {}

TMemory& TMemory::operator=(const TMemory& other)
{
    TMemoryBase::operator=(other);
    m_Pos = other.m_Pos;
    return *this;
}

unsigned long TMemory::_Read(void* destination, unsigned long n)
{
    if (!destination || m_Pos >= m_Size) return 0;
    const unsigned long count = n < m_Size - m_Pos ? n : m_Size - m_Pos;
    std::memcpy(destination, m_lpData + m_Pos, count);
    m_Pos += count;
    return count;
}

unsigned long TMemory::_Write(const void* source, unsigned long n)
{
    if (!source || n == 0) return 0;
    if (n > 0xFFFFFFFFul - m_Pos) return 0;
    const unsigned long offset = BlockRange::OffsetOf(m_lpData, m_Size, source);
    if (m_Pos + n > m_Size && !JustMemory(m_Pos + n)) return 0;
    // Growing keeps the old bytes at their offsets, so a source inside the block moves with it.
    std::memmove(m_lpData + m_Pos, offset == BlockRange::Outside ? source : m_lpData + offset, n);
    m_Pos += n;
    return n;
}
