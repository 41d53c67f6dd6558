// The cursor of TMemory: short reads at the end, writes that grow the block,
// and writes refused without touching the block.
#include <Keelwork/TMemory.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
std::string Bytes(const TMemory& block)
{
    return std::string(reinterpret_cast<const char*>(static_cast<unsigned char*>(block)),
                       block.GetSize());
}
} // namespace

TEST(TMemory, WriteThenRewindAndRead)
{
    TMemory memory;
    EXPECT_EQ(memory.m_Pos, 0u);
    EXPECT_EQ(memory._Write("hello", 5), 5u);
    EXPECT_EQ(memory._Write(" world", 6), 6u);
    EXPECT_EQ(memory.m_Pos, 11u);
    EXPECT_EQ(Bytes(memory), "hello world");

    memory.m_Pos = 6;
    EXPECT_EQ(memory._Write("W", 1), 1u);
    EXPECT_EQ(Bytes(memory), "hello World");

    memory.m_Pos = 0;
    char buffer[16] = {};
    EXPECT_EQ(memory._Read(buffer, 5), 5u);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    // Near the end the read is short; at the end it reads nothing and stays put.
    EXPECT_EQ(memory._Read(buffer, 16), 6u);
    EXPECT_EQ(std::string(buffer, 6), " World");
    EXPECT_EQ(memory.m_Pos, 11u);
    EXPECT_EQ(memory._Read(buffer, 4), 0u);
    EXPECT_EQ(memory.m_Pos, 11u);
    memory.m_Pos = 50;
    EXPECT_EQ(memory._Read(buffer, 4), 0u);
    EXPECT_EQ(memory.m_Pos, 50u);
}

TEST(TMemory, WriteBeyondTheEndGrowsToCursorPlusCount)
{
    TMemory memory;
    memory._Write("ab", 2);
    memory.m_Pos = 7;
    EXPECT_EQ(memory._Write("xyz", 3), 3u);
    EXPECT_EQ(memory.GetSize(), 10u);
    EXPECT_EQ(Bytes(memory).substr(0, 2), "ab");
    EXPECT_EQ(Bytes(memory).substr(7), "xyz");
}

TEST(TMemory, WriteFromItsOwnBlockWhileGrowing)
{
    TMemory memory;
    memory._Write("abcd", 4);
    EXPECT_EQ(memory._Write(static_cast<unsigned char*>(memory), 4), 4u);
    EXPECT_EQ(Bytes(memory), "abcdabcd");
}

TEST(TMemory, RefusedWritesChangeNothing)
{
    struct Case {
        unsigned long pos;
        const void* source;
        unsigned long count;
    } cases[] = {
        {0x7FFFFFF0ul, "abc", 0x20}, // the block would pass the largest size
        {0xFFFFFFF0ul, "abc", 0x20}, // cursor + count would wrap
        {2, nullptr, 3},
        {2, "abc", 0},
    };
    for (const Case& c : cases) {
        TMemory memory;
        memory._Write("0123", 4);
        unsigned char* before = memory;
        memory.m_Pos = c.pos;
        EXPECT_EQ(memory._Write(c.source, c.count), 0u) << c.pos;
        EXPECT_EQ(memory.m_Pos, c.pos);
        EXPECT_EQ(static_cast<unsigned char*>(memory), before);
        EXPECT_EQ(Bytes(memory), "0123");
    }
    TMemory memory;
    memory._Write("0123", 4);
    memory.m_Pos = 0;
    EXPECT_EQ(memory._Read(nullptr, 2), 0u);
    EXPECT_EQ(memory.m_Pos, 0u);
}

TEST(TMemory, CopiesTakeTheBytesAndTheCursor)
{
    TMemory memory;
    memory._Write("data", 4);
    memory.m_Pos = 1;
    TMemory copy(memory);
    EXPECT_EQ(Bytes(copy), "data");
    EXPECT_EQ(copy.m_Pos, 1u);
    EXPECT_EQ(copy.GetClassWord(), 0x11u);
    TMemory assigned;
    assigned = memory;
    EXPECT_EQ(Bytes(assigned), "data");
    EXPECT_EQ(assigned.m_Pos, 1u);
}
