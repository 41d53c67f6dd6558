// Connection-list file: image form, atomic save and load.
#include "net/ConnectionListFile.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {
constexpr uint32_t LIST_VERSION = 1;
constexpr unsigned long LIST_HEADER_BYTES = 12;
} // namespace

int WriteListImage(TDestination* const* records, unsigned long count, TMemoryBase& image)
{
    uint32_t words[2] = {LIST_VERSION, static_cast<uint32_t>(count)};
    image.Free();
    image.AddMemory(4, "FNCL");
    image.AddMemory(sizeof(words), words);
    int whole = image.GetSize() == LIST_HEADER_BYTES;
    for (unsigned long i = 0; whole && i < count; ++i)
        whole = records[i]->Write(image);
    return whole;
}

int TListImageReader::Open(const unsigned char* image, unsigned long size)
{
    uint32_t version = 0;
    m_Left = 0;
    if (size < LIST_HEADER_BYTES || memcmp(image, "FNCL", 4) != 0) return 0;
    memcpy(&version, image + 4, 4);
    if (version != LIST_VERSION) return 0;
    memcpy(&m_Left, image + 8, 4);
    m_Whole = m_Left <= MAX_DESTINATIONS;
    if (!m_Whole) m_Left = MAX_DESTINATIONS;
    m_Image = image;
    m_Size = size;
    m_Cursor = LIST_HEADER_BYTES;
    return 1;
}

TDestination* TListImageReader::Next()
{
    if (m_Left == 0) return nullptr;
    --m_Left;
    TDestination* record = new TDestination;
    if (record->Read(m_Image, m_Size, m_Cursor) < 0) {
        delete record;
        m_Left = 0;
        m_Whole = 0;
        return nullptr;
    }
    return record;
}

int ReadListImage(const unsigned char* image, unsigned long size, TMemoryBase& records, int* whole)
{
    TListImageReader reader;
    if (whole) *whole = 0;
    if (!reader.Open(image, size)) return 0;
    int added = 1;
    while (TDestination* record = reader.Next()) {
        if (!records.AddMemory(sizeof(record), &record)) {
            delete record;
            added = 0;
            break;
        }
    }
    if (whole) *whole = added && reader.IsWhole();
    return 1;
}

void KeepDamagedListFile(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.nFileSizeLow == 0 && data.nFileSizeHigh == 0))
        return;
    std::string copy = std::string(path) + ".bad";
    CopyFileA(path, copy.c_str(), FALSE);
}

int LoadFileImage(const char* path, TMemoryBase& image)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    DWORD got = 0;
    int read =
        high == 0 && size != INVALID_FILE_SIZE && image.Alloc(size) &&
        (size == 0 ||
         (ReadFile(file, static_cast<unsigned char*>(image), size, &got, nullptr) && got == size));
    CloseHandle(file);
    return read;
}
