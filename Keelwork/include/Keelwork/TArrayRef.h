// Array of counted references to TReference-derived objects: each entry holds one
// reference, taken when it enters and released when it leaves.
// Header-only: compiled into each module that instantiates it.
#pragma once

#include <Keelwork/TArrayLine.h>
#include <Keelwork/TReference.h>

// Misuse throws TCLASS_EXPECTION (2 bad index, 3 bad insert position); a refused
// allocation throws std::bad_alloc with no reference taken. An entry is removed
// before its reference is released, so an item's destructor sees the array
// already without it.
template <class T> class TArrayRef {
public:
    TArrayRef() {}
    TArrayRef(const TArrayRef& other) { AddAll(other); }
    // Takes the other's references before releasing its own, so items in both survive.
    TArrayRef& operator=(const TArrayRef& other)
    {
        if (this != &other) {
            TArrayRef old;
            old.m_Items = m_Items;
            m_Items.AllDelete();
            AddAll(other);
        }
        return *this;
    }
    ~TArrayRef() { AllRelease(); }

    // A new T whose first reference is the array's.
    T& AddItem() { return Adopt(m_Items.GetItemCount(), new T); }
    // n times AddItem(); returns the first new item (n = 0 throws TCLASS_EXP_INDEX).
    T& AddItem(unsigned long n) { return TArrayAddEach(*this, n); }
    T& AddItem(T& item) { return InsItem(m_Items.GetItemCount(), item); }
    // Takes a reference on each of n items and appends them.
    void AddItem(unsigned long n, T** const items)
    {
        if (!items) return;
        for (unsigned long i = 0; i < n; ++i)
            AddItem(*items[i]);
    }
    T& InsItem(unsigned long i)
    {
        if (i > m_Items.GetItemCount()) throw TCLASS_EXP_INSERT;
        return Adopt(i, new T);
    }
    T& InsItem(unsigned long i, T& item)
    {
        *m_Items.InsItem(i) = &item;
        item.AddRef();
        return item;
    }
    // Releases and drops the last entry (nothing when empty).
    void SubItem() { SubItem(1); }
    void SubItem(unsigned long n)
    {
        for (; n > 0 && m_Items.GetItemCount() > 0; --n)
            CutItem(m_Items.GetItemCount() - 1);
    }
    void CutItem(unsigned long i)
    {
        if (i >= m_Items.GetItemCount()) throw TCLASS_EXP_INDEX;
        T* item = m_Items[i];
        m_Items.CutItem(i);
        item->Release();
    }
    // Releases every entry that refers to the item, scanning from the end.
    void CutItem(const T& item)
    {
        for (unsigned long i = m_Items.GetItemCount(); i > 0; --i) {
            if (i <= m_Items.GetItemCount() && m_Items[i - 1] == &item) CutItem(i - 1);
        }
    }
    void AllRelease()
    {
        while (m_Items.GetItemCount() > 0)
            SubItem();
    }
    // Index of the first entry referring to the item, or 0xFFFFFFFF.
    unsigned long GetItemIndex(const T& item) const
    {
        for (unsigned long i = 0; i < m_Items.GetItemCount(); ++i) {
            if (m_Items[i] == &item) return i;
        }
        return 0xFFFFFFFFul;
    }
    // Appends with a new reference unless already present.
    T& operator|=(T& item)
    {
        if (GetItemIndex(item) == 0xFFFFFFFFul) AddItem(item);
        return item;
    }
    TArrayRef& operator|=(const TArrayRef& other)
    {
        for (unsigned long i = 0; i < other.GetItemCount(); ++i)
            *this |= other[i];
        return *this;
    }

    // No bounds check.
    T& operator[](unsigned long i) const { return *m_Items[i]; }
    unsigned long GetItemCount() const { return m_Items.GetItemCount(); }

private:
    // Stores a freshly made item whose count of 1 becomes the array's reference.
    T& Adopt(unsigned long i, T* item)
    {
        try {
            *m_Items.InsItem(i) = item;
        } catch (...) {
            item->Release();
            throw;
        }
        return *item;
    }
    void AddAll(const TArrayRef& other)
    {
        for (unsigned long i = 0; i < other.GetItemCount(); ++i)
            AddItem(other[i]);
    }

    TArrayLine<T*> m_Items;
};
