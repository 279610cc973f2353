// Loading a project's drawing objects and asking whether they changed, as opening and
// closing a project do, for an object file of 100,000 objects in many colours; and a view's
// painter following the removal of one of them.

#include "BenchSupport.h"
#include "DataViewPainter.h"
#include "DrawingManager.h"
#include "FileIo.h"
#include "Values.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kObjects = 100000;

// The object file in a temporary folder, removed with it.
class CObjectFile
{
public:
    CObjectFile()
    {
        char folder[] = "/tmp/quarvel-objects-XXXXXX";
        if (!mkdtemp(folder))
            return;
        m_folder = folder;
        m_path = FromAnsi(m_folder + "/objects.3qo");
        if (!WriteDrawingObjectFile(m_path, kObjects, 1000, kObjects / 1000, 1))
            m_path.clear();
        m_bytes = GetFileSize(m_path);
    }
    ~CObjectFile()
    {
        if (!m_folder.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(m_folder, ec);
        }
    }

    std::string m_folder;
    std::wstring m_path; // empty when the file could not be written
    int64_t m_bytes = 0;
};

void BM_DrawingObjectsLoadAndCompare(benchmark::State& state)
{
    const CObjectFile file;
    if (file.m_path.empty()) {
        state.SkipWithError("object file not written");
        return;
    }
    Tovrik::CDrawingManager manager;
    manager.ResetDefaults();
    for (auto _ : state) {
        if (!manager.LoadObjectList(file.m_path) || manager.IsModified()) {
            state.SkipWithError("objects did not load unchanged");
            return;
        }
    }
    state.counters["objects"] = kObjects;
    state.counters["objects_per_s"] =
        benchmark::Counter(static_cast<double>(kObjects), benchmark::Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(state.iterations() * file.m_bytes);
}

// The painter of a top view with the objects of the file, none selected: each iteration removes
// one object from the middle of the manager's list and lets the painter find what went. The
// object is put back between the iterations.
void BM_DrawingObjectsPainterFollowsARemoval(benchmark::State& state)
{
    const CObjectFile file;
    if (file.m_path.empty()) {
        state.SkipWithError("object file not written");
        return;
    }
    EnsureApplication();
    g_drawingManager.ResetDefaults();
    if (!g_drawingManager.LoadObjectList(file.m_path)) {
        state.SkipWithError("objects did not load");
        return;
    }
    CDataViewPainter painter;
    painter.Create(nullptr, nullptr, CDataViewPainter::MODE_TOP, 400, 300);
    painter.SetGridSize(1000, kObjects / 1000, 100);
    painter.RebuildObjects();
    const int middle = kObjects / 2;
    for (auto _ : state) {
        const Tovrik::CDrawDataObject removed = *g_drawingManager.GetObject(middle);
        g_drawingManager.RemoveObject(middle);
        painter.OnObjectEvent(2, middle);
        state.PauseTiming();
        g_drawingManager.AddObject(removed);
        painter.OnObjectEvent(1, g_drawingManager.GetCount() - 1);
        state.ResumeTiming();
    }
    state.counters["objects"] = painter.GetObjectCount();
    g_drawingManager.RemoveAll();
}

} // namespace

BENCHMARK(BM_DrawingObjectsLoadAndCompare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawingObjectsPainterFollowsARemoval)->Unit(benchmark::kMillisecond);
