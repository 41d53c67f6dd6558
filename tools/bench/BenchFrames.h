// The frames the frame-path benchmarks measure: the bitmaps of a folder and a photo-like frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A frame as the server captures it: X1R5G5B5 pixels, rows from the top.
struct BenchFrame {
    std::string name;
    long width = 0, height = 0;
    long lineBytes = 0; // ((16 x width + 31) / 32) x 4
    std::vector<uint8_t> pixels;
};

// Every *.bmp file of folder, in name order, that is an uncompressed width x height
// bitmap of 16 bits (taken as X1R5G5B5), 24 or 32 bits (each channel cut to its top
// five bits, as a capture does), followed by the photo-like frame of that size. Files
// that are not such bitmaps are named in skipped; error says that the folder cannot be
// listed at all (then there are no frames).
std::vector<BenchFrame> LoadBenchFrames(const std::string& folder, long width, long height,
                                        std::vector<std::string>& skipped, std::string& error);

// Smooth colour noise in which every pixel differs from its left and upper neighbours,
// like a photograph shown full screen: no pair of equal pixels for the compressor's
// runs, so nearly everything is literal or a short run. The same frame every time.
BenchFrame MakePhotoFrame(long width, long height);

// CRC-32 of the frame's 15 colour bits (X bit cleared) as little-endian words, rows
// from the top without padding: an RFB client that asks for a raw 15-bit update
// computes the same over it, and so knows it is seeing this frame.
uint32_t ColourChecksum(const BenchFrame& frame);
