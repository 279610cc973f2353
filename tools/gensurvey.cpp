// Writes a synthetic survey folder of profile pairs (".rad" + ".rd3").

#include "SurveyGenerator.h"

#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

namespace {

void PrintUsage(std::ostream& out)
{
    out << "Usage: gensurvey [--small | --large] [--seed N] [--out DIR] [--help]\n"
           "  --small    a few short profiles for unit tests instead of the reference survey\n"
           "  --large    the reference survey over 41.56 m x 41.56 m (81 + 81 profiles, 173 MB)\n"
           "  --seed N   seed of the noise, a whole number 0 or more (default 1)\n"
           "  --out DIR  folder to write the profiles into (default demo)\n"
           "  --help     show this text\n";
}

bool ParseSeed(const char* text, uint64_t& seed)
{
    const char* end = text + std::strlen(text);
    const auto result = std::from_chars(text, end, seed);
    return result.ec == std::errc() && result.ptr == end && end != text;
}

} // namespace

int main(int argc, char** argv)
{
    bool small = false;
    bool large = false;
    bool seedGiven = false;
    uint64_t seed = 0;
    std::string folder = "demo";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            PrintUsage(std::cout);
            return 0;
        }
        if (arg == "--small" && !large) {
            small = true;
        } else if (arg == "--large" && !small) {
            large = true;
        } else if (arg == "--seed" && i + 1 < argc && ParseSeed(argv[i + 1], seed)) {
            seedGiven = true;
            ++i;
        } else if (arg == "--out" && i + 1 < argc && argv[i + 1][0] != '\0') {
            folder = argv[++i];
        } else {
            std::cerr << "gensurvey: bad argument: " << arg << "\n";
            PrintUsage(std::cerr);
            return 2;
        }
    }

    SurveyGen::CSurveyParams params = small   ? SurveyGen::SmallSurvey()
                                      : large ? SurveyGen::LargeSurvey()
                                              : SurveyGen::ReferenceSurvey();
    if (seedGiven)
        params.seed = seed;

    std::string error;
    if (!SurveyGen::WriteSurvey(params, folder, &error)) {
        std::cerr << "gensurvey: " << error << "\n";
        return 1;
    }
    int vertical = 0;
    int horizontal = 0;
    for (const SurveyGen::CProfileInfo& profile : SurveyGen::ListProfiles(params))
        ++(profile.vertical ? vertical : horizontal);
    std::cout << "Wrote " << vertical + horizontal << " profiles (" << vertical << " vertical, "
              << horizontal << " horizontal) to " << folder << "\n";
    return 0;
}
