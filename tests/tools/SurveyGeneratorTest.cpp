#include "ProjectCreation.h"
#include "SurveyGenerator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>

namespace fs = std::filesystem;
using namespace SurveyGen;

namespace {

double ToDouble(const std::string& text)
{
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << text;
    return value;
}

CProfileInfo FindProfile(const std::vector<CProfileInfo>& profiles, const std::string& name)
{
    const auto it = std::find_if(profiles.begin(), profiles.end(),
                                 [&](const CProfileInfo& p) { return p.name == name; });
    EXPECT_NE(it, profiles.end()) << name;
    return it != profiles.end() ? *it : CProfileInfo();
}

// Sample of the largest value of trace `trace` from sample `from` on.
int PeakSample(const std::vector<int16_t>& data, int samples, int trace, int from)
{
    const auto begin = data.begin() + static_cast<long>(trace) * samples;
    return static_cast<int>(std::max_element(begin + from, begin + samples) - begin);
}

} // namespace

TEST(SurveyGenerator, SmallSurveyLinesDifferInLengthPerDirection)
{
    const std::vector<CProfileInfo> profiles = ListProfiles(SmallSurvey());
    ASSERT_EQ(profiles.size(), 11u);
    for (int i = 0; i < 6; ++i) {
        const CProfileInfo& p = profiles[i];
        EXPECT_EQ(p.name, "V00" + std::to_string(i));
        EXPECT_TRUE(p.vertical);
        EXPECT_NEAR(p.position, 0.4 * i, 1e-12);
        EXPECT_EQ(p.traces, 41);
    }
    for (int i = 0; i < 5; ++i) {
        const CProfileInfo& p = profiles[6 + i];
        EXPECT_EQ(p.name, "H00" + std::to_string(i));
        EXPECT_FALSE(p.vertical);
        EXPECT_NEAR(p.position, 0.4 * i, 1e-12);
        EXPECT_EQ(p.traces, 51);
    }

    const std::vector<CProfileInfo> reference = ListProfiles(ReferenceSurvey());
    ASSERT_EQ(reference.size(), 82u);
    EXPECT_EQ(reference.back().name, "H040");
    EXPECT_EQ(reference.back().traces, 401);

    const CSurveyParams largeParams = LargeSurvey();
    const std::vector<CProfileInfo> large = ListProfiles(largeParams);
    ASSERT_EQ(large.size(), 162u);
    EXPECT_EQ(large[80].name, "V080");
    EXPECT_EQ(large.back().name, "H080");
    EXPECT_EQ(large.back().traces, 1040);
    EXPECT_EQ(largeParams.samples, 512);
    EXPECT_TRUE(CheckParams(largeParams).empty());
}

// Lines every whole number of traces, so that a project puts each line where it was recorded;
// the large survey keeps its benchmarked grid of 1041 x 1041 traces on 81 lines each way.
TEST(SurveyGenerator, TraceIntervalDividesTheLineSpacing)
{
    const struct { const char* name; CSurveyParams params; int64_t spacing, gridX, gridY; } cases[] = {
        {"small", SmallSurvey(), 10, 61, 51},
        {"reference", ReferenceSurvey(), 10, 411, 411},
        {"large", LargeSurvey(), 13, 1041, 1041},
    };
    for (const auto& c : cases) {
        const double traces = c.params.lineSpacing / c.params.traceInterval;
        EXPECT_NEAR(traces, std::round(traces), 1e-9) << c.name;
        EXPECT_EQ(static_cast<int64_t>(traces + 0.5), c.spacing) << c.name;
        int64_t lines[2] = {0, 0};
        int64_t longest[2] = {0, 0};
        for (const CProfileInfo& profile : ListProfiles(c.params)) {
            const int d = profile.vertical ? 0 : 1;
            EXPECT_NEAR(profile.position, lines[d] * c.spacing * c.params.traceInterval, 1e-9) << c.name;
            ++lines[d];
            longest[d] = std::max<int64_t>(longest[d], profile.traces);
        }
        EXPECT_EQ(GetGridSize(longest[1], lines[0], c.spacing), c.gridX) << c.name;
        EXPECT_EQ(GetGridSize(longest[0], lines[1], c.spacing), c.gridY) << c.name;
    }
}

TEST(SurveyGenerator, WritesExactlyTheProfilePairs)
{
    const CTempDir dir;
    const std::string folder = dir.File("survey");
    const CSurveyParams params = SmallSurvey();
    std::string error;
    ASSERT_TRUE(WriteSurvey(params, folder, &error)) << error;

    std::set<std::string> expected;
    std::set<std::string> written;
    for (const CProfileInfo& profile : ListProfiles(params)) {
        expected.insert(profile.name + ".rad");
        expected.insert(profile.name + ".rd3");

        const std::string bytes = ReadFileBytes(folder + "/" + profile.name + ".rd3");
        ASSERT_EQ(bytes.size(), static_cast<size_t>(profile.traces) * params.samples * 2);
        const std::vector<int16_t> samples = MakeProfileSamples(params, profile);
        for (size_t i = 0; i < samples.size(); ++i) {
            const auto lo = static_cast<unsigned char>(bytes[2 * i]);
            const auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
            ASSERT_EQ(static_cast<int16_t>(lo | (hi << 8)), samples[i]) << profile.name << " " << i;
        }
        EXPECT_EQ(ReadFileBytes(folder + "/" + profile.name + ".rad"), MakeRadHeader(params, profile));
    }
    for (const auto& entry : fs::directory_iterator(folder))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, expected);
}

TEST(SurveyGenerator, SeedDecidesTheNoiseOnly)
{
    CSurveyParams params = SmallSurvey();
    const CProfileInfo profile = ListProfiles(params)[3];
    const std::vector<int16_t> first = MakeProfileSamples(params, profile);
    EXPECT_EQ(MakeProfileSamples(params, profile), first);

    params.seed = 2;
    const std::vector<int16_t> other = MakeProfileSamples(params, profile);
    EXPECT_NE(other, first);

    params.noiseLevel = 0;
    const std::vector<int16_t> clean = MakeProfileSamples(params, profile);
    params.seed = 1;
    EXPECT_EQ(MakeProfileSamples(params, profile), clean);
}

TEST(SurveyGenerator, HeaderHoldsEveryKeyInOrder)
{
    const CSurveyParams params = ReferenceSurvey();
    const CProfileInfo profile = FindProfile(ListProfiles(params), "H016");
    const std::string text = MakeRadHeader(params, profile);

    // The instruments' line order, which readers of other programs take by position.
    const std::vector<std::string> keys = {
        "SAMPLES", "FREQUENCY", "FREQUENCY STEPS", "SIGNAL POSITION", "RAW SIGNAL POSITION",
        "DISTANCE FLAG", "TIME FLAG", "PROGRAM FLAG", "EXTERNAL FLAG", "TIME INTERVAL",
        "DISTANCE INTERVAL", "OPERATOR", "CUSTOMER", "SITE", "ANTENNAS", "ANTENNA ORIENTATION",
        "ANTENNA SEPARATION", "COMMENT", "TIMEWINDOW", "STACKS", "STACK EXPONENT", "STACKING TIME",
        "LAST TRACE", "STOP POSITION", "SYSTEM CALIBRATION", "START POSITION", "SHORT FLAG",
        "INTERMEDIATE FLAG", "LONG FLAG", "PREPROCESSING", "HIGH", "LOW", "FIXED INCREMENT",
        "FIXED MOVES UP", "FIXED MOVES DOWN", "FIXED POSITION", "WHEEL CALIBRATION",
        "POSITIVE DIRECTION"};

    std::vector<std::string> readKeys;
    std::map<std::string, std::string> values;
    ASSERT_GE(text.size(), 2u);
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        const size_t colon = line.find(':');
        ASSERT_NE(colon, std::string::npos) << line;
        const std::string value = line.substr(colon + 1);
        EXPECT_FALSE(value.empty() || value[0] == ' ') << line;
        readKeys.push_back(line.substr(0, colon));
        values[readKeys.back()] = value;
        start = end + 2;
    }
    EXPECT_EQ(readKeys, keys);

    EXPECT_EQ(values["SAMPLES"], "512");
    EXPECT_EQ(values["LAST TRACE"], std::to_string(profile.traces));
    EXPECT_EQ(ToDouble(values["DISTANCE INTERVAL"]), params.traceInterval);
    EXPECT_EQ(ToDouble(values["TIMEWINDOW"]), 100.0);
    // Calibration (us per sample) times velocity (m/us): the two-way path of one sample.
    EXPECT_DOUBLE_EQ(ToDouble(values["SYSTEM CALIBRATION"]) * params.velocity, 0.015625);
    // FREQUENCY is the sampling frequency in MHz, the antenna's frequency stands in ANTENNAS.
    EXPECT_EQ(ToDouble(values["FREQUENCY"]), 5120.0);
    EXPECT_DOUBLE_EQ(ToDouble(values["FREQUENCY"]) * ToDouble(values["SYSTEM CALIBRATION"]), 1.0);
    EXPECT_EQ(values["ANTENNAS"].rfind("500 MHz ", 0), 0u) << values["ANTENNAS"];
    EXPECT_EQ(values["ANTENNAS"].find('='), std::string::npos);
    EXPECT_EQ(values["FREQUENCY STEPS"], "1");
    EXPECT_EQ(ToDouble(values["ANTENNA SEPARATION"]), 0.1);
    EXPECT_DOUBLE_EQ(ToDouble(values["STOP POSITION"]), (profile.traces - 1) * params.traceInterval);
    EXPECT_EQ(ToDouble(values["STOP POSITION"]), 20.0);
    EXPECT_EQ(values["POSITIVE DIRECTION"], "1");
    EXPECT_EQ(values["COMMENT"].find('='), std::string::npos);
    int rampFlags = 0;
    for (const char* flag : {"SHORT FLAG", "INTERMEDIATE FLAG", "LONG FLAG"}) {
        EXPECT_TRUE(values[flag] == "0" || values[flag] == "1") << flag;
        rampFlags += values[flag] == "1";
    }
    EXPECT_EQ(rampFlags, 1);

    for (const CSurveyParams& other : {SmallSurvey(), LargeSurvey()}) {
        const std::string header = MakeRadHeader(other, ListProfiles(other).front());
        auto valueOf = [&](const std::string& key) {
            const size_t at = header.find("\r\n" + key + ":");
            EXPECT_NE(at, std::string::npos) << key;
            const size_t from = at == std::string::npos ? 0 : at + key.size() + 3;
            return ToDouble(header.substr(from, header.find("\r\n", from) - from));
        };
        EXPECT_DOUBLE_EQ(valueOf("FREQUENCY") * valueOf("SYSTEM CALIBRATION"), 1.0) << other.samples;
    }
}

TEST(SurveyGenerator, ScattererApexLiesAtItsDepthSampleAndFlanksArriveLater)
{
    CSurveyParams params = SmallSurvey();
    params.noiseLevel = 0;
    ASSERT_EQ(params.scatterers.size(), 1u);
    const CScatterer scatterer = params.scatterers[0]; // x 0.8, y 0.8, depth 0.3
    const double metresPerSample = 25.0 / 64 / 1000 * 80.0 * 0.5;
    const double h = params.separation / 2;
    auto predicted = [&](double offset) {
        const double r = std::sqrt(offset * offset + scatterer.depth * scatterer.depth);
        return params.zeroLevel + (std::sqrt(h * h + r * r) - h) / metresPerSample;
    };
    const int afterDirectWave = params.zeroLevel + 10;
    ASSERT_LT(afterDirectWave, predicted(0) - 3);

    const std::vector<CProfileInfo> profiles = ListProfiles(params);
    for (const char* name : {"V002", "H002"}) {
        const CProfileInfo profile = FindProfile(profiles, name);
        ASSERT_NEAR(profile.position, 0.8, 1e-12);
        const std::vector<int16_t> data = MakeProfileSamples(params, profile);
        const int above = 20; // 0.8 m along the profile
        const int apex = PeakSample(data, params.samples, above, afterDirectWave);
        EXPECT_EQ(apex, std::lround(predicted(0))) << name;
        EXPECT_GT(data[above * params.samples + apex], 0.8 * scatterer.amplitude) << name;
        EXPECT_LE(data[above * params.samples + apex], scatterer.amplitude) << name;
        for (const int offset : {-5, -2, 2, 5}) {
            const int peak = PeakSample(data, params.samples, above + offset, afterDirectWave);
            EXPECT_EQ(peak, std::lround(predicted(offset * params.traceInterval))) << name << offset;
            EXPECT_GT(peak, apex) << name << offset;
        }
    }
}

TEST(SurveyGenerator, SamplesUseTheRangeWithoutClipping)
{
    struct Case { CSurveyParams params; std::vector<std::string> names; };
    const Case cases[] = {
        {SmallSurvey(), {"V000", "V002", "V005", "H000", "H002", "H004"}},
        {ReferenceSurvey(), {"V012", "V024", "H016", "H040"}},
    };
    for (const Case& c : cases) {
        const std::vector<CProfileInfo> profiles = ListProfiles(c.params);
        for (const std::string& name : c.names) {
            const std::vector<int16_t> data = MakeProfileSamples(c.params, FindProfile(profiles, name));
            int peak = 0;
            for (const int16_t value : data)
                peak = std::max(peak, std::abs(static_cast<int>(value)));
            EXPECT_GT(peak, 15000) << name;
            EXPECT_LT(peak, 32767) << name;
        }
    }
}

TEST(SurveyGenerator, RefusesBadParametersAndUnwritableFolders)
{
    using Change = void (*)(CSurveyParams&);
    const Change changes[] = {
        [](CSurveyParams& p) { p.samples = 0; },
        [](CSurveyParams& p) { p.zeroLevel = p.samples; },
        [](CSurveyParams& p) { p.traceInterval = 0; },
        [](CSurveyParams& p) { p.lineSpacing = -0.5; },
        [](CSurveyParams& p) { p.sizeX = NAN; },
        [](CSurveyParams& p) { p.sizeY = 1e12; },
        [](CSurveyParams& p) { p.velocity = 0; },
        [](CSurveyParams& p) { p.frequencyMHz = 5000; },
        [](CSurveyParams& p) { p.scatterers[0].depth = 0; },
        [](CSurveyParams& p) { p.layers = {{-1.0, 0, 0, 100}}; },
    };
    const CTempDir dir;
    const std::string folder = dir.File("survey");
    for (size_t i = 0; i < std::size(changes); ++i) {
        CSurveyParams params = SmallSurvey();
        changes[i](params);
        EXPECT_FALSE(CheckParams(params).empty()) << i;
        EXPECT_TRUE(ListProfiles(params).empty()) << i;
        std::string error;
        EXPECT_FALSE(WriteSurvey(params, folder, &error)) << i;
        EXPECT_FALSE(error.empty()) << i;
    }
    EXPECT_FALSE(fs::exists(folder));

    WriteFileBytes(dir.File("file"), "x");
    std::string error;
    EXPECT_FALSE(WriteSurvey(SmallSurvey(), dir.File("file") + "/survey", &error));
    EXPECT_NE(error.find("survey"), std::string::npos) << error;
}
