// TDibFeeld::OpenMaskBitmap: an image's brightness becomes the field's alpha.
#include <Inkwell/TDIBitmap.h>

#include "FieldAccess.h"
#include "PixelFormat.h"

int TDibFeeld::OpenMaskBitmap(const char* fileName)
{
    if (!IsAlphaPixel() || !IsUsable()) return 0;
    TDIBitmap* mask = new TDIBitmap;
    TDIBitmap* scaled = new TDIBitmap;
    // The mask scaled to this field's size, its colours read as quads.
    int ok = mask->OpenImageFile(fileName) && scaled->CreateDIBitmap(m_Width, m_Height, 32) &&
             scaled->StretchBlt(0, 0, m_Width, m_Height, mask, 0, 0, mask->GetWidth(),
                                mask->GetHeight(), 1);
    mask->Release();
    TMemoryBase row;
    PaintScope paint(*this);
    if (ok && paint.Ok() && row.Alloc(static_cast<unsigned long>(m_Width) * 4)) {
        RGBQUAD* quads = reinterpret_cast<RGBQUAD*>(static_cast<unsigned char*>(row));
        for (long y = 0; y < m_Height; ++y) {
            uint8_t* pixels = m_lpPixel + static_cast<int64_t>(y) * m_LineByte;
            const RGBQUAD* bright =
                reinterpret_cast<const RGBQUAD*>(scaled->GetLpPixel() + y * scaled->GetLineByte());
            m_Routines->read(pixels, m_Width, quads, nullptr, 0);
            for (long x = 0; x < m_Width; ++x)
                quads[x].rgbReserved = static_cast<BYTE>(
                    (bright[x].rgbRed + bright[x].rgbGreen + bright[x].rgbBlue) / 3);
            m_Routines->write(quads, m_Width, pixels);
        }
    } else {
        ok = 0;
    }
    scaled->Release();
    return ok;
}
