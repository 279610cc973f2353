#pragma once
// The program with the survey's project open in its main window, made once for the process.

#include "MainFrame.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelView.h"

#include "Services.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

// Message boxes are answered at once and their texts go to the error stream.
class CAnsweringMessageBoxes : public IMessageBoxService
{
public:
    int MessageBox(CWnd*, const std::wstring& text, const std::wstring&, UINT nType) override;
};

class CMainWindow
{
public:
    CMainWindow();

    // False, with the benchmark skipped for the reason, when the window is not ready.
    bool Ready(benchmark::State& state) const;

    // The window size and pane layout (cfg.layout) of the benchmark's first three arguments.
    void Arrange(const benchmark::State& state);

    CMainFrame* Frame() const { return dynamic_cast<CMainFrame*>(m_pApp->GetMainWnd()); }
    CQuarvelView* View() const { return dynamic_cast<CQuarvelView*>(Frame()->GetActiveView()); }
    CQuarvelDoc* Doc() const { return m_pApp->GetDocument(); }
    // Posted messages handled and everything invalid painted.
    void Settle();

    std::string m_error;
    CAnsweringMessageBoxes m_boxes;
    std::unique_ptr<CQuarvelApp> m_pApp;
};

// Never destroyed: the Qt application outlives it.
CMainWindow& MainWindow();

// Registers a main-window case for 1280 x 800 and 1920 x 1080, each in layouts 0 and 1.
void MainWindowArgs(benchmark::internal::Benchmark* pBenchmark);
