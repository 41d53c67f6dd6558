// Seeded random inputs and streams: the fast codec against the byte-at-a-time yardstick,
// with guard bytes around every output and an inaccessible page after every stream.
#include <Ledgerkit/CompressTMemory.h>

#include "BmpPixels.h"
#include "TcpsReference.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A copy of some bytes that ends exactly where an inaccessible page begins, so any
// read past the end faults.
class PageEndCopy {
public:
    explicit PageEndCopy(const Bytes& bytes)
    {
        const size_t span = (bytes.size() + 4095) / 4096 * 4096;
        m_Base = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, span + 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(m_Base + span, 4096, PAGE_NOACCESS, &old);
        m_Data = m_Base + span - bytes.size();
        if (!bytes.empty()) std::memcpy(m_Data, bytes.data(), bytes.size());
    }
    ~PageEndCopy() { VirtualFree(m_Base, 0, MEM_RELEASE); }
    PageEndCopy(const PageEndCopy&) = delete;
    PageEndCopy& operator=(const PageEndCopy&) = delete;

    const uint8_t* Data() const { return m_Data; }

private:
    uint8_t* m_Base;
    uint8_t* m_Data;
};

constexpr size_t Guard = 32;
constexpr uint8_t GuardByte = 0xA5;

uint32_t HeaderLength(const Bytes& stream)
{
    uint32_t length = 0;
    if (stream.size() >= 12) std::memcpy(&length, &stream[8], 4);
    return length;
}

// Decodes with the bounded buffer form into a buffer of exactly the header's length
// framed by guard bytes, and checks result and bytes against the yardstick.
void ExpectDecodesLikeReference(const Bytes& stream)
{
    const size_t length = HeaderLength(stream);
    Bytes expected(length);
    size_t written = 0;
    const int result = TcpsReference::Decode(stream, expected, written);

    const PageEndCopy input(stream);
    Bytes framed(Guard + length + Guard, GuardByte);
    ASSERT_EQ(result,
              UnCompressTMemoryTypeA(input.Data(), static_cast<unsigned long>(stream.size()),
                                     framed.data() + Guard, static_cast<unsigned long>(length)));
    for (size_t i = 0; i < Guard; ++i) {
        ASSERT_EQ(GuardByte, framed[i]);
        ASSERT_EQ(GuardByte, framed[Guard + length + i]);
    }
    ASSERT_EQ(0, std::memcmp(expected.data(), framed.data() + Guard, written));

    TMemory block;
    ASSERT_EQ(result, UnCompressTMemoryTypeA(input.Data(),
                                             static_cast<unsigned long>(stream.size()), block));
    if (stream.size() >= 12 && std::memcmp(stream.data(), "TCPS\1\0\0\0", 8) == 0) {
        ASSERT_EQ(length, block.GetSize());
    }
}

// Compresses with the exported function, checks the stream against the yardstick and
// expands it again into a guarded buffer of exactly its length.
void ExpectRoundTrip(const Bytes& input)
{
    TMemory destination;
    const unsigned long streamLength =
        CompressTMemoryTypeA(input.data(), static_cast<unsigned long>(input.size()), destination);
    const unsigned char* data = destination;
    const Bytes stream(data, data + streamLength);
    ASSERT_EQ(TcpsReference::Encode(input.data(), input.size()), stream);
    // The bound the encoder's buffer is sized by: every literal but the last is followed
    // by a run that saves at least one byte.
    ASSERT_LE(stream.size(), input.size() + input.size() / 19 + 17);

    const PageEndCopy exact(stream);
    Bytes framed(Guard + input.size() + Guard, GuardByte);
    ASSERT_EQ(1, UnCompressTMemoryTypeA(exact.Data(), streamLength, framed.data() + Guard,
                                        static_cast<unsigned long>(input.size())));
    ASSERT_TRUE(std::equal(input.begin(), input.end(), framed.begin() + Guard));
    for (size_t i = 0; i < Guard; ++i)
        ASSERT_TRUE(framed[i] == GuardByte && framed[Guard + input.size() + i] == GuardByte);
}

// Inputs built from the things screen images are made of: runs of a byte, repeated
// 2-, 3- and 4-byte units (some beyond the 4095 cap), and short stretches drawn from a
// small or a full alphabet, in random lengths that hit the scans' block edges.
Bytes RandomInput(std::mt19937& rng, size_t maxSize)
{
    std::uniform_int_distribution<size_t> sizeOf(0, maxSize);
    const size_t size = sizeOf(rng);
    const unsigned alphabet = (rng() % 4 == 0) ? 3 : 256;
    Bytes out;
    while (out.size() < size) {
        const unsigned piece = rng() % 6;
        if (piece <= 1) {
            const size_t n = 1 + rng() % 40;
            for (size_t i = 0; i < n; ++i)
                out.push_back(static_cast<uint8_t>(rng() % alphabet));
        } else {
            const size_t width = piece - 1; // 1 to 4
            uint8_t unit[4];
            for (uint8_t& b : unit)
                b = static_cast<uint8_t>(rng() % alphabet);
            const size_t reps = rng() % 8 == 0 ? 4000 + rng() % 300 : 1 + rng() % 30;
            for (size_t r = 0; r < reps; ++r)
                out.insert(out.end(), unit, unit + width);
        }
    }
    out.resize(size);
    return out;
}

// Literals of random length up to past the largest one-byte count (4095), between short
// byte runs, as a photograph gives them: the expander copies such literals in blocks
// that run ahead of their end.
Bytes LiteralStretches(std::mt19937& rng, size_t size)
{
    Bytes out;
    while (out.size() < size) {
        const size_t literal = 1 + rng() % 4200;
        for (size_t i = 0; i < literal; ++i)
            out.push_back(static_cast<uint8_t>(rng()));
        out.insert(out.end(), 3 + rng() % 4, static_cast<uint8_t>(rng()));
    }
    out.resize(size);
    return out;
}

TEST(CompressRandom, StreamsMatchTheGreedyPassAndExpandToTheInput)
{
    std::mt19937 rng(20261210);
    for (size_t n = 0; n <= 80; ++n) { // every short length, across the 24-byte block edge
        for (int k = 0; k < 20; ++k) {
            Bytes input = RandomInput(rng, n);
            input.resize(n, static_cast<uint8_t>(rng() % 3));
            ASSERT_NO_FATAL_FAILURE(ExpectRoundTrip(input)) << "length " << n;
        }
    }
    for (int k = 0; k < 300; ++k)
        ASSERT_NO_FATAL_FAILURE(ExpectRoundTrip(RandomInput(rng, 40000))) << "input " << k;
    for (int k = 0; k < 40; ++k)
        ASSERT_NO_FATAL_FAILURE(ExpectRoundTrip(LiteralStretches(rng, 1000 + rng() % 60000)))
            << "stretches " << k;
    Bytes noise(1 << 16);
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>(rng());
    ASSERT_NO_FATAL_FAILURE(ExpectRoundTrip(noise));
}

TEST(CompressRandom, ScreenshotsMatchTheGreedyPassAndExpandToThemselves)
{
    int found = 0;
    for (const char* file : FrameFiles) {
        const Bytes pixels = ReadBmpPixels(std::string(LEDGERKIT_FRAMES_DIR) + "/" + file);
        if (pixels.empty()) continue;
        ++found;
        SCOPED_TRACE(file);
        ASSERT_NO_FATAL_FAILURE(ExpectRoundTrip(pixels));
    }
    if (found == 0) GTEST_SKIP() << "no screenshots in " << LEDGERKIT_FRAMES_DIR;
}

TEST(CompressRandom, MutatedAndRandomStreamsFailCleanly)
{
    std::mt19937 rng(7331);
    for (int k = 0; k < 1500; ++k) {
        const Bytes input = RandomInput(rng, 3000);
        TMemory compressed;
        CompressTMemoryTypeA(input.data(), static_cast<unsigned long>(input.size()), compressed);
        const unsigned char* data = compressed;
        Bytes stream(data, data + compressed.GetSize());
        switch (rng() % 5) {
        case 0: // flip a few bytes of the tokens
            for (int f = 1 + static_cast<int>(rng() % 4); f > 0 && stream.size() > 12; --f)
                stream[12 + rng() % (stream.size() - 12)] = static_cast<uint8_t>(rng());
            break;
        case 1: // cut anywhere, the header included
            stream.resize(rng() % stream.size());
            break;
        case 2: { // a header length shorter or longer than the tokens produce
            const uint32_t length = static_cast<uint32_t>(rng() % (2 * input.size() + 2));
            std::memcpy(&stream[8], &length, 4);
            break;
        }
        case 3: // a random byte inserted among the tokens
            stream.insert(stream.begin() + 12 + rng() % (stream.size() - 11),
                          static_cast<uint8_t>(rng()));
            break;
        default: { // random tokens after a valid header
            const uint32_t length = static_cast<uint32_t>(rng() % 5000);
            stream.resize(12 + rng() % 200);
            std::memcpy(&stream[8], &length, 4);
            for (size_t i = 12; i < stream.size(); ++i)
                stream[i] = static_cast<uint8_t>(rng());
            break;
        }
        }
        ASSERT_NO_FATAL_FAILURE(ExpectDecodesLikeReference(stream)) << "stream " << k;
    }
}

} // namespace
