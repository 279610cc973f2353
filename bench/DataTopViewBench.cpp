// Rendering the depth slice of the reference survey's matrix into a 400 x 400 top view, as
// every cross-hair move and depth drag does.

#include "BenchSupport.h"
#include "DataTopView.h"

#include "Matrix.h"
#include "Project.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TopViewRender(benchmark::State& state)
{
    static std::string s_error;
    static const std::wstring s_path = CreateReferenceProject("topview", L"3D_topview", s_error);
    if (s_path.empty()) {
        state.SkipWithError(s_error.c_str());
        return;
    }
    EnsureApplication();
    CProject project;
    C3DMatrix matrix;
    if (!project.Open(s_path) || !matrix.Init(&project) || !matrix.Calculate()) {
        state.SkipWithError("project not computed");
        return;
    }
    CProjectSettings& s = project.m_settings;
    s.m_iAngle = int(state.range(0));
    s.m_iDepthIndex = s.m_iSamples / 3;
    project.m_fCursorDepth = float(s.m_iDepthIndex);

    CWnd parent;
    parent.Create(L"bench", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 400), nullptr, 1);
    CDataTopView view;
    view.Create(&parent);
    view.Resize(CRect(0, 0, 400, 400));
    view.SetProject(&project, &matrix);
    for (auto _ : state) {
        view.Render();
        benchmark::DoNotOptimize(view.GetImage().GetBits());
    }
    state.counters["grid"] = double(s.m_iGridSizeX) * 1000 + s.m_iGridSizeY;
    state.counters["pixels"] = double(view.GetImage().GetWidth()) * view.GetImage().GetHeight();
}
BENCHMARK(BM_TopViewRender)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);

} // namespace
