// Exact-size memory blocks: never-null data, gap and removal rules, fills,
// comparisons, moves and refused allocations.
#include <Keelwork/TMemoryBase.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {
TMemoryBase Block(const std::string& bytes)
{
    TMemoryBase block;
    block.Alloc(static_cast<unsigned long>(bytes.size()), bytes.data());
    return block;
}

std::string Bytes(const TMemoryBase& block)
{
    return std::string(reinterpret_cast<const char*>(static_cast<unsigned char*>(block)),
                       block.GetSize());
}

// A size the heap refuses: above the largest block the system allows.
constexpr unsigned long Refused = 0x80000000ul;
} // namespace

TEST(TMemoryBase, EmptyBlocksKeepAValidPointer)
{
    const std::function<void(TMemoryBase&)> ways[] = {
        [](TMemoryBase&) {},
        [](TMemoryBase& b) { b.Free(); },
        [](TMemoryBase& b) { b.Alloc(0); },
        [](TMemoryBase& b) { b.Alloc(0, 'x'); },
        [](TMemoryBase& b) { b.JustMemory(0); },
        [](TMemoryBase& b) { b.JustMemory(0, 'x'); },
        [](TMemoryBase& b) { b.LosMemory(b.GetSize()); },
        [](TMemoryBase& b) { b.LosMemory(100); },
        [](TMemoryBase& b) { b.CutMemory(0, b.GetSize()); },
        [](TMemoryBase& b) { b.CutMemory(0, 100); },
    };
    for (size_t i = 0; i < std::size(ways); ++i) {
        TMemoryBase block = i == 0 ? TMemoryBase() : Block("0123456789");
        ways[i](block);
        EXPECT_EQ(block.GetSize(), 0u) << "way " << i;
        EXPECT_NE(static_cast<unsigned char*>(block), nullptr) << "way " << i;
    }
}

TEST(TMemoryBase, ZeroCountsChangeNothing)
{
    const char source[] = "zz";
    const std::function<unsigned char*(TMemoryBase&)> ops[] = {
        [](TMemoryBase& b) { return b.AddMemory(0); },
        [](TMemoryBase& b) { return b.AddMemory(0, 'x'); },
        [&](TMemoryBase& b) { return b.AddMemory(0, source); },
        [](TMemoryBase& b) { return b.InsMemory(3, 0); },
        [](TMemoryBase& b) { return b.InsMemory(30, 0, 'x'); },
        [&](TMemoryBase& b) { return b.InsMemory(3, 0, source); },
        [](TMemoryBase& b) { return b.CutMemory(3, 0); },
        [](TMemoryBase& b) { return b.CutMemory(30, 5); },
        [](TMemoryBase& b) { return b.LosMemory(0); },
    };
    for (size_t i = 0; i < std::size(ops); ++i) {
        TMemoryBase block = Block("0123456789");
        unsigned char* before = block;
        EXPECT_EQ(ops[i](block), before) << "op " << i;
        EXPECT_EQ(Bytes(block), "0123456789") << "op " << i;
    }
}

TEST(TMemoryBase, FillFormsUseTheLowByteOverWordsAndTail)
{
    for (unsigned long n = 1; n <= 9; ++n) {
        const std::string filled(n, '\xAB');
        TMemoryBase a, b, c, d;
        a.Alloc(n, 0x1234AB);
        EXPECT_EQ(Bytes(a), filled) << n;
        b.Alloc(2, "pq");
        b.AddMemory(n, 0xAB);
        EXPECT_EQ(Bytes(b), "pq" + filled) << n;
        c.Alloc(2, "pq");
        c.InsMemory(1, n, -0x55);
        EXPECT_EQ(Bytes(c), "p" + filled + "q") << n;
        d.Alloc(2, "pq");
        d.JustMemory(2 + n, 0xAB);
        EXPECT_EQ(Bytes(d), "pq" + filled) << n;
    }
}

TEST(TMemoryBase, InsertionAndRemoval)
{
    struct Case {
        const char* name;
        std::function<unsigned char*(TMemoryBase&)> op;
        std::string expected;
    } cases[] = {
        {"insert copy at 2", [](TMemoryBase& b) { return b.InsMemory(2, 3, "abc"); },
         "01abc23456789"},
        {"insert fill at front", [](TMemoryBase& b) { return b.InsMemory(0, 2, '*'); },
         "**0123456789"},
        {"insert copy at end", [](TMemoryBase& b) { return b.InsMemory(10, 2, "ab"); },
         "0123456789ab"},
        {"insert beyond the end", [](TMemoryBase& b) { return b.InsMemory(15, 3, '#'); }, ""},
        {"cut middle", [](TMemoryBase& b) { return b.CutMemory(3, 2); }, "01256789"},
        {"cut to the end", [](TMemoryBase& b) { return b.CutMemory(2, 100); }, "01"},
        {"cut last", [](TMemoryBase& b) { return b.CutMemory(9, 1); }, "012345678"},
        {"cut beyond", [](TMemoryBase& b) { return b.CutMemory(10, 1); }, "0123456789"},
        {"lose 3", [](TMemoryBase& b) { return b.LosMemory(3); }, "0123456"},
        {"add copy", [](TMemoryBase& b) { return b.AddMemory(2, "ab"); }, "0123456789ab"},
        {"just shrink with fill", [](TMemoryBase& b) { return b.JustMemory(4, '#'); }, "0123"},
        {"just grow with fill", [](TMemoryBase& b) { return b.JustMemory(12, '#'); },
         "0123456789##"},
        {"just shrink", [](TMemoryBase& b) { return b.JustMemory(3); }, "012"},
    };
    for (const Case& c : cases) {
        TMemoryBase block = Block("0123456789");
        unsigned char* data = c.op(block);
        ASSERT_NE(data, nullptr) << c.name;
        EXPECT_EQ(data, static_cast<unsigned char*>(block)) << c.name;
        if (c.expected.empty()) {
            // Gap beyond the end: size + 8, the three bytes at size + 5 filled.
            ASSERT_EQ(block.GetSize(), 18u) << c.name;
            EXPECT_EQ(Bytes(block).substr(0, 10), "0123456789");
            EXPECT_EQ(Bytes(block).substr(15), "###");
        } else {
            EXPECT_EQ(Bytes(block), c.expected) << c.name;
        }
    }
}

TEST(TMemoryBase, SourcesInsideTheBlockSurviveItsMove)
{
    TMemoryBase block = Block("abcdef");
    block += block;
    EXPECT_EQ(Bytes(block), "abcdefabcdef");

    block = Block("abcdef");
    block.InsMemory(2, 4, static_cast<unsigned char*>(block) + 1);
    EXPECT_EQ(Bytes(block), "abbcdecdef");

    block = Block("abcdef");
    block.Alloc(3, static_cast<unsigned char*>(block) + 3);
    EXPECT_EQ(Bytes(block), "def");

    block = Block("abcdef");
    block.AddMemory(3, static_cast<unsigned char*>(block) + 1);
    EXPECT_EQ(Bytes(block), "abcdefbcd");
}

TEST(TMemoryBase, CopyMoveAndSwap)
{
    TMemoryBase a = Block("first");
    TMemoryBase b = Block("second block");
    TMemoryBase copy(b);
    EXPECT_EQ(Bytes(copy), "second block");
    EXPECT_NE(static_cast<unsigned char*>(copy), static_cast<unsigned char*>(b));

    a ^= b;
    EXPECT_EQ(Bytes(a), "second block");
    EXPECT_EQ(Bytes(b), "first");
    a ^= b;
    EXPECT_EQ(Bytes(a), "first");
    EXPECT_EQ(Bytes(b), "second block");

    unsigned char* taken = b;
    a <<= b;
    EXPECT_EQ(static_cast<unsigned char*>(a), taken);
    EXPECT_EQ(Bytes(a), "second block");
    EXPECT_EQ(b.GetSize(), 0u);
    EXPECT_NE(static_cast<unsigned char*>(b), nullptr);
    EXPECT_NE(b.AddMemory(2, "ok"), nullptr);

    a = TMemoryBase();
    EXPECT_EQ(a.GetSize(), 0u);
    a = b;
    a += copy;
    EXPECT_EQ(Bytes(a), "oksecond block");
}

TEST(TMemoryBase, Comparisons)
{
    const TMemoryBase block = Block("abcdef");
    EXPECT_EQ(block.MemComp("abcdef"), 1);
    EXPECT_EQ(block.MemComp("abcdeX"), 0);
    EXPECT_EQ(TMemoryBase().MemComp("x"), 1);
    EXPECT_EQ(block.MemComp(2, "cdef"), 1);
    EXPECT_EQ(block.MemComp(2, "cdeX"), 0);
    EXPECT_EQ(block.MemComp(6, "zzz"), 1);
    EXPECT_EQ(block.MemNComp("abcX", 3), 1);
    EXPECT_EQ(block.MemNComp("aXc", 3), 0);
    EXPECT_EQ(block.MemNComp("zz", 0), 1);
    EXPECT_EQ(block.MemNComp(3, "de", 2), 1);
    EXPECT_EQ(block.MemNComp(3, "dX", 2), 0);
    EXPECT_EQ(block.MemNComp(3, "zz", 0), 1);
    // Ranges past the block or a null pointer compare unequal without reading.
    EXPECT_EQ(block.MemNComp("abcdef\0\0", 8), 0);
    EXPECT_EQ(block.MemNComp(5, "f\0", 2), 0);
    EXPECT_EQ(block.MemNComp(0xFFFFFFF0ul, "f\0", 0x20), 0);
    EXPECT_EQ(block.MemComp(nullptr), 0);

    EXPECT_EQ(TMemoryBase() == TMemoryBase(), 1);
    EXPECT_EQ(Block("abc") == Block("abc"), 1);
    EXPECT_EQ(Block("abc") == Block("abcd"), 0);
    EXPECT_EQ(Block("abcd") != Block("abc"), 1);
    EXPECT_EQ(Block("abc") != Block("abX"), 1);
}

TEST(TMemoryBase, RefusedAllocationLeavesTheBlockAlone)
{
    const std::function<unsigned char*(TMemoryBase&)> ops[] = {
        [](TMemoryBase& b) { return b.Alloc(Refused); },
        [](TMemoryBase& b) { return b.Alloc(Refused, 'x'); },
        [](TMemoryBase& b) { return b.JustMemory(Refused, 'x'); },
        [](TMemoryBase& b) { return b.AddMemory(0x7FFFFFFFul); },
        [](TMemoryBase& b) { return b.AddMemory(0xFFFFFFFFul, 'x'); },
        [](TMemoryBase& b) { return b.InsMemory(4, 0xFFFFFFFFul, 'x'); },
        [](TMemoryBase& b) { return b.InsMemory(0xFFFFFFF0ul, 0x20); },
        [](TMemoryBase& b) { return b.AddMemory(3, nullptr); },
        [](TMemoryBase& b) { return b.InsMemory(1, 3, nullptr); },
        [](TMemoryBase& b) { return b.Alloc(3, static_cast<const void*>(nullptr)); },
    };
    for (size_t i = 0; i < std::size(ops); ++i) {
        TMemoryBase block = Block("0123456789");
        unsigned char* before = block;
        EXPECT_EQ(ops[i](block), nullptr) << "op " << i;
        EXPECT_EQ(static_cast<unsigned char*>(block), before) << "op " << i;
        EXPECT_EQ(Bytes(block), "0123456789") << "op " << i;
    }
}
