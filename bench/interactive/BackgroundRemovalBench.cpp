// The background removal dialog on the survey, with migration and the running-mean
// removal previewed: moves of the window slider within one half-width and across two, and one
// move of the position slider to another line, each from the value change to the repainted
// profile view.

#include "BackgroundRemovalDlg.h"
#include "DialogOnSurvey.h"

namespace {

using CBkgrDialog = CDialogOnSurvey<BackgroundRemovalDlg>;

CBkgrDialog* Dialog(benchmark::State& state)
{
    static CBkgrDialog* s_pDialog =
        KeptForRun(new CBkgrDialog("bkgr", L"3D_bkgr", BackgroundRemovalDlg::IDD, [](CProject& project) {
            CProcessingParams& p = project.m_settings.m_params;
            p.m_bMigration = true;
            p.m_bDelMeanOn = true;
            p.m_iDelMean = 20;
        }));
    return s_pDialog->Ready(state) ? s_pDialog : nullptr;
}

// Moves the slider as the user does and waits for the profile view's new picture.
void MoveAndRepaint(CBkgrDialog& d, CExtSliderCtrl& slider, float fValue)
{
    slider.m_fValue = fValue;
    slider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    d.m_dialog.GetDataView().UpdateWindow();
}

void SetCounters(benchmark::State& state, CBkgrDialog& d)
{
    const CProfileDataSideView& view = d.m_dialog.GetDataView().GetProfileView();
    state.counters["view_px"] = double(view.GetSize().cx) * view.GetSize().cy;
    state.counters["samples"] = d.m_project.m_settings.m_iSamples;
}

// The slider between 20 and another window.
void MoveWindow(benchmark::State& state, float fOther)
{
    CBkgrDialog* d = Dialog(state);
    if (!d)
        return;
    CExtSliderCtrl& slider = d->m_dialog.GetWindowSlider();
    int step = 0;
    for (auto _ : state)
        MoveAndRepaint(*d, slider, (++step & 1) ? fOther : 20.0f);
    SetCounters(state, *d);
}

// 20 and 21 take 10 traces on either side alike: the processed line stays as it is.
void BM_BkgrRemovalWindowMove(benchmark::State& state)
{
    MoveWindow(state, 21.0f);
}
BENCHMARK(BM_BkgrRemovalWindowMove)->Unit(benchmark::kMillisecond);

// 20 and 22 differ in the half-width: the running mean and the migration run again.
void BM_BkgrRemovalWindowStep(benchmark::State& state)
{
    MoveWindow(state, 22.0f);
}
BENCHMARK(BM_BkgrRemovalWindowStep)->Unit(benchmark::kMillisecond);

void BM_BkgrRemovalPositionMove(benchmark::State& state)
{
    CBkgrDialog* d = Dialog(state);
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
