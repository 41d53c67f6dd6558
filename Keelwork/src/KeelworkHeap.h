// The foundation library's private heap: memory blocks and every object of the
// system live here, so any module may free what another allocated.
#pragma once

#include <cstddef>

namespace KeelworkHeap {
// Creates the heap; called by the DLL entry point at process attach.
bool Create();
void* Alloc(size_t size);
// Reallocates to exactly size bytes; null when refused (the block stays valid).
void* Realloc(void* block, size_t size);
void Free(void* block);
} // namespace KeelworkHeap
