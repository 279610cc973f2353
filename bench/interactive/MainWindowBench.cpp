// The main window on the survey, at each window size and layout: a click in the depth slice
// and a wheel notch over it (a depth step), each until every view and the panel have
// repainted, and a full repaint of the window.

#include "MainWindowOnSurvey.h"

#include "Cfg.h"

#include <benchmark/benchmark.h>

namespace {

void SetCounters(benchmark::State& state, CMainWindow& window, const CRect& slice)
{
    CRect client;
    window.Frame()->GetClientRect(&client);
    state.counters["slice_px"] = double(slice.Width()) * slice.Height();
    state.counters["window_px"] = double(client.Width()) * client.Height();
}

void BM_CrossHairMoveRepaintsAllPanes(benchmark::State& state)
{
    CMainWindow& window = MainWindow();
    if (!window.Ready(state))
        return;
    window.Arrange(state);
    CDataTopView& slice = window.View()->GetTopView().GetDataView();
    CRect client;
    slice.GetClientRect(&client);
    const CPoint points[2] = {CPoint(client.Width() / 4, client.Height() / 4),
                              CPoint(client.Width() * 3 / 4, client.Height() * 3 / 4)};
    int nStep = 0;
    int64_t nMoves = 0;
    for (auto _ : state) {
        const CPoint point = points[nStep++ % 2];
        const float before = window.Doc()->m_project.m_fCursorX;
        slice.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        slice.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        window.Settle();
        nMoves += window.Doc()->m_project.m_fCursorX != before;
    }
    SetCounters(state, window, client);
    state.counters["moved"] = benchmark::Counter(double(nMoves), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CrossHairMoveRepaintsAllPanes)->Apply(MainWindowArgs)->Unit(benchmark::kMillisecond);

// One notch down, one up: the slice, both sections' depth lines and the panel follow.
void BM_DepthStepRepaintsAllPanes(benchmark::State& state)
{
    CMainWindow& window = MainWindow();
    if (!window.Ready(state))
        return;
    window.Arrange(state);
    const bool bWheel = g_cfg.m_bUseMouseWheel;
    g_cfg.m_bUseMouseWheel = true;
    CDataTopView& slice = window.View()->GetTopView().GetDataView();
    CRect client;
    slice.GetClientRect(&client);
    const CPoint centre = client.CenterPoint();
    int nStep = 0;
    int64_t nMoves = 0;
    for (auto _ : state) {
        const short delta = (nStep++ & 1) ? 120 : -120;
        const float before = window.Doc()->m_project.m_fCursorDepth;
        slice.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(centre.x, centre.y));
        window.Settle();
        nMoves += window.Doc()->m_project.m_fCursorDepth != before;
    }
    g_cfg.m_bUseMouseWheel = bWheel;
    SetCounters(state, window, client);
    state.counters["moved"] = benchmark::Counter(double(nMoves), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DepthStepRepaintsAllPanes)->Apply(MainWindowArgs)->Unit(benchmark::kMillisecond);

void BM_MainWindowFullRepaint(benchmark::State& state)
{
    CMainWindow& window = MainWindow();
    if (!window.Ready(state))
        return;
    window.Arrange(state);
    CMainFrame* pFrame = window.Frame();
    for (auto _ : state)
        pFrame->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CRect slice;
    window.View()->GetTopView().GetDataView().GetClientRect(&slice);
    SetCounters(state, window, slice);
}
BENCHMARK(BM_MainWindowFullRepaint)->Apply(MainWindowArgs)->Unit(benchmark::kMillisecond);

} // namespace
