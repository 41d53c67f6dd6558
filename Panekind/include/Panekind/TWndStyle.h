// Window style, extended style and class style words, each a distinct type over one 32-bit value.
#pragma once

// Kind only tells the three words apart so that one cannot be passed for another.
template <int Kind> class TStyleWord {
public:
    TStyleWord(unsigned long word = 0) : m_Word(word) {}
    TStyleWord& operator=(unsigned long word)
    {
        m_Word = word;
        return *this;
    }
    operator unsigned long() const { return m_Word; }

private:
    unsigned long m_Word;
};

using TWndStyle = TStyleWord<0>;
using TWndExStyle = TStyleWord<1>;
using TClassStyle = TStyleWord<2>;
