// The greedy pass and the decoder, one byte and one rule at a time.
#include "TcpsReference.h"

namespace TcpsReference {
namespace {

void PutCount(std::vector<uint8_t>& s, unsigned kind, uint32_t count, int countBytes)
{
    s.push_back(static_cast<uint8_t>((kind << 4) | (count >> (8 * countBytes))));
    for (int i = countBytes - 1; i >= 0; --i)
        s.push_back(static_cast<uint8_t>(count >> (8 * i)));
}

// Literals (first kind 1) and byte runs (first kind 5): the shortest of four forms.
void PutLong(std::vector<uint8_t>& s, unsigned firstKind, uint32_t count)
{
    const int bytes = count <= 0xF ? 0 : count <= 0xFFF ? 1 : count <= 0xFFFFF ? 2 : 3;
    PutCount(s, firstKind + bytes, count, bytes);
}

bool Same(const uint8_t* a, const uint8_t* b, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// Repetitions of the unit at c, stepping while at least one byte follows the copy.
size_t UnitReps(const uint8_t* in, size_t c, size_t n, size_t u)
{
    size_t j = c + u;
    while (j + u < n && Same(in + j, in + c, u))
        j += u;
    const size_t reps = (j - c) / u;
    return reps > 4095 ? 4095 : reps;
}

} // namespace

std::vector<uint8_t> Encode(const uint8_t* in, size_t n)
{
    std::vector<uint8_t> s = {'T', 'C', 'P', 'S', 1, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<uint8_t>(n >> (8 * i)));
    size_t c = 0;
    while (c < n) {
        const size_t rem = n - c;
        if (rem >= 3) {
            size_t count = 0;
            while (c + count < n && in[c + count] == in[c])
                ++count;
            if (count > 0x0FFFFFFF) count = 0x0FFFFFFF;
            if (count >= 3) {
                PutLong(s, 5, static_cast<uint32_t>(count));
                s.push_back(in[c]);
                c += count;
                continue;
            }
        }
        bool emitted = false;
        for (size_t u = 2; u <= 4 && !emitted; ++u) {
            if (rem < u + 2) break;
            const size_t reps = UnitReps(in, c, n, u);
            if (reps < 2) continue;
            const unsigned kind = static_cast<unsigned>(9 + 2 * (u - 2));
            if (reps <= 15)
                PutCount(s, kind, static_cast<uint32_t>(reps), 0);
            else
                PutCount(s, kind + 1, static_cast<uint32_t>(reps), 1);
            s.insert(s.end(), in + c, in + c + u);
            c += reps * u;
            emitted = true;
        }
        if (emitted) continue;
        size_t m = c;
        while (m < n) {
            if (m + 2 < n && in[m] == in[m + 1] && in[m + 1] == in[m + 2]) break;
            if (m + 4 < n && Same(in + m, in + m + 2, 2)) break;
            if (m + 6 < n && Same(in + m, in + m + 3, 3)) break;
            if (m + 8 < n && Same(in + m, in + m + 4, 4)) break;
            if (n - m <= 3) {
                m = n;
                break;
            }
            ++m;
        }
        size_t len = m - c;
        if (len > 0x0FFFFFFF) len = 0x0FFFFFFF;
        PutLong(s, 1, static_cast<uint32_t>(len));
        s.insert(s.end(), in + c, in + c + len);
        c += len;
    }
    s.push_back(0);
    return s;
}

int Decode(const std::vector<uint8_t>& stream, std::vector<uint8_t>& out, size_t& written)
{
    written = 0;
    const size_t n = stream.size();
    if (n < 12 || !Same(stream.data(), reinterpret_cast<const uint8_t*>("TCPS\1\0\0\0"), 8))
        return 0;
    const size_t length =
        stream[8] | stream[9] << 8 | stream[10] << 16 | static_cast<size_t>(stream[11]) << 24;
    size_t p = 12;
    for (;;) {
        if (p >= n) return 0;
        const unsigned token = stream[p++];
        const unsigned kind = token >> 4;
        if (token == 0) return 1;
        if (kind == 0 || kind == 15) return 0;
        static const int countBytesOf[15] = {0, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 0, 1, 0, 1};
        static const size_t widthOf[15] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 4, 4};
        size_t count = token & 0xF;
        for (int i = 0; i < countBytesOf[kind]; ++i) {
            if (p >= n) return 0;
            count = (count << 8) | stream[p++];
        }
        const size_t width = widthOf[kind];
        const size_t produced = width == 0 ? count : count * width;
        const size_t payload = width == 0 ? count : width;
        if (n - p < payload || length - written < produced) return 0;
        for (size_t i = 0; i < produced; ++i)
            out[written + i] = width == 0 ? stream[p + i] : stream[p + i % width];
        written += produced;
        p += payload;
    }
}

} // namespace TcpsReference
