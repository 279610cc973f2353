// The sections of the survey in an 800 x 400 view: rendering one X and one Y
// section, the profile view with the migration preview of one line, and one step of a
// cross-hair drag (strip restores and lines), as the user waits for each.

#include "BenchApplication.h"
#include "BenchSurvey.h"
#include "DataSideView.h"
#include "ProfileDataSideView.h"

#include "Matrix.h"
#include "Project.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 400;

// A project of the survey with its matrix computed, once for the process.
struct CComputedSurvey
{
    CComputedSurvey()
    {
        const std::wstring path = SurveyCaseProjectPath("sections", L"3D_sections", m_error);
        if (path.empty() || !OpenComputed(m_project, m_matrix, path, m_error))
            return;
        CProjectSettings& s = m_project.m_settings;
        m_project.m_fCursorX = float(s.m_iSizeX) / 3;
        m_project.m_fCursorY = float(s.m_iSizeY) / 3;
        m_project.m_fCursorDepth = float(s.m_iSamples) / 3;
    }
    CProject m_project;
    C3DMatrix m_matrix;
    std::string m_error;
};

CComputedSurvey* Survey(benchmark::State& state)
{
    static CComputedSurvey s_survey;
    if (!s_survey.m_error.empty()) {
        state.SkipWithError(s_survey.m_error.c_str());
        return nullptr;
    }
    EnsureApplication();
    return &s_survey;
}

// A shown view of the direction over a parent of the benchmark's size, bound to the survey.
struct CViewWindow
{
    CViewWindow(CDataSideView& view, CComputedSurvey& survey, int direction)
    {
        m_parent.Create(L"bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, kWidth, kHeight), nullptr, 1);
        view.Create(&m_parent, 134, direction);
        view.Resize(CRect(0, 0, kWidth, kHeight));
        view.SetData(&survey.m_project, &survey.m_matrix);
        view.Show(true);
    }
    CWnd m_parent;
};

void SetCounters(benchmark::State& state, const CDataSideView& view, CComputedSurvey& survey)
{
    const CProjectSettings& s = survey.m_project.m_settings;
    state.counters["positions"] = view.GetDirection() == CDataSideView::DIRECTION_X ? s.m_iSizeX : s.m_iSizeY;
    state.counters["samples"] = s.m_iSamples;
    state.counters["pixels"] = double(kWidth) * kHeight;
}

void BM_SectionRender(benchmark::State& state)
{
    CComputedSurvey* pSurvey = Survey(state);
    if (!pSurvey)
        return;
    CDataSideView view;
    CViewWindow window(view, *pSurvey, int(state.range(0)));
    const CRect rect(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        view.Render(rect);
        benchmark::DoNotOptimize(view.GetImage().GetBits());
    }
    SetCounters(state, view, *pSurvey);
}
BENCHMARK(BM_SectionRender)->Arg(CDataSideView::DIRECTION_X)->Arg(CDataSideView::DIRECTION_Y)->Unit(benchmark::kMillisecond);

void BM_ProfileMigrationPreview(benchmark::State& state)
{
    CComputedSurvey* pSurvey = Survey(state);
    if (!pSurvey)
        return;
    CProcessingParams& p = pSurvey->m_project.m_settings.m_params;
    const CProcessingParams saved = p;
    p.m_bMigration = true;
    p.m_bDelMeanOn = true;
    CProfileDataSideView view;
    view.SetPainterEnabled(false);
    CViewWindow window(view, *pSurvey, CDataSideView::DIRECTION_X);
    view.m_nDisplayMode = CProfileDataSideView::DISPLAY_MIGRATION;
    view.m_fGainFactor = 1.0f;
    const CRect rect(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        view.Render(rect);
        benchmark::DoNotOptimize(view.GetImage().GetBits());
    }
    SetCounters(state, view, *pSurvey);
    p = saved;
}
BENCHMARK(BM_ProfileMigrationPreview)->Unit(benchmark::kMillisecond);

void BM_SectionCrossHairDragStep(benchmark::State& state)
{
    CComputedSurvey* pSurvey = Survey(state);
    if (!pSurvey)
        return;
    CDataSideView view;
    CViewWindow window(view, *pSurvey, CDataSideView::DIRECTION_X);
    view.Render(CRect(0, 0, kWidth, kHeight));
    const CPoint start = view.GetCrossHair().GetPosition();
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    int step = 0;
    for (auto _ : state) {
        // Both lines move every step.
        const int offset = (++step & 1) ? 7 : 0;
        view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + offset, start.y + offset));
    }
    view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(start.x, start.y));
    SetCounters(state, view, *pSurvey);
}
BENCHMARK(BM_SectionCrossHairDragStep)->Unit(benchmark::kMicrosecond);

} // namespace
