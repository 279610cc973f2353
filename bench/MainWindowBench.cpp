// The main window of 1280 x 800 on the reference survey in the wide layout: a click in the
// depth slice until every view and the panel have repainted, a full repaint of the window, and
// opening a project with 100,000 drawing objects until the window has painted them.

#include "BenchSupport.h"
#include "MainFrame.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelView.h"

#include "Services.h"

#include "Cfg.h"
#include "DrawingManager.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Message boxes are answered at once and their texts go to the error stream.
class CAnsweringMessageBoxes : public IMessageBoxService
{
public:
    int MessageBox(CWnd*, const std::wstring& text, const std::wstring&, UINT nType) override
    {
        std::fprintf(stderr, "message box: %ls\n", text.c_str());
        return (nType & 0xF) == MB_YESNOCANCEL ? IDNO : IDOK;
    }
};

// The program with the reference project open, made once for the process.
class CMainWindow
{
public:
    CMainWindow()
    {
        const std::wstring path = ReferenceProjectPath(m_error);
        if (path.empty())
            return;
        EnsureApplication();
        // The configuration, the log and the recent-file list go to the survey's temporary
        // folder, never the user's own.
        const std::string appData = ReferenceSurvey().m_root + "/appdata";
        setenv("APPDATA", appData.c_str(), 1);
        setenv("XDG_CONFIG_HOME", appData.c_str(), 1);
        AfxSetMessageBoxService(&m_boxes);
        m_pApp = std::make_unique<CQuarvelApp>();
        m_pApp->SetCommandLine({});
        if (!m_pApp->InitInstance()) {
            m_error = "the program did not start";
            return;
        }
        g_cfg.m_nLayout = 1;
        Frame()->MoveWindow(0, 0, 1280, 800);
        if (!m_pApp->OpenDocumentFile(path)) {
            m_error = "the reference project did not open";
            return;
        }
        Settle();
    }

    CMainFrame* Frame() const { return dynamic_cast<CMainFrame*>(m_pApp->GetMainWnd()); }
    CQuarvelView* View() const { return dynamic_cast<CQuarvelView*>(Frame()->GetActiveView()); }
    CQuarvelDoc* Doc() const { return m_pApp->GetDocument(); }
    // Posted messages handled and everything invalid painted.
    void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        Frame()->UpdateWindow();
    }

    std::string m_error;
    CAnsweringMessageBoxes m_boxes;
    std::unique_ptr<CQuarvelApp> m_pApp;
};

CMainWindow& MainWindow()
{
    // Never destroyed: the Qt application outlives it.
    static CMainWindow* s_pWindow = new CMainWindow;
    return *s_pWindow;
}

void BM_CrossHairMoveRepaintsAllPanes(benchmark::State& state)
{
    CMainWindow& window = MainWindow();
    if (!window.m_error.empty()) {
        state.SkipWithError(window.m_error.c_str());
        return;
    }
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
    state.counters["moved"] = benchmark::Counter(double(nMoves), benchmark::Counter::kAvgIterations);
    state.counters["slice_px"] = double(client.Width()) * client.Height();
}
BENCHMARK(BM_CrossHairMoveRepaintsAllPanes)->Unit(benchmark::kMillisecond);

void BM_MainWindowFullRepaint(benchmark::State& state)
{
    CMainWindow& window = MainWindow();
    if (!window.m_error.empty()) {
        state.SkipWithError(window.m_error.c_str());
        return;
    }
    CMainFrame* pFrame = window.Frame();
    for (auto _ : state)
        pFrame->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CRect client;
    pFrame->GetClientRect(&client);
    state.counters["window_px"] = double(client.Width()) * client.Height();
}
BENCHMARK(BM_MainWindowFullRepaint)->Unit(benchmark::kMillisecond);

constexpr int kDrawingObjects = 100000;

// A project of its own with settings and cache files, so that it opens from the cache, and an
// object file of kDrawingObjects over its grid and depths; empty with error set when that failed.
std::wstring ObjectsProjectPath(CMainWindow& window, std::string& error)
{
    const std::wstring path = CreateReferenceProject("objects", L"3D_objects", error);
    if (path.empty())
        return path;
    if (!window.m_pApp->OpenDocumentFile(path) || !window.Doc()->OnSaveDocument(path)) {
        error = "the objects project did not open and save";
        return std::wstring();
    }
    const CProjectSettings& s = window.Doc()->m_project.m_settings;
    if (!WriteDrawingObjectFile(window.Doc()->m_project.GetObjectListPath(), kDrawingObjects,
                                std::max(s.m_iSizeX, 1), std::max(s.m_iSizeY, 1), std::max(s.m_iSamples - 40, 1))) {
        error = "the object file was not written";
        return std::wstring();
    }
    return path;
}

// Each iteration opens the objects project from the reference project, which is open again
// afterwards: from File > Open until the window has painted.
void BM_OpenProjectWithObjectsToFirstPaint(benchmark::State& state)
{
    CMainWindow& window = MainWindow();
    if (!window.m_error.empty()) {
        state.SkipWithError(window.m_error.c_str());
        return;
    }
    std::string error;
    const std::wstring reference = ReferenceProjectPath(error);
    const std::wstring path = ObjectsProjectPath(window, error);
    if (path.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    int objects = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool bReference = window.m_pApp->OpenDocumentFile(reference) != nullptr;
        window.Settle();
        state.ResumeTiming();
        if (!bReference || !window.m_pApp->OpenDocumentFile(path)) {
            state.SkipWithError("the projects did not open");
            break;
        }
        window.Settle();
        objects = g_drawingManager.GetCount();
    }
    state.counters["objects"] = objects;
    if (!window.m_pApp->OpenDocumentFile(reference))
        window.m_error = "the reference project did not open again";
    window.Settle();
}
BENCHMARK(BM_OpenProjectWithObjectsToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
