// The "TCPS" run-length stream on raw buffers: the greedy encoder and the bounded decoder.
#pragma once

#include <cstddef>
#include <cstdint>

namespace TcpsCodec {

// Magic, version and uncompressed length, then the tokens, then the end token.
constexpr size_t HeaderSize = 12;
constexpr uint32_t Version = 1;
// Longest literal or byte run one token holds, and most repetitions of a unit run.
constexpr uint32_t MaxLongCount = 0x0FFFFFFF;
constexpr uint32_t MaxUnitCount = 4095;

// Bytes the encoder may touch for an input of n bytes: the stream (at most
// n + n / 19 + 17, as every literal but the last is followed by a run that saves
// a byte) plus 16 bytes of slack for whole-vector stores.
inline size_t EncodeCapacity(size_t n) { return HeaderSize + 1 + n + n / 16 + 48; }

// Writes the whole stream for in[0, n) (n < 2^32) into out, which holds
// EncodeCapacity(n) bytes; returns the stream length.
size_t Encode(const uint8_t* in, size_t n, uint8_t* out);

// The header's uncompressed length if the stream of streamLength bytes opens with
// a valid header; false otherwise.
bool ReadHeader(const uint8_t* stream, size_t streamLength, uint32_t& length);

// Length of a stream whose end is unknown, walking its tokens up to the end token
// or the first invalid token byte (counted in). The stream must be complete.
size_t WalkLength(const uint8_t* stream);

// Decodes the tokens of a stream with a valid header into out, which holds the
// header's length. Never reads past stream + streamLength nor writes past
// out + length. 1 when the end token is reached; 0 for a stream cut short, an
// invalid token byte or a token that would pass the header's length.
int Decode(const uint8_t* stream, size_t streamLength, uint8_t* out);

} // namespace TcpsCodec
