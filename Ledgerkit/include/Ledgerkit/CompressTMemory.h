// The "TCPS" run-length compressor of screen images and its inverse (stream layout in TcpsCodec).
#pragma once

#include <Keelwork/TMemory.h>
#include <Ledgerkit/LedgerkitApi.h>

// All functions keep no state and may run on several threads at once on different buffers.

// Compresses length bytes at input. The destination's previous contents are discarded:
// on return it holds exactly the stream and its cursor is 0. Returns the stream length,
// or 0 with the destination unchanged when it cannot be sized. The input may lie inside
// the destination's own block.
LEDGERKIT_API unsigned long CompressTMemoryTypeA(const unsigned char* input, unsigned long length,
                                                 TMemory& destination);
// Compresses the source's bytes from its cursor to its end; a cursor at or past the end
// returns 0 and leaves the destination untouched.
LEDGERKIT_API unsigned long CompressTMemoryTypeA(const TMemory& source, TMemory& destination);

// The decoders return 1 on success and 0 on failure: a bad header, a stream cut short,
// an invalid token byte or a token that would pass the header's length. They never read
// past the stream they are given nor write past the header's length. The TMemory
// destinations are sized to exactly the header's length (a bad header leaves them
// untouched; a later failure leaves the bytes decoded so far); their cursors stay put.

// Bounded forms: the stream is streamLength bytes at stream.
LEDGERKIT_API int UnCompressTMemoryTypeA(const unsigned char* stream, unsigned long streamLength,
                                         TMemory& destination);
// Fails without writing when the header's length exceeds outputLength.
LEDGERKIT_API int UnCompressTMemoryTypeA(const unsigned char* stream, unsigned long streamLength,
                                         unsigned char* output, unsigned long outputLength);
// The stream runs from the source's cursor to the end of its block.
LEDGERKIT_API int UnCompressTMemoryTypeA(const TMemory& source, TMemory& destination);

// Unbounded forms, for callers that hold a complete stream (its end token is found
// before decoding); the output buffer holds at least the header's length.
LEDGERKIT_API int UnCompressTMemoryTypeA(const unsigned char* stream, TMemory& destination);
LEDGERKIT_API int UnCompressTMemoryTypeA(const unsigned char* stream, unsigned char* output);
