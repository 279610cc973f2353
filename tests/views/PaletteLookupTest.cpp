// The palette lookup's words are those of the colour rule written out with LimitFloat: for
// floats stepped across both edges of CompareFloat's tolerance around -1 and 1, infinities,
// NaN, zeros and bit patterns from all over the float range, one at a time and four at a time
// from every offset.

#include "PaletteLookup.h"

#include "MemDC.h"
#include "SignalRoutines.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

// Limited to -1 .. 1, then v x 127 + 128 truncated, wrapped into 0 .. 255 or held at 255.
uint32_t ExpectedWord(const TPaletteTable& palette, bool bWrap, float v)
{
    const int index = int(LimitFloat(v, -1.0f, 1.0f) * 127.0f + 128.0f);
    return Tovrik::CMemDC::PixelOf(palette[size_t(bWrap ? index & 0xFF : std::min(index, 255))]);
}

std::vector<float> EdgeValues()
{
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> values = {std::nanf(""), -std::nanf(""), inf, -inf, 0.0f, -0.0f, 1e30f, -1e30f, 1e-40f};
    for (float edge : {-1.0001f, -1.0f, 1.0f, 1.0001f}) {
        float v = edge;
        for (int k = 0; k < 60; ++k)
            v = std::nextafter(v, -inf);
        for (int k = 0; k < 120; ++k, v = std::nextafter(v, inf))
            values.push_back(v);
    }
    // Every 2^32 / 65537th bit pattern: all exponents, both signs, NaNs among them.
    for (uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 65537) {
        const uint32_t word = uint32_t(bits);
        float v;
        std::memcpy(&v, &word, sizeof(v));
        values.push_back(v);
    }
    return values;
}

TEST(PaletteLookupTest, WordsAreThoseOfTheLimitedIndexForEveryKindOfFloat)
{
    TPaletteTable palette;
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = uint32_t(i * 0x010305u + 7u) & 0xFFFFFFu; // a different colour per entry
    const std::vector<float> values = EdgeValues();
    for (bool bWrap : {false, true}) {
        CPaletteLookup lookup;
        lookup.Update(palette, bWrap);
        for (size_t offset = 0; offset < 4; ++offset) {
            std::vector<uint32_t> words(values.size() - offset);
            lookup.WordsOf(values.data() + offset, words.size(), words.data());
            for (size_t i = 0; i < words.size(); ++i) {
                const float v = values[offset + i];
                const uint32_t expected = ExpectedWord(palette, bWrap, v);
                ASSERT_EQ(lookup.WordOf(v), expected) << "value " << v;
                ASSERT_EQ(words[i], expected) << "value " << v << " at " << i << " from offset " << offset;
            }
        }
    }
}

} // namespace
