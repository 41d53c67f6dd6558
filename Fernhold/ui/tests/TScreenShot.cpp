// Screen read-back through a 32-bit DIB section.
#include "ui/tests/TScreenShot.h"

#include <cstring>

TScreenShot::TScreenShot(const RECT& area)
    : m_Width(area.right - area.left), m_Height(area.bottom - area.top),
      m_Pixels(static_cast<size_t>(m_Width) * m_Height, 0)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_Width;
    info.bmiHeader.biHeight = -m_Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, m_Width, m_Height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    if (bits) std::memcpy(m_Pixels.data(), bits, m_Pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF TScreenShot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height) return 0;
    uint32_t pixel = m_Pixels[static_cast<size_t>(y) * m_Width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool TScreenShot::IsAll(COLORREF colour) const
{
    for (int y = 0; y < m_Height; ++y)
        for (int x = 0; x < m_Width; ++x)
            if (At(x, y) != colour) return false;
    return true;
}
