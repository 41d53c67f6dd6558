// TCPS streams through every decoder form, checked against the reference decoder of the
// codec's own tests, with the input ending at an inaccessible page so that any read past
// it faults.
#include "HostileTarget.h"

#include "../../../Ledgerkit/tests/TcpsReference.h"

#include <Ledgerkit/CompressTMemory.h>

#include <windows.h>

#include <cstring>

namespace {

// Headers announcing more than this are not decoded into memory here: the decoders size
// their output by the header as they must, and bounding it is the caller's business
// (the image link and the image loaders check sizes first).
constexpr uint32_t MAX_DECODED = 16u << 20;
// The unbounded forms need a complete stream: they get the input followed by zeros, and
// only for small headers, whose walk cannot get past the padding.
constexpr uint32_t MAX_UNBOUNDED_DECODED = 4096;
constexpr uint32_t UNBOUNDED_PADDING = 64 * 1024;
constexpr uint8_t CANARY = 0xA5;

// Bytes that end where an inaccessible page begins.
class TGuardedBytes {
public:
    TGuardedBytes(const Bytes& bytes, uint32_t zeroPadding = 0)
    {
        const SIZE_T page = 4096;
        const SIZE_T size = bytes.size() + zeroPadding;
        const SIZE_T usable = (size + page - 1) / page * page;
        m_Base = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_Base + usable, page, PAGE_NOACCESS, &old);
        m_Data = m_Base + usable - size;
        if (!bytes.empty()) memcpy(m_Data, bytes.data(), bytes.size());
        memset(m_Data + bytes.size(), 0, zeroPadding);
    }
    ~TGuardedBytes() { VirtualFree(m_Base, 0, MEM_RELEASE); }
    TGuardedBytes(const TGuardedBytes&) = delete;
    TGuardedBytes& operator=(const TGuardedBytes&) = delete;
    const uint8_t* Data() const { return m_Data; }

private:
    uint8_t* m_Base;
    uint8_t* m_Data;
};

bool HeaderValid(const Bytes& s, uint32_t& length)
{
    if (s.size() < 12 || memcmp(s.data(), "TCPS", 4) != 0) return false;
    uint32_t version;
    memcpy(&version, s.data() + 4, 4);
    memcpy(&length, s.data() + 8, 4);
    return version == 1;
}

std::string Mismatch(const char* form, int got, int expected)
{
    return std::string(form) + " answered " + std::to_string(got) + ", the reference " +
           std::to_string(expected);
}

// The output of a form against the reference's: the produced bytes must agree, and
// nothing beyond the header's length may be touched.
std::string CompareOutput(const char* form, const uint8_t* out, const std::vector<uint8_t>& ref,
                          size_t written)
{
    if (written && memcmp(out, ref.data(), written) != 0)
        return std::string(form) + " decoded other bytes than the reference";
    return {};
}

std::string BoundedForms(const Bytes& input, int expected, uint32_t length,
                         const std::vector<uint8_t>& ref, size_t written)
{
    TGuardedBytes stream(input);
    const unsigned long streamLength = static_cast<unsigned long>(input.size());

    TMemory intoMemory;
    int result = UnCompressTMemoryTypeA(stream.Data(), streamLength, intoMemory);
    if (result != expected) return Mismatch("bounded form into TMemory", result, expected);
    if (intoMemory.GetSize() != length) return "bounded form sized its TMemory wrongly";
    std::string fault = CompareOutput("bounded form into TMemory", intoMemory, ref, written);
    if (!fault.empty()) return fault;

    Bytes out(length + 16, CANARY);
    result = UnCompressTMemoryTypeA(stream.Data(), streamLength, out.data(), length);
    if (result != expected) return Mismatch("bounded form into a buffer", result, expected);
    for (size_t i = length; i < out.size(); ++i)
        if (out[i] != CANARY) return "bounded form wrote past the header's length";
    fault = CompareOutput("bounded form into a buffer", out.data(), ref, written);
    if (!fault.empty()) return fault;
    if (length) {
        Bytes small(length, CANARY);
        if (UnCompressTMemoryTypeA(stream.Data(), streamLength, small.data(), length - 1) != 0)
            return "bounded form decoded into a buffer shorter than the header's length";
        for (uint8_t b : small)
            if (b != CANARY) return "bounded form wrote into a buffer it refused";
    }

    TMemory source;
    source.Alloc(streamLength + 3, 0);
    if (streamLength) memcpy(static_cast<unsigned char*>(source) + 3, input.data(), streamLength);
    source.m_Pos = 3;
    TMemory fromMemory;
    result = UnCompressTMemoryTypeA(source, fromMemory);
    if (result != expected) return Mismatch("TMemory source form", result, expected);
    if (source.m_Pos != 3) return "TMemory source form moved its source's cursor";
    return CompareOutput("TMemory source form", fromMemory, ref, written);
}

// The unbounded forms read until their end token; with the padding, a stream cut short
// reads zeros, so their answer is the reference's on the padded stream.
std::string UnboundedForms(const Bytes& input, uint32_t length)
{
    Bytes padded = input;
    padded.resize(input.size() + UNBOUNDED_PADDING, 0);
    std::vector<uint8_t> ref(length);
    size_t written = 0;
    const int expected = TcpsReference::Decode(padded, ref, written);
    TGuardedBytes stream(input, UNBOUNDED_PADDING);

    TMemory intoMemory;
    int result = UnCompressTMemoryTypeA(stream.Data(), intoMemory);
    if (result != expected) return Mismatch("unbounded form into TMemory", result, expected);
    std::string fault = CompareOutput("unbounded form into TMemory", intoMemory, ref, written);
    if (!fault.empty()) return fault;

    Bytes out(length + 16, CANARY);
    result = UnCompressTMemoryTypeA(stream.Data(), out.data());
    if (result != expected) return Mismatch("unbounded form into a buffer", result, expected);
    for (size_t i = length; i < out.size(); ++i)
        if (out[i] != CANARY) return "unbounded form wrote past the header's length";
    return CompareOutput("unbounded form into a buffer", out.data(), ref, written);
}

std::string RunDecoders(const Bytes& input)
{
    uint32_t length = 0;
    if (!HeaderValid(input, length)) {
        TGuardedBytes stream(input);
        TMemory untouched;
        untouched.Alloc(7, 0x33);
        if (UnCompressTMemoryTypeA(stream.Data(), static_cast<unsigned long>(input.size()),
                                   untouched) != 0)
            return "a bad header decoded";
        if (untouched.GetSize() != 7) return "a bad header changed the destination";
        return {};
    }
    if (length > MAX_DECODED) return {};
    std::vector<uint8_t> ref(length);
    size_t written = 0;
    const int expected = TcpsReference::Decode(input, ref, written);
    std::string fault = BoundedForms(input, expected, length, ref, written);
    if (fault.empty() && length <= MAX_UNBOUNDED_DECODED) fault = UnboundedForms(input, length);
    return fault;
}

Bytes Compressed(const Bytes& raw)
{
    TMemory stream;
    CompressTMemoryTypeA(raw.data(), static_cast<unsigned long>(raw.size()), stream);
    const unsigned char* data = stream;
    return Bytes(data, data + stream.GetSize());
}

// Streams with runs of every unit width, literals and long counts; the header's length
// field is where aimed edits go (the token counts are big-endian nibbles, reached by the
// byte edits).
std::vector<Fixture> CodecFixtures()
{
    Bytes picture;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const uint16_t pixel = x < 20 ? 0x7C00 : static_cast<uint16_t>(x * 997 + y * 31);
            picture.push_back(static_cast<uint8_t>(pixel));
            picture.push_back(static_cast<uint8_t>(pixel >> 8));
        }
    Bytes mixed(300, 0x11);
    for (int i = 0; i < 120; ++i)
        mixed.push_back(static_cast<uint8_t>(i * 37));
    mixed.insert(mixed.end(), 2000, 0);
    for (int i = 0; i < 90; ++i)
        mixed.push_back(static_cast<uint8_t>(i % 3 == 0 ? 0xAB : 0xCD));
    const std::vector<LengthField> header = {{8, 4}};
    return {{Compressed(picture), header}, {Compressed(mixed), header}, {Compressed({9}), header}};
}

const std::vector<HostileTarget> kCodecTargets = {
    {"tcps-decoders", CodecFixtures, nullptr, RunDecoders, 64},
};

} // namespace

const std::vector<HostileTarget>& CodecTargets() { return kCodecTargets; }
