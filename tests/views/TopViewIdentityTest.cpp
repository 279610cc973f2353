// The depth slice that the top view renders at its pane's pixel resolution is, pixel for pixel,
// the image built the long way over the whole grid: on the reference survey and on a small one
// of odd sizes, in both unit systems, at pane sizes below, at and above the grid, with the slice
// thickness, threshold, AGC, angle, time gain and palette wrap that take the other paths,
// through a run of depth steps and jumps, and with every build of the pixel pass that the
// processor runs.

#include "DataTopView.h"

#include "GeneratedSurveyTest.h"
#include "RecordingWnd.h"
#include "ReferenceTopView.h"

#include "Cfg.h"
#include "Matrix.h"
#include "Project.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>

namespace {

struct CSurveyData
{
    CTempDir dir;
    CGeneratedProject made;
    CProject project;
    C3DMatrix matrix;
};

// Pane size against the grid: a share of its columns and rows plus a few pixels.
struct CPaneSize
{
    float columns;
    float rows;
    int extra;
};

struct CIdentityCase
{
    const char* name;
    TUnits units;
    CPaneSize pane;
    int thickness;
    int threshold;
    bool bAgc;
    int angle;
    int contrast;
    int timeGain;
    bool bWrap;
};

const CIdentityCase kCases[] = {
    {"plain, pane as the grid", UNITS_SI, {1.0f, 1.0f, 0}, 1, 0, false, 0, 0, 0, false},
    {"plain, pane below the grid", UNITS_IMP, {0.45f, 0.3f, 1}, 1, 0, false, 0, 5, 0, false},
    {"plain, pane above the grid", UNITS_SI, {1.7f, 1.45f, 3}, 1, 0, false, 0, 5, 0, false},
    {"thickness 5, wrapping palette", UNITS_IMP, {1.3f, 0.8f, 5}, 5, 0, false, 0, 30, 0, true},
    {"thickness 40, time gain", UNITS_SI, {0.6f, 1.2f, 2}, 40, 0, false, 0, 12, 400, false},
    {"positive threshold", UNITS_SI, {0.9f, 0.7f, 1}, 2, 7, false, 0, 20, 0, false},
    {"negative threshold", UNITS_IMP, {1.1f, 1.9f, 0}, 1, -200, false, 0, 20, 0, false},
    {"AGC", UNITS_SI, {0.8f, 0.8f, 7}, 1, 0, true, 0, 0, 0, false},
    {"AGC with thickness and threshold", UNITS_IMP, {0.5f, 1.5f, 0}, 9, 3, true, 0, 3, 0, false},
    {"angle 20", UNITS_SI, {1.2f, 1.0f, 1}, 1, 0, false, 20, 8, 0, false},
    {"angle -35 with thickness", UNITS_IMP, {0.7f, 0.55f, 3}, 4, 0, false, -35, 8, 0, false},
    {"steep angle, pane of one column", UNITS_SI, {0.0f, 1.0f, 1}, 1, 0, false, 70, 8, 0, false},
    {"one pixel", UNITS_IMP, {0.0f, 0.0f, 1}, 3, 0, false, 10, 8, 0, false},
};

class TopViewIdentityTest : public testing::Test
{
protected:
    // A top view of a case's pane size in a shown parent.
    struct CPaneView
    {
        CRecordingWnd parent;
        CDataTopView view;
        bool Create(int width, int height)
        {
            if (!parent.CreateShown(width, height) || !view.Create(&parent))
                return false;
            view.Resize(CRect(0, 0, width, height));
            return true;
        }
    };
    static int PaneWidth(const CIdentityCase& c, int columns)
    {
        return std::max(int(c.pane.columns * float(columns)) + c.pane.extra, 1);
    }
    static int PaneHeight(const CIdentityCase& c, int rows)
    {
        return std::max(int(c.pane.rows * float(rows)) + c.pane.extra, 1);
    }

    static std::unique_ptr<CSurveyData> Compute(const SurveyGen::CSurveyParams& params)
    {
        auto data = std::make_unique<CSurveyData>();
        data->made = CreateGeneratedProject(data->dir, params);
        if (!data->project.Open(data->made.rhdPath) || !data->matrix.Init(&data->project) ||
            !data->matrix.Calculate())
            return nullptr;
        return data;
    }

    static SurveyGen::CSurveyParams OddSurvey()
    {
        SurveyGen::CSurveyParams odd = SurveyGen::SmallSurvey();
        odd.sizeX = 2.36;
        odd.sizeY = 1.72;
        odd.lineSpacing = 0.28;
        odd.samples = 77;
        return odd;
    }

    static void SetUpTestSuite()
    {
        s_reference = Compute(SurveyGen::ReferenceSurvey());
        s_odd = Compute(OddSurvey());
    }
    static void TearDownTestSuite()
    {
        s_reference.reset();
        s_odd.reset();
    }

    // Every case on one survey with each build of the pixel pass that this processor runs.
    void CheckEveryCaseWithEveryKernel(CSurveyData* pData)
    {
        const std::string usual = CDataTopView::GetKernelName();
        for (const char* kernel : {"avx2", "sse2", "generic"}) {
            if (!CDataTopView::SelectKernel(kernel))
                continue;
            SCOPED_TRACE(kernel);
            CheckEveryCase(pData);
        }
        CDataTopView::SelectKernel(usual.c_str());
    }

    // Renders every case through a run of depths on one survey and compares every pixel.
    void CheckEveryCase(CSurveyData* pData)
    {
        ASSERT_NE(pData, nullptr);
        CProject& project = pData->project;
        CProjectSettings& s = project.m_settings;
        const int columns = s.m_iGridSizeX, rows = s.m_iGridSizeY, samples = s.m_iSamples;
        const int zero = std::clamp(s.m_iZeroLevel, 0, samples - 1);
        // Wheel notches down and up, a jump, the ends of the trace and a notch next to them.
        const int depths[] = {zero + 5, zero + 6, zero + 7, zero + 6, samples / 2, samples - 1, samples - 2, 0};
        for (const CIdentityCase& c : kCases) {
            SCOPED_TRACE(c.name);
            const int width = PaneWidth(c, columns), height = PaneHeight(c, rows);
            CPaneView pane;
            ASSERT_TRUE(pane.Create(width, height));
            CDataTopView& view = pane.view;
            s.m_units = c.units;
            g_cfg.m_units = c.units;
            s.m_params.m_iAperture = c.thickness;
            s.m_params.m_iThreshold = c.threshold;
            s.m_params.m_bAgcOn = c.bAgc;
            s.m_iAngle = c.angle;
            s.m_iContrast = c.contrast;
            s.m_params.m_iTimeGain = c.timeGain;
            g_cfg.m_bPaletteWrap = c.bWrap;
            view.SetProject(&project, &pData->matrix);
            const Tovrik::CMemDC& image = view.GetImage();
            ASSERT_EQ(image.GetWidth(), width);
            ASSERT_EQ(image.GetHeight(), height);
            for (int depth : depths) {
                s.m_iDepthIndex = depth;
                project.m_fCursorDepth = float(depth);
                view.Render();
                const std::vector<uint32_t> expected =
                    ReferenceTopViewImage(pData->matrix, s, view.GetWeights(), width, height);
                ASSERT_NO_FATAL_FAILURE(ExpectSameImage(image, expected, depth));
            }
        }
    }

    static void ExpectSameImage(const Tovrik::CMemDC& image, const std::vector<uint32_t>& expected, int depth)
    {
        const int width = image.GetWidth(), height = image.GetHeight(), bytes = image.GetBytesPerPixel();
        for (int p = 0; p < height; ++p)
            for (int q = 0; q < width; ++q) {
                const uint8_t* pixel = image.GetBits() + ptrdiff_t(p) * image.GetStride() + ptrdiff_t(q) * bytes;
                const uint32_t colour = RGB(pixel[2], pixel[1], pixel[0]);
                const uint32_t want = expected[size_t(p) * size_t(width) + size_t(q)];
                if (colour != want)
                    FAIL() << "depth " << depth << ", buffer row " << p << ", column " << q << ": colour " << std::hex
                           << colour << " instead of " << want;
            }
    }

    CIndexPalette m_palette;
    inline static std::unique_ptr<CSurveyData> s_reference;
    inline static std::unique_ptr<CSurveyData> s_odd;
};

TEST_F(TopViewIdentityTest, ReferenceSurveyRendersAsOverTheWholeGrid)
{
    CheckEveryCaseWithEveryKernel(s_reference.get());
}

TEST_F(TopViewIdentityTest, OddSizedSurveyRendersAsOverTheWholeGrid)
{
    CheckEveryCaseWithEveryKernel(s_odd.get());
}

// EM records beside the odd survey's trace files: a record per trace of every profile, at its
// grid position, with four values that vary from trace to trace.
void WriteEmFiles(const CGeneratedProject& made)
{
    CProject geometry;
    ASSERT_TRUE(geometry.Open(made.rhdPath));
    const CProjectSettings& s = geometry.m_settings;
    const uint32_t rows = uint32_t(s.m_iGridSizeY), spacing = uint32_t(s.m_iProfileSpacing);
    auto emFile = [&](uint32_t lines, uint32_t perLine, bool bVertical) {
        std::string bytes(4, '\0');
        for (uint32_t line = 0; line < lines; ++line)
            for (uint32_t t = 0; t < perLine; ++t) {
                const uint32_t position = bVertical ? line * spacing * rows + t : t * rows + line * spacing;
                bytes.append(reinterpret_cast<const char*>(&position), 4);
                for (uint32_t c = 0; c < 4; ++c) {
                    const float value = float((t * 37 + line * 11 + c * 5) % 50) / 100.0f + 0.05f;
                    const int16_t raw = int16_t(std::lround(value * 32767.0f));
                    bytes.append(reinterpret_cast<const char*>(&raw), 2);
                }
            }
        return bytes;
    };
    WriteFileBytes(made.File("_1.emm"), emFile(uint32_t(s.GetXLineCount()), uint32_t(s.m_iSizeY), true));
    WriteFileBytes(made.File("_2.emm"), emFile(uint32_t(s.GetYLineCount()), uint32_t(s.m_iSizeX), false));
}

TEST_F(TopViewIdentityTest, EmOverlayRendersAsOverTheWholeGrid)
{
    CSurveyData data;
    data.made = CreateGeneratedProject(data.dir, OddSurvey());
    ASSERT_NO_FATAL_FAILURE(WriteEmFiles(data.made));
    ASSERT_TRUE(data.project.Open(data.made.rhdPath));
    ASSERT_TRUE(data.project.m_settings.m_bHasEmData);
    ASSERT_TRUE(data.matrix.Init(&data.project));
    ASSERT_TRUE(data.matrix.Calculate());
    CProjectSettings& s = data.project.m_settings;
    data.project.m_bEmOverlay = true;
    const int columns = s.m_iGridSizeX, rows = s.m_iGridSizeY;
    for (const CIdentityCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const int width = PaneWidth(c, columns), height = PaneHeight(c, rows);
        CPaneView pane;
        ASSERT_TRUE(pane.Create(width, height));
        CDataTopView& view = pane.view;
        s.m_iContrast = c.contrast - 10;
        view.SetProject(&data.project, &data.matrix);
        view.Render();
        const std::vector<uint32_t> expected = ReferenceEmImage(data.matrix, s, width, height);
        if (width * height > 100) { // the EM values vary over the grid
            EXPECT_GT(std::set<uint32_t>(expected.begin(), expected.end()).size(), 10u);
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSameImage(view.GetImage(), expected, 0));
    }
}

} // namespace
