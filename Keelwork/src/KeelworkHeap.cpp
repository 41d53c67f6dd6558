// Private heap of Keelwork.dll (see KeelworkHeap.h).
#include "KeelworkHeap.h"

#include <windows.h>

namespace {
HANDLE g_Heap = nullptr;

HANDLE Heap()
{
    // Normally created at process attach; a static-initialiser caller that runs
    // earlier still gets a heap.
    if (!g_Heap) KeelworkHeap::Create();
    return g_Heap;
}
} // namespace

bool KeelworkHeap::Create()
{
    if (!g_Heap) g_Heap = HeapCreate(0, 0, 0);
    return g_Heap != nullptr;
}

void* KeelworkHeap::Alloc(size_t size)
{
    return size > MaxBlock ? nullptr : HeapAlloc(Heap(), 0, size);
}

void* KeelworkHeap::Realloc(void* block, size_t size)
{
    return size > MaxBlock ? nullptr : HeapReAlloc(Heap(), 0, block, size);
}

void KeelworkHeap::Free(void* block)
{
    if (block) HeapFree(Heap(), 0, block);
}
