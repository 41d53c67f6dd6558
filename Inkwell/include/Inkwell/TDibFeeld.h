// Pixel field: a rectangle of pixels in one of fourteen formats, with the copy,
// blend and stretch operations the whole user interface is drawn with.
#pragma once

#include <Inkwell/InkwellApi.h>
#include <Inkwell/InkwellCodes.h>
#include <Keelwork/TMemoryBase.h>

#include <windows.h>

struct PixelFormat;

// Every drawing operation returns 1 if it drew and 0 if it did nothing, and
// brackets its work with BeginPaint/EndPaint on each field it touches. A field
// is used by one thread at a time.
class INKWELL_API TDibFeeld {
public:
    TDibFeeld();
    // The copy shares the pixels (it does not own them) and copies the palette.
    TDibFeeld(const TDibFeeld& other);
    TDibFeeld& operator=(const TDibFeeld& other);
    virtual ~TDibFeeld();

    // Nonzero when the pixels may be touched now.
    virtual int BeginPaint() = 0;
    virtual void EndPaint() = 0;

    long GetWidth() const { return m_Width; }
    long GetHeight() const { return m_Height; }
    // Bits per pixel.
    int GetBPP() const { return static_cast<int>(m_Format >> 24) * 8; }
    long GetLineByte() const { return m_LineByte; }
    unsigned long GetFormat() const { return m_Format; }
    unsigned char* GetLpPixel() const { return m_lpPixel; }
    // Number of alpha bits of the format.
    int IsAlphaPixel() const { return static_cast<int>((m_Format >> 16) & 0xFF); }

    // Outside the field, on an unusable field or when painting fails: all zero.
    tagRGBQUAD GetPixel(int x, int y);
    // Writes through the format's write routine; 1 if written.
    int SetPixel(int x, int y, const tagRGBQUAD& quad);
    // count entries in the system layout (red, green, blue, flags 0); entries
    // beyond the palette are zero; 0 if the palette is empty.
    int GetPaletteEntry(short count, PALETTEENTRY* entries) const;

    // Mode 1 copies, mode 2 treats black as transparent, other modes copy nothing.
    int BitBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
               unsigned long mode);
    int BitBlt(const RECT& destination, TDibFeeld* source, int sx, int sy, unsigned long mode);
    // alpha 0 to 256; 256 weighs each source pixel by its own alpha.
    int BitAlphaBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                    unsigned short alpha);
    int BitAlphaBlt(const RECT& destination, TDibFeeld* source, int sx, int sy,
                    unsigned short alpha);
    // Nearest-pixel scaling in 16.16 steps.
    int StretchBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                   int sWidth, int sHeight, unsigned long mode);
    int StretchBlt(const RECT& destination, TDibFeeld* source, const RECT& sourceRect,
                   unsigned long mode);
    int StretchAlphaBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                        int sWidth, int sHeight, unsigned short alpha);
    int StretchAlphaBlt(const RECT& destination, TDibFeeld* source, const RECT& sourceRect,
                        unsigned short alpha);

    // Loads an image and makes its brightness this field's alpha (white opaque).
    int OpenMaskBitmap(const char* fileName);

protected:
    // Rebuilds the routines for m_Format; an unknown code leaves none.
    void _InitPixelFormat();
    // Usable for pixel work: routines known and not marked unusable.
    bool IsUsable() const;

    unsigned long m_Format;
    unsigned char* m_lpPixel;
    TMemoryBase m_Palette; // 4-byte entries: blue, green, red, reserved
    long m_Width;
    long m_Height;
    long m_LineByte;
    const PixelFormat* m_Routines;

private:
    int Blit(long x, long y, long width, long height, TDibFeeld* source, long sx, long sy, int op,
             unsigned alpha);
    int Stretch(long x, long y, long width, long height, TDibFeeld* source, long sx, long sy,
                long sWidth, long sHeight, int op, unsigned alpha);
    bool CanTakeFrom(const TDibFeeld* source) const;
};
