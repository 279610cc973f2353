// The migrated preview's gain: positive sums of the first traces of the longer line set
// before and after migration.

#include "AutoContrast.h"

#include "Cfg.h"
#include "Matrix.h"
#include "Project.h"
#include "ReferenceMigration.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kSamples = 64;

struct AutoContrastTest : testing::Test
{
    CProject project;
    C3DMatrix matrix;

    void SetUp() override { g_cfg.SetDefaults(); }

    // A grid of gridX x gridY traces, lines every 10 traces, with values in -1 .. 1 that differ
    // from trace to trace and between the sets.
    void MakeMatrix(int gridX, int gridY)
    {
        CProjectSettings& s = project.m_settings;
        s.m_iSamples = kSamples;
        s.m_iGridSizeX = s.m_iSizeX = gridX;
        s.m_iGridSizeY = s.m_iSizeY = gridY;
        s.m_iProfileSpacing = 10;
        s.m_iGridMode = 2;
        s.m_dResolution = 0.05;
        s.m_dSystemCalibration = 0.0005;
        s.m_dVelocity = 100;
        s.m_iZeroLevel = 4;
        ASSERT_TRUE(matrix.Init(&project));
        uint32_t seed = 12345;
        const auto fill = [&](float* trace) {
            for (int i = 0; i < kSamples; ++i) {
                seed = seed * 1103515245u + 12345u;
                trace[i] = static_cast<float>(int((seed >> 8) % 2001) - 1000) / 1000.0f;
            }
        };
        for (uint32_t line = 0; line < matrix.m_nVertLines; ++line)
            for (uint32_t t = 0; t < matrix.m_nNY; ++t)
                fill(matrix.EditVertTrace(line, t));
        for (uint32_t line = 0; line < matrix.m_nHorzLines; ++line)
            for (uint32_t t = 0; t < matrix.m_nNX; ++t)
                fill(matrix.EditHorzTrace(line, t));
    }

    // The factor over the first count traces of line 0 of a set, migrated by the summation
    // written out.
    float Expected(bool bHorizontal, int count)
    {
        std::vector<float> input;
        for (int t = 0; t < count; ++t) {
            const float* trace = bHorizontal ? matrix.GetHorzTrace(0, t) : matrix.GetVertTrace(0, t);
            input.insert(input.end(), trace, trace + kSamples);
        }
        project.m_settings.m_params.m_bMigration = true;
        CMigration migration(&project, count);
        migration.BuildTable();
        project.m_settings.m_params.m_bMigration = false;
        std::vector<float> output(input.size());
        ReferenceMigrate(migration, input.data(), output.data(), count, kSamples, project.m_settings.m_iZeroLevel);
        double before = 0, after = 0;
        for (float v : input)
            before += v > 0 ? v : 0;
        for (float v : output)
            after += v > 0 ? v : 0;
        return static_cast<float>(before / after);
    }
};

} // namespace

TEST_F(AutoContrastTest, TakesAtMostAHundredTracesOfTheLongerSet)
{
    struct Case { int gridX, gridY; bool bHorizontal; int count; };
    const Case cases[] = {
        {121, 31, true, 100},  // X longer: the horizontal lines, cut at 100 traces
        {31, 121, false, 100}, // Y longer: the vertical lines
        {41, 41, false, 41},   // equal: the vertical lines, all their traces
        {51, 21, true, 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.gridX << " x " << c.gridY);
        MakeMatrix(c.gridX, c.gridY);
        const float expected = Expected(c.bHorizontal, c.count);
        float factor = 0;
        ASSERT_TRUE(AutoContrastFactorCalc(project, matrix, factor));
        EXPECT_NEAR(factor, expected, 1e-5f * expected);
        EXPECT_GT(factor, 1.0f); // migration averages: less positive energy after it
    }
}

TEST_F(AutoContrastTest, TracesPastTheFirstHundredAndTheOtherSetDoNotCount)
{
    MakeMatrix(121, 31);
    float factor = 0;
    ASSERT_TRUE(AutoContrastFactorCalc(project, matrix, factor));
    matrix.EditHorzTrace(0, 100)[kSamples / 2] = 1.0f;
    matrix.EditHorzTrace(1, 0)[kSamples / 2] = 1.0f;
    matrix.EditVertTrace(0, 0)[kSamples / 2] = 1.0f;
    float again = 0;
    ASSERT_TRUE(AutoContrastFactorCalc(project, matrix, again));
    EXPECT_EQ(again, factor);
}

TEST_F(AutoContrastTest, LeavesTheFactorAloneWhenSwitchedOff)
{
    MakeMatrix(121, 31);
    g_cfg.m_bAutoContrast = false;
    float factor = 0.25f;
    EXPECT_FALSE(AutoContrastFactorCalc(project, matrix, factor));
    EXPECT_EQ(factor, 0.25f);
}

TEST_F(AutoContrastTest, KeepsTheMigrationSwitch)
{
    MakeMatrix(51, 21);
    for (bool bOn : {false, true}) {
        project.m_settings.m_params.m_bMigration = bOn;
        float factor = 0;
        ASSERT_TRUE(AutoContrastFactorCalc(project, matrix, factor));
        EXPECT_EQ(project.m_settings.m_params.m_bMigration, bOn);
        EXPECT_GT(factor, 1.0f);
    }
}

TEST_F(AutoContrastTest, NothingPositiveAfterMigrationGivesOne)
{
    MakeMatrix(51, 21);
    for (uint32_t t = 0; t < matrix.m_nNX; ++t)
        for (int i = 0; i < kSamples; ++i)
            matrix.EditHorzTrace(0, t)[i] = -0.5f;
    float factor = 0;
    ASSERT_TRUE(AutoContrastFactorCalc(project, matrix, factor));
    EXPECT_EQ(factor, 1.0f);

    C3DMatrix empty;
    factor = 0;
    ASSERT_TRUE(AutoContrastFactorCalc(project, empty, factor));
    EXPECT_EQ(factor, 1.0f);
}
