// Creating a 3D project from the generator's reference survey, as Import does: read every
// profile once and write the two trace files and the headers.

#include "FileIo.h"
#include "ProjectCreation.h"
#include "SurveyGenerator.h"
#include "Values.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The reference survey, written once per process into a temporary folder that is removed at
// exit; the project is created beside it.
class CReferenceSurvey
{
public:
    CReferenceSurvey()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarvel-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            m_error = "cannot create a temporary folder";
            return;
        }
        m_root = pattern;
        const SurveyGen::CSurveyParams params = SurveyGen::ReferenceSurvey();
        if (!SurveyGen::WriteSurvey(params, m_root + "/survey", &m_error))
            return;
        for (const SurveyGen::CProfileInfo& profile : SurveyGen::ListProfiles(params))
            (profile.vertical ? m_vertical : m_horizontal).push_back(FromAnsi(profile.name + ".rd3"));
        m_spacing = params.lineSpacing;
        std::error_code ec;
        std::filesystem::create_directories(m_root + "/project", ec);
        if (ec)
            m_error = "cannot create the project folder";
    }

    ~CReferenceSurvey()
    {
        std::error_code ec;
        if (!m_root.empty())
            std::filesystem::remove_all(m_root, ec);
    }

    std::wstring SourceFolder() const { return FromAnsi(m_root + "/survey"); }
    std::wstring ProjectFolder() const { return FromAnsi(m_root + "/project"); }

    std::string m_root;
    std::string m_error;
    std::vector<std::wstring> m_vertical;
    std::vector<std::wstring> m_horizontal;
    double m_spacing = 0;
};

const CReferenceSurvey& ReferenceSurvey()
{
    static const CReferenceSurvey s_survey;
    return s_survey;
}

void BM_Create3DProject(benchmark::State& state)
{
    const CReferenceSurvey& survey = ReferenceSurvey();
    if (!survey.m_error.empty()) {
        state.SkipWithError(survey.m_error.c_str());
        return;
    }
    const std::wstring folder = survey.ProjectFolder();
    const std::wstring name = L"3D_reference";
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
