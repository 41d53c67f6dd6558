// Clipping of copy and stretch rectangles (see BlitGeometry.h).
#include "BlitGeometry.h"

#include <algorithm>

bool ClipCopySpan(int64_t destSize, int64_t sourceSize, CopySpan& span)
{
    if (span.n <= 0) return false;
    if (span.d < 0) {
        span.s -= span.d;
        span.n += span.d;
        span.d = 0;
    }
    if (span.s < 0) {
        span.d -= span.s;
        span.n += span.s;
        span.s = 0;
    }
    span.n = std::min({span.n, destSize - span.d, sourceSize - span.s});
    return span.n > 0;
}

bool ClipStretchSpan(int64_t destSize, int64_t sourceSize, int64_t d, int64_t dLen, int64_t s,
                     int64_t sLen, StretchSpan& span)
{
    if (dLen <= 0 || sLen <= 0) return false;
    const int64_t step = (sLen << 16) / dLen;
    // A destination over 65536 times wider than its source has no usable step.
    if (step <= 0) return false;
    span = StretchSpan{d, d + dLen, s, s + sLen, step};
    // Each cut below is shorter than its rectangle, so the products stay
    // within sLen << 16 and cannot overflow.
    if (span.d < 0) {
        if (-span.d >= dLen) return false;
        span.s += (-span.d * step) >> 16;
        span.d = 0;
    }
    if (span.s < 0) {
        if (-span.s >= sLen) return false;
        span.d += (-span.s << 16) / step;
        span.s = 0;
    }
    if (span.dEnd > destSize) {
        if (span.dEnd - destSize >= dLen) return false;
        span.sEnd -= ((span.dEnd - destSize) * step) >> 16;
        span.dEnd = destSize;
    }
    if (span.sEnd > sourceSize) {
        if (span.sEnd - sourceSize >= sLen) return false;
        span.dEnd -= ((span.sEnd - sourceSize) << 16) / step;
        span.sEnd = sourceSize;
    }
    return span.dEnd > span.d && span.sEnd > span.s && span.s < sourceSize && span.d < destSize;
}
