// TCPS decoder: checks every count against both buffers before it touches them.
#include "TcpsCodec.h"

#include <emmintrin.h>

#include <cstring>

namespace TcpsCodec {
namespace {

inline __m128i Load(const uint8_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// What a token byte's high nibble means: count bytes after the token byte, and the
// unit width (0 literal, 1 byte run, 2 to 4 unit runs); count bytes -1 is invalid.
struct TokenKind {
    int8_t countBytes;
    uint8_t width;
};
constexpr TokenKind Kinds[16] = {
    {-1, 0}, {0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {1, 1}, {2, 1},
    {3, 1},  {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}, {1, 4}, {-1, 0},
};

// Fills bytes [0, total) of o with the pattern vector v, whose period divides 16.
inline void FillPeriodic(uint8_t* o, size_t total, size_t room, __m128i v)
{
    if (total <= 16 && room >= 16) {
        Store(o, v);
        return;
    }
    if (total < 16) {
        uint8_t pattern[16];
        Store(pattern, v);
        std::memcpy(o, pattern, total);
        return;
    }
    for (size_t k = 0; k + 16 <= total; k += 16)
        Store(o + k, v);
    Store(o + total - 16, v); // total is a multiple of the period, so the phase holds
}

// Fills total bytes (a multiple of 3) with the 3-byte unit at unit.
inline void FillTriple(uint8_t* o, size_t total, size_t room, const uint8_t* unit)
{
    uint8_t pattern[18];
    for (int i = 0; i < 18; i += 3)
        std::memcpy(pattern + i, unit, 3);
    if (total <= 16 && room >= 16) {
        Store(o, Load(pattern));
        return;
    }
    if (total < 16) {
        std::memcpy(o, pattern, total);
        return;
    }
    // Stores step by 15 bytes (five units); the last one starts at phase 2.
    const __m128i v = Load(pattern);
    for (size_t k = 0; k + 16 <= total; k += 15)
        Store(o + k, v);
    Store(o + total - 16, Load(pattern + 2));
}

inline void CopyLiteral(uint8_t* o, const uint8_t* p, size_t len, size_t inRoom, size_t outRoom)
{
    if (len <= 16 && inRoom >= 16 && outRoom >= 16) {
        Store(o, Load(p));
        return;
    }
    if (len < 16) {
        std::memcpy(o, p, len);
        return;
    }
    for (size_t k = 0; k + 16 <= len; k += 16)
        Store(o + k, Load(p + k));
    Store(o + len - 16, Load(p + len - 16));
}

// A literal of a photograph is commonly 16 to 500 bytes long, its length random: a copy
// loop would mispredict its exit for nearly every literal, which costs more than copying
// it. So the first LiteralBlock bytes are copied whatever the length, without a branch,
// and only longer literals loop; the stores past the literal's end are overwritten by
// the tokens that follow.
constexpr size_t LiteralBlock = 256;

inline void CopyLiteralAhead(uint8_t* o, const uint8_t* p, size_t length)
{
    for (size_t k = 0; k < LiteralBlock; k += 16)
        Store(o + k, Load(p + k));
    for (size_t k = LiteralBlock; k < length; k += 64) {
        Store(o + k, Load(p + k));
        Store(o + k + 16, Load(p + k + 16));
        Store(o + k + 32, Load(p + k + 32));
        Store(o + k + 48, Load(p + k + 48));
    }
}

// The common tokens of screen images (literals of up to 15 bytes, byte and pair runs
// of up to 15 repetitions) when both buffers have room for whole-vector copies, and
// literals with a one-byte count when they have room for CopyLiteralAhead: no count can
// then pass either buffer. False for every other token.
inline bool DecodeCommonToken(const uint8_t*& p, uint8_t*& o, size_t inRoom, size_t outRoom)
{
    const unsigned token = p[0];
    const size_t count = token & 0xF;
    switch (token >> 4) {
    case 0x1:
        Store(o, Load(p + 1));
        p += 1 + count;
        o += count;
        return true;
    case 0x2: {
        const size_t length = (count << 8) | p[1];
        if (inRoom < 2 + length + LiteralBlock || outRoom < length + LiteralBlock) return false;
        CopyLiteralAhead(o, p + 2, length);
        p += 2 + length;
        o += length;
        return true;
    }
    case 0x5:
        Store(o, _mm_set1_epi8(static_cast<char>(p[1])));
        p += 2;
        o += count;
        return true;
    case 0x9: {
        uint16_t unit;
        std::memcpy(&unit, p + 1, 2);
        const __m128i v = _mm_set1_epi16(static_cast<short>(unit));
        Store(o, v);
        Store(o + 16, v);
        p += 3;
        o += 2 * count;
        return true;
    }
    default:
        return false;
    }
}

uint32_t ReadLE32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

} // namespace

bool ReadHeader(const uint8_t* stream, size_t streamLength, uint32_t& length)
{
    if (!stream || streamLength < HeaderSize) return false;
    if (std::memcmp(stream, "TCPS", 4) != 0 || ReadLE32(stream + 4) != Version) return false;
    length = ReadLE32(stream + 8);
    return true;
}

size_t WalkLength(const uint8_t* stream)
{
    const uint8_t* p = stream + HeaderSize;
    // What the tokens may still produce. A token that would pass the header's length ends
    // the walk before its payload (the bounded decoder then refuses it), as the bounded
    // forms check a count before they skip or read anything by it.
    size_t outLeft = ReadLE32(stream + 8);
    for (;;) {
        const unsigned token = *p++;
        const TokenKind kind = Kinds[token >> 4];
        if (token == 0 || kind.countBytes < 0) break;
        size_t count = token & 0xF;
        for (int i = 0; i < kind.countBytes; ++i)
            count = (count << 8) | *p++;
        const size_t produced = kind.width == 0 ? count : count * kind.width;
        if (produced > outLeft) break;
        outLeft -= produced;
        p += kind.width == 0 ? count : kind.width;
    }
    return static_cast<size_t>(p - stream);
}

int Decode(const uint8_t* stream, size_t streamLength, uint8_t* out)
{
    const uint8_t* p = stream + HeaderSize;
    const uint8_t* const end = stream + streamLength;
    uint8_t* o = out;
    uint8_t* const outEnd = out + ReadLE32(stream + 8);

    while (p < end) {
        const size_t inLeft = static_cast<size_t>(end - p),
                     outLeft = static_cast<size_t>(outEnd - o);
        if (inLeft >= 32 && outLeft >= 32 && DecodeCommonToken(p, o, inLeft, outLeft)) continue;
        const unsigned token = *p++;
        const TokenKind kind = Kinds[token >> 4];
        if (kind.countBytes < 0) return token == 0 ? 1 : 0;
        if (end - p < kind.countBytes) return 0;
        size_t count = token & 0xF;
        for (int i = 0; i < kind.countBytes; ++i)
            count = (count << 8) | *p++;

        const size_t inRoom = static_cast<size_t>(end - p);
        const size_t outRoom = static_cast<size_t>(outEnd - o);
        if (kind.width == 0) {
            if (count > inRoom || count > outRoom) return 0;
            CopyLiteral(o, p, count, inRoom, outRoom);
            p += count;
            o += count;
            continue;
        }
        const size_t total = count * kind.width;
        if (inRoom < kind.width || total > outRoom) return 0;
        switch (kind.width) {
        case 1:
            FillPeriodic(o, total, outRoom, _mm_set1_epi8(static_cast<char>(p[0])));
            break;
        case 2: {
            uint16_t unit;
            std::memcpy(&unit, p, 2);
            FillPeriodic(o, total, outRoom, _mm_set1_epi16(static_cast<short>(unit)));
            break;
        }
        case 3:
            FillTriple(o, total, outRoom, p);
            break;
        default: {
            uint32_t unit;
            std::memcpy(&unit, p, 4);
            FillPeriodic(o, total, outRoom, _mm_set1_epi32(static_cast<int>(unit)));
            break;
        }
        }
        p += kind.width;
        o += total;
    }
    return 0; // cut short before the end token
}

} // namespace TcpsCodec
