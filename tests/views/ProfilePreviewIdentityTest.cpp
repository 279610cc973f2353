// The profile preview through a run of changes as the dialogs make them, pixel for pixel: every
// render equals the line processed and rendered afresh the plain way, and, hyperbolas
// included, what a new view renders. On the reference survey and on a small survey of odd
// sizes, along both directions, in views wider and narrower than the line.

#include "ProfileDataSideView.h"

#include "GeneratedSurveyTest.h"
#include "ImageColours.h"
#include "ProjectFixture.h"
#include "RecordingWnd.h"
#include "ReferenceProfileImage.h"

#include "Cfg.h"
#include "Matrix.h"
#include "Project.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

struct CSurveyData
{
    CTempDir dir;
    CProject project;
    C3DMatrix matrix;
};

// The matrix as the dialogs preview on it: without migration and running-mean removal.
std::unique_ptr<CSurveyData> Compute(const SurveyGen::CSurveyParams& params)
{
    auto data = std::make_unique<CSurveyData>();
    const CGeneratedProject made = CreateGeneratedProject(data->dir, params);
    if (!data->project.Open(made.rhdPath))
        return nullptr;
    CProcessingParams& p = data->project.m_settings.m_params;
    p.m_bMigration = false;
    p.m_bDelMeanOn = false;
    if (!data->matrix.Init(&data->project) || !data->matrix.Calculate())
        return nullptr;
    return data;
}

SurveyGen::CSurveyParams OddSurvey()
{
    SurveyGen::CSurveyParams odd = SurveyGen::SmallSurvey();
    odd.sizeX = 2.36;
    odd.sizeY = 1.72;
    odd.lineSpacing = 0.28;
    odd.samples = 77;
    return odd;
}

int Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i];
    return count;
}

// What a step of the run may change.
struct CRun
{
    CProject& project;
    C3DMatrix& matrix;
    CProfileDataSideView& view;
    int direction;
    int traces;  // along the profile
    int samples;
    CRect rect;
};

struct CStep
{
    const char* name;
    std::function<void(CRun&)> apply;
};

void SetMode(CRun& run, int mode)
{
    run.view.m_nDisplayMode = mode;
    run.project.m_settings.m_params.m_bMigration = mode == CProfileDataSideView::DISPLAY_MIGRATION;
}

void Resize(CRun& run, int width, int height)
{
    run.rect = CRect(0, 0, width, height);
    run.view.Resize(run.rect);
}

const CStep kSteps[] = {
    {"migration, window 20", [](CRun& r) { SetMode(r, CProfileDataSideView::DISPLAY_MIGRATION); }},
    {"window 21, the same half-width", [](CRun& r) { r.project.m_settings.m_params.m_iDelMean = 21; }},
    {"window 24", [](CRun& r) { r.project.m_settings.m_params.m_iDelMean = 24; }},
    {"faster velocity", [](CRun& r) { r.project.m_settings.m_dVelocity *= 1.15; }},
    {"slower velocity, a narrower window on the same traces", [](CRun& r) { r.project.m_settings.m_dVelocity /= 1.4; }},
    {"next line", [](CRun& r) { r.view.SetSectionLine(r.view.GetSectionLine() + 1); }},
    {"narrower than the line", [](CRun& r) { Resize(r, r.traces / 2 - 1, 41); }},
    {"zero level lower", [](CRun& r) { r.project.m_settings.m_iZeroLevel += 3; }},
    {"one value of the line changed",
     [](CRun& r) {
         const uint32_t line = uint32_t(r.view.GetSectionLine());
         float* trace = r.direction == CDataSideView::DIRECTION_X ? r.matrix.EditHorzTrace(line, 3)
                                                                   : r.matrix.EditVertTrace(line, 3);
         trace[r.samples / 2] += 0.25f;
     }},
    {"no operation", [](CRun& r) { SetMode(r, CProfileDataSideView::DISPLAY_PLAIN); }},
    {"hyperbolas, slower velocity",
     [](CRun& r) {
         SetMode(r, CProfileDataSideView::DISPLAY_HYPERBOLAS);
         r.project.m_settings.m_dVelocity *= 0.8;
     }},
    {"hyperbolas, velocity back", [](CRun& r) { r.project.m_settings.m_dVelocity /= 0.8; }},
    {"hyperbolas, window 5", [](CRun& r) { r.project.m_settings.m_params.m_iDelMean = 5; }},
    {"contrast", [](CRun& r) { r.project.m_settings.m_iContrast = 5; }},
    {"time gain",
     [](CRun& r) {
         r.project.m_settings.m_params.m_iTimeGain = 40;
         r.view.UpdateGain();
     }},
    {"palette wrapped", [](CRun&) { g_cfg.m_bPaletteWrap = true; }},
    {"palette entry changed", [](CRun&) { g_cfg.m_curColors[140] = RGB(1, 2, 3); }},
    {"wider than the line", [](CRun& r) { Resize(r, 2 * r.traces + 3, r.samples + 13); }},
    {"migration without the running mean",
     [](CRun& r) {
         SetMode(r, CProfileDataSideView::DISPLAY_MIGRATION);
         r.project.m_settings.m_params.m_bDelMeanOn = false;
     }},
    {"gain factor", [](CRun& r) { r.view.m_fGainFactor = 0.6f; }},
    {"previous line", [](CRun& r) { r.view.SetSectionLine(r.view.GetSectionLine() - 1); }},
};

class ProfilePreviewIdentityTest : public testing::Test
{
protected:
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

    // The steps in order on one view per direction, each followed by a render as the dialogs'
    // notification causes it.
    void CheckRun(CSurveyData* pData)
    {
        ASSERT_NE(pData, nullptr);
        CProject& project = pData->project;
        const CProjectSettings saved = project.m_settings;
        for (const int direction : {CDataSideView::DIRECTION_X, CDataSideView::DIRECTION_Y}) {
            SCOPED_TRACE(direction == CDataSideView::DIRECTION_X ? "along X" : "along Y");
            project.m_settings = saved;
            CProcessingParams& p = project.m_settings.m_params;
            p.m_bDelMeanOn = true;
            p.m_iDelMean = 20;
            p.m_iTimeGain = 0;
            CIndexPalette palette;
            CRecordingWnd parent;
            ASSERT_TRUE(parent.CreateShown(200, 100));
            CProfileDataSideView view;
            ASSERT_TRUE(view.Create(&parent, 5, direction));
            view.SetPainterEnabled(false);
            view.m_fGainFactor = 1.7f;
            const CProjectSettings& s = project.m_settings;
            CRun run{project, pData->matrix, view, direction,
                     direction == CDataSideView::DIRECTION_X ? s.m_iSizeX : s.m_iSizeY, s.m_iSamples, CRect()};
            Resize(run, run.traces + 9, run.samples);
            view.SetData(&project, &pData->matrix);
            view.Show(true);
            view.SetSectionLine(view.GetLineCount() / 2);
            project.m_fCursorX = float(run.traces / 3);
            project.m_fCursorY = float(run.traces / 3);
            project.m_fCursorDepth = float(s.m_iZeroLevel + s.m_iSamples / 3);
            for (const CStep& step : kSteps) {
                SCOPED_TRACE(step.name);
                step.apply(run);
                view.InvalidateImage();
                view.Render(run.rect);
                const std::vector<uint32_t> shown = ColoursOf(view.GetImage());

                // A new view with all of it, rendered once.
                CProfileDataSideView fresh;
                ASSERT_TRUE(fresh.Create(&parent, 6, direction));
                fresh.SetPainterEnabled(false);
                fresh.Resize(run.rect);
                fresh.SetData(&project, &pData->matrix);
                fresh.Show(true);
                fresh.SetSectionLine(view.GetSectionLine());
                fresh.m_nDisplayMode = view.m_nDisplayMode;
                fresh.m_fGainFactor = view.m_fGainFactor;
                fresh.Render(run.rect);
                EXPECT_EQ(Differences(shown, ColoursOf(fresh.GetImage())), 0);

                // The profile alone, again from unchanged inputs, against the plain way.
                view.RenderProfile(run.rect);
                CReferenceProfile reference;
                reference.pColumnMap = &view.GetColumnMap();
                reference.pDepthMap = &view.GetDepthMap();
                reference.pGain = &view.GetGain();
                reference.bAlongX = direction == CDataSideView::DIRECTION_X;
                reference.line = view.GetSectionLine();
                reference.gainFactor = view.m_fGainFactor;
                reference.width = run.rect.Width();
                reference.height = run.rect.Height();
                const std::vector<uint32_t> expected =
                    ReferenceProfileImage(project, pData->matrix, reference, g_cfg.m_curColors, g_cfg.m_bPaletteWrap);
                EXPECT_EQ(Differences(ColoursOf(view.GetImage()), expected), 0);
            }
        }
        project.m_settings = saved;
    }

    inline static std::unique_ptr<CSurveyData> s_reference;
    inline static std::unique_ptr<CSurveyData> s_odd;
};

} // namespace

TEST_F(ProfilePreviewIdentityTest, PreviewEqualsTheLineProcessedAfreshThroughEveryChangeOnTheReferenceSurvey)
{
    CheckRun(s_reference.get());
}

TEST_F(ProfilePreviewIdentityTest, PreviewEqualsTheLineProcessedAfreshThroughEveryChangeOnAnOddSurvey)
{
    CheckRun(s_odd.get());
}
