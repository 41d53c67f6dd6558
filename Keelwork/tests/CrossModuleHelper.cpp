// A second module for the tests: makes and frees foundation objects on its side.
#include <Keelwork/TMemory.h>
#include <Keelwork/TReference.h>
#include <Keelwork/TString.h>

extern "C" {
__declspec(dllexport) TMemory* CrossMakeMemory(unsigned long size)
{
    TMemory* memory = new TMemory;
    memory->Alloc(size, 'm');
    return memory;
}

__declspec(dllexport) TString* CrossMakeString(const char* text) { return new TString(text); }

// Grows the block (reallocating a buffer the other module made) and frees the object.
__declspec(dllexport) unsigned long CrossGrowAndDelete(TMemory* memory)
{
    memory->AddMemory(4096, 'g');
    const unsigned long size = memory->GetSize();
    delete memory;
    return size;
}

__declspec(dllexport) void CrossDeleteString(TString* text) { delete text; }

__declspec(dllexport) unsigned long CrossRelease(TReference* object) { return object->Release(); }
}
