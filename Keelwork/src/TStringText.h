// Internal steps shared by the TString sources: code units, conversion between
// the two kinds and filling a block with text.
#pragma once

#include <Keelwork/TString.h>

namespace TStringText {
// Bytes per code unit of a kind (0 for an unknown kind).
unsigned long UnitSize(unsigned short type);
// Code unit i of a block of the given kind.
unsigned int UnitAt(const unsigned char* data, unsigned short type, unsigned long i);
// Replaces block with units of text of one kind converted to the other kind,
// terminated; false (block untouched) when the system refuses or memory runs out.
bool Convert(TMemoryBase& block, const unsigned char* text, unsigned long units,
             unsigned short from, unsigned short to);
// The fill character as one wide unit through the system ANSI code page.
unsigned short WideFill(char fill);
// Throws std::bad_alloc for a constructor whose block was refused.
void Require(const unsigned char* result);
} // namespace TStringText
