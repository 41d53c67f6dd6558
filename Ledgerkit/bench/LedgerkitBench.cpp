// Measures the TCPS compressor on frames against zlib (levels 1 and 6) and memcpy, on the
// same bytes in the same run: every 1920 x 1080 bitmap of a folder and the photo-like
// frame. Usage: LedgerkitBench [frames folder] (default ../shared/frames, i.e. run from
// the repository root).
#include <Ledgerkit/CompressTMemory.h>

#include <BenchFrames.h>
#include <BenchTiming.h>

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Figures {
    double tcpsSize, tcpsIn, tcpsOut, zlib1Size, zlib1In, zlib1Out, zlib6Size, zlib6In, zlib6Out,
        copy;
};

double MBps(size_t bytes, double seconds) { return bytes / seconds / 1e6; }

struct ZlibFigures {
    double size, in, out;
};

ZlibFigures MeasureZlib(const std::vector<uint8_t>& pixels, int level)
{
    uLongf bound = compressBound(static_cast<uLong>(pixels.size()));
    std::vector<uint8_t> packed(bound);
    uLongf packedSize = bound;
    const double in = BenchTime([&] {
        packedSize = bound;
        compress2(packed.data(), &packedSize, pixels.data(), static_cast<uLong>(pixels.size()),
                  level);
    });
    std::vector<uint8_t> back(pixels.size());
    const double out = BenchTime([&] {
        uLongf backSize = static_cast<uLongf>(back.size());
        uncompress(back.data(), &backSize, packed.data(), packedSize);
    });
    if (back != pixels) std::printf("  zlib level %d did not round-trip!\n", level);
    return {static_cast<double>(packedSize), MBps(pixels.size(), in), MBps(pixels.size(), out)};
}

Figures Measure(const std::vector<uint8_t>& pixels)
{
    const auto n = static_cast<unsigned long>(pixels.size());
    TMemory stream; // reused, as the server reuses its frame buffer
    unsigned long streamLength = 0;
    const double in =
        BenchTime([&] { streamLength = CompressTMemoryTypeA(pixels.data(), n, stream); });
    std::vector<uint8_t> image(pixels.size()); // the client's image, expanded in place
    int ok = 0;
    const double out =
        BenchTime([&] { ok = UnCompressTMemoryTypeA(stream, streamLength, image.data(), n); });
    if (!ok || image != pixels) std::printf("  TCPS did not round-trip!\n");
    std::vector<uint8_t> copy(pixels.size());
    const double copyTime =
        BenchTime([&] { std::memcpy(copy.data(), pixels.data(), pixels.size()); });
    const ZlibFigures z1 = MeasureZlib(pixels, 1);
    const ZlibFigures z6 = MeasureZlib(pixels, 6);
    return {static_cast<double>(streamLength),
            MBps(n, in),
            MBps(n, out),
            z1.size,
            z1.in,
            z1.out,
            z6.size,
            z6.in,
            z6.out,
            MBps(n, copyTime)};
}

void Print(const char* name, double pixels, const Figures& f)
{
    std::printf("%s\n", name);
    std::printf(
        "  TCPS     %9.0f bytes (%5.2f%%)  compress %7.0f MB/s (%6.3f ms)  expand %7.0f MB/s "
        "(%6.3f ms)\n",
        f.tcpsSize, 100 * f.tcpsSize / pixels, f.tcpsIn, pixels / f.tcpsIn / 1e3, f.tcpsOut,
        pixels / f.tcpsOut / 1e3);
    std::printf("  zlib -1  %9.0f bytes (%5.2f%%)  compress %7.0f MB/s              expand %7.0f "
                "MB/s\n",
                f.zlib1Size, 100 * f.zlib1Size / pixels, f.zlib1In, f.zlib1Out);
    std::printf("  zlib -6  %9.0f bytes (%5.2f%%)  compress %7.0f MB/s              expand %7.0f "
                "MB/s\n",
                f.zlib6Size, 100 * f.zlib6Size / pixels, f.zlib6In, f.zlib6Out);
    std::printf("  memcpy   %7.0f MB/s\n", f.copy);
    std::printf("  ratios   compress: %.1fx zlib -1, %.1fx zlib -6;  expand: %.1fx zlib -1, "
                "memcpy/expand %.2f\n",
                f.tcpsIn / f.zlib1In, f.tcpsIn / f.zlib6In, f.tcpsOut / f.zlib1Out,
                f.copy / f.tcpsOut);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : "../shared/frames";
    std::vector<std::string> skipped;
    std::string error;
    const std::vector<BenchFrame> frames = LoadBenchFrames(folder, 1920, 1080, skipped, error);
    if (!error.empty()) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    for (const std::string& name : skipped)
        std::printf("skipped %s: not an uncompressed 1920 x 1080 bitmap of 16, 24 or 32 bits\n",
                    name.c_str());
    std::vector<Figures> all;
    for (const BenchFrame& frame : frames) {
        all.push_back(Measure(frame.pixels));
        Print(frame.name.c_str(), static_cast<double>(frame.pixels.size()), all.back());
    }
    auto median = [&](double Figures::*field) {
        std::vector<double> v;
        for (const Figures& f : all)
            v.push_back(f.*field);
        return BenchMedian(v);
    };
    Figures m;
    for (double Figures::*field :
         {&Figures::tcpsSize, &Figures::tcpsIn, &Figures::tcpsOut, &Figures::zlib1Size,
          &Figures::zlib1In, &Figures::zlib1Out, &Figures::zlib6Size, &Figures::zlib6In,
          &Figures::zlib6Out, &Figures::copy})
        m.*field = median(field);
    std::printf("\nmedians over the %zu frames (each figure its own median)\n", all.size());
    std::printf("  TCPS compress %.0f MB/s (%.1fx zlib -1, target >= 1500 MB/s and >= 5x)\n",
                m.tcpsIn, m.tcpsIn / m.zlib1In);
    std::printf(
        "  TCPS expand   %.0f MB/s (memcpy %.0f MB/s, memcpy/expand %.2f; target >= 4000 MB/s "
        "and <= 3)\n",
        m.tcpsOut, m.copy, m.copy / m.tcpsOut);
    std::printf("  zlib -1 compress %.0f MB/s, zlib -6 compress %.0f MB/s\n", m.zlib1In, m.zlib6In);
    // The photo-like frame comes last: the worst case of both directions.
    const Figures& photo = all.back();
    std::printf("photo-like frame: compress %.0f MB/s (%.1fx zlib -1, target >= 1500 MB/s and "
                ">= 5x), memcpy/expand %.2f (target <= 3)\n",
                photo.tcpsIn, photo.tcpsIn / photo.zlib1In, photo.copy / photo.tcpsOut);
    return 0;
}
