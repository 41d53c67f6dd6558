// TDIBitmap: the DIB section behind a pixel field, its creation and format change.
#include <Inkwell/TDIBitmap.h>

#include "DibSection.h"
#include "PixelFormat.h"

#include <cstring>

namespace {

// The system palette in quad order; a display without a palette has none, so
// the default palette's twenty static colours stand in (white at 255).
void SystemColourTable(RGBQUAD* table)
{
    PALETTEENTRY entries[256] = {};
    HDC screen = ::GetDC(::GetDesktopWindow());
    UINT got = screen ? ::GetSystemPaletteEntries(screen, 0, 256, entries) : 0;
    if (screen) ::ReleaseDC(::GetDesktopWindow(), screen);
    if (got < 256) {
        PALETTEENTRY statics[20] = {};
        ::GetPaletteEntries(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), 0, 20,
                            statics);
        std::memset(entries, 0, sizeof entries);
        std::memcpy(entries, statics, 10 * sizeof(PALETTEENTRY));
        std::memcpy(entries + 246, statics + 10, 10 * sizeof(PALETTEENTRY));
    }
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
}

unsigned long FormatOfBits(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 8:
        return PIXEL_PAL8;
    case 16:
        return PIXEL_X1R5G5B5;
    case 24:
        return PIXEL_BGR24;
    case 32:
        return PIXEL_BGRA32;
    default:
        return 0;
    }
}

} // namespace

TDIBitmap::TDIBitmap() { m_ClassType = INKWELL_CLASS_DIBITMAP; }

TDIBitmap::~TDIBitmap() { DeleteDIBitmap(); }

int TDIBitmap::BeginPaint()
{
    if (!m_hObject) return 0;
    // GDI may still hold drawing into the section in its batch.
    ::GdiFlush();
    return 1;
}

void TDIBitmap::EndPaint() {}

void TDIBitmap::SetFormat(unsigned long format)
{
    m_Format = format;
    _InitPixelFormat();
}

int TDIBitmap::CreateDIBitmap(long width, long height, int bitsPerPixel)
{
    DeleteDIBitmap();
    if (bitsPerPixel < 8) bitsPerPixel = 8;
    RGBQUAD table[256];
    if (bitsPerPixel == 8) SystemColourTable(table);
    DibSection section;
    if (!FormatOfBits(bitsPerPixel) ||
        !section.Create(width, height, bitsPerPixel, bitsPerPixel == 8 ? table : nullptr))
        return 0;
    std::memset(section.bits, 0xFF, section.imageBytes);
    m_hObject = section.handle;
    m_lpPixel = section.bits;
    m_Width = width;
    m_Height = height;
    m_LineByte = section.lineBytes;
    if (bitsPerPixel == 8) m_Palette.Alloc(sizeof table, table);
    SetFormat(FormatOfBits(bitsPerPixel));
    _Refresh();
    return 1;
}

void TDIBitmap::DeleteDIBitmap()
{
    _DeleteObject();
    m_Format = 0;
    m_lpPixel = nullptr;
    m_Width = m_Height = m_LineByte = 0;
    m_Palette.Free();
    m_Routines = nullptr;
}

int TDIBitmap::ChangeFormat(unsigned long format)
{
    if (!m_hObject || format == PIXEL_PAL8 || format == m_Format || !FindPixelFormat(format))
        return 0;
    TDIBitmap* converted = new TDIBitmap;
    if (!converted->CreateDIBitmap(m_Width, m_Height, static_cast<int>(format >> 24) * 8)) {
        converted->Release();
        return 0;
    }
    converted->SetFormat(format);
    converted->BitBlt(0, 0, m_Width, m_Height, this, 0, 0, 1);
    // Take over the converted section instead of copying it back: the picture
    // is never lost half-way, and every context gets the new section.
    _DeleteObject();
    m_hObject = converted->m_hObject;
    m_lpPixel = converted->m_lpPixel;
    m_LineByte = converted->m_LineByte;
    m_Palette <<= converted->m_Palette;
    SetFormat(format);
    converted->m_hObject = nullptr;
    converted->Release();
    _Refresh();
    return 1;
}
