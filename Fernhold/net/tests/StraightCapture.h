// The screen as the platform converts it: every tile copied straight into a 16-bit image.
#pragma once

#include <Inkwell/TMemDC.h>

#include <cstdint>

// The bytes the server's capture must give, tile for tile: the capture test compares
// with them and the frame benchmark times them. Copies a width x height screen into
// image (made 16-bit at that size unless it is) in a grid of columns x rows; false
// when the image cannot be made.
bool CopyScreenStraight(TMemDC& image, long width, long height, uint32_t columns, uint32_t rows);
