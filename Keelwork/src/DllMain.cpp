// Entry point of Keelwork.dll: remembers the library's own instance handle.
#include <Keelwork/TobjectBase.h>

#include "KeelworkHeap.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        TobjectBase::m_hInstDll = instance;
        KeelworkHeap::Create();
    }
    return TRUE;
}
