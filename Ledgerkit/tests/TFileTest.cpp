// TFileBase and TFile on real files in a temporary folder: the open sequence and its
// hooks, the memory image, and writing back at close.
#include <Ledgerkit/TFile.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr unsigned long ReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr unsigned long ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

std::string Image(const TFile& file)
{
    const unsigned char* data = file;
    return std::string(reinterpret_cast<const char*>(data), file.GetSize());
}

// Records the hooks the open sequence runs, in order.
class HookedFile : public TFileBase {
public:
    std::string calls;

protected:
    void _firopen() override { calls += "firopen "; }
    void _endopen() override { calls += "endopen "; }
    void _firclose() override { calls += "firclose "; }
    void _endclose() override { calls += "endclose "; }
};

TEST(TFileBase, OpenSequenceRunsTheHooksInOrder)
{
    TempFolder folder;
    const std::string path = folder.Write("a.bin", "abc");
    const std::string missing = folder.Path() + "missing.bin";
    HookedFile file;

    EXPECT_EQ(0, file.OpenReadFile(missing.c_str(), GENERIC_READ, ShareAll));
    EXPECT_EQ(nullptr, static_cast<void*>(file));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
    file.CloseFile(); // closed: no close hooks
    EXPECT_EQ("firopen ", file.calls);

    file.calls.clear();
    EXPECT_EQ(1, file.OpenReadFile(path.c_str(), GENERIC_READ, ShareAll));
    EXPECT_NE(nullptr, static_cast<void*>(file));
    EXPECT_EQ(1, file.OpenFile(path.c_str(), ReadWrite, ShareAll)); // closes the first
    file.CloseFile();
    file.CloseFile();
    EXPECT_EQ("firopen endopen firclose endclose firopen endopen firclose endclose ", file.calls);
    EXPECT_EQ(0, file.OpenFile(nullptr, ReadWrite, ShareAll));
}

TEST(TFileBase, ReadWriteAndSeekOnOpenAndClosedFiles)
{
    TempFolder folder;
    const std::string path = folder.Path() + "seek.bin";
    TFileBase file;
    char buffer[16] = {};
    void* p = buffer;
    long high = 7;
    EXPECT_EQ(0ul, file._Read(p, 4));
    EXPECT_EQ(0ul, file._Write(p, 4));
    EXPECT_EQ(0ul, file.GetFilePointer(&high));
    EXPECT_EQ(0ul, file.SetFilePointer(3, nullptr));
    EXPECT_EQ(0ul, file.MoveFilePointer(3, nullptr));

    ASSERT_EQ(1, file.CreateFileA(path.c_str(), ReadWrite, ShareAll));
    void* text = const_cast<char*>("0123456789");
    EXPECT_EQ(10ul, file._Write(text, 10));
    EXPECT_EQ(10ul, file.GetFilePointer(&high));
    EXPECT_EQ(0, high);
    EXPECT_EQ(2ul, file.SetFilePointer(2, nullptr));
    EXPECT_EQ(5ul, file.MoveFilePointer(3, nullptr));
    EXPECT_EQ(4ul, file._Read(p, 4));
    EXPECT_EQ(0, std::memcmp(buffer, "5678", 4));
    EXPECT_EQ(1ul, file._Read(p, 4)); // short at the end
    file.CloseFile();
    EXPECT_EQ("0123456789", folder.Read("seek.bin"));
}

TEST(TFileBase, CopyOwnsADuplicateOfTheHandle)
{
    TempFolder folder;
    const std::string path = folder.Write("dup.bin", "hello");
    char buffer[8] = {};
    void* p = buffer;
    TFileBase copy = [&] {
        TFileBase original;
        original.OpenReadFile(path.c_str(), GENERIC_READ, ShareAll);
        return TFileBase(original);
    }(); // the original closed its own handle here
    ASSERT_NE(nullptr, static_cast<void*>(copy));
    EXPECT_EQ(5ul, copy._Read(p, 8));
    EXPECT_STREQ("hello", buffer);
}

TEST(TFile, ImageIsReadAtOpenAndWrittenAtCloseOnlyWithWriteAccess)
{
    TempFolder folder;
    const std::string path = folder.Write("image.txt", "original text");

    TFile reader;
    ASSERT_EQ(1, reader.OpenReadFile(path.c_str(), GENERIC_READ, ShareAll));
    EXPECT_EQ("original text", Image(reader));
    EXPECT_EQ(0ul, reader.m_Pos);
    EXPECT_EQ(4ul, reader._Write("EDIT", 4)); // the image, not the file
    reader.CloseFile();
    EXPECT_EQ(0ul, reader.GetSize());
    EXPECT_EQ("original text", folder.Read("image.txt"));

    TFile writer;
    ASSERT_EQ(1, writer.OpenFile(path.c_str(), ReadWrite, ShareAll));
    writer._Write("EDIT", 4);
    EXPECT_EQ("original text", folder.Read("image.txt")); // nothing before the close
    writer.JustMemory(6);                                 // a shorter image
    writer.CloseFile();
    EXPECT_EQ("EDITinal text", folder.Read("image.txt")); // not shortened
}

TEST(TFile, CreatedFileHoldsExactlyTheBytesWritten)
{
    TempFolder folder;
    const std::string path = folder.Write("new.bin", "old contents that vanish");
    {
        TFile file;
        ASSERT_EQ(1, file.CreateFileA(path.c_str(), ReadWrite, ShareAll)); // truncates
        EXPECT_EQ(0ul, file.GetSize());
        char buffer[4];
        EXPECT_EQ(0ul, file._Read(buffer, 4));
        EXPECT_EQ(10ul, file._Write("0123456789", 10));
    } // the destructor closes and writes
    EXPECT_EQ("0123456789", folder.Read("new.bin"));

    TFile created; // OpenFile makes a missing file, empty
    ASSERT_EQ(1, created.OpenFile((folder.Path() + "made.bin").c_str(), ReadWrite, ShareAll));
    EXPECT_EQ(0ul, created.GetSize());
    created.CloseFile();
    EXPECT_EQ("", folder.Read("made.bin"));
}

TEST(TFile, OpeningAgainWritesBackTheFirstFile)
{
    TempFolder folder;
    const std::string first = folder.Write("first.txt", "aaaa");
    const std::string second = folder.Write("second.txt", "bbbb");
    TFile file;
    ASSERT_EQ(1, file.OpenFile(first.c_str(), ReadWrite, ShareAll));
    file._Write("XY", 2);
    ASSERT_EQ(1, file.OpenReadFile(second.c_str(), GENERIC_READ, ShareAll));
    EXPECT_EQ("XYaa", folder.Read("first.txt"));
    EXPECT_EQ("bbbb", Image(file));
    EXPECT_EQ(0ul, file.m_Pos);

    // A failed open still closes (and writes) the file that was open, and leaves it closed.
    ASSERT_EQ(1, file.OpenFile(first.c_str(), ReadWrite, ShareAll));
    file.m_Pos = 2;
    file._Write("ZZ", 2);
    EXPECT_EQ(0, file.OpenReadFile((folder.Path() + "none").c_str(), GENERIC_READ, ShareAll));
    EXPECT_EQ("XYZZ", folder.Read("first.txt"));
    EXPECT_EQ(nullptr, static_cast<void*>(static_cast<TFileBase&>(file)));
    EXPECT_EQ(0ul, file.GetSize());
}

TEST(TFile, TypeWordsOfTheFileClasses)
{
    TFileBase base;
    TFile file;
    EXPECT_EQ(0x01000020u, base.GetClassWord());
    EXPECT_EQ(0x01000021u, file.GetClassWord());
}

} // namespace
