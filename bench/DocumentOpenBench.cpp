// Opening the reference survey's project as the program does (File > Open): the first time,
// with no settings file, the matrix is computed; after a save it is read from the cache.

#include "BenchSupport.h"
#include "QuarvelDoc.h"

#include <benchmark/benchmark.h>

namespace {

// A project of its own, so that its settings and cache files do not meet the other benchmarks'.
// Empty, with the benchmark skipped, when the project cannot be made.
std::wstring OpenBenchProject(benchmark::State& state)
{
    static std::string s_error;
    static const std::wstring s_path = CreateReferenceProject("open", L"3D_open", s_error);
    if (s_path.empty())
        state.SkipWithError(s_error.c_str());
    return s_path;
}

void SetCounters(benchmark::State& state, const CQuarvelDoc& doc)
{
    const C3DMatrix& m = doc.m_matrix;
    const double traces = double(m.m_nVertLinesProcessed) * m.m_nNY + double(m.m_nHorzLinesProcessed) * m.m_nNX;
    state.counters["traces"] = traces;
    state.counters["MB"] = traces * m.m_nSamples * sizeof(float) / 1e6;
}

void BM_OpenProjectComputing(benchmark::State& state)
{
    const std::wstring path = OpenBenchProject(state);
    if (path.empty())
        return;
    CQuarvelDoc doc;
    for (auto _ : state) {
        state.PauseTiming();
        doc.OnCloseDocument();
        CProject files;
        files.SetPathName(path);
        files.DeleteSettingsFiles();
        C3DMatrix::RemovePreCalcFiles(files);
        state.ResumeTiming();
        if (!doc.OnOpenDocument(path)) {
            state.SkipWithError("open failed");
            break;
        }
    }
    SetCounters(state, doc);
}
BENCHMARK(BM_OpenProjectComputing)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenProjectFromCache(benchmark::State& state)
{
    const std::wstring path = OpenBenchProject(state);
    if (path.empty())
        return;
    CQuarvelDoc doc;
    if (!doc.OnOpenDocument(path) || !doc.OnSaveDocument(path)) {
        state.SkipWithError("open and save failed");
        return;
    }
    for (auto _ : state) {
        if (!doc.OnOpenDocument(path)) {
            state.SkipWithError("open failed");
            break;
        }
    }
    SetCounters(state, doc);
}
BENCHMARK(BM_OpenProjectFromCache)->Unit(benchmark::kMillisecond);

} // namespace
