// The exact streams of the greedy pass, the TMemory forms and the decoder's failures.
#include <Ledgerkit/CompressTMemory.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Header(uint32_t length)
{
    Bytes s = {'T', 'C', 'P', 'S', 1, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<uint8_t>(length >> (8 * i)));
    return s;
}

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Repeat(const std::string& unit, size_t times)
{
    Bytes out;
    for (size_t i = 0; i < times; ++i)
        out.insert(out.end(), unit.begin(), unit.end());
    return out;
}

Bytes Compress(const Bytes& input)
{
    TMemory destination;
    const unsigned long length =
        CompressTMemoryTypeA(input.data(), static_cast<unsigned long>(input.size()), destination);
    EXPECT_EQ(length, destination.GetSize());
    EXPECT_EQ(0ul, destination.m_Pos);
    const unsigned char* data = destination;
    return Bytes(data, data + destination.GetSize());
}

Bytes Contents(const TMemoryBase& block)
{
    const unsigned char* data = block;
    return Bytes(data, data + block.GetSize());
}

struct StreamCase {
    const char* name;
    Bytes input;
    Bytes tokens; // between the header and the end token
};

TEST(CompressTMemory, GreedyPassWritesExactlyTheseStreams)
{
    const StreamCase cases[] = {
        {"empty", {}, {}},
        {"ten equal bytes", Bytes(10, 0x41), {0x5A, 0x41}},
        {"three different bytes", Text("abc"), {0x13, 'a', 'b', 'c'}},
        {"eight different bytes", Text("abcdefgh"), Cat({0x18}, Text("abcdefgh"))},
        {"sixteen different bytes", Text("abcdefghijklmnop"),
         Cat({0x20, 0x10}, Text("abcdefghijklmnop"))},
        {"triple unit", Text("ABCABCABC"), {0xB2, 'A', 'B', 'C', 0x13, 'A', 'B', 'C'}},
        {"quad unit", Text("ABCDABCDABCD"), {0xD2, 'A', 'B', 'C', 'D', 0x14, 'A', 'B', 'C', 'D'}},
        {"pair then one byte", Text("ABABA"), {0x92, 'A', 'B', 0x11, 'A'}},
        {"pair to the end loses its last copy", Text("ABABABAB"), {0x93, 'A', 'B', 0x12, 'A', 'B'}},
        {"run of 5000", Bytes(5000, 0x7E), {0x70, 0x13, 0x88, 0x7E}},
        {"run of 16", Bytes(16, 0), {0x60, 0x10, 0x00}},
        {"run of 2^20", Bytes(0x100000, 9), {0x80, 0x10, 0x00, 0x00, 9}},
        {"pair run capped at 4095",
         Cat(Repeat("AB", 5000), Text("C")),
         {0xAF, 0xFF, 'A', 'B', 0xA3, 0x89, 'A', 'B', 0x11, 'C'}},
        {"triple before quad",
         Text("ABCABCDABCD"),
         {0xB2, 'A', 'B', 'C', 0x15, 'D', 'A', 'B', 'C', 'D'}},
        {"two-byte tail joins the literal",
         Text("xyAAAzw"),
         {0x12, 'x', 'y', 0x53, 'A', 0x12, 'z', 'w'}},
        {"unit runs of 16-bit pixels",
         Cat(Repeat("\x12\x34", 20), Repeat("\x56\x78", 3)),
         {0xA0, 0x14, 0x12, 0x34, 0x92, 0x56, 0x78, 0x12, 0x56, 0x78}},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes expected =
            Cat(Cat(Header(static_cast<uint32_t>(c.input.size())), c.tokens), {0x00});
        EXPECT_EQ(expected, Compress(c.input));
    }
}

TEST(CompressTMemory, DestinationIsReplacedWholeAndRewound)
{
    TMemory destination;
    destination.Alloc(100, 0xEE);
    destination.m_Pos = 40; // a caller that forgot to rewind still gets a clean stream
    const Bytes input = Text("abc");
    EXPECT_EQ(17ul, CompressTMemoryTypeA(input.data(), 3, destination));
    EXPECT_EQ(Cat(Cat(Header(3), {0x13, 'a', 'b', 'c'}), {0}), Contents(destination));
    EXPECT_EQ(0ul, destination.m_Pos);
}

TEST(CompressTMemory, SourceFormCompressesFromTheCursor)
{
    TMemory source;
    source.Alloc(8, "xxAAAAAA");
    source.m_Pos = 2;
    TMemory destination;
    EXPECT_EQ(15ul, CompressTMemoryTypeA(source, destination));
    EXPECT_EQ(Cat(Header(6), {0x56, 'A', 0}), Contents(destination));

    // A cursor at or past the end compresses nothing and leaves the destination alone.
    destination.Alloc(3, "old");
    destination.m_Pos = 1;
    for (unsigned long cursor : {8ul, 20ul}) {
        source.m_Pos = cursor;
        EXPECT_EQ(0ul, CompressTMemoryTypeA(source, destination));
        EXPECT_EQ(Text("old"), Contents(destination));
        EXPECT_EQ(1ul, destination.m_Pos);
    }
}

TEST(CompressTMemory, BlockCompressedAndExpandedIntoItself)
{
    const Bytes input = Cat(Repeat("\x10\x42", 300), Text("tail bytes"));
    TMemory block;
    block.Alloc(static_cast<unsigned long>(input.size()), input.data());
    const Bytes stream = Compress(input);
    EXPECT_EQ(stream.size(), CompressTMemoryTypeA(block, block));
    EXPECT_EQ(stream, Contents(block));

    block.m_Pos = 0;
    EXPECT_EQ(1, UnCompressTMemoryTypeA(block, block));
    EXPECT_EQ(input, Contents(block));
}

TEST(UnCompressTMemory, EveryFormExpandsAndKeepsTheCursor)
{
    const Bytes input = Cat(Cat(Text("header"), Bytes(700, 0)), Repeat("\x01\x02\x03", 50));
    const Bytes stream = Compress(input);
    const auto length = static_cast<unsigned long>(stream.size());

    TMemory a;
    a.m_Pos = 5;
    EXPECT_EQ(1, UnCompressTMemoryTypeA(stream.data(), length, a));
    EXPECT_EQ(input, Contents(a));
    EXPECT_EQ(5ul, a.m_Pos);

    TMemory b;
    EXPECT_EQ(1, UnCompressTMemoryTypeA(stream.data(), b));
    EXPECT_EQ(input, Contents(b));

    TMemory source;
    source.Alloc(3, "pre");
    source.m_Pos = 3;
    source.AddMemory(length, stream.data());
    TMemory c;
    EXPECT_EQ(1, UnCompressTMemoryTypeA(source, c));
    EXPECT_EQ(input, Contents(c));

    Bytes buffer(input.size() + 1, 0xCC);
    EXPECT_EQ(1, UnCompressTMemoryTypeA(stream.data(), buffer.data()));
    EXPECT_EQ(input, Bytes(buffer.begin(), buffer.end() - 1));
    EXPECT_EQ(0xCC, buffer.back());

    Bytes bounded(input.size());
    EXPECT_EQ(1, UnCompressTMemoryTypeA(stream.data(), length, bounded.data(),
                                        static_cast<unsigned long>(bounded.size())));
    EXPECT_EQ(input, bounded);
    // A buffer one byte short of the header's length is refused untouched.
    Bytes small(input.size() - 1, 0xCC);
    EXPECT_EQ(0, UnCompressTMemoryTypeA(stream.data(), length, small.data(),
                                        static_cast<unsigned long>(small.size())));
    EXPECT_EQ(Bytes(small.size(), 0xCC), small);
}

struct DecodeCase {
    const char* name;
    Bytes stream;
    int result;
    // Cut before its end token: only the bounded forms may be given it.
    bool cut = false;
};

TEST(UnCompressTMemory, DecoderResultsForWellFormedAndBrokenStreams)
{
    const Bytes h10 = Header(10);
    const DecodeCase cases[] = {
        {"fewer bytes than the header says", Cat(h10, {0x53, 'x', 0}), 1},
        {"zero counts in every form", Cat(h10, {0x10, 0x20, 0x00, 0x50, 'x',  0x80, 0, 0, 0, 'x',
                                                0x90, 'a',  'b',  0xE0, 0x00, 1,    2, 3, 4, 0}),
         1},
        {"long forms of small counts", Cat(h10, {0x40, 0, 0, 2, 'a', 'b', 0xC0, 2, 1, 2, 3, 0}), 1},
        {"run exactly to the length", Cat(h10, {0x5A, 'x', 0}), 1},
        {"run one byte past the length", Cat(h10, {0x5B, 'x', 0}), 0},
        {"unit run one unit past the length", Cat(h10, {0xD3, 1, 2, 3, 4, 0}), 0},
        {"literal past the length", Cat(Header(2), {0x13, 'a', 'b', 'c', 0}), 0},
        {"literal of 256 MB past a length of 16", Cat(Header(16), {0x4F, 0xFF, 0xFF, 0xFF, 0}), 0},
        {"run of 48 MB past a length of 16", Cat(Header(16), {0x8F, 0xFF, 0xFF, 0xFF, 'x', 0}), 0},
        {"token 0xF3", Cat(h10, {0x11, 'a', 0xF3, 0}), 0},
        {"token 0x05", Cat(h10, {0x05, 0}), 0},
        {"no end token", Cat(h10, {0x53, 'x'}), 0, true},
        {"cut inside the count bytes", Cat(h10, {0x70, 0x00}), 0, true},
        {"cut inside a literal", Cat(h10, {0x15, 'a', 'b'}), 0, true},
        {"cut before a unit", Cat(h10, {0xB2, 1, 2}), 0, true},
        {"header only", h10, 0, true},
        {"header cut short", Bytes(h10.begin(), h10.end() - 1), 0, true},
        {"bad magic", Cat({'T', 'C', 'P', 'X', 1, 0, 0, 0, 0, 0, 0, 0}, {0}), 0},
        {"bad version", Cat({'T', 'C', 'P', 'S', 2, 0, 0, 0, 0, 0, 0, 0}, {0}), 0},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto length = static_cast<unsigned long>(c.stream.size());
        TMemory destination;
        EXPECT_EQ(c.result, UnCompressTMemoryTypeA(c.stream.data(), length, destination));
        Bytes buffer(64);
        EXPECT_EQ(c.result, UnCompressTMemoryTypeA(c.stream.data(), length, buffer.data(),
                                                   static_cast<unsigned long>(buffer.size())));
        if (c.cut) continue;
        // The unbounded forms walk to the end token first; a count past the header's length
        // ends the walk there, so nothing beyond the stream is skipped to or read.
        TMemory unbounded;
        EXPECT_EQ(c.result, UnCompressTMemoryTypeA(c.stream.data(), unbounded));
        Bytes output(64);
        EXPECT_EQ(c.result, UnCompressTMemoryTypeA(c.stream.data(), output.data()));
    }
}

TEST(UnCompressTMemory, FailureLeavesTheDestinationAsTheFormatSays)
{
    TMemory destination;
    destination.Alloc(4, "keep");
    destination.m_Pos = 2;
    const Bytes badMagic = Cat({'X', 'C', 'P', 'S', 1, 0, 0, 0, 5, 0, 0, 0}, {0});
    EXPECT_EQ(0, UnCompressTMemoryTypeA(badMagic.data(), 13, destination));
    EXPECT_EQ(Text("keep"), Contents(destination));

    // A bad token after good ones: sized to the header's length, the good bytes kept.
    const Bytes broken = Cat(Header(10), {0x13, 'a', 'b', 'c', 0xF0, 0});
    EXPECT_EQ(0, UnCompressTMemoryTypeA(broken.data(), static_cast<unsigned long>(broken.size()),
                                        destination));
    EXPECT_EQ(10ul, destination.GetSize());
    EXPECT_EQ(0, std::memcmp("abc", static_cast<unsigned char*>(destination), 3));
    EXPECT_EQ(2ul, destination.m_Pos);

    // The source form reads no further than its block: a stream cut by the block's end fails.
    TMemory source;
    const Bytes whole = Cat(Header(3), {0x13, 'a', 'b', 'c', 0});
    source.Alloc(static_cast<unsigned long>(whole.size() - 2), whole.data());
    EXPECT_EQ(0, UnCompressTMemoryTypeA(source, destination));
    source.m_Pos = source.GetSize();
    EXPECT_EQ(0, UnCompressTMemoryTypeA(source, destination));
}

} // namespace
