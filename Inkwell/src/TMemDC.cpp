// TMemDC: memory contexts and drawing into their selected bitmap.
#include <Inkwell/TMemDC.h>

TMemDC::TMemDC() { m_ClassType = INKWELL_CLASS_MEMDC; }

TMemDC::~TMemDC() { DeleteDC(); }

int TMemDC::CreateDCA()
{
    DeleteDC();
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc) return 0;
    _Attach(dc, nullptr);
    return 1;
}

int TMemDC::CreateDCA(long width, long height, int bitsPerPixel)
{
    if (!CreateDCA()) return 0;
    TDIBitmap* bitmap = new TDIBitmap;
    int ok = bitmap->CreateDIBitmap(width, height, bitsPerPixel) && SelectObject(bitmap);
    // The context keeps the only reference (or the bitmap dies here on failure).
    bitmap->Release();
    return ok;
}

void TMemDC::DeleteDC()
{
    HDC dc = m_hDC;
    _RestoreObjects();
    if (dc) ::DeleteDC(dc);
    _Clear();
}

TDIBitmap* TMemDC::LookImgeObject() const { return static_cast<TDIBitmap*>(m_Object[TDC_BITMAP]); }

int TMemDC::BitBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                   unsigned long mode)
{
    TDIBitmap* bitmap = LookImgeObject();
    return bitmap ? bitmap->BitBlt(x, y, width, height, source, sx, sy, mode) : 0;
}

int TMemDC::BitAlphaBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                        unsigned short alpha)
{
    TDIBitmap* bitmap = LookImgeObject();
    return bitmap ? bitmap->BitAlphaBlt(x, y, width, height, source, sx, sy, alpha) : 0;
}

int TMemDC::StretchBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                       int sWidth, int sHeight, unsigned long mode)
{
    TDIBitmap* bitmap = LookImgeObject();
    return bitmap ? bitmap->StretchBlt(x, y, width, height, source, sx, sy, sWidth, sHeight, mode)
                  : 0;
}

int TMemDC::StretchAlphaBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                            int sWidth, int sHeight, unsigned short alpha)
{
    TDIBitmap* bitmap = LookImgeObject();
    return bitmap ? bitmap->StretchAlphaBlt(x, y, width, height, source, sx, sy, sWidth, sHeight,
                                            alpha)
                  : 0;
}

tagRGBQUAD TMemDC::GetPixel(int x, int y)
{
    TDIBitmap* bitmap = LookImgeObject();
    return bitmap ? bitmap->GetPixel(x, y) : tagRGBQUAD{0, 0, 0, 0};
}

int TMemDC::SetPixel(int x, int y, const tagRGBQUAD& quad)
{
    TDIBitmap* bitmap = LookImgeObject();
    return bitmap ? bitmap->SetPixel(x, y, quad) : 0;
}
