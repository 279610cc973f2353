// Migration and running-mean removal of one grid line of the reference survey (its grid's
// traces of 512 samples), as the matrix runs them on each of its lines. BM_MigrationReference is
// the summation written out trace by trace and sample by sample, for comparison with
// BM_MigrationMigrate.

#include "Migration.h"
#include "ReferenceMigration.h"
#include "Project.h"
#include "ProjectCreation.h"
#include "SurveyGenerator.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The reference survey's settings and its vertical line over the first scatterer (x = 6 m).
class CReferenceLine
{
public:
    CReferenceLine()
    {
        const SurveyGen::CSurveyParams params = SurveyGen::ReferenceSurvey();
        CProjectSettings& s = m_project.m_settings;
        s.m_iSamples = params.samples;
        s.m_iZeroLevel = params.zeroLevel;
        s.m_dSystemCalibration = SurveyGen::SampleTimeUs(params);
        s.m_dVelocity = params.velocity;
        s.m_dResolution = params.traceInterval;
        s.m_antenna.m_dSeparation = params.separation;
        s.m_antenna.m_iFrequencySteps = 1;
        s.m_params.m_bMigration = true;
        s.m_params.m_bDelMeanOn = true;
        s.m_params.m_iDelMean = 80;
        m_samples = params.samples;
        // The grid of the reference project, square as its survey: the profiles' traces and
        // zero traces up to the line after the last one.
        const std::vector<SurveyGen::CProfileInfo> profiles = SurveyGen::ListProfiles(params);
        const int64_t spacing = static_cast<int64_t>(params.lineSpacing / params.traceInterval + 0.5);
        const int64_t across = std::count_if(profiles.begin(), profiles.end(),
                                             [](const SurveyGen::CProfileInfo& p) { return p.vertical; });
        m_traces = static_cast<int>(GetGridSize(profiles.back().traces, across, spacing));
        m_matrixLines = 2 * ((m_traces - 1) / static_cast<int>(spacing) + 1);
        m_section.assign(static_cast<size_t>(m_traces) * m_samples, 0.0f);
        for (const SurveyGen::CProfileInfo& profile : profiles) {
            if (!profile.vertical || profile.position != 6.0)
                continue;
            const std::vector<int16_t> raw = SurveyGen::MakeProfileSamples(params, profile);
            const size_t count = std::min(raw.size(), m_section.size());
            for (size_t i = 0; i < count; ++i)
                m_section[i] = raw[i] * 3.051851e-5f;
        }
    }

    CProject m_project;
    int m_samples = 0;
    int m_traces = 0;       // per grid line
    int m_matrixLines = 0;  // of both directions
    std::vector<float> m_section;
};

CReferenceLine& ReferenceLine()
{
    static CReferenceLine s_line;
    return s_line;
}

void SetLineCounters(benchmark::State& state, const CReferenceLine& line)
{
    state.SetItemsProcessed(state.iterations());  // lines
    state.counters["traces"] = line.m_traces;
    state.counters["samples"] = line.m_samples;
    // Time for the matrix's lines, in seconds.
    state.counters["matrix"] = benchmark::Counter(
        1.0 / line.m_matrixLines, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_MigrationBuildTable(benchmark::State& state)
{
    CReferenceLine& line = ReferenceLine();
    for (auto _ : state) {
        CMigration migration(&line.m_project, line.m_traces);
        migration.BuildTable();
        benchmark::DoNotOptimize(migration.GetTravelTime(line.m_samples - 1, line.m_traces - 1));
    }
    state.counters["traces"] = line.m_traces;
    state.counters["samples"] = line.m_samples;
}

// The kernels by instruction set; argument 0 is the one the program chooses.
const char* const kKernels[] = {"", "sse2", "avx2", "avx512f"};

// The kernel of the benchmark's argument, through the routine's selection, for the lifetime of
// the object; the program's choice again afterwards. The benchmark is skipped when the
// processor lacks the instruction set.
class CKernelScope
{
public:
    CKernelScope(benchmark::State& state, const char* (*getName)(), bool (*select)(const char*))
        : m_state(state), m_getName(getName), m_select(select), m_chosen(getName())
    {
        const char* kernel = kKernels[state.range(0)];
        m_bSelected = !*kernel || select(kernel);
        if (!m_bSelected)
            state.SkipWithError("the processor lacks this instruction set");
    }
    ~CKernelScope()
    {
        m_state.SetLabel(m_getName());
        m_select(m_chosen.c_str());
    }
    bool IsSelected() const { return m_bSelected; }

private:
    benchmark::State& m_state;
    const char* (*m_getName)();
    bool (*m_select)(const char*);
    std::string m_chosen;
    bool m_bSelected = false;
};

// Each iteration restores the line first (a copy of under 1 MB), then processes it in place.
void BM_MigrationMigrate(benchmark::State& state)
{
    const CKernelScope kernel(state, CMigration::GetKernelName, CMigration::SelectKernel);
    if (!kernel.IsSelected())
        return;
    CReferenceLine& line = ReferenceLine();
    CMigration migration(&line.m_project, line.m_traces);
    migration.BuildTable();
    std::vector<float> data(line.m_section.size());
    for (auto _ : state) {
        std::copy(line.m_section.begin(), line.m_section.end(), data.begin());
        migration.Migrate(data.data());
        benchmark::DoNotOptimize(data.data());
    }
    SetLineCounters(state, line);
}

void BM_MigrationReference(benchmark::State& state)
{
    CReferenceLine& line = ReferenceLine();
    CMigration migration(&line.m_project, line.m_traces);
    migration.BuildTable();
    std::vector<float> data(line.m_section.size());
    std::vector<float> output(line.m_section.size());
    for (auto _ : state) {
        std::copy(line.m_section.begin(), line.m_section.end(), data.begin());
        ReferenceMigrate(migration, data.data(), output.data(), line.m_traces, line.m_samples,
                         line.m_project.m_settings.m_iZeroLevel);
        std::copy(output.begin(), output.end(), data.begin());
        benchmark::DoNotOptimize(data.data());
    }
    SetLineCounters(state, line);
}

void BM_MigrationRemoveRunningMean(benchmark::State& state)
{
    const CKernelScope kernel(state, CMigration::GetMeanKernelName, CMigration::SelectMeanKernel);
    if (!kernel.IsSelected())
        return;
    CReferenceLine& line = ReferenceLine();
    CMigration migration(&line.m_project, line.m_traces);
    std::vector<float> data(line.m_section.size());
    for (auto _ : state) {
        std::copy(line.m_section.begin(), line.m_section.end(), data.begin());
        migration.RemoveRunningMean(data.data());
        benchmark::DoNotOptimize(data.data());
    }
    SetLineCounters(state, line);
}

} // namespace

BENCHMARK(BM_MigrationBuildTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MigrationMigrate)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MigrationReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MigrationRemoveRunningMean)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
