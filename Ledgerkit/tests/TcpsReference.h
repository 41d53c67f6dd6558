// Byte-at-a-time TCPS encoder and decoder written straight from the format's rules:
// the yardstick the fast codec must match byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace TcpsReference {

std::vector<uint8_t> Encode(const uint8_t* in, size_t n);

// Decodes a whole stream (header included) into out, which the caller has sized to the
// header's length. Returns the result the codec must give; written receives the
// number of output bytes the tokens produced before decoding stopped.
int Decode(const std::vector<uint8_t>& stream, std::vector<uint8_t>& out, size_t& written);

} // namespace TcpsReference
