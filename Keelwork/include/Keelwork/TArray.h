// Owning array of pointers: the array creates its items and deletes them when they leave.
// Header-only: compiled into each module that instantiates it.
#pragma once

#include <Keelwork/TArrayLine.h>

// Misuse throws TCLASS_EXPECTION (2 bad index, 3 bad insert position); a refused
// allocation throws std::bad_alloc with nothing leaked.
template <class T> class TArray {
public:
    TArray() {}
    // Deep copy: each item is copied into a new T.
    TArray(const TArray& other) { CopyFrom(other); }
    TArray& operator=(const TArray& other)
    {
        if (this != &other) {
            AllDelete();
            CopyFrom(other);
        }
        return *this;
    }
    ~TArray() { AllDelete(); }

    T& AddItem() { return *ImportItem(new T); }
    // n times AddItem(); returns the first new item (n = 0 throws TCLASS_EXP_INDEX).
    T& AddItem(unsigned long n) { return TArrayAddEach(*this, n); }
    // Creates a default T at i (i == count appends).
    T& InsItem(unsigned long i)
    {
        if (i > m_Items.GetItemCount()) throw TCLASS_EXP_INSERT;
        T* item = new T;
        try {
            *m_Items.InsItem(i) = item;
        } catch (...) {
            delete item;
            throw;
        }
        return *item;
    }
    void SubItem() { SubItem(1); }
    // Deletes and drops the last n items (all of them when n >= count).
    void SubItem(unsigned long n)
    {
        for (; n > 0 && m_Items.GetItemCount() > 0; --n)
            delete ExportItem(m_Items.GetItemCount() - 1);
    }
    void CutItem(unsigned long i) { delete ExportItem(i); }
    // An item not in the array changes nothing.
    void CutItem(const T* item)
    {
        unsigned long i = IndexOf(item);
        if (i < m_Items.GetItemCount()) delete ExportItem(i);
    }
    // Removes entry i without deleting it; the caller owns the item.
    T* ExportItem(unsigned long i)
    {
        if (i >= m_Items.GetItemCount()) throw TCLASS_EXP_INDEX;
        T* item = m_Items[i];
        m_Items.CutItem(i);
        return item;
    }
    // Removes that item's entry; an item not in the array is returned unchanged.
    T* ExportItem(T* item)
    {
        unsigned long i = IndexOf(item);
        if (i < m_Items.GetItemCount()) m_Items.CutItem(i);
        return item;
    }
    // Appends an item made elsewhere with new; the array now owns it (null is ignored).
    T* ImportItem(T* item)
    {
        if (!item) return nullptr;
        try {
            m_Items.AddItem() = item;
        } catch (...) {
            delete item;
            throw;
        }
        return item;
    }
    void AllDelete()
    {
        while (m_Items.GetItemCount() > 0)
            SubItem();
    }

    // No bounds check.
    T& operator[](unsigned long i) const { return *m_Items[i]; }
    unsigned long GetItemCount() const { return m_Items.GetItemCount(); }

private:
    unsigned long IndexOf(const T* item) const
    {
        unsigned long i = 0;
        while (i < m_Items.GetItemCount() && m_Items[i] != item)
            ++i;
        return i;
    }
    void CopyFrom(const TArray& other)
    {
        for (unsigned long i = 0; i < other.GetItemCount(); ++i)
            ImportItem(new T(other[i]));
    }

    TArrayLine<T*> m_Items;
};
