// The generator's large survey (40 m x 40 m, 81 + 81 profiles of 1001 traces x 512 samples):
// computing its matrix, with the peak memory that takes beside the matrix itself, and opening
// it again from the cache; and the interactive cases of bench/interactive on it. The survey
// and its project, with settings and cache files, are written once into a temporary folder
// that is removed at exit; every case opens that one project.

#include "BenchSurvey.h"
#include "FileIo.h"
#include "Matrix.h"
#include "Migration.h"
#include "Project.h"
#include "ProjectCreation.h"
#include "SurveyGenerator.h"
#include "Values.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class CLargeProject
{
public:
    CLargeProject()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quarvel-large-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            m_error = "cannot create a temporary folder";
            return;
        }
        m_root = pattern;
        const SurveyGen::CSurveyParams params = SurveyGen::LargeSurvey();
        if (!SurveyGen::WriteSurvey(params, m_root + "/survey", &m_error))
            return;
        std::vector<std::wstring> vertical, horizontal;
        for (const SurveyGen::CProfileInfo& profile : SurveyGen::ListProfiles(params))
            (profile.vertical ? vertical : horizontal).push_back(FromAnsi(profile.name + ".rad"));
        std::error_code ec;
        std::filesystem::create_directories(m_root + "/project", ec);
        std::wstring message;
        if (Create3DProject(message, FromAnsi(m_root + "/survey"), FromAnsi(m_root + "/project"), L"3D_large",
                            vertical, horizontal, params.lineSpacing) != CREATE_OK) {
            m_error = "creation failed: " + ToAnsi(message);
            return;
        }
        // The profiles are not needed any more: only the project's files are read.
        std::filesystem::remove_all(m_root + "/survey", ec);
        const std::wstring path = FromAnsi(m_root + "/project/3D_large.rhd");
        if (WriteSettingsAndCache(path))
            m_path = path;
    }

    ~CLargeProject()
    {
        std::error_code ec;
        if (!m_root.empty())
            std::filesystem::remove_all(m_root, ec);
    }

    std::string m_root;
    std::string m_error;
    std::wstring m_path; // empty when the project is not ready

private:
    // The settings and cache files of a first open as the program does it (the slow filters
    // off), so that every later open reads the matrix from the cache.
    bool WriteSettingsAndCache(const std::wstring& path)
    {
        CProject project;
        C3DMatrix matrix;
        if (!project.Open(path) || !matrix.ComputeDataHash(project)) {
            m_error = "the project did not open";
            return false;
        }
        project.m_settings.m_params.m_bMigration = false;
        project.m_settings.m_params.m_bDelMeanOn = false;
        if (!matrix.Init(&project) || !matrix.Calculate()) {
            m_error = "the matrix was not computed";
            return false;
        }
        project.m_settings.m_signature = matrix.m_fingerprint;
        if (!project.SaveSettings() || !matrix.Save()) {
            m_error = "the settings and cache files were not written";
            return false;
        }
        return true;
    }
};

const CLargeProject& LargeProject()
{
    static const CLargeProject s_project;
    return s_project;
}

// A memory figure of the process in bytes, by its key in the status file ("VmRSS:").
double StatusMemory(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atof(line.c_str() + key.size()) * 1024.0;
    return 0;
}

// The process's peak resident memory since the last ResetPeakMemory.
double PeakMemory()
{
    return StatusMemory("VmHWM:");
}

double CurrentMemory()
{
    return StatusMemory("VmRSS:");
}

void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double MatrixBytes(const C3DMatrix& matrix)
{
    const double traces = double(matrix.m_nVertLines) * matrix.m_nNY + double(matrix.m_nHorzLines) * matrix.m_nNX;
    return traces * matrix.m_nSamples * sizeof(float);
}

// Init and Calculate with migration and running-mean removal on; the cache stays the set-up's.
// "extra" is the peak memory beyond the matrix, as a share of the matrix.
void BM_LargeCalculate(benchmark::State& state)
{
    const CLargeProject& large = LargeProject();
    if (large.m_path.empty()) {
        state.SkipWithError(large.m_error.c_str());
        return;
    }
    CProject project;
    if (!project.Open(large.m_path)) {
        state.SkipWithError("open failed");
        return;
    }
    project.m_settings.m_params.m_bMigration = true;
    project.m_settings.m_params.m_bDelMeanOn = true;
    double before = 0, peak = 0, bytes = 0;
    for (auto _ : state) {
        C3DMatrix matrix;
        before = CurrentMemory();
        ResetPeakMemory();
        if (!matrix.Init(&project) || !matrix.Calculate()) {
            state.SkipWithError("calculate failed");
            return;
        }
        peak = PeakMemory();
        bytes = MatrixBytes(matrix);
    }
    state.counters["matrix_MB"] = bytes / 1e6;
    state.counters["peak_MB"] = (peak - before) / 1e6;
    state.counters["extra"] = (peak - before - bytes) / bytes;
    state.SetLabel(CMigration::GetKernelName());
}

// What the document does on open when the cache is there: the project, then the matrix from
// its cache files.
void BM_LargeOpenFromCache(benchmark::State& state)
{
    const CLargeProject& large = LargeProject();
    if (large.m_path.empty()) {
        state.SkipWithError(large.m_error.c_str());
        return;
    }
    for (auto _ : state) {
        CProject project;
        C3DMatrix matrix;
        if (!project.Open(large.m_path) || !matrix.Init(&project) ||
            !std::filesystem::exists(NativePath(matrix.GetVertFileName())) || !matrix.Load()) {
            state.SkipWithError("open from the cache failed");
            return;
        }
    }
}

} // namespace

std::wstring SurveyProjectPath(std::string& error)
{
    const CLargeProject& large = LargeProject();
    error = large.m_error;
    return large.m_path;
}

std::wstring SurveyCaseProjectPath(const std::string&, const std::wstring&, std::string& error)
{
    return SurveyProjectPath(error);
}

std::string SurveyScratchFolder()
{
    return LargeProject().m_root;
}

BENCHMARK(BM_LargeCalculate)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeOpenFromCache)->Unit(benchmark::kMillisecond);
