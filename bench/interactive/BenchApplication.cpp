#include "BenchApplication.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <utility>
#include <vector>

namespace {

std::vector<std::function<void()>>& Releases()
{
    static std::vector<std::function<void()>> s_releases;
    return s_releases;
}

} // namespace

void EnsureApplication()
{
    static QApplication* s_pApp = nullptr;
    if (s_pApp)
        return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quarvel_bench";
    static char* argv[] = {name, nullptr};
    s_pApp = new QApplication(argc, argv);
}

void ReleaseAfterRun(std::function<void()> release)
{
    Releases().push_back(std::move(release));
}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::vector<std::function<void()>>& releases = Releases();
    while (!releases.empty()) {
        const std::function<void()> release = std::move(releases.back());
        releases.pop_back();
        release();
    }
    return 0;
}
