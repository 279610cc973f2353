#include "ResampMap.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

namespace {

enum TForm { PLAIN, OFFSET, RANGE };

void Build(CResampMap& map, TForm form, int count, int m)
{
    switch (form) {
    case PLAIN: CreateResampleMap(map, count, m); break;
    case OFFSET: CreateResampleMapOffset(map, count, m); break;
    case RANGE: CreateResampleMapRange(map, count, m); break;
    }
}

struct SMapCase
{
    const char* name;
    TForm form;
    int count; // n for the plain form, the last source index otherwise
    int m;
    float step;
    unsigned sourceCount;
    int end;
    std::vector<unsigned> index;
    std::vector<float> fraction;
};

// Worked by hand: position i * step + step / 1000.
const std::vector<SMapCase>& MapCases()
{
    static const std::vector<SMapCase> cases = {
        {"range 9 onto 10", RANGE, 9, 10, 1.0f, 10, 9,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9},
         {0.001f, 0.001f, 0.001f, 0.001f, 0.001f, 0.001f, 0.001f, 0.001f, 0.001f, 0, 0}},
        {"plain 4 onto 8", PLAIN, 4, 8, 0.5f, 4, 7,
         {0, 0, 1, 1, 2, 2, 3, 3, 3},
         {0.0005f, 0.5005f, 0.0005f, 0.5005f, 0.0005f, 0.5005f, 0.0005f, 0.5005f, 0}},
        {"offset 255 onto 4", OFFSET, 255, 4, 63.75f, 256, 3,
         {0, 63, 127, 255, 255}, {0.06375f, 0.81375f, 0.56375f, 0, 0}},
        {"plain 3 onto 1", PLAIN, 3, 1, 3.0f, 3, 0, {0, 2}, {0.003f, 0}},
        {"range onto 1 has step 0", RANGE, 6, 1, 0.0f, 7, 0, {6, 6}, {0, 0}},
        {"range of one source sample", RANGE, 0, 3, 0.0f, 1, 2, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    return cases;
}

} // namespace

TEST(ResampMap, BuildsTheWorkedMaps)
{
    for (const auto& c : MapCases()) {
        SCOPED_TRACE(c.name);
        CResampMap map;
        Build(map, c.form, c.count, c.m);
        EXPECT_FLOAT_EQ(map.m_fStep, c.step);
        EXPECT_EQ(map.m_nSourceCount, c.sourceCount);
        EXPECT_EQ(map.m_nTargetCount, static_cast<unsigned>(c.m));
        EXPECT_EQ(map.m_iFirst, 0);
        EXPECT_EQ(map.m_iEnd, c.end);
        ASSERT_EQ(map.m_index.size(), c.index.size());
        ASSERT_EQ(map.m_fraction.size(), c.fraction.size());
        for (size_t i = 0; i < c.index.size(); ++i) {
            EXPECT_EQ(map.m_index[i], c.index[i]) << i;
            EXPECT_NEAR(map.m_fraction[i], c.fraction[i], 2e-6) << i;
        }
    }
}

TEST(ResampMap, PositionsFollowTheStepOverLargeMaps)
{
    const struct { TForm form; int count; int m; double step; } cases[] = {
        {PLAIN, 501, 1000, 501.0 / 1000}, {PLAIN, 512, 37, 512.0 / 37},
        {OFFSET, 500, 733, 500.0 / 733}, {RANGE, 511, 480, 511.0 / 479},
    };
    for (const auto& c : cases) {
        CResampMap map;
        Build(map, c.form, c.count, c.m);
        for (int i = 0; i + 1 < c.m; ++i) {
            ASSERT_GE(map.m_fraction[i], 0.0f);
            ASSERT_LT(map.m_fraction[i], 1.0f);
            ASSERT_NEAR(map.m_index[i] + double{map.m_fraction[i]}, c.step * (i + 0.001), 1e-4)
                << c.count << " onto " << c.m << " at " << i;
        }
    }
}

TEST(ResampMap, DegenerateCountsBuildSafeMaps)
{
    CResampMap map;
    for (int m : {0, -3}) {
        CreateResampleMapRange(map, 9, m);
        EXPECT_EQ(map.m_nTargetCount, 0u);
        EXPECT_TRUE(map.m_index.empty());
        EXPECT_TRUE(map.m_fraction.empty());
        EXPECT_EQ(map.m_iEnd, 0);
    }
    // No source samples: targets exist and resample to 0.
    const struct { TForm form; int count; } noSource[] = {{PLAIN, 0}, {PLAIN, -4}, {OFFSET, -1},
                                                          {RANGE, -1}};
    for (const auto& c : noSource) {
        Build(map, c.form, c.count, 4);
        EXPECT_EQ(map.m_nSourceCount, 0u);
        EXPECT_EQ(map.m_nTargetCount, 4u);
        EXPECT_EQ(map.m_iEnd, 0);
        std::vector<float> target(4, 7.0f);
        const float source[1] = {5.0f};
        ResampleTrace(map, source, 1, target.data(), target.size());
        EXPECT_EQ(target, std::vector<float>(4, 0.0f));
    }
}

TEST(ResampMap, RebuildingReplacesTheOldMap)
{
    CResampMap map;
    CreateResampleMapRange(map, 99, 200);
    CreateResampleMap(map, 6, 3);
    EXPECT_EQ(map.m_nTargetCount, 3u);
    EXPECT_EQ(map.m_nSourceCount, 6u);
    EXPECT_FLOAT_EQ(map.m_fStep, 2.0f);
    EXPECT_EQ(map.m_index, (std::vector<uint32_t>{0, 2, 4, 5}));
}

TEST(ResampMap, TargetsAndSourcePositionsConvertBothWays)
{
    // Views: pixels over grid positions or samples, wider and narrower than the grid, odd sizes.
    const struct { int last; int m; } cases[] = {{499, 500}, {499, 733}, {499, 301}, {50, 517},
                                                 {63, 127}, {63, 32}, {1, 2}, {262, 999}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.last << " onto " << c.m);
        CResampMap map;
        CreateResampleMapRange(map, c.last, c.m);
        for (int t = 0; t < c.m; ++t) {
            const float position = MapTargetToSource(map, t);
            ASSERT_FLOAT_EQ(position, map.m_index[size_t(t)] + map.m_fraction[size_t(t)]) << t;
            ASSERT_EQ(MapSourceToTarget(map, position), t) << t;
        }
        EXPECT_FLOAT_EQ(MapTargetToSource(map, c.m - 1), float(c.last));
        // Between two targets the nearer one wins.
        for (int t = 0; t + 1 < c.m; ++t) {
            const double a = MapTargetToSource(map, t), b = MapTargetToSource(map, t + 1);
            ASSERT_EQ(MapSourceToTarget(map, a + (b - a) * 0.4), t) << t;
            ASSERT_EQ(MapSourceToTarget(map, a + (b - a) * 0.6), t + 1) << t;
        }
        // Outside the map the line goes on, so targets off the view come back too.
        for (const int t : {-5, -1, c.m, c.m + 7})
            EXPECT_EQ(MapSourceToTarget(map, MapTargetToSource(map, t)), t) << t;
    }
    // Nothing to convert: no targets, no step, no number; far positions stay in range.
    CResampMap map;
    EXPECT_EQ(MapTargetToSource(map, 3), 0.0f);
    EXPECT_EQ(MapSourceToTarget(map, 3.0), 0);
    CreateResampleMapRange(map, 0, 5);
    EXPECT_EQ(MapSourceToTarget(map, 3.0), 0);
    CreateResampleMapRange(map, 9, 10);
    EXPECT_EQ(MapSourceToTarget(map, std::nan("")), 0);
    EXPECT_EQ(MapSourceToTarget(map, 1e300), 9 + 1000000);
    EXPECT_EQ(MapSourceToTarget(map, -1e300), -1000000);
}

TEST(ResampleTrace, InterpolatesLinearlyAndLeavesTheLastSampleZero)
{
    CResampMap map;
    CreateResampleMapRange(map, 9, 10);
    std::vector<float> source(10);
    for (int i = 0; i < 10; ++i)
        source[i] = static_cast<float>(i * i);
    std::vector<float> target(10, -1.0f);
    ResampleTrace(map, source.data(), source.size(), target.data(), target.size());
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(target[k], k * k + 0.001 * (2 * k + 1), 1e-4) << k;
    EXPECT_EQ(target[9], 0.0f);
}

TEST(ResampleTrace, NeverReadsPastTheLastSourceSample)
{
    // Target 6 of 4 onto 8 lies at 3.0005: its next sample would be source[4].
    CResampMap map;
    CreateResampleMap(map, 4, 8);
    const std::vector<float> source = {0.0f, 10.0f, 20.0f, 30.0f};
    std::vector<float> target(8, -1.0f);
    ResampleTrace(map, source.data(), source.size(), target.data(), target.size());
    const float expected[8] = {0.005f, 5.005f, 10.005f, 15.005f, 20.005f, 25.005f, 30.0f, 0.0f};
    for (int k = 0; k < 8; ++k)
        EXPECT_NEAR(target[k], expected[k], 1e-4) << k;

    // A source shorter than the map is clamped to its own last sample.
    const std::vector<float> shorter = {4.0f, 6.0f};
    ResampleTrace(map, shorter.data(), shorter.size(), target.data(), target.size());
    EXPECT_NEAR(target[1], 4.0f * 0.4995f + 6.0f * 0.5005f, 1e-5);
    for (int k = 2; k < 7; ++k)
        EXPECT_FLOAT_EQ(target[k], 6.0f) << k;
}

TEST(ResampleTrace, WritesOnlyTheTargetsThatExist)
{
    const std::vector<float> source(10, 1.0f);
    for (const auto& c : MapCases()) {
        SCOPED_TRACE(c.name);
        CResampMap map;
        Build(map, c.form, c.count, c.m);
        std::vector<float> target(c.m + 2, -1.0f);
        ResampleTrace(map, source.data(), source.size(), target.data(), target.size());
        EXPECT_EQ(target[c.m - 1], 0.0f);
        EXPECT_EQ(target[c.m], -1.0f);
    }

    CResampMap map;
    CreateResampleMapRange(map, 9, 10);
    std::vector<float> target(10, -1.0f);
    ResampleTrace(map, source.data(), source.size(), target.data(), 4);
    EXPECT_EQ(target[3], 1.0f);
    EXPECT_EQ(target[4], -1.0f);

    ResampleTrace(map, nullptr, 10, target.data(), target.size());
    EXPECT_EQ(target, std::vector<float>(10, 0.0f));
    ResampleTrace(map, source.data(), source.size(), nullptr, 10);

    CreateResampleMap(map, 10, 0);
    target.assign(10, -1.0f);
    ResampleTrace(map, source.data(), source.size(), target.data(), target.size());
    EXPECT_EQ(target, std::vector<float>(10, -1.0f));
}
