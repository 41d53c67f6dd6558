// The foundation library's private heap: memory blocks and every object of the
// system live here, so any module may free what another allocated.
#pragma once

#include <cstddef>

namespace KeelworkHeap {
// Largest block the heap hands out. Sizes are 32-bit throughout the system and
// its 32-bit origin could never hold more; beyond this every request is refused.
constexpr size_t MaxBlock = 0x7FFFFFFF;

// Creates the heap; called by the DLL entry point at process attach.
bool Create();
// Null when refused (including sizes above MaxBlock).
void* Alloc(size_t size);
// Reallocates to exactly size bytes; null when refused (the block stays valid).
void* Realloc(void* block, size_t size);
void Free(void* block);
} // namespace KeelworkHeap
