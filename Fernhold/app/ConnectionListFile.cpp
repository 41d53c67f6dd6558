// Connection-list file: image form, atomic save and load.
#include "app/ConnectionListFile.h"

#include "app/ReplaceFile.h"

#include <cstring>

namespace {
constexpr uint32_t LIST_VERSION = 1;
constexpr unsigned long LIST_HEADER_BYTES = 12;
} // namespace

void WriteListImage(TDestination* const* records, unsigned long count, TMemoryBase& image)
{
    uint32_t words[2] = {LIST_VERSION, static_cast<uint32_t>(count)};
    image.Free();
    image.AddMemory(4, "FNCL");
    image.AddMemory(sizeof(words), words);
    for (unsigned long i = 0; i < count; ++i)
        records[i]->Write(image);
}

int ReadListImage(const unsigned char* image, unsigned long size, TMemoryBase& records)
{
    uint32_t version = 0, count = 0;
    if (size < LIST_HEADER_BYTES || memcmp(image, "FNCL", 4) != 0) return 0;
    memcpy(&version, image + 4, 4);
    memcpy(&count, image + 8, 4);
    if (version != LIST_VERSION) return 0;
    unsigned long cursor = LIST_HEADER_BYTES;
    for (uint32_t i = 0; i < count; ++i) {
        TDestination* record = new TDestination;
        if (record->Read(image, size, cursor) < 0 || !records.AddMemory(sizeof(record), &record)) {
            delete record;
            break;
        }
    }
    return 1;
}

int SaveListFile(const char* path, const TMemoryBase& records)
{
    TMemoryBase image;
    WriteListImage(reinterpret_cast<TDestination* const*>(static_cast<unsigned char*>(records)),
                   records.GetSize() / sizeof(TDestination*), image);
    return ReplaceFileContents(path, static_cast<unsigned char*>(image), image.GetSize());
}

int LoadListFile(const char* path, TMemoryBase& records)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    TMemoryBase image;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    DWORD got = 0;
    int read =
        high == 0 && size != INVALID_FILE_SIZE && image.Alloc(size) &&
        (size == 0 ||
         (ReadFile(file, static_cast<unsigned char*>(image), size, &got, nullptr) && got == size));
    CloseHandle(file);
    return read && ReadListImage(static_cast<unsigned char*>(image), image.GetSize(), records);
}
