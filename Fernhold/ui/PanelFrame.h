// The frame every skinned panel is drawn in: button face, a light grey border, a raised
// edge inside it, and sunken work areas.
#pragma once

#include <Inkwell/TMemDC.h>

#include <windows.h>

// Fills width x height with the button face, frames it with the stock light grey brush
// and draws a raised edge one pixel inside. GDI drawing into the canvas.
void DrawPanelFrame(TMemDC& canvas, int width, int height);
// Fills area with the application workspace colour and edges it sunken.
void DrawSunkenArea(TMemDC& canvas, RECT area);
