// Benchmark frames: bitmap folders read with the C library, the photo-like frame generated.
#include "BenchFrames.h"

#include "../../Ledgerkit/tests/BmpPixels.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

uint16_t Pack555(unsigned red, unsigned green, unsigned blue)
{
    return static_cast<uint16_t>(((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3));
}

// The pixels of a bitmap file in the frame format, or false when it is not one the
// benchmarks take.
bool ToFrame(const BmpImage& image, long width, long height, BenchFrame& frame)
{
    if (image.pixels.empty() || image.compression != 0 || static_cast<long>(image.width) != width ||
        static_cast<long>(image.height) != height ||
        (image.bits != 16 && image.bits != 24 && image.bits != 32))
        return false;
    const size_t stride = (static_cast<size_t>(width) * image.bits + 31) / 32 * 4;
    const size_t bytesPerPixel = image.bits / 8;
    frame.width = width;
    frame.height = height;
    frame.lineBytes = static_cast<long>((static_cast<size_t>(width) * 16 + 31) / 32 * 4);
    frame.pixels.assign(static_cast<size_t>(frame.lineBytes) * height, 0);
    for (long y = 0; y < height; ++y) {
        const uint8_t* in = &image.pixels[stride * (image.bottomUp ? height - 1 - y : y)];
        uint8_t* out = &frame.pixels[static_cast<size_t>(frame.lineBytes) * y];
        if (image.bits == 16) {
            std::memcpy(out, in, static_cast<size_t>(width) * 2);
            continue;
        }
        for (long x = 0; x < width; ++x, in += bytesPerPixel) {
            const uint16_t v = Pack555(in[2], in[1], in[0]);
            std::memcpy(out + x * 2, &v, 2);
        }
    }
    return true;
}

// Deterministic numbers for the photo-like frame.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : m_State(seed) {}
    uint32_t Next()
    {
        m_State = m_State * 1664525u + 1013904223u;
        return m_State >> 8;
    }
    double Unit() { return Next() / 16777216.0; } // [0, 1)

private:
    uint32_t m_State;
};

// Value noise: random values on a lattice of the given spacing, blended smoothly.
class ValueNoise {
public:
    ValueNoise(long width, long height, long spacing, Lcg& random)
        : m_Spacing(spacing), m_Columns(width / spacing + 2)
    {
        m_Lattice.resize(static_cast<size_t>(m_Columns) * (height / spacing + 2));
        for (double& v : m_Lattice)
            v = random.Unit();
    }
    double At(long x, long y) const
    {
        const long cx = x / m_Spacing, cy = y / m_Spacing;
        const double fx = Smooth(static_cast<double>(x % m_Spacing) / m_Spacing);
        const double fy = Smooth(static_cast<double>(y % m_Spacing) / m_Spacing);
        auto lattice = [&](long i, long j) {
            return m_Lattice[static_cast<size_t>(j) * m_Columns + i];
        };
        const double top = lattice(cx, cy) + (lattice(cx + 1, cy) - lattice(cx, cy)) * fx;
        const double bottom =
            lattice(cx, cy + 1) + (lattice(cx + 1, cy + 1) - lattice(cx, cy + 1)) * fx;
        return top + (bottom - top) * fy;
    }

private:
    static double Smooth(double t) { return t * t * (3 - 2 * t); }
    long m_Spacing, m_Columns;
    std::vector<double> m_Lattice;
};

} // namespace

std::vector<BenchFrame> LoadBenchFrames(const std::string& folder, long width, long height,
                                        std::vector<std::string>& skipped, std::string& error)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.bmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) { // a folder without bitmaps is fine
        error = "cannot list the folder " + folder;
        return {};
    }
    std::sort(names.begin(), names.end());

    std::vector<BenchFrame> frames;
    for (const std::string& name : names) {
        BenchFrame frame;
        if (!ToFrame(ReadBmp(folder + "\\" + name), width, height, frame)) {
            skipped.push_back(name);
            continue;
        }
        frame.name = name;
        frames.push_back(std::move(frame));
    }
    frames.push_back(MakePhotoFrame(width, height));
    return frames;
}

BenchFrame MakePhotoFrame(long width, long height)
{
    BenchFrame frame;
    frame.name = "photo-like (generated)";
    frame.width = width;
    frame.height = height;
    frame.lineBytes = static_cast<long>((static_cast<size_t>(width) * 16 + 31) / 32 * 4);
    frame.pixels.assign(static_cast<size_t>(frame.lineBytes) * height, 0);
    Lcg random(0x5EED1234u);
    // Three octaves per channel: broad shapes, objects, texture.
    struct Octave {
        long spacing;
        double weight;
    };
    const Octave octaves[] = {{270, 0.55}, {54, 0.3}, {9, 0.15}};
    std::vector<ValueNoise> noise;
    for (int channel = 0; channel < 3; ++channel)
        for (const Octave& octave : octaves)
            noise.emplace_back(width, height, octave.spacing, random);
    // Film grain of about one and a half steps of a five-bit channel.
    const int grain = 12;
    std::vector<uint16_t> previousRow(static_cast<size_t>(width), 0xFFFF);
    for (long y = 0; y < height; ++y) {
        uint16_t left = 0xFFFF;
        auto* row =
            reinterpret_cast<uint16_t*>(&frame.pixels[static_cast<size_t>(frame.lineBytes) * y]);
        for (long x = 0; x < width; ++x) {
            unsigned channels[3];
            for (int channel = 0; channel < 3; ++channel) {
                double value = 0;
                for (int o = 0; o < 3; ++o)
                    value += octaves[o].weight * noise[channel * 3 + o].At(x, y);
                const int level = static_cast<int>(value * 255) +
                                  static_cast<int>(random.Next() % (2 * grain + 1)) - grain;
                channels[channel] = static_cast<unsigned>(std::clamp(level, 0, 255)) >> 3;
            }
            // Where the grain left a pixel equal to a neighbour, blue moves one step.
            uint16_t v =
                static_cast<uint16_t>((channels[0] << 10) | (channels[1] << 5) | channels[2]);
            for (int step : {1, -1, 2, -2}) {
                if (v != left && v != previousRow[static_cast<size_t>(x)]) break;
                const int blue = static_cast<int>(channels[2]) + step;
                if (blue < 0 || blue > 31) continue;
                v = static_cast<uint16_t>((v & ~0x1Fu) | static_cast<unsigned>(blue));
            }
            row[x] = v;
            left = v;
        }
        std::memcpy(previousRow.data(), row, static_cast<size_t>(width) * 2);
    }
    return frame;
}

uint32_t ColourChecksum(const BenchFrame& frame)
{
    static const auto table = [] {
        std::vector<uint32_t> t(256);
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    auto add = [&](uint8_t byte) { crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8); };
    for (long y = 0; y < frame.height; ++y) {
        const uint8_t* row = &frame.pixels[static_cast<size_t>(frame.lineBytes) * y];
        for (long x = 0; x < frame.width; ++x) {
            add(row[2 * x]);
            add(row[2 * x + 1] & 0x7F);
        }
    }
    return ~crc;
}
