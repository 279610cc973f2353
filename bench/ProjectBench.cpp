// Opening the reference survey's project and reading every trace along both directions, one
// trace at a time as the views do and line by line in runs as the matrix computation does.

#include "BenchSupport.h"
#include "Project.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

void BM_ProjectOpen(benchmark::State& state)
{
    std::string error;
    const std::wstring path = ReferenceProjectPath(error);
    if (path.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        CProject project;
        if (!project.Open(path)) {
            state.SkipWithError("open failed");
            return;
        }
    }
}

// Opens the reference project, or skips the benchmark with the reason.
bool OpenReferenceProject(CProject& project, benchmark::State& state)
{
    std::string error;
    const std::wstring path = ReferenceProjectPath(error);
    if (path.empty() || !project.Open(path)) {
        state.SkipWithError(path.empty() ? error.c_str() : "open failed");
        return false;
    }
    return true;
}

// Selects every profile line, along X and then along Y, and reads it with readLine.
template <typename TReadLine>
void ForEachProfileLine(CProject& project, TReadLine readLine)
{
    for (bool bX : {true, false}) {
        const int lines = bX ? project.m_settings.GetXLineCount() : project.m_settings.GetYLineCount();
        for (int line = 0; line < lines; ++line) {
            bX ? project.SelectXProfile(line) : project.SelectYProfile(line);
            readLine();
        }
    }
}

void BM_ProjectReadAllTraces(benchmark::State& state)
{
    CProject project;
    if (!OpenReferenceProject(project, state))
        return;
    std::vector<int16_t> trace(static_cast<size_t>(project.m_settings.m_iSamples));
    int64_t traces = 0;
    for (auto _ : state) {
        ForEachProfileLine(project, [&] {
            for (int t = 0; t < project.m_nCurTraces; ++t) {
                project.ReadTrace(t, trace.data());
                ++traces;
            }
        });
        benchmark::DoNotOptimize(trace.data());
    }
    state.counters["traces_per_s"] = benchmark::Counter(static_cast<double>(traces), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(traces * static_cast<int64_t>(trace.size() * sizeof(int16_t)));
}

// The same records line by line, each line in as few reads as the files allow.
void BM_ProjectReadAllTracesInRuns(benchmark::State& state)
{
    CProject project;
    if (!OpenReferenceProject(project, state))
        return;
    const size_t recordBytes = 4 + 2 * static_cast<size_t>(project.m_settings.m_iSamples);
    std::vector<uint8_t> records;
    int64_t traces = 0;
    for (auto _ : state) {
        ForEachProfileLine(project, [&] {
            records.resize(size_t(project.m_nCurTraces) * recordBytes);
            traces += project.ReadTraceRecords(0, project.m_nCurTraces, records.data());
        });
        benchmark::DoNotOptimize(records.data());
    }
    state.counters["traces_per_s"] = benchmark::Counter(static_cast<double>(traces), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(traces * static_cast<int64_t>(recordBytes - 4));
}

} // namespace

BENCHMARK(BM_ProjectOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProjectReadAllTraces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProjectReadAllTracesInRuns)->Unit(benchmark::kMillisecond);
