// Base of reference-counted objects (windows, GDI objects): the last Release frees it.
#pragma once

#include <Keelwork/TobjectBase.h>

class KEELWORK_API TReference : public virtual TobjectBase {
public:
    // Count 1: the creator holds the first reference.
    TReference();
    // A copy is a new object held only by its creator: count 1.
    TReference(const TReference& other);
    virtual ~TReference();
    // Keeps this object's own count (its holders do not change).
    TReference& operator=(const TReference& other);

    // Connect and AddRef are one operation: count + 1; returns the object.
    void* Connect();
    void* AddRef();
    // Gives up one reference; the last one destroys and frees the object (result 0),
    // otherwise returns the new count. Objects must come from operator new.
    unsigned long Release();

    unsigned long GetRefCount() const;

protected:
    unsigned long m_RefCount;
};
