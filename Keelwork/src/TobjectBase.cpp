// TobjectBase: type word, module handles and the allocation operators.
#include <Keelwork/TobjectBase.h>

#include "KeelworkHeap.h"

#include <new>

HINSTANCE TobjectBase::m_hInst = nullptr;

// Defined here as well so that the DLL exports them: a caller that binds one to a
// reference (a comparison in a test, std::max) links against the exported copy.
constexpr uint32_t TClassTypeSt::FlagMask;
constexpr uint32_t TClassTypeSt::ReferenceFlag;
constexpr uint32_t TClassTypeSt::KindMask;
HINSTANCE TobjectBase::m_hInstDll = nullptr;

TobjectBase::TobjectBase() : m_ClassType(1) {}

TobjectBase::TobjectBase(const TobjectBase& other) : m_ClassType(other.m_ClassType) {}

TobjectBase& TobjectBase::operator=(const TobjectBase& other)
{
    m_ClassType = other.m_ClassType;
    return *this;
}

uint32_t TobjectBase::GetClassWord() const { return m_ClassType; }

unsigned short TobjectBase::GetClassType() const
{
    return static_cast<unsigned short>(m_ClassType.GetWord() >> 16);
}

unsigned char TobjectBase::GetClassTypeRef() const
{
    return static_cast<unsigned char>(m_ClassType.GetWord() >> 8);
}

unsigned char TobjectBase::GetClassDllType() const
{
    return static_cast<unsigned char>(m_ClassType.GetWord());
}

void* TobjectBase::operator new(size_t size)
{
    void* block = KeelworkHeap::Alloc(size);
    if (!block) throw std::bad_alloc();
    return block;
}

void TobjectBase::operator delete(void* block) { KeelworkHeap::Free(block); }

void* TobjectBase::operator new[](size_t size) { return TobjectBase::operator new(size); }

void TobjectBase::operator delete[](void* block) { KeelworkHeap::Free(block); }

HINSTANCE TobjectBase::GetAppHandle() { return m_hInst; }

HINSTANCE TobjectBase::GetDllHandle() { return m_hInstDll; }
