// Text on a memory block: ANSI in the system code page (kind 0) or wide (kind 1),
// number formatting with width, fill and alignment, case-folding comparisons.
#pragma once

#include <Keelwork/TMemoryBase.h>

// Alignment of the width operations: which end is cut or filled.
enum TSTR_POS {
    TSTR_POS_RIGHT = 0,  // cut and fill at the front
    TSTR_POS_LEFT = 1,   // cut and fill at the end
    TSTR_POS_CENTER = 2, // floor(half) at the front, the rest at the end
};

// The block always ends with one terminator (one zero byte for kind 0, one zero
// unit for kind 1). Lengths and positions count code units: bytes of ANSI text,
// 16-bit units of wide text. Ignoring case folds bytes by setting bit 0x20.
class KEELWORK_API TString : public TMemoryBase {
public:
    static constexpr unsigned short TypeAnsi = 0;
    static constexpr unsigned short TypeWide = 1;

    TString();
    TString(const TString& other);
    // A null pointer gives the empty text of that kind.
    TString(const char* text);
    TString(const unsigned short* text);
    // Decimal text of a whole number.
    TString(short value);
    TString(long value);
    TString(int value);
    TString(unsigned short value);
    TString(unsigned long value);
    TString(unsigned int value);
    // Fixed-point text with ten digits after the point.
    TString(float value);
    TString(double value);
    // The same, then SetTextLength(width, fill, pos). For float the width is also the
    // number of digits after the point; for double, width - 1 digits.
    TString(const char* text, unsigned long width, char fill, TSTR_POS pos);
    TString(const unsigned short* text, unsigned long width, char fill, TSTR_POS pos);
    TString(short value, unsigned long width, char fill, TSTR_POS pos);
    TString(long value, unsigned long width, char fill, TSTR_POS pos);
    TString(int value, unsigned long width, char fill, TSTR_POS pos);
    TString(unsigned short value, unsigned long width, char fill, TSTR_POS pos);
    TString(unsigned long value, unsigned long width, char fill, TSTR_POS pos);
    TString(unsigned int value, unsigned long width, char fill, TSTR_POS pos);
    TString(float value, unsigned long width, char fill, TSTR_POS pos);
    TString(double value, unsigned long width, char fill, TSTR_POS pos);
    ~TString();

    // Code units before the terminator (0 for an unknown kind).
    unsigned long Len() const;
    // 0 ANSI, 1 wide.
    unsigned short GetStringType() const;
    // Pads or cuts the text to exactly width units (fill 0 means a blank); returns
    // the data pointer, null for an unknown kind or a refused allocation.
    unsigned char* SetTextLength(unsigned long width, char fill, TSTR_POS pos);
    // Inserts the other text (converted to this kind) before pos; pos > Len() does nothing.
    TString& InsString(unsigned long pos, const TString& other);
    // Removes count units at pos (fewer at the end); pos >= Len() does nothing.
    TString& CutString(unsigned long pos, const unsigned long& count);
    // Copies the text into a caller's buffer of size bytes, always terminated
    // inside it; returns 1, or 0 when nothing fits (or the kind is unknown).
    int CopyString(char* destination, const unsigned long& size) const;
    // Converts through the system ANSI code page; returns the data pointer, null
    // for an unknown kind or a refused conversion (the string is then unchanged).
    unsigned char* ChangeStringType(unsigned short type);

    // 1 when equal ignoring case, else 0; a null text gives 0.
    int StringCmp(const char* text) const;
    int StringCmp(const char* text, unsigned long start) const;
    int StringNCmp(const char* text, unsigned long n) const;
    int StringNCmp(const char* text, unsigned long start, unsigned long n) const;

    // The byte at that offset of the block (no kind or bounds check).
    unsigned char& operator()(const unsigned long& index);

    // The data pointer for the matching kind, null otherwise.
    operator char*() const;
    operator unsigned short*() const;
    // Number readings by the rules of strtol / strtoul / strtod (base 0).
    operator long() const;
    operator short() const;
    operator int() const;
    operator unsigned long() const;
    operator unsigned short() const;
    operator unsigned int() const;
    operator double() const;
    operator float() const;

    TString& operator=(const TString& other);
    // Appends the other text, converted to this kind.
    TString& operator&=(const TString& other);

protected:
    unsigned short m_Type;
};

KEELWORK_API TString operator&(const TString& a, const TString& b);
// Same kind and byte-for-byte equal blocks.
KEELWORK_API int operator==(const TString& a, const TString& b);
KEELWORK_API int operator!=(const TString& a, const TString& b);
// Same length and the same bytes, case counting.
KEELWORK_API int operator==(const TString& a, const char* b);
KEELWORK_API int operator==(const char* a, const TString& b);
KEELWORK_API int operator!=(const TString& a, const char* b);
KEELWORK_API int operator!=(const char* a, const TString& b);
