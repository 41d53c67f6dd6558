// TDIBitmap: Windows bitmap files and resources, read and written.
#include <Inkwell/TDIBitmap.h>

#include "DibSection.h"
#include "FieldAccess.h"
#include "ImageFile.h"

#include <cstring>

namespace {

const unsigned long kFileHeaderBytes = 14;
const unsigned long kInfoHeaderBytes = 40;

// Palette entry k of a run from colour a toward colour b over steps entries,
// rounded down; entry 0 is a and entry steps is b.
RGBQUAD Between(const RGBQUAD& a, const RGBQUAD& b, int k, int steps)
{
    auto mix = [k, steps](int x, int y) {
        return static_cast<BYTE>((x * (steps - k) + y * k) / steps);
    };
    return RGBQUAD{mix(a.rgbBlue, b.rgbBlue), mix(a.rgbGreen, b.rgbGreen), mix(a.rgbRed, b.rgbRed),
                   0};
}

// The 256-entry table and the index of each source value for 1 and 4 bits.
void SpreadTable(const RGBQUAD* colours, int bits, RGBQUAD* table, int& indexStep)
{
    if (bits == 1) {
        // Indices 0 and 255, the colours exactly at both ends.
        for (int k = 0; k < 256; ++k)
            table[k] = Between(colours[0], colours[1], k, 255);
        indexStep = 255;
        return;
    }
    // Each of the 16 colours leads a run of 16 toward the next; the last run is flat.
    for (int n = 0; n < 16; ++n)
        for (int j = 0; j < 16; ++j)
            table[n * 16 + j] = Between(colours[n], colours[n < 15 ? n + 1 : n], j, 16);
    indexStep = 16;
}

} // namespace

int TDIBitmap::_MakeDIB(const unsigned char* info, unsigned long bytes)
{
    DeleteDIBitmap();
    if (bytes < kInfoHeaderBytes || LoadLE32(info) != kInfoHeaderBytes) return 0;
    const int64_t width = static_cast<int32_t>(LoadLE32(info + 4));
    const int64_t storedHeight = static_cast<int32_t>(LoadLE32(info + 8));
    const int bits = info[14] | info[15] << 8;
    const uint32_t compression = LoadLE32(info + 16);
    const uint32_t coloursUsed = LoadLE32(info + 32);
    const int64_t height = storedHeight < 0 ? -storedHeight : storedHeight;
    // Only rows that follow the header and a full table are read.
    if (compression != BI_RGB) return 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
    const unsigned long tableEntries = bits <= 8 ? 1ul << bits : 0;
    if (bits <= 8 && coloursUsed != 0 && coloursUsed != tableEntries) return 0;
    int64_t lineBytes = 0, imageBytes = 0, outLine = 0, outImage = 0;
    if (!DibImageSize(width, height, bits, lineBytes, imageBytes) ||
        !DibImageSize(width, height, bits < 8 ? 8 : bits, outLine, outImage))
        return 0;
    const unsigned char* table = info + kInfoHeaderBytes;
    const unsigned char* rows = table + tableEntries * 4;
    if (static_cast<int64_t>(bytes) < kInfoHeaderBytes + tableEntries * 4 + imageBytes) return 0;

    RGBQUAD colours[256] = {};
    int indexStep = 1;
    if (bits == 8)
        std::memcpy(colours, table, sizeof colours);
    else if (bits < 8)
        SpreadTable(reinterpret_cast<const RGBQUAD*>(table), bits, colours, indexStep);
    DibSection section;
    if (!section.Create(static_cast<long>(width), static_cast<long>(height), bits < 8 ? 8 : bits,
                        colours))
        return 0;
    for (int64_t y = 0; y < height; ++y) {
        // Bottom-up files store the last row first.
        const unsigned char* src = rows + (storedHeight > 0 ? height - 1 - y : y) * lineBytes;
        uint8_t* dst = section.bits + y * outLine;
        if (bits >= 8) {
            std::memcpy(dst, src, static_cast<size_t>(lineBytes));
            continue;
        }
        const int perByte = 8 / bits, mask = (1 << bits) - 1;
        for (int64_t x = 0; x < width; ++x) {
            int shift = 8 - bits * (1 + static_cast<int>(x % perByte));
            dst[x] = static_cast<uint8_t>(((src[x / perByte] >> shift) & mask) * indexStep);
        }
    }
    m_hObject = section.handle;
    m_lpPixel = section.bits;
    m_Width = static_cast<long>(width);
    m_Height = static_cast<long>(height);
    m_LineByte = section.lineBytes;
    if (bits <= 8) m_Palette.Alloc(sizeof colours, colours);
    SetFormat(bits <= 8    ? PIXEL_PAL8
              : bits == 16 ? PIXEL_X1R5G5B5
              : bits == 24 ? PIXEL_BGR24
                           : PIXEL_BGRA32);
    _Refresh();
    return 1;
}

int TDIBitmap::_LoadBitmapImage(TMemory& image)
{
    const unsigned char* p = image;
    const unsigned long size = image.GetSize();
    if (size < kFileHeaderBytes || p[0] != 'B' || p[1] != 'M') {
        DeleteDIBitmap();
        return 0;
    }
    return _MakeDIB(p + kFileHeaderBytes, size - kFileHeaderBytes);
}

int TDIBitmap::_OpenWith(const char* fileName, int (TDIBitmap::*loader)(TMemory&))
{
    TMemory image;
    if (!ReadImageFile(fileName, image)) {
        DeleteDIBitmap();
        return 0;
    }
    return (this->*loader)(image);
}

int TDIBitmap::OpenBitmapFile(const char* fileName)
{
    return _OpenWith(fileName, &TDIBitmap::_LoadBitmapImage);
}

int TDIBitmap::OpenBitmapFile(unsigned long resourceId)
{
    DeleteDIBitmap();
    HMODULE module = TobjectBase::m_hInst;
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return 0;
    return _MakeDIB(static_cast<const unsigned char*>(data), ::SizeofResource(module, found));
}

int TDIBitmap::SaveDIBitmap(const char* fileName)
{
    if (!IsUsable()) return 0;
    // Stored as a layout every reader knows: palette, X1R5G5B5 and BGR24 as
    // they are, formats with alpha as 32-bit BGRA, the rest as 24-bit BGR.
    unsigned long target = IsAlphaPixel() ? PIXEL_BGRA32 : PIXEL_BGR24;
    if (m_Format == PIXEL_PAL8 || m_Format == PIXEL_X1R5G5B5 || m_Format == PIXEL_BGR24)
        target = m_Format;
    const int bits = static_cast<int>(target >> 24) * 8;
    int64_t lineBytes = 0, imageBytes = 0;
    if (!DibImageSize(m_Width, m_Height, bits, lineBytes, imageBytes)) return 0;
    const unsigned long paletteBytes = target == PIXEL_PAL8 ? m_Palette.GetSize() / 4 * 4 : 0;
    const unsigned long offset = kFileHeaderBytes + kInfoHeaderBytes + paletteBytes;
    TMemory out;
    if (!out.Alloc(static_cast<unsigned long>(offset + imageBytes), 0)) return 0;
    unsigned char* p = out;
    auto put32 = [](unsigned char* at, uint32_t v) { std::memcpy(at, &v, 4); };
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<uint32_t>(offset + imageBytes));
    put32(p + 10, offset);
    unsigned char* info = p + kFileHeaderBytes;
    put32(info, kInfoHeaderBytes);
    put32(info + 4, static_cast<uint32_t>(m_Width));
    put32(info + 8, static_cast<uint32_t>(m_Height)); // positive: rows bottom-up
    info[12] = 1;
    info[14] = static_cast<unsigned char>(bits);
    put32(info + 20, static_cast<uint32_t>(imageBytes));
    put32(info + 24, 2834);
    put32(info + 28, 2834);
    put32(info + 32, paletteBytes / 4);
    std::memcpy(info + kInfoHeaderBytes, static_cast<unsigned char*>(m_Palette), paletteBytes);
    PaintScope paint(*this);
    RowBlitter rows;
    if (!paint.Ok() ||
        !rows.Prepare(*m_Routines, *FindPixelFormat(target), PaletteOf(m_Palette),
                      PaletteCount(m_Palette), BLIT_COPY, 0, static_cast<int>(m_Width)))
        return 0;
    for (int64_t y = 0; y < m_Height; ++y)
        rows.Run(m_lpPixel + y * m_LineByte, p + offset + (m_Height - 1 - y) * lineBytes);
    return WriteImageFile(fileName, out) ? 1 : 0;
}
