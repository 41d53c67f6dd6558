// Clipping of copy and stretch rectangles against both fields, in 64-bit
// arithmetic so that hostile origins and sizes cannot overflow.
#pragma once

#include <cstdint>

// One axis of a rectangle copy: destination start d, source start s, length n.
struct CopySpan {
    int64_t d, s, n;
};

// Cuts the span to [0, destSize) and [0, sourceSize); negative origins move
// both starts together. False when nothing is left.
bool ClipCopySpan(int64_t destSize, int64_t sourceSize, CopySpan& span);

// One axis of a stretch: destination [d, dEnd), source [s, sEnd), and the
// 16.16 step (source length * 65536 / destination length) of the rectangles
// as given.
struct StretchSpan {
    int64_t d, dEnd, s, sEnd, step;
};

// Builds the span from origins and lengths and clips it edge by edge keeping
// the proportion: first the start edges, then the end edges. False when empty.
bool ClipStretchSpan(int64_t destSize, int64_t sourceSize, int64_t d, int64_t dLen, int64_t s,
                     int64_t sLen, StretchSpan& span);
