// Spread format: every plain byte becomes eight bytes whose other bits come from a
// shrinking single-precision filler; a trailer of filler bytes checks the whole.
#include "app/TRecordFile.h"

#include "net/ReplaceFile.h"

#include <Keelwork/TMemory.h>

#include <cpuid.h>
#include <cstring>
#include <string>

namespace {
constexpr float SEED_FACTOR = 3.141592f;
constexpr float FILLER_DIVISOR = 2.141592f;
constexpr float FILLER_RESTART = 367.62f;
// Processor word plus four copies of the record count.
constexpr unsigned long HEADER_SIZE = 20;

uint32_t Bits(float value)
{
    uint32_t bits;
    memcpy(&bits, &value, 4);
    return bits;
}

float Shrink(float value)
{
    volatile float quotient = value / FILLER_DIVISOR; // stored back as a single
    return quotient;
}

// The starting filler from the sum of every record data byte.
float SeedFiller(const TMemoryBase* const* records, unsigned long count)
{
    uint32_t sum = 0;
    for (unsigned long i = 0; i < count; ++i) {
        const unsigned char* data = *records[i];
        for (unsigned long k = 0; k < records[i]->GetSize(); ++k)
            sum += data[k];
    }
    volatile float seed = static_cast<float>(sum) * SEED_FACTOR;
    return seed;
}

unsigned long TrailerLength(float seed)
{
    uint64_t n = static_cast<uint64_t>(Bits(seed)) + 1;
    while (n < 256)
        n *= 2;
    while (n > 512)
        n /= 2;
    return static_cast<unsigned long>(n);
}

// The four filler bytes of each trailer round, or none when one of them is zero.
bool NextTrailerWord(float& filler, uint32_t& word)
{
    filler = Shrink(filler);
    word = Bits(filler);
    bool usable = (word & 0xFF) && (word & 0xFF00) && (word & 0xFF0000) && (word & 0xFF000000);
    if (!usable) filler = FILLER_RESTART;
    return usable;
}

struct Spreader {
    TMemory& out;
    float filler;

    void PutByte(unsigned char plain)
    {
        unsigned char spread[8];
        for (int j = 0; j < 8; ++j) {
            unsigned char fill = static_cast<unsigned char>(Bits(filler) >> (8 * (j % 4)));
            unsigned char bit = static_cast<unsigned char>(1u << j);
            spread[j] = static_cast<unsigned char>((fill & ~bit) | (plain & bit));
            if (j % 4 == 3) filler = Shrink(filler);
        }
        out._Write(spread, 8);
    }
    void Put(const void* data, unsigned long size)
    {
        for (unsigned long i = 0; i < size; ++i)
            PutByte(static_cast<const unsigned char*>(data)[i]);
    }
};

// Takes plain bytes back out of the spread bytes; never reads past the image.
struct Gatherer {
    const unsigned char* data;
    unsigned long size;
    unsigned long pos = 0;

    unsigned long PlainLeft() const { return (size - pos) / 8; }
    bool Take(void* out, unsigned long n)
    {
        if (n > PlainLeft()) return false;
        unsigned char* plain = static_cast<unsigned char*>(out);
        for (unsigned long i = 0; i < n; ++i, pos += 8) {
            plain[i] = 0;
            for (int j = 0; j < 8; ++j)
                plain[i] |= data[pos + j] & (1u << j);
        }
        return true;
    }
};

} // namespace

uint32_t ProcessorWord()
{
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return 0;
    return eax;
}

TRecordFile::TRecordFile() {}

TRecordFile::~TRecordFile() { FreeRecords(); }

void TRecordFile::FreeRecords()
{
    for (unsigned long i = 0; i < GetRecordCount(); ++i)
        delete &GetRecord(i);
    m_Records.Free();
}

void TRecordFile::AppendRecord(const void* data, unsigned long size)
{
    TMemoryBase* record = new TMemoryBase;
    record->Alloc(size, data);
    m_Records.AddMemory(sizeof(record), &record);
}

unsigned long TRecordFile::GetRecordCount() const
{
    return m_Records.GetSize() / sizeof(TMemoryBase*);
}

const TMemoryBase& TRecordFile::GetRecord(unsigned long index) const
{
    return *reinterpret_cast<TMemoryBase* const*>(static_cast<unsigned char*>(m_Records))[index];
}

void TRecordFile::Pack()
{
    FreeRecords();
    for (const TString* text : {&m_Name, &m_Password, &m_Reserved}) {
        const char* data = *text;
        AppendRecord(data ? data : "", data ? text->Len() + 1 : 1);
    }
}

int TRecordFile::Unpack()
{
    if (GetRecordCount() < 3) return -1;
    TString* texts[3] = {&m_Name, &m_Password, &m_Reserved};
    for (int i = 0; i < 3; ++i) {
        const TMemoryBase& record = GetRecord(i);
        const char* data = reinterpret_cast<const char*>(static_cast<unsigned char*>(record));
        unsigned long size = record.GetSize();
        const void* zero = size ? memchr(data, 0, size) : nullptr;
        unsigned long length = zero ? static_cast<const char*>(zero) - data : size;
        *texts[i] = TString(std::string(data ? data : "", length).c_str());
    }
    return 3;
}

void TRecordFile::CloseRecordFile() { m_File.CloseFile(); }

int TRecordFile::Save(const TFileName& name)
{
    CloseRecordFile();
    Pack();
    unsigned long count = GetRecordCount();
    const TMemoryBase* const* records =
        reinterpret_cast<TMemoryBase* const*>(static_cast<unsigned char*>(m_Records));
    float seed = SeedFiller(records, count);

    TMemory image;
    Spreader out{image, seed};
    uint32_t word = ProcessorWord();
    out.Put(&word, 4);
    uint32_t count32 = count;
    for (int i = 0; i < 4; ++i)
        out.Put(&count32, 4);
    unsigned long plainSize = HEADER_SIZE;
    for (unsigned long i = 0; i < count; ++i) {
        uint32_t length = records[i]->GetSize();
        out.Put(&length, 4);
        out.Put(static_cast<unsigned char*>(*records[i]), length);
        plainSize += 4 + length;
    }
    for (unsigned long round = 0; round < TrailerLength(seed) / 4; ++round)
        if (NextTrailerWord(out.filler, word)) image._Write(&word, 4);
    if (image.GetSize() < plainSize * 8) return 0; // the image could not grow
    if (!ReplaceFileContents(name, static_cast<unsigned char*>(image), image.GetSize())) return 0;
    Load(name);
    return 1;
}

int TRecordFile::Load(const TFileName& name)
{
    if (!m_File.OpenReadFile(name, GENERIC_READ, 0)) return 0;
    const TMemory& image = m_File;
    Gatherer in{static_cast<unsigned char*>(image), image.GetSize()};

    uint32_t word, counts[4];
    bool valid = in.Take(&word, 4) && in.Take(counts, 16) && counts[0] == counts[1] &&
                 counts[0] == counts[2] && counts[0] == counts[3] &&
                 counts[0] <= in.PlainLeft() / 4;
    FreeRecords();
    unsigned long plainSize = HEADER_SIZE;
    for (uint32_t i = 0; valid && i < counts[0]; ++i) {
        uint32_t length = 0;
        valid = in.Take(&length, 4) && length <= in.PlainLeft();
        if (!valid) break;
        TMemoryBase* record = new TMemoryBase;
        m_Records.AddMemory(sizeof(record), &record);
        valid = record->Alloc(length) != nullptr || length == 0;
        valid = valid && in.Take(static_cast<unsigned char*>(*record), length);
        plainSize += 4 + length;
    }
    if (valid) {
        float filler = SeedFiller(
            reinterpret_cast<TMemoryBase* const*>(static_cast<unsigned char*>(m_Records)),
            GetRecordCount());
        unsigned long rounds = TrailerLength(filler) / 4;
        for (unsigned long i = 0; i < 2 * plainSize; ++i)
            filler = Shrink(filler);
        const unsigned char* trailer = static_cast<unsigned char*>(image) + in.pos;
        unsigned long trailerSize = image.GetSize() - in.pos;
        for (unsigned long round = 0, at = 0; valid && round < rounds; ++round) {
            if (!NextTrailerWord(filler, word)) continue;
            valid = at + 4 <= trailerSize && memcmp(trailer + at, &word, 4) == 0;
            at += 4;
        }
    }
    if (valid) valid = Unpack() >= 0;
    if (!valid) {
        FreeRecords();
        m_File.CloseFile();
        return 0;
    }
    m_File.m_Pos = 0;
    return 1;
}
