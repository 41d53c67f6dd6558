// TReference: the reference count and the release that frees the last holder's object.
#include <Keelwork/TReference.h>

#include <typeinfo>

namespace {
// Reference flag on, class bytes and library byte cleared, other flags kept.
void StampReference(TClassTypeSt& word)
{
    word.SetWord((word.GetWord() & (TClassTypeSt::FlagMask & ~TClassTypeSt::ReferenceFlag)) |
                 TClassTypeSt::ReferenceFlag);
}
} // namespace

TReference::TReference() : m_RefCount(1) { StampReference(m_ClassType); }

TReference::TReference(const TReference& other) : TobjectBase(other), m_RefCount(1)
{
    StampReference(m_ClassType);
}

TReference::~TReference() {}

TReference& TReference::operator=(const TReference& other)
{
    // A derived class owns its own type word; only a plain TReference takes the source's.
    if (typeid(*this) == typeid(TReference)) TobjectBase::operator=(other);
    return *this;
}

void* TReference::Connect()
{
    ++m_RefCount;
    return this;
}

void* TReference::AddRef() { return Connect(); }

unsigned long TReference::Release()
{
    if (m_RefCount <= 1) {
        delete this;
        return 0;
    }
    return --m_RefCount;
}

unsigned long TReference::GetRefCount() const { return m_RefCount; }
