// Import-table patching of Keelwork, Ledgerkit and Inkwell: every heap block and DIB section
// they ask for passes a counter first. A platform's own measures do not serve: Wine reserves
// the address space up front, so a process's peak virtual size never moves.
#include "AllocationWatch.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <initializer_list>

namespace {

std::atomic<size_t> g_Largest{0};

using HeapAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, SIZE_T);
using HeapReAllocFn = LPVOID(WINAPI*)(HANDLE, DWORD, LPVOID, SIZE_T);
using CreateDIBSectionFn = HBITMAP(WINAPI*)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD);
HeapAllocFn g_HeapAlloc = ::HeapAlloc;
HeapReAllocFn g_HeapReAlloc = ::HeapReAlloc;
CreateDIBSectionFn g_CreateDIBSection = ::CreateDIBSection;

void Note(size_t size)
{
    size_t seen = g_Largest.load();
    while (size > seen && !g_Largest.compare_exchange_weak(seen, size)) {
    }
}

LPVOID WINAPI CountedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    Note(size);
    return g_HeapAlloc(heap, flags, size);
}

LPVOID WINAPI CountedHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size)
{
    Note(size);
    return g_HeapReAlloc(heap, flags, block, size);
}

HBITMAP WINAPI CountedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                       HANDLE section, DWORD offset)
{
    if (info) {
        const LONGLONG width = info->bmiHeader.biWidth, height = info->bmiHeader.biHeight;
        Note(static_cast<size_t>((width < 0 ? -width : width) * (height < 0 ? -height : height) *
                                 info->bmiHeader.biBitCount / 8));
    }
    return g_CreateDIBSection(dc, info, usage, bits, section, offset);
}

void Patch(HMODULE module, const char* function, void* replacement)
{
    auto* base = reinterpret_cast<unsigned char*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
         ++d) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
        }
    }
}

} // namespace

void StartAllocationWatch()
{
    static bool patched = false;
    if (patched) return;
    patched = true;
    for (const char* name : {"Keelwork.dll", "Ledgerkit.dll", "Inkwell.dll"}) {
        HMODULE module = GetModuleHandleA(name);
        if (!module) continue;
        Patch(module, "HeapAlloc", reinterpret_cast<void*>(CountedHeapAlloc));
        Patch(module, "HeapReAlloc", reinterpret_cast<void*>(CountedHeapReAlloc));
        Patch(module, "CreateDIBSection", reinterpret_cast<void*>(CountedCreateDIBSection));
    }
}

size_t TakeLargestAllocation() { return g_Largest.exchange(0); }
