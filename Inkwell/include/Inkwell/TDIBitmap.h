// A pixel field held in a DIB section, selectable into device contexts and
// loadable from bitmap files, resources, TIMG records and texture files.
#pragma once

#include <Inkwell/TDibFeeld.h>
#include <Inkwell/TGdiObject.h>

class TMemory;

// Reference-counted like every GDI object; copies are refused because the
// section has one owner (share the object with AddRef instead). Loaders
// delete the previous section first, so a failed load leaves an empty bitmap.
class INKWELL_API TDIBitmap : public TGdiObject, public TDibFeeld {
public:
    TDIBitmap();
    TDIBitmap(const TDIBitmap&) = delete;
    TDIBitmap& operator=(const TDIBitmap&) = delete;
    ~TDIBitmap() override;

    // Nonzero exactly when the section exists (pending GDI drawing is flushed).
    int BeginPaint() override;
    void EndPaint() override;

    // A new white top-down section of 8 (also for fewer), 16, 24 or 32 bits; 1 / 0.
    int CreateDIBitmap(long width, long height, int bitsPerPixel);
    // Puts every context back on its initial bitmap and deletes the section.
    void DeleteDIBitmap();
    // Converts the pixels to another format of the same size; 1 / 0.
    int ChangeFormat(unsigned long format);

    // Dispatch on the first bytes: "BM", "TIMG" or "TTEXTURE".
    int OpenImageFile(const char* fileName);
    int OpenBitmapFile(const char* fileName);
    // Bitmap resource (type 2) of the application module.
    int OpenBitmapFile(unsigned long resourceId);
    int OpenTImageFile(const char* fileName);
    int OpenTTextureFile(const char* fileName);
    // Writes a TIMG record, always compressed.
    int SaveTImage(const char* fileName);
    // Writes a bottom-up Windows bitmap file.
    int SaveDIBitmap(const char* fileName);

    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

protected:
    // Writes or reads a TIMG record at the block's cursor; 1 / 0.
    int _MakeTImageBuffer(TMemory* memory);
    int _LoadTImageBuffer(TMemory* memory);
    // Builds the bitmap from a bitmap-file image: info header at info, the
    // whole image bytes long; 1 / 0.
    int _MakeDIB(const unsigned char* info, unsigned long bytes);

private:
    // Loaders of whole file images: a Windows bitmap file, a TIMG record file
    // and a TTEXTURE file; each deletes the previous section first.
    int _LoadBitmapImage(TMemory& image);
    int _LoadTImage(TMemory& image);
    int _LoadTTexture(TMemory& image);
    // Any of the three, by the image's first bytes.
    int _LoadAnyImage(TMemory& image);
    // Reads the whole file and hands it to the loader; a missing file empties the bitmap.
    int _OpenWith(const char* fileName, int (TDIBitmap::*loader)(TMemory&));
    // Sets the format code and its routines after a successful creation.
    void SetFormat(unsigned long format);
};
