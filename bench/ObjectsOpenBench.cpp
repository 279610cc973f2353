// Opening a project with 100,000 drawing objects in the main window until the window has
// painted them.

#include "BenchSupport.h"
#include "MainWindowOnSurvey.h"

#include "DrawingManager.h"

#include <benchmark/benchmark.h>
#include <algorithm>

namespace {

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
    if (!window.Ready(state))
        return;
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
