// The velocity settings dialog on the survey: one move of the velocity slider with
// the migrated preview, and one with the hyperbolas drawn over the plain profile, each from
// the value change to the repainted profile view.

#include "DialogOnSurvey.h"
#include "ResourceIds.h"
#include "VelocitySettingsDlg.h"

namespace {

using CVelocityDialog = CDialogOnSurvey<CVelocitySettingsDlg>;

// On the middle X-profile, with the operation of the button.
CVelocityDialog* Dialog(benchmark::State& state, int nOperationButton)
{
    static CVelocityDialog* s_pDialog = KeptForRun(new CVelocityDialog(
        "velocity", L"3D_velocity", IDD_VELOCITY_SETTINGS,
        [](CProject& project) { project.m_settings.m_pMaterial = nullptr; },
        [](CVelocitySettingsDlg& dialog) {
            CExtSliderCtrl& position = dialog.GetPositionSlider();
            position.m_fValue = position.m_fMax / 2;
            position.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
        }));
    if (!s_pDialog->Ready(state))
        return nullptr;
    if (auto* pButton = dynamic_cast<CButton*>(s_pDialog->m_dialog.GetDlgItem(nOperationButton)))
        pButton->Click();
    return s_pDialog;
}

// Moves the velocity slider as the user does and waits for the profile view's new picture.
void MoveVelocity(benchmark::State& state, int nOperationButton)
{
    CVelocityDialog* d = Dialog(state, nOperationButton);
    if (!d)
        return;
    CExtSliderCtrl& slider = d->m_dialog.GetVelocitySlider();
    CProfileDataSideView& view = d->m_dialog.GetProfileCtrl().GetProfileView();
    int moves = 0;
    for (auto _ : state) {
        slider.m_fValue = (++moves & 1) ? 81.0f : 80.0f;
        slider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
        view.UpdateWindow();
    }
    state.counters["view_px"] = double(view.GetSize().cx) * view.GetSize().cy;
    state.counters["traces"] = d->m_project.m_settings.m_iSizeX;
    state.counters["samples"] = d->m_project.m_settings.m_iSamples;
}

void BM_VelocityMoveMigrated(benchmark::State& state)
{
    MoveVelocity(state, IDC_VS_MIGRATION);
}
BENCHMARK(BM_VelocityMoveMigrated)->Unit(benchmark::kMillisecond);

void BM_VelocityMoveHyperbolas(benchmark::State& state)
{
    MoveVelocity(state, IDC_VS_HYPERBOLAS);
}
BENCHMARK(BM_VelocityMoveHyperbolas)->Unit(benchmark::kMillisecond);

} // namespace
