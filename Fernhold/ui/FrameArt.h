// The frame art shared by the full-size view window and the add-destination wizard: the
// caption strip and bottom bar composed in one canvas, and the caption stretched to a width.
#pragma once

#include "ui/SkinStore.h"

// Composes canvas 7 (376 x 44): button face, the caption gradient band (active or
// inactive), the caption art at the top and the bar art beneath it. Caller holds the
// skin lock, while loaded.
void ComposeFrameArt(TMemDC& canvas, SkinStore& skin, int active);
// The top 24 rows of a window width pixels wide: the left 142 columns, the middle 191
// stretched by what the window is wider than 376, the last 43 at its right edge; then the
// window's caption text over it (the band's art carries none, as two windows share it).
void PaintCaptionStrip(HDC screen, TMemDC& canvas, int width, SkinStore& skin,
                       const char* caption);

constexpr int FRAME_ART_WIDTH = 376;
constexpr int FRAME_CAPTION_ROWS = 24;
constexpr int FRAME_BAR_ROWS = 20;
