// The 32-bit run-time type word every object carries: class number (bits 0-7),
// second class byte (8-15), flags (16-23, bit 16 = reference-counted) and
// library number (24-31).
#pragma once

#include <Keelwork/KeelworkApi.h>

#include <cstdint>

class KEELWORK_API TClassTypeSt {
public:
    static constexpr uint32_t FlagMask = 0x00FF0000u;
    static constexpr uint32_t ReferenceFlag = 0x00010000u;
    // Mask that removes the flag byte, for comparing kinds of objects.
    static constexpr uint32_t KindMask = 0xFF00FFFFu;

    TClassTypeSt() : m_Word(0) {}
    explicit TClassTypeSt(uint32_t word) : m_Word(word) {}

    // Stores a class value, keeping the flag bits already set.
    TClassTypeSt& operator=(unsigned long value)
    {
        m_Word = static_cast<uint32_t>(value) | (m_Word & FlagMask);
        return *this;
    }
    TClassTypeSt& operator=(const TClassTypeSt& other) = default;
    TClassTypeSt(const TClassTypeSt& other) = default;

    uint32_t GetWord() const { return m_Word; }
    void SetWord(uint32_t word) { m_Word = word; }
    operator uint32_t() const { return m_Word; }

private:
    uint32_t m_Word;
};
