// Where a caller's source pointer lies relative to a block, so that copies from a
// block into itself survive the block moving while it is resized.
#pragma once

#include <cstdint>

namespace BlockRange {
constexpr unsigned long Outside = 0xFFFFFFFFul;

// Byte offset of p inside [data, data + size), or Outside.
inline unsigned long OffsetOf(const unsigned char* data, unsigned long size, const void* p)
{
    auto begin = reinterpret_cast<uintptr_t>(data);
    auto at = reinterpret_cast<uintptr_t>(p);
    return at >= begin && at - begin < size ? static_cast<unsigned long>(at - begin) : Outside;
}
} // namespace BlockRange
