// The exported compressor functions: TMemory sizing around the raw TCPS codec.
#include <Ledgerkit/CompressTMemory.h>

#include "TcpsCodec.h"

namespace {

// True when [p, p + n) touches the block's buffer: the block must not move under it.
bool Overlaps(const TMemoryBase& block, const unsigned char* p, size_t n)
{
    const unsigned char* data = block;
    return p < data + block.GetSize() && data < p + n;
}

unsigned long RemainingFromCursor(const TMemory& block)
{
    return block.m_Pos < block.GetSize() ? block.GetSize() - block.m_Pos : 0;
}

} // namespace

unsigned long CompressTMemoryTypeA(const unsigned char* input, unsigned long length,
                                   TMemory& destination)
{
    if (!input && length > 0) return 0;
    const size_t capacity = TcpsCodec::EncodeCapacity(length);
    if (capacity > 0xFFFFFFFFul) return 0;
    // The stream is built in a block of its own when the input lives in the destination.
    TMemory scratch;
    const bool aliased = Overlaps(destination, input, length);
    TMemory& target = aliased ? scratch : destination;
    unsigned char* out = target.Alloc(static_cast<unsigned long>(capacity));
    if (!out) return 0;
    const unsigned long streamLength =
        static_cast<unsigned long>(TcpsCodec::Encode(input, length, out));
    target.JustMemory(streamLength); // shrinking keeps the block
    if (aliased) destination <<= scratch;
    destination.m_Pos = 0;
    return streamLength;
}

unsigned long CompressTMemoryTypeA(const TMemory& source, TMemory& destination)
{
    const unsigned long length = RemainingFromCursor(source);
    if (length == 0) return 0;
    const unsigned char* data = source;
    return CompressTMemoryTypeA(data + source.m_Pos, length, destination);
}

int UnCompressTMemoryTypeA(const unsigned char* stream, unsigned long streamLength,
                           TMemory& destination)
{
    uint32_t length;
    if (!TcpsCodec::ReadHeader(stream, streamLength, length)) return 0;
    TMemoryBase scratch;
    const bool aliased = Overlaps(destination, stream, streamLength);
    TMemoryBase& target = aliased ? scratch : destination;
    unsigned char* out = target.Alloc(length); // 0 acts as Free: never null then
    if (!out) return 0;
    const int result = TcpsCodec::Decode(stream, streamLength, out);
    if (aliased) destination <<= scratch;
    return result;
}

int UnCompressTMemoryTypeA(const unsigned char* stream, unsigned long streamLength,
                           unsigned char* output, unsigned long outputLength)
{
    uint32_t length;
    if (!TcpsCodec::ReadHeader(stream, streamLength, length)) return 0;
    if (length > outputLength || (!output && length > 0)) return 0;
    return TcpsCodec::Decode(stream, streamLength, output);
}

int UnCompressTMemoryTypeA(const TMemory& source, TMemory& destination)
{
    const unsigned char* data = source;
    return UnCompressTMemoryTypeA(data + source.m_Pos, RemainingFromCursor(source), destination);
}

namespace {
// Length of a stream given without one, 0 when its header is bad.
unsigned long UnboundedLength(const unsigned char* stream)
{
    uint32_t length;
    if (!TcpsCodec::ReadHeader(stream, TcpsCodec::HeaderSize, length)) return 0;
    const size_t walked = TcpsCodec::WalkLength(stream);
    return walked > 0xFFFFFFFFul ? 0xFFFFFFFFul : static_cast<unsigned long>(walked);
}
} // namespace

int UnCompressTMemoryTypeA(const unsigned char* stream, TMemory& destination)
{
    return UnCompressTMemoryTypeA(stream, UnboundedLength(stream), destination);
}

int UnCompressTMemoryTypeA(const unsigned char* stream, unsigned char* output)
{
    uint32_t length;
    if (!TcpsCodec::ReadHeader(stream, TcpsCodec::HeaderSize, length)) return 0;
    return UnCompressTMemoryTypeA(stream, UnboundedLength(stream), output, length);
}
