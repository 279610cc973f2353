// The velocity settings dialog on the reference survey: one move of the velocity slider with
// the migrated preview, and one with the hyperbolas drawn over the plain profile, each from
// the value change to the repainted profile view.

#include "BenchSupport.h"
#include "QuarvelResources.h"
#include "ResourceIds.h"
#include "VelocitySettingsDlg.h"

#include "Matrix.h"
#include "Project.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

// The reference project with its matrix computed and the dialog open over it on the middle
// X-profile, once for the process.
struct CDialogOnSurvey
{
    CDialogOnSurvey()
    {
        const std::wstring path = CreateReferenceProject("velocity", L"3D_velocity", m_error);
        if (path.empty())
            return;
        EnsureApplication();
        AfxSetResourceSet(&GetQuarvelResources());
        if (!m_project.Open(path) || !m_matrix.Init(&m_project) || !m_matrix.Calculate()) {
            m_error = "project not computed";
            return;
        }
        m_project.m_settings.m_pMaterial = nullptr;
        m_dialog.SetData(&m_project, &m_matrix);
        if (!m_dialog.Create(IDD_VELOCITY_SETTINGS, nullptr)) {
            m_error = "dialog not created";
            return;
        }
        m_dialog.MoveWindow(0, 0, kWidth, kHeight);
        m_dialog.ShowWindow(SW_SHOW);
        CExtSliderCtrl& position = m_dialog.GetPositionSlider();
        position.m_fValue = position.m_fMax / 2;
        position.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
        m_dialog.UpdateWindow();
    }

    CProject m_project;
    C3DMatrix m_matrix;
    CVelocitySettingsDlg m_dialog{nullptr};
    std::string m_error;
};

CDialogOnSurvey* Dialog(benchmark::State& state, int nOperationButton)
{
    static CDialogOnSurvey s_dialog;
    if (!s_dialog.m_error.empty()) {
        state.SkipWithError(s_dialog.m_error.c_str());
        return nullptr;
    }
    if (auto* pButton = dynamic_cast<CButton*>(s_dialog.m_dialog.GetDlgItem(nOperationButton)))
        pButton->Click();
    return &s_dialog;
}

// Moves the velocity slider as the user does and waits for the profile view's new picture.
void MoveVelocity(benchmark::State& state, int nOperationButton)
{
    CDialogOnSurvey* d = Dialog(state, nOperationButton);
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
