// Composing and stretching the caption strip of the program's popup windows.
#include "ui/FrameArt.h"

#include <cstring>

void ComposeFrameArt(TMemDC& canvas, SkinStore& skin, int active)
{
    RECT all{0, 0, FRAME_ART_WIDTH, FRAME_CAPTION_ROWS + FRAME_BAR_ROWS};
    FillRect(canvas, &all, GetSysColorBrush(COLOR_BTNFACE));
    canvas.BitBlt(142, 13, 191, 8, skin.GetBitmap(CANVAS_TITLEBAR, 2), 0, active ? 8 : 0, 1);
    canvas.BitAlphaBlt(0, 0, FRAME_ART_WIDTH, FRAME_CAPTION_ROWS,
                       skin.GetBitmap(CANVAS_FULLVIEW, 0), 0, 0, 256);
    canvas.BitAlphaBlt(0, FRAME_CAPTION_ROWS, 300, FRAME_BAR_ROWS,
                       skin.GetBitmap(CANVAS_FULLVIEW, 1), 0, 0, 256);
}

namespace {
constexpr int CAPTION_FONT = 0; // 11 pixels: ten characters end before the band
constexpr COLORREF CAPTION_TEXT = RGB(234, 239, 244); // the skin's light slate text
constexpr COLORREF CAPTION_SHADOW = RGB(27, 33, 41);  // its dark slate edge
constexpr int CAPTION_X = 27, CAPTION_Y = 6;          // right of the system-menu badge
} // namespace

void PaintCaptionStrip(HDC screen, TMemDC& canvas, int width, SkinStore& skin, const char* caption)
{
    int stretched = 191 + (width >= FRAME_ART_WIDTH + 1 ? width - FRAME_ART_WIDTH : 0);
    ::BitBlt(screen, 0, 0, 142, FRAME_CAPTION_ROWS, canvas, 0, 0, SRCCOPY);
    ::StretchBlt(screen, 142, 0, stretched, FRAME_CAPTION_ROWS, canvas, 142, 0, 191,
                 FRAME_CAPTION_ROWS, SRCCOPY);
    ::BitBlt(screen, width - 43, 0, 43, FRAME_CAPTION_ROWS, canvas, FRAME_ART_WIDTH - 43, 0,
             SRCCOPY);
    HGDIOBJ previous = SelectObject(screen, static_cast<HFONT>(skin.GetFont(CAPTION_FONT)));
    SetBkMode(screen, TRANSPARENT);
    int length = static_cast<int>(strlen(caption));
    SetTextColor(screen, CAPTION_SHADOW);
    TextOutA(screen, CAPTION_X + 1, CAPTION_Y + 1, caption, length);
    SetTextColor(screen, CAPTION_TEXT);
    TextOutA(screen, CAPTION_X, CAPTION_Y, caption, length);
    SelectObject(screen, previous);
}
