#include "Matrix.h"

#include "Cfg.h"
#include "Migration.h"
#include "Project.h"
#include "ProjectFixture.h"
#include "ReferenceMatrix.h"
#include "SignalRoutines.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

// EM records for every trace of a set: four components that rise along the line, with a spike.
std::string EmFile(uint32_t lines, uint32_t perLine, uint32_t sizeY, uint32_t spacing, bool bX)
{
    std::string bytes(4, '\0');
    for (uint32_t line = 0; line < lines; ++line)
        for (uint32_t t = 0; t < perLine; ++t) {
            const uint32_t p = bX ? line * spacing * sizeY + t : t * sizeY + line * spacing;
            bytes.append(reinterpret_cast<const char*>(&p), 4);
            for (int c = 0; c < 4; ++c) {
                const int16_t raw = static_cast<int16_t>((t % 7 == 3 && c == 1) ? 30000 : 100 * t + 1000 * c + line);
                bytes.append(reinterpret_cast<const char*>(&raw), 2);
            }
        }
    return bytes;
}

struct CCase
{
    const char* name;
    SurveyGen::CSurveyParams params;
    bool bMigration;
    bool bDelMean;
    bool bFirOn;
    int zeroLevel; // -1: picked from the first arrivals
    float autoGain;
    bool bEm;
    bool bOneTraceAlongX; // the grid cut to one vertical line, so horizontal lines of one trace
};

std::vector<CCase> Cases()
{
    using SurveyGen::SmallSurvey;
    SurveyGen::CSurveyParams small = SmallSurvey();
    SurveyGen::CSurveyParams longer = SmallSurvey();   // 101 traces: blocks and a remainder
    longer.sizeY = 4.0;
    longer.samples = 128;
    longer.timeWindowNs = 50.0;
    return {
        {"all on, picked zero level", small, true, true, true, -1, 0.0f, true, false},
        {"all off", small, false, false, false, 5, 0.0f, false, false},
        {"migration alone, auto gain", small, true, false, true, 10, -1.5f, true, false},
        {"zero level 0", longer, true, true, true, 0, 0.0f, false, false},
        {"zero level at the last sample", longer, true, true, true, 127, 0.0f, false, false},
        {"zero level beyond the trace", longer, true, true, true, 140, 0.0f, false, false},
        {"one line, one trace", longer, true, true, true, 3, 0.0f, false, true},
    };
}

} // namespace

// The matrix against the written-out computation, byte for byte, with every packed band pass,
// running-mean and summation kernel this processor offers.
TEST(MatrixEquivalence, MatrixEqualsTheTraceByTraceComputation)
{
    g_cfg.SetDefaults();
    const std::string usualSum = CMigration::GetKernelName();
    const std::string usualMean = CMigration::GetMeanKernelName();
    const std::string usualBandPass = GetBandPassKernelName();
    for (const CCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        CTempDir dir;
        const CGeneratedProject made = CreateGeneratedProject(dir, c.params);
        CProject project;
        ASSERT_TRUE(project.Open(made.rhdPath));
        if (c.bEm) {
            const CProjectSettings& s = project.m_settings;
            const uint32_t sizeY = uint32_t(s.m_iSizeY), spacing = uint32_t(s.m_iProfileSpacing);
            WriteFileBytes(made.File("_1.emm"), EmFile(uint32_t(s.GetXLineCount()), sizeY, sizeY, spacing, true));
            WriteFileBytes(made.File("_2.emm"), EmFile(uint32_t(s.GetYLineCount()), uint32_t(s.m_iSizeX), sizeY, spacing, false));
            ASSERT_TRUE(project.Open(made.rhdPath));
            ASSERT_TRUE(project.m_settings.m_bHasEmData);
        }
        CProjectSettings& s = project.m_settings;
        s.m_params.m_bMigration = c.bMigration;
        s.m_params.m_bDelMeanOn = c.bDelMean;
        s.m_params.m_bFirOn = c.bFirOn;
        s.m_bUseZeroLevel = c.zeroLevel >= 0;
        s.m_iZeroLevel = std::max(c.zeroLevel, 0);
        s.m_fAutoGain = c.autoGain;
        if (c.bOneTraceAlongX)
            s.m_iGridSizeX = s.m_iSizeX = 1;

        C3DMatrix matrix;
        ASSERT_TRUE(matrix.Init(&project));
        if (c.bOneTraceAlongX) {
            EXPECT_EQ(matrix.m_nVertLinesProcessed, 1u);
            EXPECT_EQ(matrix.m_nHorzReadCount, 1u);
        }
        CReferenceSet vertical, horizontal;
        ASSERT_TRUE(ReferenceCalculateSet(project, true, int(matrix.m_nVertLinesProcessed), int(matrix.m_nNY),
                                          int(matrix.m_nVertReadCount), vertical));
        ASSERT_TRUE(ReferenceCalculateSet(project, false, int(matrix.m_nHorzLinesProcessed), int(matrix.m_nNX),
                                          int(matrix.m_nHorzReadCount), horizontal));
        const int32_t zeroLevel = s.m_iZeroLevel;
        for (const char* kernel : {"sse2", "avx2", "avx512f", "generic"}) {
            // Each kernel of this instruction set; a routine without one keeps the last.
            const bool bSum = CMigration::SelectKernel(kernel);
            const bool bMean = CMigration::SelectMeanKernel(kernel);
            if (!SelectBandPassKernel(kernel) && !bSum && !bMean)
                continue;
            SCOPED_TRACE(testing::Message() << "band pass " << GetBandPassKernelName() << ", running mean "
                                            << CMigration::GetMeanKernelName() << ", summation "
                                            << CMigration::GetKernelName());
            s.m_iZeroLevel = std::max(c.zeroLevel, 0);
            ASSERT_TRUE(matrix.Calculate());
            EXPECT_EQ(s.m_iZeroLevel, zeroLevel);
            const size_t ns = matrix.m_nSamples;
            EXPECT_EQ(std::memcmp(matrix.GetVertTrace(0, 0), vertical.traces.data(), vertical.traces.size() * 4), 0);
            if (matrix.m_nHorzLinesProcessed > 0) {
                EXPECT_EQ(std::memcmp(matrix.GetHorzTrace(0, 0), horizontal.traces.data(), horizontal.traces.size() * 4), 0);
            }
            EXPECT_EQ(std::memcmp(matrix.GetVertEm(0), vertical.em.data(), vertical.em.size() * 4), 0);
            EXPECT_EQ(std::memcmp(matrix.GetHorzEm(0), horizontal.em.data(), horizontal.em.size() * 4), 0);
            EXPECT_EQ(vertical.traces.size(), size_t(matrix.m_nVertLinesProcessed) * matrix.m_nNY * ns);
        }
        ASSERT_TRUE(CMigration::SelectKernel(usualSum.c_str()));
        ASSERT_TRUE(CMigration::SelectMeanKernel(usualMean.c_str()));
        ASSERT_TRUE(SelectBandPassKernel(usualBandPass.c_str()));
    }
}
