#include "MainWindowOnSurvey.h"

#include "BenchApplication.h"
#include "BenchSurvey.h"
#include "Messages.h"

#include "Cfg.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <utility>

int CAnsweringMessageBoxes::MessageBox(CWnd*, const std::wstring& text, const std::wstring&, UINT nType)
{
    std::fprintf(stderr, "message box: %ls\n", text.c_str());
    return (nType & 0xF) == MB_YESNOCANCEL ? IDNO : IDOK;
}

CMainWindow::CMainWindow()
{
    const std::wstring path = SurveyProjectPath(m_error);
    if (path.empty())
        return;
    EnsureApplication();
    // The configuration, the log and the recent-file list go to the run's folder, never the
    // user's own.
    const std::string appData = SurveyScratchFolder() + "/appdata";
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
        m_error = "the project did not open";
        return;
    }
    Settle();
}

bool CMainWindow::Ready(benchmark::State& state) const
{
    if (m_error.empty())
        return true;
    state.SkipWithError(m_error.c_str());
    return false;
}

void CMainWindow::Arrange(const benchmark::State& state)
{
    const int layout = int(state.range(2));
    if (g_cfg.m_nLayout != layout) {
        g_cfg.m_nLayout = layout;
        Frame()->SendMessageToDescendants(WM_LAYOUT_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(LAYOUT_APPLY, 0));
    }
    Frame()->MoveWindow(0, 0, int(state.range(0)), int(state.range(1)));
    Settle();
}

void CMainWindow::Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    Frame()->UpdateWindow();
}

CMainWindow& MainWindow()
{
    static CMainWindow* s_pWindow = new CMainWindow;
    return *s_pWindow;
}

void MainWindowArgs(benchmark::internal::Benchmark* pBenchmark)
{
    pBenchmark->ArgNames({"width", "height", "layout"});
    for (const auto& size : {std::pair<int, int>(1280, 800), std::pair<int, int>(1920, 1080)})
        for (int layout : {0, 1})
            pBenchmark->Args({size.first, size.second, layout});
}
