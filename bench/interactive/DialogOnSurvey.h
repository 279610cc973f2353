#pragma once
// An application dialog open over a project of the survey with its matrix computed, 1000 x 700
// pixels, made once for the benchmark process (KeptForRun).

#include "BenchApplication.h"
#include "BenchSurvey.h"
#include "QuarvelResources.h"

#include "Matrix.h"
#include "Project.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

template <class TDialog>
class CDialogOnSurvey
{
public:
    enum : int { WIDTH = 1000, HEIGHT = 700 };

    // prepare changes the project's settings before the dialog binds them; shown acts on the
    // dialog once it is shown, before its first paint.
    CDialogOnSurvey(const std::string& subfolder, const std::wstring& name, UINT nIDD,
                    const std::function<void(CProject&)>& prepare, const std::function<void(TDialog&)>& shown = {})
    {
        const std::wstring path = SurveyCaseProjectPath(subfolder, name, m_error);
        if (path.empty())
            return;
        EnsureApplication();
        AfxSetResourceSet(&GetQuarvelResources());
        if (!OpenComputed(m_project, m_matrix, path, m_error))
            return;
        prepare(m_project);
        m_dialog.SetData(&m_project, &m_matrix);
        if (!m_dialog.Create(nIDD, nullptr)) {
            m_error = "dialog not created";
            return;
        }
        m_dialog.MoveWindow(0, 0, WIDTH, HEIGHT);
        m_dialog.ShowWindow(SW_SHOW);
        if (shown)
            shown(m_dialog);
        m_dialog.UpdateWindow();
    }

    // False, with the benchmark skipped for the reason, when the set-up failed.
    bool Ready(benchmark::State& state) const
    {
        if (m_error.empty())
            return true;
        state.SkipWithError(m_error.c_str());
        return false;
    }

    CProject m_project;
    C3DMatrix m_matrix;
    TDialog m_dialog{nullptr};
    std::string m_error;
};
