// Off-screen memory context that draws in software into its selected TDIBitmap.
#pragma once

#include <Inkwell/TDC.h>
#include <Inkwell/TDIBitmap.h>

// A context created with a size owns its bitmap: the bitmap dies with DeleteDC.
class INKWELL_API TMemDC : public TDC {
public:
    TMemDC();
    ~TMemDC() override;

    // A memory context compatible with the screen; 1 / 0.
    int CreateDCA();
    // The same with a new white bitmap selected, which the context alone holds; 1 / 0.
    int CreateDCA(long width, long height, int bitsPerPixel);
    // Restores the initial objects (releasing the bitmap) and deletes the context.
    void DeleteDC();

    // TDibFeeld operations with the selected bitmap as destination; 0 without one.
    int BitBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
               unsigned long mode);
    int BitAlphaBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                    unsigned short alpha);
    int StretchBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                   int sWidth, int sHeight, unsigned long mode);
    int StretchAlphaBlt(int x, int y, int width, int height, TDibFeeld* source, int sx, int sy,
                        int sWidth, int sHeight, unsigned short alpha);
    // All zero without a bitmap.
    tagRGBQUAD GetPixel(int x, int y);
    int SetPixel(int x, int y, const tagRGBQUAD& quad);

    // The selected bitmap, without a reference.
    TDIBitmap* LookImgeObject() const;
};
