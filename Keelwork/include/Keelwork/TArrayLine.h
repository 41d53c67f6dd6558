// Array of plain values (colours, pointers) kept in one exact-size memory block.
// Header-only: compiled into each module that instantiates it.
#pragma once

#include <Keelwork/TClassExpection.h>
#include <Keelwork/TMemoryBase.h>

#include <new>
#include <type_traits>

// Entries are raw copies of T, grown one entry at a time (no reserve). Misuse
// throws TCLASS_EXPECTION; a refused allocation throws std::bad_alloc, since
// the operations hand back references that must refer to something.
template <class T> class TArrayLine {
    static_assert(std::is_trivially_copyable<T>::value, "TArrayLine holds plain values");

public:
    TArrayLine() {}
    TArrayLine(const TArrayLine& other) : m_Memory(other.m_Memory)
    {
        if (m_Memory.GetSize() != other.m_Memory.GetSize()) throw std::bad_alloc();
    }
    TArrayLine& operator=(const TArrayLine& other)
    {
        if (this != &other) Check(m_Memory.Alloc(other.m_Memory.GetSize(), other.Data()));
        return *this;
    }
    ~TArrayLine() {}

    // Appends one uninitialised entry.
    T& AddItem()
    {
        Check(m_Memory.AddMemory(sizeof(T)));
        return Data()[GetItemCount() - 1];
    }
    // Appends n entries one at a time; returns the first new one (n = 0 throws
    // TCLASS_EXP_INDEX: there is no new entry to return).
    T& AddItem(unsigned long n)
    {
        if (n == 0) throw TCLASS_EXP_INDEX;
        unsigned long first = GetItemCount();
        for (unsigned long i = 0; i < n; ++i)
            AddItem();
        return Data()[first];
    }
    // Opens an uninitialised entry at i (i == count appends).
    T* InsItem(unsigned long i)
    {
        if (i > GetItemCount()) throw TCLASS_EXP_INSERT;
        Check(m_Memory.InsMemory(i * sizeof(T), sizeof(T)));
        return Data() + i;
    }
    void SubItem() { SubItem(1); }
    // Drops the last n entries (all of them when n >= count).
    void SubItem(unsigned long n)
    {
        unsigned long count = GetItemCount();
        m_Memory.LosMemory((n < count ? n : count) * sizeof(T));
    }
    // Removes entry i; an index at or beyond the count changes nothing.
    void CutItem(unsigned long i)
    {
        if (i < GetItemCount()) m_Memory.CutMemory(i * sizeof(T), sizeof(T));
    }
    void AllDelete() { m_Memory.Free(); }

    // No bounds check.
    T& operator[](unsigned long i) { return Data()[i]; }
    const T& operator[](unsigned long i) const { return Data()[i]; }
    unsigned long GetItemCount() const
    {
        return static_cast<unsigned long>(m_Memory.GetSize() / sizeof(T));
    }

private:
    T* Data() const { return reinterpret_cast<T*>(static_cast<unsigned char*>(m_Memory)); }
    static void Check(const unsigned char* result)
    {
        if (!result) throw std::bad_alloc();
    }

    TMemoryBase m_Memory;
};

// AddItem(n) of the arrays of pointers: n times AddItem(), returning the first new
// item (items do not move, unlike the entries). n = 0 throws TCLASS_EXP_INDEX.
template <class Array> auto& TArrayAddEach(Array& array, unsigned long n)
{
    if (n == 0) throw TCLASS_EXP_INDEX;
    auto& first = array.AddItem();
    for (unsigned long i = 1; i < n; ++i)
        array.AddItem();
    return first;
}
