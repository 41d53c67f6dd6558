// TDIBitmap: TIMG records and TTEXTURE files (pixels through the TCPS
// compressor), and the dispatch of OpenImageFile.
#include <Inkwell/TDIBitmap.h>

#include "FieldAccess.h"
#include "ImageFile.h"
#include "PixelFormat.h"

#include <Ledgerkit/CompressTMemory.h>

#include <cstring>

namespace {

const unsigned long kRecordHeader = 24;
const unsigned long kPaletteBytes = 1024;
const unsigned long kTextureHeader = 56; // tag, count, one field, 40 skipped bytes
const unsigned long kStreamHeader = 12;  // "TCPS", version, length

bool HasTag(const TMemory& image, unsigned long at, const char* tag)
{
    const unsigned long n = static_cast<unsigned long>(std::strlen(tag));
    return at <= image.GetSize() && image.GetSize() - at >= n &&
           std::memcmp(static_cast<unsigned char*>(image) + at, tag, n) == 0;
}

// Bytes a TCPS stream's tokens produce up to its end token (walked within
// streamBytes; the decoder has already accepted the stream). The decoders
// report success for tokens that stop short of the announced length and do
// not say how far they got, so the loader counts for itself.
uint64_t ProducedBytes(const unsigned char* stream, unsigned long streamBytes)
{
    // Per high nibble: count bytes after the token byte, and unit width (0 = literal).
    static const signed char countBytes[16] = {-1, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 0, 1, 0, 1, -1};
    static const unsigned char width[16] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 4, 4, 0};
    uint64_t produced = 0;
    for (unsigned long p = kStreamHeader; p < streamBytes;) {
        const unsigned token = stream[p++];
        const int kind = token >> 4;
        if (countBytes[kind] < 0 || streamBytes - p < unsigned(countBytes[kind])) break;
        uint64_t count = token & 0xF;
        for (int i = 0; i < countBytes[kind]; ++i)
            count = count << 8 | stream[p++];
        produced += width[kind] ? count * width[kind] : count;
        p += width[kind] ? width[kind] : static_cast<unsigned long>(count);
    }
    return produced;
}

// Expands a TCPS stream of streamBytes into exactly outBytes: a stream that
// announces another length, or whose tokens stop short of it, is refused.
bool ExpandExactly(const unsigned char* stream, unsigned long streamBytes, unsigned char* out,
                   unsigned long outBytes)
{
    return streamBytes >= kStreamHeader && LoadLE32(stream + 8) == outBytes &&
           UnCompressTMemoryTypeA(stream, streamBytes, out, outBytes) &&
           ProducedBytes(stream, streamBytes) == outBytes;
}

// Whether a record's data can hold the pixels its header announces: raw pixels must all be
// there, a stream must announce exactly their number (line bytes rounded up to four bytes).
bool HoldsPixels(const unsigned char* data, unsigned long dataBytes, unsigned long coding,
                 long width, long height, unsigned bytesPerPixel)
{
    if (width <= 0 || height <= 0) return false;
    const uint64_t pixelBytes =
        (static_cast<uint64_t>(width) * bytesPerPixel + 3) / 4 * 4 * static_cast<uint64_t>(height);
    if (coding == 0) return pixelBytes <= dataBytes;
    return dataBytes >= kStreamHeader && LoadLE32(data + 8) == pixelBytes;
}

// The section's colour table, so that GDI draws a palette bitmap in its colours.
void SetColourTable(HBITMAP section, const RGBQUAD* table)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc) return;
    HGDIOBJ old = ::SelectObject(dc, section);
    ::SetDIBColorTable(dc, 0, 256, table);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

} // namespace

int TDIBitmap::_MakeTImageBuffer(TMemory* memory)
{
    if (!memory || !IsUsable()) return 0;
    PaintScope paint(*this);
    if (!paint.Ok()) return 0;
    const unsigned long pixelBytes = static_cast<unsigned long>(m_LineByte * m_Height);
    TMemory stream;
    const unsigned long streamBytes = CompressTMemoryTypeA(m_lpPixel, pixelBytes, stream);
    if (streamBytes == 0) return 0;
    const unsigned long paletteBytes = m_Format == PIXEL_PAL8 ? kPaletteBytes : 0;
    const uint32_t header[6] = {0x474D4954, // "TIMG"
                                static_cast<uint32_t>(kRecordHeader + paletteBytes + streamBytes),
                                static_cast<uint32_t>(m_Format),
                                static_cast<uint32_t>(m_Width),
                                static_cast<uint32_t>(m_Height),
                                1};
    unsigned char palette[kPaletteBytes] = {};
    std::memcpy(palette, static_cast<unsigned char*>(m_Palette),
                m_Palette.GetSize() < kPaletteBytes ? m_Palette.GetSize() : kPaletteBytes);
    return memory->_Write(header, kRecordHeader) == kRecordHeader &&
           memory->_Write(palette, paletteBytes) == paletteBytes &&
           memory->_Write(stream, streamBytes) == streamBytes;
}

int TDIBitmap::_LoadTImageBuffer(TMemory* memory)
{
    DeleteDIBitmap();
    if (!memory || !HasTag(*memory, memory->m_Pos, "TIMG") ||
        memory->GetSize() - memory->m_Pos < kRecordHeader)
        return 0;
    const unsigned char* record = static_cast<unsigned char*>(*memory) + memory->m_Pos;
    const unsigned long available = memory->GetSize() - memory->m_Pos;
    const unsigned long total = LoadLE32(record + 4);
    const unsigned long format = LoadLE32(record + 8);
    const long width = static_cast<int32_t>(LoadLE32(record + 12));
    const long height = static_cast<int32_t>(LoadLE32(record + 16));
    const unsigned long coding = LoadLE32(record + 20);
    const PixelFormat* routines = FindPixelFormat(format);
    const unsigned long paletteBytes = format == PIXEL_PAL8 ? kPaletteBytes : 0;
    // The record must lie inside the block; its pixels inside the record.
    if (!routines || total > available || total < kRecordHeader + paletteBytes ||
        (coding != 0 && coding != 1))
        return 0;
    const unsigned char* data = record + kRecordHeader + paletteBytes;
    const unsigned long dataBytes = total - kRecordHeader - paletteBytes;
    // Before the section is made: a record of a few bytes must not have the pixels of a
    // huge image allocated only to be refused afterwards.
    if (!HoldsPixels(data, dataBytes, coding, width, height, routines->bytes) ||
        !CreateDIBitmap(width, height, routines->bytes * 8))
        return 0;
    SetFormat(format);
    if (paletteBytes) m_Palette.Alloc(kPaletteBytes, record + kRecordHeader);
    const unsigned long pixelBytes = static_cast<unsigned long>(m_LineByte * m_Height);
    bool ok = coding == 1 ? ExpandExactly(data, dataBytes, m_lpPixel, pixelBytes)
                          : dataBytes >= pixelBytes;
    if (ok && coding == 0) std::memcpy(m_lpPixel, data, pixelBytes);
    if (!ok) {
        DeleteDIBitmap();
        return 0;
    }
    if (paletteBytes) SetColourTable(*this, PaletteOf(m_Palette));
    memory->m_Pos += total;
    return 1;
}

int TDIBitmap::_LoadTImage(TMemory& image)
{
    image.m_Pos = 0;
    return _LoadTImageBuffer(&image);
}

int TDIBitmap::_LoadTTexture(TMemory& image)
{
    // One texture record only; the field after the count is not interpreted.
    if (!HasTag(image, 0, "TTEXTURE") || image.GetSize() < kTextureHeader ||
        LoadLE32(static_cast<unsigned char*>(image) + 8) != 1) {
        DeleteDIBitmap();
        return 0;
    }
    image.m_Pos = kTextureHeader;
    return _LoadTImageBuffer(&image);
}

int TDIBitmap::_LoadAnyImage(TMemory& image)
{
    if (HasTag(image, 0, "BM")) return _LoadBitmapImage(image);
    if (HasTag(image, 0, "TIMG")) return _LoadTImage(image);
    if (HasTag(image, 0, "TTEXTURE")) return _LoadTTexture(image);
    DeleteDIBitmap();
    return 0;
}

int TDIBitmap::OpenImageFile(const char* fileName)
{
    return _OpenWith(fileName, &TDIBitmap::_LoadAnyImage);
}

int TDIBitmap::OpenTImageFile(const char* fileName)
{
    return _OpenWith(fileName, &TDIBitmap::_LoadTImage);
}

int TDIBitmap::OpenTTextureFile(const char* fileName)
{
    return _OpenWith(fileName, &TDIBitmap::_LoadTTexture);
}

int TDIBitmap::SaveTImage(const char* fileName)
{
    TMemory image;
    return _MakeTImageBuffer(&image) && WriteImageFile(fileName, image);
}
