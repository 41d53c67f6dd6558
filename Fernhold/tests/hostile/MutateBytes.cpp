// The generic mutations of a fixture's bytes.
#include "HostileTarget.h"

#include <algorithm>

namespace {

// Values that sit on the edges parsers get wrong: empty, one, sign and width boundaries.
constexpr uint32_t EDGE_WORDS[] = {0,       1,          2,          0x7F,       0x80,
                                   0xFF,    0x100,      0x7FFF,     0x8000,     0xFFFF,
                                   0x10000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};

uint32_t ReadField(const Bytes& input, const LengthField& field)
{
    uint32_t value = 0;
    for (int i = 0; i < field.width; ++i)
        value |= static_cast<uint32_t>(input[field.offset + i]) << (8 * i);
    return value;
}

void WriteField(Bytes& input, const LengthField& field, uint32_t value)
{
    for (int i = 0; i < field.width; ++i)
        input[field.offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A new value for a length field: an edge value, the old one nudged, or one measured
// against the input's own size (just past the end is where overruns hide).
uint32_t AimedValue(uint32_t old, const Bytes& input, THostileRandom& random)
{
    const uint32_t size = static_cast<uint32_t>(input.size());
    switch (random.Below(4)) {
    case 0:
        return EDGE_WORDS[random.Below(sizeof(EDGE_WORDS) / sizeof(EDGE_WORDS[0]))];
    case 1:
        return old + random.Below(17) - 8;
    case 2:
        return size + random.Below(17) - 8;
    default:
        return static_cast<uint32_t>(random.Next());
    }
}

void EditLengthField(Bytes& input, const std::vector<LengthField>& fields, THostileRandom& random)
{
    std::vector<LengthField> inside;
    for (const LengthField& f : fields)
        if (f.offset + f.width <= input.size()) inside.push_back(f);
    if (inside.empty()) return;
    const LengthField& field = inside[random.Below(static_cast<uint32_t>(inside.size()))];
    WriteField(input, field, AimedValue(ReadField(input, field), input, random));
}

} // namespace

void MutateBytes(Bytes& input, const std::vector<LengthField>& fields, const Bytes& donor,
                 THostileRandom& random)
{
    const uint32_t operations = 1 + random.Below(4);
    for (uint32_t n = 0; n < operations; ++n) {
        const uint32_t size = static_cast<uint32_t>(input.size());
        switch (random.Below(fields.empty() ? 5 : 7)) {
        case 0: // bit flip
            if (size) input[random.Below(size)] ^= static_cast<uint8_t>(1u << random.Below(8));
            break;
        case 1: // byte set
            if (size)
                input[random.Below(size)] = random.OneIn(2)
                                                ? static_cast<uint8_t>(EDGE_WORDS[random.Below(6)])
                                                : static_cast<uint8_t>(random.Next());
            break;
        case 2: // truncation
            input.resize(random.Below(size + 1));
            break;
        case 3: { // insertion of random bytes
            Bytes extra(1 + random.Below(random.OneIn(4) ? 300 : 8));
            for (uint8_t& b : extra)
                b = static_cast<uint8_t>(random.Next());
            input.insert(input.begin() + random.Below(size + 1), extra.begin(), extra.end());
            break;
        }
        case 4: { // splicing: a piece of the donor replaces the tail from some point on
            if (donor.empty()) break;
            const uint32_t from = random.Below(static_cast<uint32_t>(donor.size()));
            const uint32_t length = 1 + random.Below(static_cast<uint32_t>(donor.size()) - from);
            input.resize(random.Below(size + 1));
            input.insert(input.end(), donor.begin() + from, donor.begin() + from + length);
            break;
        }
        default: // aimed at a length field (twice as likely when the format has them)
            EditLengthField(input, fields, random);
            break;
        }
    }
}
