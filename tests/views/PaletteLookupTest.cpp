#include "PaletteLookup.h"

#include "SignalRoutines.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace {

int LimitedIndex(float v)
{
    return int(LimitFloat(v, -1.0f, 1.0f) * 127.0f + 128.0f);
}

float FromBits(uint32_t bits)
{
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

uint32_t BitsOf(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

} // namespace

// Every float around the limits and their tolerance, the specials and a spread of others get
// the index of the limited value.
TEST(PaletteLookupTest, IndexIsThatOfTheLimitedValueForEveryFloat)
{
    const CPaletteLookup lookup;
    int checked = 0, wrong = 0;
    const auto check = [&](float v) {
        ++checked;
        if (lookup.IndexOf(v) != LimitedIndex(v) && ++wrong <= 5)
            ADD_FAILURE() << "value " << v << " (bits " << std::hex << BitsOf(v) << ")";
    };
    for (const float centre : {-1.0001f, -1.0f, -0.9999f, 0.0f, 0.9999f, 1.0f, 1.0001f}) {
        const uint32_t bits = BitsOf(centre);
        for (uint32_t d = 0; d < 4000; ++d) {
            check(FromBits(bits + d));
            check(FromBits(bits - d));
        }
    }
    for (const float v : {std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest(),
                          std::numeric_limits<float>::denorm_min(), -0.0f})
        check(v);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> spread(-3.0f, 3.0f);
    for (int i = 0; i < 200000; ++i)
        check(spread(random));
    for (int i = 0; i < 200000; ++i)
        check(FromBits(uint32_t(random())));
    EXPECT_EQ(wrong, 0) << "of " << checked;
}
