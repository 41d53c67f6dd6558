// Root of every library class: the run-time type word, the module handles and
// allocation on the foundation library's heap (so objects may cross DLLs).
#pragma once

#include <Keelwork/KeelworkApi.h>
#include <Keelwork/TClassTypeSt.h>

#include <cstddef>
#include <cstdint>
#include <windows.h>

class KEELWORK_API TobjectBase {
public:
    // Thrown by value by library code that finds an object in a state it refuses
    // (the window library uses code 32 for a bad main-window removal).
    struct TobjectExpection {
        TobjectExpection(TobjectBase* object, uint32_t code) : m_lpObject(object), m_Code(code) {}
        TobjectBase* m_lpObject;
        uint32_t m_Code;
    };

    TobjectBase();
    TobjectBase(const TobjectBase& other);
    TobjectBase& operator=(const TobjectBase& other);

    // The whole type word, and its parts: bits 16-31 (flags and library number),
    // bits 8-15 (second class byte) and bits 0-7 (class number).
    uint32_t GetClassWord() const;
    unsigned short GetClassType() const;
    unsigned char GetClassTypeRef() const;
    unsigned char GetClassDllType() const;

    static void* operator new(size_t size);
    static void operator delete(void* block);
    static void* operator new[](size_t size);
    static void operator delete[](void* block);

    static HINSTANCE GetAppHandle();
    static HINSTANCE GetDllHandle();

    // The program's instance, stored by the program before its first window.
    static HINSTANCE m_hInst;
    // This library's instance, stored by its entry point at process attach.
    static HINSTANCE m_hInstDll;

protected:
    TClassTypeSt m_ClassType;
};
