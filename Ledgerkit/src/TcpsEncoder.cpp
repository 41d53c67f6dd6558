// TCPS encoder: the one greedy pass, with the scans done sixteen positions at a time.
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
inline unsigned Mask(__m128i v) { return static_cast<unsigned>(_mm_movemask_epi8(v)); }

// First k in [from, limit) where in[k] differs from in[k - unit]; limit when none does.
// The repeats of a unit starting at c end exactly where this periodicity breaks.
size_t PeriodEnd(const uint8_t* in, size_t from, size_t unit, size_t limit)
{
    size_t k = from;
    for (; k + 16 <= limit; k += 16) {
        const unsigned differ = ~Mask(_mm_cmpeq_epi8(Load(in + k), Load(in + k - unit))) & 0xFFFFu;
        if (differ) return k + static_cast<size_t>(__builtin_ctz(differ));
    }
    while (k < limit && in[k] == in[k - unit])
        ++k;
    return k;
}

// The literal's stop tests at one position, in the order the pass applies them.
inline bool StopsLiteral(const uint8_t* in, size_t m, size_t n)
{
    if (m + 2 < n && in[m] == in[m + 1] && in[m] == in[m + 2]) return true;
    if (m + 4 < n && std::memcmp(in + m, in + m + 2, 2) == 0) return true;
    if (m + 6 < n && std::memcmp(in + m, in + m + 3, 3) == 0) return true;
    return m + 8 < n && std::memcmp(in + m, in + m + 4, 4) == 0;
}

// End of the literal that starts at c: the first position where a run could start,
// or n when fewer than four bytes would remain.
size_t LiteralEnd(const uint8_t* in, size_t c, size_t n)
{
    size_t m = c;
    // Sixteen positions at once while every test fits inside the input
    // (the farthest byte read is in[m + 22]).
    for (; m + 24 <= n; m += 16) {
        const __m128i a0 = Load(in + m), a1 = Load(in + m + 1), a2 = Load(in + m + 2);
        const __m128i a3 = Load(in + m + 3), a4 = Load(in + m + 4), a5 = Load(in + m + 5);
        const __m128i a6 = Load(in + m + 6), a7 = Load(in + m + 7);
        const __m128i byteRun = _mm_and_si128(_mm_cmpeq_epi8(a0, a1), _mm_cmpeq_epi8(a1, a2));
        const __m128i pairRun = _mm_and_si128(_mm_cmpeq_epi8(a0, a2), _mm_cmpeq_epi8(a1, a3));
        const __m128i tripleRun = _mm_and_si128(
            _mm_and_si128(_mm_cmpeq_epi8(a0, a3), _mm_cmpeq_epi8(a1, a4)), _mm_cmpeq_epi8(a2, a5));
        const __m128i quadRun =
            _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(a0, a4), _mm_cmpeq_epi8(a1, a5)),
                          _mm_and_si128(_mm_cmpeq_epi8(a2, a6), _mm_cmpeq_epi8(a3, a7)));
        const unsigned stop =
            Mask(_mm_or_si128(_mm_or_si128(byteRun, pairRun), _mm_or_si128(tripleRun, quadRun)));
        if (stop) return m + static_cast<size_t>(__builtin_ctz(stop));
    }
    for (; m < n; ++m) {
        if (StopsLiteral(in, m, n)) return m;
        if (n - m <= 3) return n;
    }
    return n;
}

// Token byte and count bytes of a literal (base 0x10) or byte run (base 0x50):
// the shortest of the four forms that holds the count.
inline uint8_t* PutLongCount(uint8_t* o, unsigned base, uint32_t count)
{
    if (count <= 0xF) {
        *o++ = static_cast<uint8_t>(base | count);
    } else if (count <= 0xFFF) {
        *o++ = static_cast<uint8_t>((base + 0x10) | (count >> 8));
        *o++ = static_cast<uint8_t>(count);
    } else if (count <= 0xFFFFF) {
        *o++ = static_cast<uint8_t>((base + 0x20) | (count >> 16));
        *o++ = static_cast<uint8_t>(count >> 8);
        *o++ = static_cast<uint8_t>(count);
    } else {
        *o++ = static_cast<uint8_t>((base + 0x30) | (count >> 24));
        *o++ = static_cast<uint8_t>(count >> 16);
        *o++ = static_cast<uint8_t>(count >> 8);
        *o++ = static_cast<uint8_t>(count);
    }
    return o;
}

// A unit run (base 0x90, 0xB0, 0xD0) of reps copies of the unit at in.
inline uint8_t* PutUnitRun(uint8_t* o, unsigned base, uint32_t reps, const uint8_t* unit,
                           size_t width)
{
    if (reps <= 0xF) {
        *o++ = static_cast<uint8_t>(base | reps);
    } else {
        *o++ = static_cast<uint8_t>((base + 0x10) | (reps >> 8));
        *o++ = static_cast<uint8_t>(reps);
    }
    std::memcpy(o, unit, width);
    return o + width;
}

// Copies a literal's bytes; the output has 16 bytes of slack, the input none.
inline uint8_t* PutBytes(uint8_t* o, const uint8_t* src, size_t len, const uint8_t* inEnd)
{
    if (len <= 16 && inEnd - src >= 16) {
        Store(o, Load(src));
    } else if (len >= 16) {
        for (size_t k = 0; k + 16 <= len; k += 16)
            Store(o + k, Load(src + k));
        Store(o + len - 16, Load(src + len - 16));
    } else {
        std::memcpy(o, src, len);
    }
    return o + len;
}

// Repetitions of a unit of the given width starting at c, capped at MaxUnitCount.
// The scan stops one byte before the end: the last copy of a unit that reaches the
// end of the input is left to the following literal.
inline uint32_t UnitReps(const uint8_t* in, size_t c, size_t n, size_t width)
{
    const size_t cap = c + MaxUnitCount * width + width - 1;
    const size_t limit = n - 1 < cap ? n - 1 : cap;
    return static_cast<uint32_t>((PeriodEnd(in, c + width, width, limit) - c) / width);
}

// Emits the unit run of Width-byte units at c when it has two repetitions or more.
// Width is a constant so that the unit comparison compiles to one load and compare.
template <size_t Width> inline bool UnitRun(const uint8_t* in, size_t& c, size_t n, uint8_t*& o)
{
    const uint8_t* p = in + c;
    if (n - c < 2 * Width + 1 || std::memcmp(p, p + Width, Width) != 0) return false;
    const uint32_t reps = UnitReps(in, c, n, Width);
    o = PutUnitRun(o, 0x90 + 0x20 * (Width - 2), reps, p, Width);
    c += Width * static_cast<size_t>(reps);
    return true;
}

} // namespace

size_t Encode(const uint8_t* in, size_t n, uint8_t* out)
{
    const uint32_t length = static_cast<uint32_t>(n);
    const uint32_t version = Version;
    std::memcpy(out, "TCPS", 4);
    std::memcpy(out + 4, &version, 4); // x86 is little-endian, as the stream
    std::memcpy(out + 8, &length, 4);
    uint8_t* o = out + HeaderSize;
    const uint8_t* const inEnd = in + n;

    size_t c = 0;
    while (c < n) {
        const size_t rem = n - c;
        const uint8_t* p = in + c;
        // Each rule is first tried on its smallest run; only a hit pays for a scan.
        if (rem >= 3 && p[1] == p[0] && p[2] == p[0]) {
            const size_t limit = rem > MaxLongCount ? c + MaxLongCount : n;
            const uint32_t count = static_cast<uint32_t>(PeriodEnd(in, c + 3, 1, limit) - c);
            o = PutLongCount(o, 0x50, count);
            *o++ = p[0];
            c += count;
            continue;
        }
        if (UnitRun<2>(in, c, n, o) || UnitRun<3>(in, c, n, o) || UnitRun<4>(in, c, n, o)) continue;
        size_t len = LiteralEnd(in, c, n) - c;
        if (len > MaxLongCount) len = MaxLongCount;
        o = PutLongCount(o, 0x10, static_cast<uint32_t>(len));
        o = PutBytes(o, p, len, inEnd);
        c += len;
    }
    *o++ = 0;
    return static_cast<size_t>(o - out);
}

} // namespace TcpsCodec
