// Composing and stretching the caption strip of the program's popup windows.
#include "ui/FrameArt.h"

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

void PaintCaptionStrip(HDC screen, TMemDC& canvas, int width)
{
    int stretched = 191 + (width >= FRAME_ART_WIDTH + 1 ? width - FRAME_ART_WIDTH : 0);
    ::BitBlt(screen, 0, 0, 142, FRAME_CAPTION_ROWS, canvas, 0, 0, SRCCOPY);
    ::StretchBlt(screen, 142, 0, stretched, FRAME_CAPTION_ROWS, canvas, 142, 0, 191,
                 FRAME_CAPTION_ROWS, SRCCOPY);
    ::BitBlt(screen, width - 43, 0, 43, FRAME_CAPTION_ROWS, canvas, FRAME_ART_WIDTH - 43, 0,
             SRCCOPY);
}
