// The background removal dialog on the reference survey, with migration and the running-mean
// removal previewed: one move of the window slider, and one move of the position slider to
// another line, each from the value change to the repainted profile view.

#include "BackgroundRemovalDlg.h"
#include "BenchSupport.h"
#include "QuarvelResources.h"

#include "Matrix.h"
#include "Project.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

// The reference project with its matrix computed and the dialog open over it, once for the
// process.
struct CDialogOnSurvey
{
    CDialogOnSurvey()
    {
        const std::wstring path = CreateReferenceProject("bkgr", L"3D_bkgr", m_error);
        if (path.empty())
            return;
        EnsureApplication();
        AfxSetResourceSet(&GetQuarvelResources());
        if (!m_project.Open(path) || !m_matrix.Init(&m_project) || !m_matrix.Calculate()) {
            m_error = "project not computed";
            return;
        }
        CProcessingParams& p = m_project.m_settings.m_params;
        p.m_bMigration = true;
        p.m_bDelMeanOn = true;
        p.m_iDelMean = 20;
        m_dialog.SetData(&m_project, &m_matrix);
        if (!m_dialog.Create(BackgroundRemovalDlg::IDD, nullptr)) {
            m_error = "dialog not created";
            return;
        }
        m_dialog.MoveWindow(0, 0, kWidth, kHeight);
        m_dialog.ShowWindow(SW_SHOW);
        m_dialog.UpdateWindow();
    }

    CProject m_project;
    C3DMatrix m_matrix;
    BackgroundRemovalDlg m_dialog{nullptr};
    std::string m_error;
};

CDialogOnSurvey* Dialog(benchmark::State& state)
{
    static CDialogOnSurvey s_dialog;
    if (!s_dialog.m_error.empty()) {
        state.SkipWithError(s_dialog.m_error.c_str());
        return nullptr;
    }
    return &s_dialog;
}

// Moves the slider as the user does and waits for the profile view's new picture.
void MoveAndRepaint(CDialogOnSurvey& d, CExtSliderCtrl& slider, float fValue)
{
    slider.m_fValue = fValue;
    slider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    d.m_dialog.GetDataView().UpdateWindow();
}

void SetCounters(benchmark::State& state, CDialogOnSurvey& d)
{
    const CProfileDataSideView& view = d.m_dialog.GetDataView().GetProfileView();
    state.counters["view_px"] = double(view.GetSize().cx) * view.GetSize().cy;
    state.counters["samples"] = d.m_project.m_settings.m_iSamples;
}

void BM_BkgrRemovalWindowMove(benchmark::State& state)
{
    CDialogOnSurvey* d = Dialog(state);
    if (!d)
        return;
    CExtSliderCtrl& slider = d->m_dialog.GetWindowSlider();
    int step = 0;
    for (auto _ : state)
        MoveAndRepaint(*d, slider, (++step & 1) ? 21.0f : 20.0f);
    SetCounters(state, *d);
}
BENCHMARK(BM_BkgrRemovalWindowMove)->Unit(benchmark::kMillisecond);

void BM_BkgrRemovalPositionMove(benchmark::State& state)
{
    CDialogOnSurvey* d = Dialog(state);
    if (!d)
        return;
    CExtSliderCtrl& slider = d->m_dialog.GetPositionSlider();
    const float step = slider.m_fStep > 0 ? slider.m_fStep : slider.m_fMax / 10;
    int moves = 0;
    for (auto _ : state)
        MoveAndRepaint(*d, slider, (++moves & 1) ? 2 * step : 3 * step);
    SetCounters(state, *d);
}
BENCHMARK(BM_BkgrRemovalPositionMove)->Unit(benchmark::kMillisecond);

} // namespace
