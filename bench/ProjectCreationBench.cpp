// Creating a 3D project from the generator's reference survey, as Import does: read every
// profile once and write the two trace files and the headers.

#include "BenchSupport.h"
#include "FileIo.h"
#include "ProjectCreation.h"
#include "Values.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

void BM_Create3DProject(benchmark::State& state)
{
    const CReferenceSurvey& survey = ReferenceSurvey();
    if (!survey.m_error.empty()) {
        state.SkipWithError(survey.m_error.c_str());
        return;
    }
    const std::wstring folder = survey.ProjectFolder();
    const std::wstring name = L"3D_created";
    for (auto _ : state) {
        std::wstring error;
        if (Create3DProject(error, survey.SourceFolder(), folder, name, survey.m_vertical,
                            survey.m_horizontal, survey.m_spacing) != CREATE_OK) {
            state.SkipWithError(("creation failed: " + ToAnsi(error)).c_str());
            return;
        }
    }
    int64_t written = 0;
    for (const wchar_t* suffix : {L"_1.rd6", L"_2.rd6", L".rad", L".add", L".rhd"})
        written += GetFileSize(JoinPath(folder, name + suffix));
    state.SetBytesProcessed(state.iterations() * written);
    state.counters["written_MB"] = static_cast<double>(written) / 1e6;
    state.counters["profiles"] =
        static_cast<double>(survey.m_vertical.size() + survey.m_horizontal.size());
}

} // namespace

BENCHMARK(BM_Create3DProject)->Unit(benchmark::kMillisecond)->UseRealTime();
