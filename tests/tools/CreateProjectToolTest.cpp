#include "Project.h"
#include "SurveyGenerator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(CreateProjectTool, FoldersAreTheBytesGivenEvenWhenNotUtf8)
{
    // Latin-1 folder names, as older systems and copied media leave them.
    const CTempDir dir;
    const std::string survey = dir.File("survey\xe9");
    const std::string out = dir.File("projects\xe9");
    std::string error;
    ASSERT_TRUE(SurveyGen::WriteSurvey(SurveyGen::SmallSurvey(), survey, &error)) << error;
    const std::string command = std::string(CREATEPROJECT_PATH) + " --survey '" + survey + "' --out '" + out +
                                "' --name p > '" + dir.File("stdout") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(dir.File("stdout"));
    EXPECT_TRUE(fs::is_regular_file(out + "/p/3D_p_2.rd6"));
    EXPECT_EQ(ReadFileBytes(dir.File("stdout")), out + "/p/3D_p.rhd\n");
}

namespace {

// The reference survey without its noise, made into a project as the README makes the demo:
// with createproject's defaults.
SurveyGen::CSurveyParams QuietReferenceSurvey()
{
    SurveyGen::CSurveyParams params = SurveyGen::ReferenceSurvey();
    params.noiseLevel = 0;
    return params;
}

class DemoProject : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new CTempDir;
        std::string error;
        ASSERT_TRUE(SurveyGen::WriteSurvey(QuietReferenceSurvey(), s_dir->File("survey"), &error)) << error;
        const std::string command = std::string(CREATEPROJECT_PATH) + " --survey '" + s_dir->File("survey") +
                                    "' --out '" + s_dir->Path() + "' --name reference > '" +
                                    s_dir->File("stdout") + "' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << ReadFileBytes(s_dir->File("stdout"));
    }

    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_dir);
        ASSERT_TRUE(project.Open(s_dir->WFile("reference/3D_reference.rhd"))) << ReadLog();
    }

    static CTempDir* s_dir;
    const SurveyGen::CSurveyParams params = QuietReferenceSurvey();
    CProject project;
};

CTempDir* DemoProject::s_dir = nullptr;

} // namespace

// The brightest trace at a scatterer's apex time (the energy of a window about one wavelet
// long, so that where the samples fall on the wavelet does not count), over the traces of each
// direction's lines near it, lies within one trace of where the scatterer is: both directions
// and the depth slice show it in one place.
TEST_F(DemoProject, ShowsEveryScattererWhereItLies)
{
    const CProjectSettings& s = project.m_settings;
    const size_t recordSize = 4 + 2 * static_cast<size_t>(s.m_iSamples);
    const double searchRadius = 1.0; // m; the scatterers lie further apart
    const int kHalfWindow = 10;      // samples, a wavelet period is 10
    ASSERT_FALSE(params.scatterers.empty());
    for (const SurveyGen::CScatterer& scatterer : params.scatterers) {
        const int apex = static_cast<int>(std::lround(SurveyGen::ArrivalSample(params, scatterer.depth)));
        ASSERT_LT(apex + kHalfWindow, s.m_iSamples);
        for (const bool bX : {true, false}) {
            const int32_t lines = bX ? s.GetXLineCount() : s.GetYLineCount();
            const int32_t traces = bX ? s.m_iSizeY : s.m_iSizeX;
            std::vector<uint8_t> records(static_cast<size_t>(traces) * recordSize);
            double best = -1;
            double bestX = -1, bestY = -1;
            for (int32_t line = 0; line < lines; ++line) {
                bX ? project.SelectXProfile(line) : project.SelectYProfile(line);
                ASSERT_EQ(project.ReadTraceRecords(0, traces, records.data()), traces) << bX << " " << line;
                for (int32_t t = 0; t < traces; ++t) {
                    const uint8_t* record = records.data() + t * recordSize;
                    uint32_t position = 0;
                    std::memcpy(&position, record, 4);
                    const double x = (position / uint32_t(s.m_iSizeY)) * s.m_dResolution;
                    const double y = (position % uint32_t(s.m_iSizeY)) * s.m_dResolution;
                    if (std::hypot(x - scatterer.x, y - scatterer.y) > searchRadius)
                        continue;
                    double energy = 0;
                    for (int k = apex - kHalfWindow; k <= apex + kHalfWindow; ++k) {
                        int16_t value = 0;
                        std::memcpy(&value, record + 4 + 2 * k, 2);
                        energy += double(value) * value;
                    }
                    if (energy > best) {
                        best = energy;
                        bestX = x;
                        bestY = y;
                    }
                }
            }
            const std::string where = (bX ? "X lines, scatterer at " : "Y lines, scatterer at ") +
                                      std::to_string(scatterer.x) + " " + std::to_string(scatterer.y);
            EXPECT_GT(best, scatterer.amplitude * scatterer.amplitude) << where;
            EXPECT_LE(std::abs(bestX - scatterer.x), s.m_dResolution * 1.001) << where << ": found x " << bestX;
            EXPECT_LE(std::abs(bestY - scatterer.y), s.m_dResolution * 1.001) << where << ": found y " << bestY;
        }
    }
}

// What the project takes from the profile header: the antenna record holds the name from
// ANTENNAS and FREQUENCY, the sampling frequency; depth and time come from the calibration.
TEST_F(DemoProject, CarriesTheSurveysAntennaAndTiming)
{
    const CProjectSettings& s = project.m_settings;
    EXPECT_EQ(s.m_iSamples, params.samples);
    EXPECT_DOUBLE_EQ(s.m_dResolution, params.traceInterval);
    EXPECT_DOUBLE_EQ(s.m_dSystemCalibration, SurveyGen::SampleTimeUs(params));
    EXPECT_EQ(s.m_antenna.m_strName, L"500 MHz synthetic");
    EXPECT_DOUBLE_EQ(s.m_antenna.m_dFrequency * s.m_dSystemCalibration, 1.0);
    EXPECT_EQ(s.m_antenna.m_iFrequencySteps, 1);
    EXPECT_DOUBLE_EQ(s.m_antenna.m_dSeparation, params.separation);
    EXPECT_EQ(s.m_antenna.m_iRampKind, 0);
    EXPECT_FALSE(s.m_bNegativeDirection);
    EXPECT_EQ(s.m_iStackExponent, 0);
    EXPECT_EQ(s.m_units, 0);
    EXPECT_EQ(s.m_strComment, L"Quarvel survey generator, vertical profile at x 0 m, seed 1");
}
