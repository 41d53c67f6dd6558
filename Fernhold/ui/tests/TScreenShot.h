// The screen's pixels in a rectangle, read back for the window tests and the README's
// screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The screen's pixels in a rectangle (screen coordinates), read back once.
class TScreenShot {
public:
    explicit TScreenShot(const RECT& area);
    // A pixel at a point relative to the rectangle's top left; black outside.
    COLORREF At(int x, int y) const;
    COLORREF At(POINT point) const { return At(point.x, point.y); }
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    // Whether every pixel has this colour.
    bool IsAll(COLORREF colour) const;
    bool operator==(const TScreenShot& other) const { return m_Pixels == other.m_Pixels; }
    bool operator!=(const TScreenShot& other) const { return m_Pixels != other.m_Pixels; }

private:
    int m_Width;
    int m_Height;
    std::vector<uint32_t> m_Pixels;
};
