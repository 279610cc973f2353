// The 3D matrix of the reference survey's project: computing it with and without migration
// and running-mean removal, extracting a depth slice, and loading the cache against a plain
// read of the same bytes.

#include "BenchSupport.h"
#include "FileIo.h"
#include "Matrix.h"
#include "Project.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

// The reference project opened once, its matrix computed and cached.
struct CReferenceMatrix
{
    CReferenceMatrix()
    {
        const std::wstring path = ReferenceProjectPath(m_error);
        if (path.empty())
            return;
        if (!m_project.Open(path) || !m_matrix.Init(&m_project) || !m_matrix.Calculate() || !m_matrix.Save())
            m_error = "cannot open the reference project or compute its matrix";
    }
    CProject m_project;
    C3DMatrix m_matrix;
    std::string m_error;
};

CReferenceMatrix& Reference()
{
    static CReferenceMatrix s_reference;
    return s_reference;
}

void BM_MatrixCalculate(benchmark::State& state)
{
    CReferenceMatrix& reference = Reference();
    if (!reference.m_error.empty()) {
        state.SkipWithError(reference.m_error.c_str());
        return;
    }
    CProcessingParams& params = reference.m_project.m_settings.m_params;
    const CProcessingParams saved = params;
    params.m_bMigration = state.range(0) != 0;
    params.m_bDelMeanOn = state.range(0) != 0;
    for (auto _ : state) {
        if (!reference.m_matrix.Calculate()) {
            state.SkipWithError("calculate failed");
            break;
        }
    }
    params = saved;
    state.counters["traces"] = double(reference.m_matrix.m_nVertLinesProcessed * reference.m_matrix.m_nNY +
                                      reference.m_matrix.m_nHorzLinesProcessed * reference.m_matrix.m_nNX);
    state.SetLabel(state.range(0) ? "migration and running mean on" : "migration and running mean off");
}

void BM_MatrixExtractSlice(benchmark::State& state)
{
    CReferenceMatrix& reference = Reference();
    if (!reference.m_error.empty()) {
        state.SkipWithError(reference.m_error.c_str());
        return;
    }
    CProjectSettings& settings = reference.m_project.m_settings;
    settings.m_params.m_iAperture = static_cast<int32_t>(state.range(0));
    int32_t depth = 0;
    for (auto _ : state) {
        settings.m_iDepthIndex = 100 + (depth++ % 200);
        reference.m_matrix.ExtractSlice();
        benchmark::DoNotOptimize(reference.m_matrix.GetVertSlice());
    }
    state.SetLabel("thickness " + std::to_string(state.range(0)));
}

void BM_MatrixLoadCache(benchmark::State& state)
{
    CReferenceMatrix& reference = Reference();
    if (!reference.m_error.empty()) {
        state.SkipWithError(reference.m_error.c_str());
        return;
    }
    C3DMatrix matrix;
    matrix.Init(&reference.m_project);
    for (auto _ : state) {
        if (!matrix.Load()) {
            state.SkipWithError("load failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * (GetFileSize(matrix.GetVertFileName()) +
                                                  GetFileSize(matrix.GetHorzFileName())));
}

// What loading cannot beat: reading the cache files' bytes into memory.
void BM_MatrixReadCacheBytes(benchmark::State& state)
{
    CReferenceMatrix& reference = Reference();
    if (!reference.m_error.empty()) {
        state.SkipWithError(reference.m_error.c_str());
        return;
    }
    const std::wstring paths[2] = {reference.m_matrix.GetVertFileName(), reference.m_matrix.GetHorzFileName()};
    std::vector<char> buffers[2];
    for (int i = 0; i < 2; ++i)
        buffers[i].resize(size_t(GetFileSize(paths[i])));
    for (auto _ : state) {
        for (int i = 0; i < 2; ++i) {
            CReadFile file;
            file.Open(paths[i]);
            file.ReadAt(0, buffers[i].data(), buffers[i].size());
        }
        benchmark::DoNotOptimize(buffers[0].data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(buffers[0].size() + buffers[1].size()));
}

} // namespace

BENCHMARK(BM_MatrixCalculate)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatrixExtractSlice)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MatrixLoadCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatrixReadCacheBytes)->Unit(benchmark::kMillisecond);
