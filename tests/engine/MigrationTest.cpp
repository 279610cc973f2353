#include "Migration.h"
#include "ReferenceMigration.h"

#include "Project.h"
#include "ProjectFixture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Deterministic section values in -1 .. 1, trace after trace.
std::vector<float> Wiggle(int traces, int samples)
{
    std::vector<float> data(static_cast<size_t>(traces) * samples);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<float>(0.6 * std::sin(i * 0.37) + 0.3 * std::cos(i * 2.1 + 1.0));
    return data;
}

// A project record with the values the migration reads; dz = k * dt * v / dx * 0.5.
struct CSection
{
    int traces = 0;
    int samples = 0;
    int zeroLevel = 0;
    double timeVelocity = 1.0;  // dt * v
    double spacing = 1.0;       // dx
    double separation = 0;
    int frequencySteps = 1;
};

void Configure(CProject& project, const CSection& section)
{
    CProjectSettings& s = project.m_settings;
    s.m_iSamples = section.samples;
    s.m_iZeroLevel = section.zeroLevel;
    s.m_dSystemCalibration = 1.0;
    s.m_dVelocity = section.timeVelocity;
    s.m_dResolution = section.spacing;
    s.m_antenna.m_dSeparation = section.separation;
    s.m_antenna.m_iFrequencySteps = section.frequencySteps;
    s.m_params.m_bMigration = true;
}

std::vector<float> ReferenceMigrate(const CMigration& migration, const std::vector<float>& data,
                                    int traces, int samples, int zeroLevel)
{
    std::vector<float> output(data.size(), 0.0f);
    ReferenceMigrate(migration, data.data(), output.data(), traces, samples, zeroLevel);
    return output;
}

// Running mean over traces a - h .. a + h cut to the section, summed afresh for every value.
std::vector<float> ReferenceRemoveMean(const std::vector<float>& data, int traces, int samples, int h)
{
    std::vector<float> output(data.size());
    for (int a = 0; a < traces; ++a) {
        const int first = std::max(0, a - h), last = std::min(traces - 1, a + h);
        for (int s = 0; s < samples; ++s) {
            double sum = 0;
            for (int t = first; t <= last; ++t)
                sum += data[static_cast<size_t>(t) * samples + s];
            output[static_cast<size_t>(a) * samples + s] =
                static_cast<float>(data[static_cast<size_t>(a) * samples + s] - sum / (last - first + 1));
        }
    }
    return output;
}

// MigrateToRows of the trace-major input, back in trace-major order; every padding value of
// the rows' layout starts as NaN.
std::vector<float> MigratedThroughRows(CMigration& migration, const std::vector<float>& input, int traces,
                                       int samples, bool bSameInput = false)
{
    const size_t stride = migration.GetRowStride();
    EXPECT_GE(stride, size_t(traces));
    std::vector<float> rows(size_t(samples) * stride, NAN);
    migration.MigrateToRows(input.data(), rows.data(), bSameInput);
    std::vector<float> output(input.size());
    for (int t = 0; t < traces; ++t)
        for (int s = 0; s < samples; ++s)
            output[size_t(t) * samples + s] = rows[size_t(s) * stride + t];
    return output;
}

} // namespace


TEST(MigrationTest, StepsLeaveTheDataAloneWhenSwitchedOffOrEmpty)
{
    CProject project;
    Configure(project, {6, 20, 2});
    const std::vector<float> input = Wiggle(6, 20);

    project.m_settings.m_params.m_bMigration = false;
    project.m_settings.m_params.m_bDelMeanOn = false;
    CMigration migration(&project, 6);
    migration.BuildTable();
    std::vector<float> data = input;
    migration.RemoveRunningMean(data.data());
    migration.Migrate(data.data());
    EXPECT_EQ(data, input);
    EXPECT_EQ(MigratedThroughRows(migration, input, 6, 20), input);

    // Switched on, but without a table or without traces.
    project.m_settings.m_params.m_bMigration = true;
    project.m_settings.m_params.m_bDelMeanOn = true;
    project.m_settings.m_params.m_iDelMean = 3;
    CMigration unbuilt(&project, 6);
    ClearLog();
    unbuilt.Migrate(data.data());
    EXPECT_EQ(data, input);
    EXPECT_NE(ReadLog().find("CMigration::Migrate()"), std::string::npos);
    EXPECT_EQ(MigratedThroughRows(unbuilt, input, 6, 20), input);

    CMigration empty(&project, 0);
    empty.BuildTable();
    EXPECT_TRUE(empty.IsTableBuilt());
    empty.RemoveRunningMean(data.data());
    empty.Migrate(data.data());
    EXPECT_EQ(data, input);
}

TEST(MigrationTest, RemoveRunningMeanCutsTheWindowAtBothEnds)
{
    const struct { int traces, width; } cases[] = {
        {9, 3}, {9, 4}, {9, 7}, {9, 80}, {30, 80}, {1, 80}, {12, 0}, {5, -7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.traces << " traces, width " << c.width);
        const int samples = 17;
        CProject project;
        Configure(project, {c.traces, samples, 6});
        project.m_settings.m_params.m_bDelMeanOn = true;
        project.m_settings.m_params.m_iDelMean = c.width;
        const int h = std::max(std::min(c.traces - 1, c.width) / 2, 0);
        CMigration migration(&project, c.traces);
        EXPECT_EQ(migration.GetRunningMeanHalfWidth(), h);
        // Twice on one object: the working buffers are reused.
        for (int round = 0; round < 2; ++round) {
            std::vector<float> data = Wiggle(c.traces, samples);
            for (float& value : data)
                value += static_cast<float>(round);
            const std::vector<float> expected = ReferenceRemoveMean(data, c.traces, samples, h);
            migration.RemoveRunningMean(data.data());
            for (size_t i = 0; i < data.size(); ++i)
                ASSERT_NEAR(data[i], expected[i], 1e-6f) << "value " << i;
        }
    }

    // Width 3: the first trace loses the mean of traces 0 and 1, samples above the zero level too.
    CProject project;
    Configure(project, {4, 2, 1});
    project.m_settings.m_params.m_bDelMeanOn = true;
    project.m_settings.m_params.m_iDelMean = 3;
    std::vector<float> data = {1, 10, 3, 20, 8, 60, 100, 100};
    CMigration(&project, 4).RemoveRunningMean(data.data());
    EXPECT_FLOAT_EQ(data[0], 1.0f - 2.0f);
    EXPECT_FLOAT_EQ(data[1], 10.0f - 15.0f);
    EXPECT_FLOAT_EQ(data[2], 3.0f - 4.0f);
    EXPECT_FLOAT_EQ(data[6], 100.0f - 54.0f);
}

TEST(MigrationTest, RemoveRunningMeanOfIdenticalTracesIsZero)
{
    const int traces = 50, samples = 33;
    CProject project;
    Configure(project, {traces, samples, 4});
    project.m_settings.m_params.m_bDelMeanOn = true;
    project.m_settings.m_params.m_iDelMean = 11;
    const std::vector<float> trace = Wiggle(1, samples);
    std::vector<float> data;
    for (int t = 0; t < traces; ++t)
        data.insert(data.end(), trace.begin(), trace.end());
    CMigration(&project, traces).RemoveRunningMean(data.data());
    EXPECT_TRUE(std::all_of(data.begin(), data.end(), [](float v) { return v == 0.0f; }));
}

TEST(MigrationTest, RemoveRunningMeanEqualsTheRunningSumsBitForBitWithEveryKernel)
{
    // Sample counts with and without a remainder past whole packs, windows inside and wider than
    // the section, values of very different sizes and negative zeros.
    const struct { int traces, samples, width; } cases[] = {
        {40, 67, 11}, {9, 16, 80}, {25, 131, 3}, {3, 5, 7}, {1, 33, 80}, {12, 48, 0},
    };
    const std::string usual = CMigration::GetMeanKernelName();
    int kernels = 0;
    for (const char* kernel : {"sse2", "avx2", "avx512f", "generic"}) {
        if (!CMigration::SelectMeanKernel(kernel))
            continue;  // not on this processor
        ++kernels;
        EXPECT_STREQ(CMigration::GetMeanKernelName(), kernel);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << kernel << ": " << c.traces << " traces of " << c.samples
                                            << ", width " << c.width);
            CProject project;
            Configure(project, {c.traces, c.samples, 0});
            project.m_settings.m_params.m_bDelMeanOn = true;
            project.m_settings.m_params.m_iDelMean = c.width;
            std::vector<float> data = Wiggle(c.traces, c.samples);
            for (size_t i = 0; i < data.size(); i += 5)
                data[i] *= i % 2 ? 3e7f : 1e-9f;
            for (size_t i = 3; i < data.size(); i += 7)
                data[i] = -0.0f;
            std::vector<float> expected = data;
            ReferenceRemoveRunningMean(expected.data(), c.traces, c.samples, c.width);
            CMigration(&project, c.traces).RemoveRunningMean(data.data());
            for (size_t i = 0; i < data.size(); ++i)
                ASSERT_EQ(std::memcmp(&data[i], &expected[i], sizeof(float)), 0)
                    << "trace " << i / c.samples << ", sample " << i % c.samples << ": " << data[i]
                    << " instead of " << expected[i];
        }
    }
    EXPECT_GE(kernels, 1);
    EXPECT_FALSE(CMigration::SelectMeanKernel("mmx"));
    EXPECT_TRUE(CMigration::SelectMeanKernel(usual.c_str()));
}

TEST(MigrationTest, TableHoldsTwoWayTravelTimesBelowTheZeroLevel)
{
    // dz = 0.5 trace spacings per sample, 10 samples below the zero level 4.
    const CSection base{6, 14, 4};
    CSection steps2 = base;
    steps2.frequencySteps = 2;  // dz = 1
    CSection separated = base;
    separated.separation = 2.0; // half a separation of 1 trace spacing
    // h = 0.3 / 0.03 * 0.5 is 5 in double but 5.0000005 in single precision, which lifts the
    // path 2h at depth 0 over the boundary of sample 5 (dz just above 1).
    const CSection singleHalf{6, 14, 0, 0.060000003600000004, 0.03, 0.3};
    const struct { CSection section; int sample, offset; uint32_t time, aperture; } cases[] = {
        {base, 4, 0, 4, 5},   {base, 4, 3, 10, 5},    {base, 7, 2, 9, 4},  {base, 12, 3, 14, 3},
        {base, 10, 4, 14, 4}, {base, 13, 0, 13, 2},   {steps2, 7, 4, 9, 9}, {steps2, 12, 0, 12, 6},
        {separated, 4, 0, 6, 5}, {separated, 4, 1, 6, 5}, {separated, 4, 2, 8, 5},
        {singleHalf, 0, 0, 5, 14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "sample " << c.sample << ", offset " << c.offset);
        CProject project;
        Configure(project, c.section);
        CMigration migration(&project, c.section.traces);
        migration.BuildTable();
        ASSERT_TRUE(migration.IsTableBuilt());
        EXPECT_EQ(migration.GetTravelTime(c.sample, c.offset), c.time);
        EXPECT_EQ(migration.GetAperture(c.sample), c.aperture);
    }
}

TEST(MigrationTest, TableTakesStepsBelowOneAsOneAndTheSeparationBySize)
{
    const CSection base{30, 90, 7, 0.37, 0.5, 0.3, 1};
    auto table = [](const CSection& section) {
        CProject project;
        Configure(project, section);
        CMigration migration(&project, section.traces);
        migration.BuildTable();
        std::vector<uint32_t> values;
        for (int s = section.zeroLevel; s < section.samples; ++s) {
            values.push_back(migration.GetAperture(s));
            for (int d = 0; d < section.traces; ++d)
                values.push_back(migration.GetTravelTime(s, d));
        }
        return values;
    };
    const std::vector<uint32_t> expected = table(base);
    EXPECT_TRUE(std::all_of(expected.begin(), expected.end(), [](uint32_t v) { return v < 100000; }));
    for (int steps : {0, -3}) {
        CSection section = base;
        section.frequencySteps = steps;
        EXPECT_EQ(table(section), expected) << "steps " << steps;
    }
    CSection negative = base;
    negative.separation = -base.separation;
    EXPECT_EQ(table(negative), expected);
}

// Every offset, inside the window Migrate reads and beyond it, against the two-way path written
// out in single precision.
TEST(MigrationTest, EveryOffsetHoldsTheTwoWayPathOfItsDepth)
{
    const CSection cases[] = {
        {30, 90, 7, 0.37, 0.5, 0.3, 1}, // window narrower than the section below the top
        {12, 40, 0, 2.0, 1.0, 0.0, 2},  // window wider than the section
        {25, 60, -4, 0.8, 0.4, 1.1, 1}, // negative zero level, wide separation
    };
    for (const CSection& c : cases) {
        SCOPED_TRACE(testing::Message() << c.traces << " traces, zero level " << c.zeroLevel);
        CProject project;
        Configure(project, c);
        CMigration migration(&project, c.traces);
        migration.BuildTable();
        const int zl = std::max(c.zeroLevel, 0);
        const float dz = static_cast<float>(c.frequencySteps * c.timeVelocity / c.spacing * 0.5);
        const float h = static_cast<float>(c.separation) / static_cast<float>(c.spacing) * 0.5f;
        const float n = static_cast<float>(c.samples - zl);
        bool bBeyond = false;
        for (int s = zl; s < c.samples; ++s) {
            const float j = static_cast<float>(s - zl);
            const float z2 = j * j * (dz * dz);
            const uint32_t aperture = static_cast<uint32_t>(std::sqrt(n * n * (dz * dz) - z2));
            ASSERT_EQ(migration.GetAperture(s), aperture) << "sample " << s;
            for (int d = 0; d < c.traces; ++d) {
                const float plus = static_cast<float>(d) + h, minus = static_cast<float>(d) - h;
                const float path = std::sqrt(plus * plus + z2) + std::sqrt(minus * minus + z2);
                ASSERT_EQ(migration.GetTravelTime(s, d), static_cast<uint32_t>(path * (0.5f / dz) + static_cast<float>(zl)))
                    << "sample " << s << ", offset " << d;
                bBeyond |= uint32_t(d) > aperture;
            }
        }
        EXPECT_EQ(bBeyond, &c != &cases[1]);
    }
}

TEST(MigrationTest, TableIsCurrentUntilAValueItComesFromChanges)
{
    const CSection section{20, 50, 5, 0.5, 0.5, 0.2, 1};
    const std::function<void(CProjectSettings&)> changes[] = {
        [](CProjectSettings& s) { s.m_dVelocity *= 1.01; },
        [](CProjectSettings& s) { s.m_dSystemCalibration = 0.9; },
        [](CProjectSettings& s) { s.m_dResolution = 0.45; },
        [](CProjectSettings& s) { s.m_antenna.m_dSeparation = 0.3; },
        [](CProjectSettings& s) { s.m_antenna.m_iFrequencySteps = 2; },
        [](CProjectSettings& s) { s.m_iZeroLevel = 6; },
        [](CProjectSettings& s) { s.m_iSamples = 51; },
        [](CProjectSettings& s) { s.m_dVelocity = NAN; },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(testing::Message() << "change " << i);
        CProject project;
        Configure(project, section);
        CMigration migration(&project, section.traces);
        EXPECT_FALSE(migration.IsTableCurrent());
        migration.BuildTable();
        EXPECT_TRUE(migration.IsTableCurrent());
        // The switches do not go into the table.
        project.m_settings.m_params.m_bMigration = false;
        project.m_settings.m_params.m_bDelMeanOn = true;
        project.m_settings.m_params.m_iDelMean = 9;
        EXPECT_TRUE(migration.IsTableCurrent());
        changes[i](project.m_settings);
        EXPECT_FALSE(migration.IsTableCurrent());
    }
}

// One object through velocities whose windows are wider and narrower than before: each
// migration equals the direct summation over the table of that velocity.
TEST(MigrationTest, TableBuiltAgainMigratesAsANewObjectDoes)
{
    CSection section{70, 160, 4, 0.5};
    CProject project;
    Configure(project, section);
    CMigration migration(&project, section.traces), rowsOnly(&project, section.traces);
    const std::vector<float> input = Wiggle(section.traces, section.samples);
    // 0.9 and 1.2 both give windows wider than the section; the rows of rowsOnly keep the
    // same input through windows that grow and shrink.
    bool bSameInput = false;
    for (const double timeVelocity : {0.5, 0.9, 1.2, 0.3, 0.5}) {
        SCOPED_TRACE(testing::Message() << "dt*v " << timeVelocity);
        project.m_settings.m_dVelocity = timeVelocity;
        ASSERT_FALSE(migration.IsTableCurrent());
        migration.BuildTable();
        rowsOnly.BuildTable();
        std::vector<float> data = input;
        const std::vector<float> expected =
            ReferenceMigrate(migration, data, section.traces, section.samples, section.zeroLevel);
        migration.Migrate(data.data());
        ASSERT_EQ(std::memcmp(data.data(), expected.data(), data.size() * sizeof(float)), 0);
        const std::vector<float> rows = MigratedThroughRows(rowsOnly, input, section.traces, section.samples, bSameInput);
        ASSERT_EQ(std::memcmp(rows.data(), expected.data(), rows.size() * sizeof(float)), 0);
        bSameInput = true;
    }
}

TEST(MigrationTest, UnusableDepthScaleSumsNothingAndLongTimesSaturate)
{
    const struct { double timeVelocity, spacing; } cases[] = {{0, 1}, {-0.5, 1}, {0.5, 0}, {0.5, -2}, {NAN, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "dt*v " << c.timeVelocity << ", dx " << c.spacing);
        const CSection section{8, 30, 3, c.timeVelocity, c.spacing};
        CProject project;
        Configure(project, section);
        CMigration migration(&project, section.traces);
        migration.BuildTable();
        for (int s = section.zeroLevel; s < section.samples; ++s)
            for (int d = 0; d < section.traces; ++d)
                ASSERT_GE(migration.GetTravelTime(s, d), uint32_t(section.samples));
        std::vector<float> data = Wiggle(section.traces, section.samples);
        migration.Migrate(data.data());
        EXPECT_TRUE(std::all_of(data.begin(), data.end(), [](float v) { return v == 0.0f; }));
    }

    // One sample is 5e-11 trace spacings deep: every offset lies beyond 2^32 samples.
    const CSection section{8, 30, 3, 1.0, 1e10};
    CProject project;
    Configure(project, section);
    CMigration migration(&project, section.traces);
    migration.BuildTable();
    EXPECT_EQ(migration.GetTravelTime(3, 0), 3u);
    EXPECT_EQ(migration.GetTravelTime(3, 1), UINT32_MAX);
    EXPECT_EQ(migration.GetTravelTime(29, 7), UINT32_MAX);
}

TEST(MigrationTest, MigrateEqualsTheDirectSummation)
{
    CSection wide{40, 200, 5, 0.5};       // window wider than the section, far offsets gated
    CSection inner{150, 180, 0, 0.6, 1.0, 0.3, 2};  // window inside the section in the middle
    CSection negativeZero{25, 150, -3, 0.4};
    CSection lastSample{12, 50, 49, 0.5};
    CSection belowTrace{12, 50, 55, 0.5};
    CSection oneTrace{1, 60, 0, 0.5};
    CSection pastBlocks{65, 90, 0, 0.3};  // one trace more than a whole number of blocks
    const std::string usual = CMigration::GetKernelName();
    for (const char* kernel : {"sse2", "avx2", "avx512f", "generic"}) {
        if (!CMigration::SelectKernel(kernel))
            continue;  // not on this processor
        for (const CSection& section : {wide, inner, negativeZero, lastSample, belowTrace, oneTrace, pastBlocks}) {
            SCOPED_TRACE(testing::Message() << kernel << ": " << section.traces << " traces, " << section.samples
                                            << " samples, zero level " << section.zeroLevel);
            CProject project;
            Configure(project, section);
            CMigration migration(&project, section.traces);
            migration.BuildTable();
            const int zl = std::max(section.zeroLevel, 0);
            if (section.samples - zl > 100) {
                // The case reaches the 120-sample gate and cuts windows at both ends.
                bool bGated = false;
                for (int s = zl; s < section.samples; ++s)
                    for (uint32_t d = 0; d <= migration.GetAperture(s) && d < uint32_t(section.traces); ++d) {
                        const uint32_t time = migration.GetTravelTime(s, static_cast<int32_t>(d));
                        bGated |= time < uint32_t(section.samples) && time >= uint32_t(s) + 120;
                    }
                EXPECT_TRUE(bGated);
                EXPECT_GT(migration.GetAperture(zl), uint32_t(section.traces / 2));
            }
            // Twice on one object: the working buffers are reused.
            for (int round = 0; round < 2; ++round) {
                std::vector<float> data = Wiggle(section.traces, section.samples);
                for (size_t i = 0; i < data.size(); i += 7 + round)
                    data[i] *= -3.0f;
                const std::vector<float> expected =
                    ReferenceMigrate(migration, data, section.traces, section.samples, section.zeroLevel);
                const std::vector<float> throughRows =
                    MigratedThroughRows(migration, data, section.traces, section.samples);
                ASSERT_EQ(std::memcmp(throughRows.data(), expected.data(), expected.size() * sizeof(float)), 0)
                    << "sample-major output";
                migration.Migrate(data.data());
                for (size_t i = 0; i < data.size(); ++i)
                    ASSERT_EQ(std::memcmp(&data[i], &expected[i], sizeof(float)), 0)
                        << "trace " << i / section.samples << ", sample " << i % section.samples << ": "
                        << data[i] << " instead of " << expected[i];
                for (int t = 0; t < section.traces; ++t)
                    for (int s = 0; s < std::min(zl, section.samples); ++s)
                        ASSERT_EQ(data[static_cast<size_t>(t) * section.samples + s], 0.0f);
            }
        }
    }
    EXPECT_FALSE(CMigration::SelectKernel("mmx"));
    EXPECT_TRUE(CMigration::SelectKernel(usual.c_str()));
}

TEST(MigrationTest, PeaksComeFromTheFirstNonEmptyTraceAndOutputTraceZero)
{
    // 4 traces of 40 samples, zero level 8: the empty test looks at samples 0, 9, 8, 16 and 24.
    CProject project;
    Configure(project, {4, 40, 8, 0.5});
    CMigration migration(&project, 4);
    migration.BuildTable();
    std::vector<float> data(4 * 40, 0.0f);
    data[1 * 40 + 3] = 9.0f;    // trace 1 counts as empty
    data[2 * 40 + 2] = 5.0f;    // above the zero level
    data[2 * 40 + 16] = -0.7f;
    data[2 * 40 + 30] = 0.4f;
    data[3 * 40 + 12] = 2.0f;
    migration.Migrate(data.data());
    EXPECT_FLOAT_EQ(migration.GetInputPeak(), 0.7f);
    float high = 0, low = 0;
    for (int s = 0; s < 40; ++s) {
        high = std::max(high, data[s]);
        low = std::min(low, data[s]);
    }
    ASSERT_GT(std::max(high, -low), 0.0f);
    EXPECT_FLOAT_EQ(migration.GetOutputPeak(), std::max(high, -low));

    std::fill(data.begin(), data.end(), 0.0f);
    migration.Migrate(data.data());
    EXPECT_EQ(migration.GetInputPeak(), 0.0f);
    EXPECT_EQ(migration.GetOutputPeak(), 1.0f);

    // Zero level at the last sample and past it: the scan stays inside the section, which
    // holds only values the empty test does not look at.
    for (int zl : {39, 40, 1000}) {
        project.m_settings.m_iZeroLevel = zl;
        CMigration edge(&project, 4);
        edge.BuildTable();
        std::vector<float> section(4 * 40, 0.5f);
        for (int t = 0; t < 4; ++t)
            section[t * 40] = section[t * 40 + 39] = 0.0f;
        edge.Migrate(section.data());
        EXPECT_EQ(edge.GetInputPeak(), 0.0f) << zl;
    }
}

TEST(MigrationTest, OversizedSectionIsLoggedAndLeftAlone)
{
    CProject project;
    Configure(project, {0, 512, 10});
    project.m_settings.m_params.m_bDelMeanOn = true;
    project.m_settings.m_params.m_iDelMean = 9;
    ClearLog();
    CMigration migration(&project, INT32_MAX);
    EXPECT_NE(ReadLog().find("CMigration::Alloc()"), std::string::npos);
    EXPECT_FALSE(migration.Alloc());
    migration.BuildTable();
    std::vector<float> data = Wiggle(2, 512);
    const std::vector<float> input = data;
    migration.RemoveRunningMean(data.data());
    migration.Migrate(data.data());
    EXPECT_EQ(data, input);
}

namespace {

// A profile straight over one scatterer, read from its project as the matrix reads it.
struct CScattererProfile
{
    SurveyGen::CSurveyParams params;
    CTempDir dir;
    CProject project;
    std::vector<float> section;
    int traces = 0;
    int samples = 0;
    int apexTrace = 0;
    double apexSample = 0;

    CScattererProfile()
    {
        params = SurveyGen::SmallSurvey();
        params.sizeX = 0.8;
        params.sizeY = 4.0;
        params.lineSpacing = 0.4;  // 10 traces
        params.samples = 256;
        params.timeWindowNs = 60.0;
        params.scatterers = {{0.4, 2.0, 0.5, 10000.0}};
        const CGeneratedProject made = CreateGeneratedProject(dir, params);
        if (!project.Open(made.rhdPath))
            return;
        CProjectSettings& s = project.m_settings;
        s.m_iZeroLevel = params.zeroLevel;
        s.m_params.m_bDelMeanOn = true;  // takes the direct wave away
        s.m_params.m_iDelMean = 80;
        traces = s.m_iSizeY;
        samples = s.m_iSamples;
        project.SelectXProfile(1);     // the vertical line at x = 0.4 m
        section.resize(static_cast<size_t>(traces) * samples);
        std::vector<int16_t> raw(static_cast<size_t>(samples));
        for (int t = 0; t < traces; ++t) {
            project.ReadTrace(t, raw.data());
            for (int i = 0; i < samples; ++i)
                section[static_cast<size_t>(t) * samples + i] = raw[i] * 3.051851e-5f;
        }
        apexTrace = static_cast<int>(std::lround(2.0 / params.traceInterval));
        apexSample = s.DepthToSample(0.5);
    }

    std::vector<float> Process(double velocity, bool bMigrate)
    {
        project.m_settings.m_dVelocity = velocity;
        project.m_settings.m_params.m_bMigration = bMigrate;
        CMigration migration(&project, traces);
        migration.BuildTable();
        std::vector<float> data = section;
        migration.RemoveRunningMean(data.data());
        migration.Migrate(data.data());
        return data;
    }
};

struct CFocus
{
    int trace = 0;
    int sample = 0;
    float peak = 0;
    double apexShare = 0;  // energy within 3 traces and 6 samples of the apex over all energy
};

CFocus Measure(const CScattererProfile& profile, const std::vector<float>& data)
{
    CFocus focus;
    double energy = 0, apex = 0;
    // Below the direct wave's remains.
    const int first = profile.params.zeroLevel + 8;
    for (int t = 0; t < profile.traces; ++t)
        for (int s = first; s < profile.samples; ++s) {
            const float v = data[static_cast<size_t>(t) * profile.samples + s];
            energy += v * v;
            if (std::abs(t - profile.apexTrace) <= 3 && std::fabs(s - profile.apexSample) <= 6)
                apex += v * v;
            if (std::fabs(v) > focus.peak) {
                focus.peak = std::fabs(v);
                focus.trace = t;
                focus.sample = s;
            }
        }
    focus.apexShare = energy > 0 ? apex / energy : 0;
    return focus;
}

} // namespace

TEST(MigrationTest, TrueVelocityCollapsesTheHyperbolaToItsApex)
{
    CScattererProfile profile;
    ASSERT_TRUE(profile.project.IsOpen());
    ASSERT_EQ(profile.traces, 111);
    const double velocity = profile.params.velocity;

    const CFocus raw = Measure(profile, profile.Process(velocity, false));
    const CFocus focused = Measure(profile, profile.Process(velocity, true));
    EXPECT_LE(std::abs(focused.trace - profile.apexTrace), 2);
    EXPECT_LE(std::fabs(focused.sample - profile.apexSample), 2.0);
    EXPECT_GT(focused.apexShare, 1.4 * raw.apexShare);

    for (double wrong : {velocity * 0.5, velocity * 2.0}) {
        SCOPED_TRACE(testing::Message() << "velocity " << wrong);
        const CFocus blurred = Measure(profile, profile.Process(wrong, true));
        EXPECT_LT(blurred.peak, 0.5f * focused.peak);
        EXPECT_LT(blurred.apexShare, 0.5 * focused.apexShare);
    }
}
