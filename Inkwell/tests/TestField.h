// A pixel field over an ordinary buffer, for testing the pixel routines without GDI.
#pragma once

#include <Inkwell/TDibFeeld.h>

#include <cstring>
#include <vector>

class TestField : public TDibFeeld {
public:
    // pad: extra bytes at the end of every row, so that row addressing is tested.
    TestField(unsigned long format, long width, long height, long pad = 3)
    {
        m_Format = format;
        m_Width = width;
        m_Height = height;
        m_LineByte = width * static_cast<long>(format >> 24) + pad;
        m_Buffer.assign(static_cast<size_t>(m_LineByte * height), 0);
        m_lpPixel = m_Buffer.data();
        _InitPixelFormat();
    }
    // The copy owns a copy of the pixels.
    TestField(const TestField& other) : TDibFeeld(other), m_Buffer(other.m_Buffer)
    {
        m_lpPixel = m_Buffer.data();
    }
    TestField& operator=(const TestField&) = delete;

    int BeginPaint() override
    {
        ++m_Begins;
        return m_Paintable;
    }
    void EndPaint() override { ++m_Ends; }

    void SetPalette(const std::vector<RGBQUAD>& entries)
    {
        m_Palette.Alloc(static_cast<unsigned long>(entries.size() * 4), entries.data());
    }
    void SetFormatWord(unsigned long format) { m_Format = format; }
    uint8_t* Raw(long x, long y) { return m_lpPixel + y * m_LineByte + x * (m_Format >> 24); }
    // Fills every pixel byte from a simple generator so that pairs of fields differ.
    void Scramble(unsigned seed)
    {
        for (long y = 0; y < m_Height; ++y)
            for (long i = 0; i < m_Width * static_cast<long>(m_Format >> 24); ++i) {
                seed = seed * 1103515245u + 12345u;
                m_lpPixel[y * m_LineByte + i] = static_cast<uint8_t>(seed >> 16);
            }
    }
    std::vector<uint8_t> Pixels() const { return m_Buffer; }

    int m_Paintable = 1;
    int m_Begins = 0;
    int m_Ends = 0;

private:
    std::vector<uint8_t> m_Buffer;
};

inline bool SameQuad(const RGBQUAD& a, const RGBQUAD& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline RGBQUAD Q(unsigned b, unsigned g, unsigned r, unsigned a)
{
    return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r),
                   static_cast<BYTE>(a)};
}

// All formats the write routines serve (every one but the palette format).
inline const std::vector<unsigned long>& WritableFormats()
{
    static const std::vector<unsigned long> formats = {
        PIXEL_R3G3B2,   PIXEL_A4R4G4B4, PIXEL_R5G6B5, PIXEL_B5G6R5, PIXEL_X1R5G5B5,
        PIXEL_A1R5G5B5, PIXEL_R3G3B2A8, PIXEL_BGR24,  PIXEL_RGB24,  PIXEL_BGRX32,
        PIXEL_RGBX32,   PIXEL_BGRA32,   PIXEL_RGBA32};
    return formats;
}
