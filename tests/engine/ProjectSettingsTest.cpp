#include "ProjectSettings.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(ProjectSettings, FreshRecordHasDefaults)
{
    CProjectSettings settings;
    EXPECT_EQ(settings.m_iGridMode, 0);
    EXPECT_TRUE(settings.m_params == CProcessingParams());
    EXPECT_EQ(settings.m_antenna.m_iFrequencySteps, 1);
    EXPECT_EQ(settings.m_pMaterial, nullptr);
    EXPECT_FALSE(settings.m_signature.IsValid());
    EXPECT_EQ(settings.m_signature.GetSize(), 0);
}

TEST(ProjectSettings, ResetKeepsAntennaNameAndComment)
{
    CProjectSettings settings;
    settings.m_antenna.m_strName = L"500MHz";
    settings.m_strComment = L"site";
    settings.m_strProjectName = L"p";
    settings.m_antenna.m_iFrequencySteps = 0;
    settings.m_dVelocity = 80;
    settings.m_signature.Resize(32);
    settings.Reset();
    EXPECT_EQ(settings.m_antenna.m_strName, L"500MHz");
    EXPECT_EQ(settings.m_strComment, L"site");
    EXPECT_EQ(settings.m_strProjectName, L"");
    EXPECT_EQ(settings.m_antenna.m_iFrequencySteps, 1);
    EXPECT_EQ(settings.m_dVelocity, 0);
    EXPECT_FALSE(settings.m_signature.IsValid());
}

TEST(ProjectSettings, ClampLimitsEachParameter)
{
    CProcessingParams params;
    params.m_iFirHigh = static_cast<uint32_t>(-5);
    params.m_iFirLow = 0;
    params.m_iThreshold = -300;
    params.m_iDelMean = 0;
    params.m_iTimeGain = 999;
    params.m_iAperture = 41;
    params.m_iTgLinear = 50;
    params.Clamp();
    EXPECT_EQ(params.m_iFirHigh, 50u);
    EXPECT_EQ(params.m_iFirLow, 1u);
    EXPECT_EQ(params.m_iThreshold, -255);
    EXPECT_EQ(params.m_iDelMean, 3);
    EXPECT_EQ(params.m_iTimeGain, 255);
    EXPECT_EQ(params.m_iAperture, 40);
    EXPECT_EQ(params.m_iTgLinear, 100);
    EXPECT_EQ(params.m_iAgcWindow, 40); // unlimited members stay
}

TEST(ProjectSettings, ParamsCompareAllMembers)
{
    CProcessingParams a, b;
    EXPECT_TRUE(a == b);
    b.m_bAgcOn = true;
    EXPECT_FALSE(a == b);
    b = a;
    b.m_iThreshold = 1;
    EXPECT_FALSE(a == b);
}

TEST(ProjectSettings, CopyDeepCopiesTheSignature)
{
    CProjectSettings a, b, c;
    a.m_signature.Resize(32);
    ASSERT_TRUE(a.m_signature.IsValid());
    for (int i = 0; i < 32; ++i)
        a.m_signature.GetData()[i] = static_cast<uint8_t>(i);
    b.m_signature.Resize(32);
    const uint8_t* kept = b.m_signature.GetData();
    b = a;
    EXPECT_EQ(b.m_signature.GetData(), kept); // same size: the buffer stays
    EXPECT_EQ(b.m_signature.GetData()[31], 31);
    c = a;
    ASSERT_EQ(c.m_signature.GetSize(), 32);
    EXPECT_NE(c.m_signature.GetData(), a.m_signature.GetData());
    a.m_signature.GetData()[0] = 99;
    EXPECT_EQ(c.m_signature.GetData()[0], 0);
    CProjectSettings d(a);
    EXPECT_EQ(d.m_signature.GetData()[0], 99);
    d = d; // self-assignment keeps the bytes
    EXPECT_EQ(d.m_signature.GetData()[0], 99);
}

TEST(ProjectSettings, LineCounts)
{
    const struct { int mode, grid, size, spacing, lines; } cases[] = {
        {2, 101, 101, 10, 11}, {1, 101, 101, 10, 11}, {1, 1, 1, 10, 1},  {2, 1, 1, 10, 1},
        {1, 111, 105, 10, 11}, {0, 101, 57, 10, 11}, {1, 41, 41, 12, 4},
    };
    for (const auto& c : cases) {
        CProjectSettings s;
        s.m_iGridMode = c.mode;
        s.m_iGridSizeX = s.m_iGridSizeY = c.grid;
        s.m_iSizeX = s.m_iSizeY = c.size;
        s.m_iProfileSpacing = c.spacing;
        EXPECT_EQ(s.GetXLineCount(), c.lines) << c.mode << " " << c.size;
        EXPECT_EQ(s.GetYLineCount(), c.lines) << c.mode << " " << c.size;
    }
}

namespace {

CProjectSettings DepthSettings(double separation, int steps, double timeVelocity)
{
    CProjectSettings s;
    s.m_iZeroLevel = 20;
    s.m_dSystemCalibration = 0.002;
    s.m_dVelocity = timeVelocity / 0.002;
    s.m_antenna.m_dSeparation = separation;
    s.m_antenna.m_iFrequencySteps = steps;
    return s;
}

} // namespace

TEST(ProjectSettings, DepthAndSampleAreInverses)
{
    const CProjectSettings s = DepthSettings(0, 1, 0.2);
    EXPECT_NEAR(s.SampleToDepth(30), 1.0, 1e-6);
    EXPECT_NEAR(s.DepthToSample(1.0), 30.0, 1e-6);
    EXPECT_DOUBLE_EQ(s.SampleToDepth(10), s.SampleToDepth(30)); // above the zero level
    EXPECT_EQ(s.SampleToDepth(20), 0.0);

    const CProjectSettings sep = DepthSettings(0.1, 2, 0.2);
    for (double depth : {0.0, 0.05, 0.8, 2.5})
        EXPECT_NEAR(sep.SampleToDepth(static_cast<float>(sep.DepthToSample(depth))), depth, 1e-5);
}

TEST(ProjectSettings, DepthConversionsSurviveDegenerateSettings)
{
    const struct { double separation; int steps; double timeVelocity; } cases[] = {
        {0.1, 0, 0.2}, {0.1, -3, 0.2}, {0.1, 1, 0.0}, {-0.5, 1, 0.2},
    };
    for (const auto& c : cases) {
        const CProjectSettings s = DepthSettings(c.separation, c.steps, c.timeVelocity);
        const double sample = s.DepthToSample(1.0);
        const double depth = s.SampleToDepth(25);
        EXPECT_FALSE(std::isnan(sample));
        EXPECT_FALSE(std::isnan(depth));
        EXPECT_GE(depth, 0.0);
        if (c.timeVelocity <= 0) {
            EXPECT_EQ(sample, 20.0);
            EXPECT_EQ(depth, 0.0);
        }
    }
    // Frequency steps below 1 count as 1.
    EXPECT_DOUBLE_EQ(DepthSettings(0.1, 0, 0.2).SampleToDepth(30),
                     DepthSettings(0.1, 1, 0.2).SampleToDepth(30));
}

TEST(ProjectSettings, ClampToRangeLimitsInPlace)
{
    const struct { int in, out; } cases[] = {{-3, 0}, {12, 10}, {10, 10}, {0, 0}, {5, 5}};
    for (const auto& c : cases) {
        int value = c.in;
        EXPECT_EQ(ClampToRange(value, {0, 10}), c.out);
        EXPECT_EQ(value, c.out);
    }
}
