// Root of every library class: the run-time type word, the module handles and
// allocation on the foundation library's heap (so objects may cross DLLs).
#pragma once

#include <Keelwork/KeelworkApi.h>
#include <Keelwork/TClassTypeSt.h>

#include <cstddef>
#include <windows.h>

class KEELWORK_API TobjectBase {
public:
    TobjectBase();
    TobjectBase(const TobjectBase& other);
    TobjectBase& operator=(const TobjectBase& other);

    static void* operator new(size_t size);
    static void operator delete(void* block);
    static void* operator new[](size_t size);
    static void operator delete[](void* block);

    static HINSTANCE GetAppHandle();
    static HINSTANCE GetDllHandle();

    static HINSTANCE m_hInst;
    static HINSTANCE m_hInstDll;

protected:
    TClassTypeSt m_ClassType;
};
