// Class values of the graphics library and the pixel-format codes of its fields.
#pragma once

#include <cstdint>

// Class values in the type word; they double as the kind argument of
// TDC::LockObject and TDC::GetObjectA.
enum : uint32_t {
    INKWELL_CLASS_DC = 0x02000001,
    INKWELL_CLASS_MEMDC = 0x02000002,
    INKWELL_CLASS_WNDDC = 0x02000003,
    INKWELL_CLASS_WINDOWDC = 0x02000004,
    INKWELL_CLASS_BRUSH = 0x02000011,
    INKWELL_CLASS_PEN = 0x02000012,
    INKWELL_CLASS_FONT = 0x02000013,
    INKWELL_CLASS_PALETTE = 0x02000014,
    INKWELL_CLASS_DIBITMAP = 0x02000015,
};

// Pixel formats: byte 3 bytes per pixel, byte 2 alpha bits, byte 1 set for the
// palette format, byte 0 the variant.
enum : uint32_t {
    PIXEL_PAL8 = 0x01000101, // index into the palette
    PIXEL_R3G3B2 = 0x01000002,
    PIXEL_A4R4G4B4 = 0x02040001,
    PIXEL_R5G6B5 = 0x02000002,
    PIXEL_B5G6R5 = 0x02000003,
    PIXEL_X1R5G5B5 = 0x02000004, // remote frames and 16-bit bitmap files
    PIXEL_A1R5G5B5 = 0x02010005,
    PIXEL_R3G3B2A8 = 0x02080006, // high byte colour, low byte alpha
    PIXEL_BGR24 = 0x03000001,
    PIXEL_RGB24 = 0x03000002,
    PIXEL_BGRX32 = 0x04000001,
    PIXEL_RGBX32 = 0x04000002,
    PIXEL_BGRA32 = 0x04080003, // the layout of tagRGBQUAD
    PIXEL_RGBA32 = 0x04080004,
    PIXEL_UNUSABLE = 0x10000000, // a field no operation may use
};
