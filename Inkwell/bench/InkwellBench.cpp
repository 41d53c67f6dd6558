// Times the pixel paths of every remote frame and repaint against memcpy of the
// same destination bytes in the same run. Usage: InkwellBench [frame.bmp]
// (a 1920 x 1080 16-bit bitmap file; without one a synthetic frame is used).
#include <Inkwell/TDIBitmap.h>

#include <BenchTiming.h>

#include "../src/PixelFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// Median milliseconds of one call over 41 calls.
double Time(const std::function<void()>& work) { return BenchTime(work, 41, 0) * 1000.0; }

double TimeMemcpy(TDIBitmap& dst, TDIBitmap& src)
{
    size_t bytes = size_t(dst.GetLineByte()) * dst.GetHeight();
    return Time([&] { std::memcpy(dst.GetLpPixel(), src.GetLpPixel(), bytes); });
}

TDIBitmap* Field(long width, long height, unsigned long format)
{
    TDIBitmap* field = new TDIBitmap;
    field->CreateDIBitmap(width, height, int(format >> 24) * 8);
    if (format != field->GetFormat()) field->ChangeFormat(format);
    return field;
}

void Report(const char* name, double ms, double memcpyMs, const char* target)
{
    if (memcpyMs > 0)
        std::printf("%-44s %8.3f ms   memcpy %8.3f ms   ratio %5.2f   target %s\n", name, ms,
                    memcpyMs, ms / memcpyMs, target);
    else
        std::printf("%-44s %8.3f ms   target %s\n", name, ms, target);
}

} // namespace

int main(int argc, char** argv)
{
    TDIBitmap* frame = new TDIBitmap;
    if (argc < 2 || !frame->OpenBitmapFile(argv[1]) || frame->GetFormat() != PIXEL_X1R5G5B5) {
        std::printf("frame: synthetic 1920 x 1080 gradient\n");
        frame->CreateDIBitmap(1920, 1080, 16);
        for (long y = 0; y < 1080; ++y)
            for (long x = 0; x < 1920; ++x)
                frame->SetPixel(x, y, RGBQUAD{BYTE(x), BYTE(y), BYTE(x ^ y), 0xFF});
    } else {
        std::printf("frame: %s\n", argv[1]);
    }
    const long w = frame->GetWidth(), h = frame->GetHeight();

    TDIBitmap* copy16 = Field(w, h, PIXEL_X1R5G5B5);
    Report("same-format copy 16-bit (BitBlt mode 1)",
           Time([&] { copy16->BitBlt(0, 0, w, h, frame, 0, 0, 1); }), TimeMemcpy(*copy16, *frame),
           "<= 1.5 x memcpy");

    TDIBitmap* wide32 = Field(w, h, PIXEL_BGRA32);
    TDIBitmap* peer32 = Field(w, h, PIXEL_BGRA32);
    Report("16-bit to 32-bit conversion (BitBlt mode 1)",
           Time([&] { wide32->BitBlt(0, 0, w, h, frame, 0, 0, 1); }), TimeMemcpy(*wide32, *peer32),
           "<= 4 x memcpy");

    // The server's capture converts each screen tile the other way.
    TDIBitmap* narrow16 = Field(w, h, PIXEL_X1R5G5B5);
    Report("32-bit to 16-bit conversion (BitBlt mode 1)",
           Time([&] { narrow16->BitBlt(0, 0, w, h, wide32, 0, 0, 1); }),
           TimeMemcpy(*narrow16, *copy16), "(information)");

    TDIBitmap* small = Field(320, 240, PIXEL_X1R5G5B5);
    Report("reduction to 320 x 240 (StretchBlt mode 1)",
           Time([&] { small->StretchBlt(0, 0, 320, 240, frame, 0, 0, w, h, 1); }), 0, "< 2 ms");

    TDIBitmap* over = Field(640, 328, PIXEL_BGRA32);
    TDIBitmap* under = Field(640, 328, PIXEL_BGRA32);
    for (long y = 0; y < 328; ++y)
        for (long x = 0; x < 640; ++x) {
            over->SetPixel(x, y, RGBQUAD{BYTE(x), BYTE(y), BYTE(x + y), BYTE(x * 3 + y)});
            under->SetPixel(x, y, RGBQUAD{BYTE(y), BYTE(x), BYTE(x - y), 0xFF});
        }
    Report("alpha blend 640 x 328 32-bit (BitAlphaBlt 256)",
           Time([&] { under->BitAlphaBlt(0, 0, 640, 328, over, 0, 0, 256); }),
           TimeMemcpy(*under, *over), "<= 6 x memcpy");

    // The blend's SSE2 blocks alone, as on a processor without AVX2.
    const int pixels = 640 * 328;
    Report("  blend kernel, SSE2 blocks only", Time([&] {
               BlendBlocksSse2(over->GetLpPixel(), under->GetLpPixel(), pixels, 256, true);
           }),
           TimeMemcpy(*under, *over), "(information)");

    for (TDIBitmap* b : {frame, copy16, wide32, peer32, narrow16, small, over, under})
        b->Release();
    return 0;
}
