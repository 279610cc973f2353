#include "ProjectCreation.h"

#include "FileIo.h"
#include "Headers.h"
#include "SurveyGenerator.h"
#include "TestSupport.h"
#include "Values.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using SurveyGen::CProfileInfo;
using SurveyGen::CSurveyParams;
using CKeys = std::vector<std::pair<std::string, std::string>>;

// Three profiles of five traces in each direction, lines every two traces, 8 samples.
CSurveyParams TinySurvey()
{
    CSurveyParams params = SurveyGen::SmallSurvey();
    params.sizeX = 0.2;
    params.sizeY = 0.2;
    params.lineSpacing = 0.1;
    params.traceInterval = 0.05;
    params.samples = 8;
    params.timeWindowNs = 4.0;
    params.zeroLevel = 2;
    return params;
}

// A survey written by the generator into "survey" and an empty folder "project" beside it.
class CSurvey
{
public:
    explicit CSurvey(const CSurveyParams& params) : m_params(params)
    {
        std::string error;
        EXPECT_TRUE(SurveyGen::WriteSurvey(params, m_dir.File("survey"), &error)) << error;
        fs::create_directories(m_dir.File("project"));
        for (const CProfileInfo& profile : SurveyGen::ListProfiles(params)) {
            m_profiles.push_back(profile);
            (profile.vertical ? m_vertical : m_horizontal).push_back(Wide(profile.name + ".rd3"));
        }
    }

    int Create(std::wstring& error, double spacing) const
    {
        return Create3DProject(error, Source(), Project(), L"3D_p", m_vertical, m_horizontal,
                               spacing);
    }

    std::wstring Source() const { return m_dir.WFile("survey"); }
    std::wstring Project() const { return m_dir.WFile("project"); }
    std::string SurveyFile(const std::string& name) const { return m_dir.File("survey/" + name); }
    std::string ProjectFile(const std::string& suffix) const
    {
        return m_dir.File("project/3D_p" + suffix);
    }
    // Samples of profile `index` of a direction, trace after trace.
    std::vector<int16_t> Samples(bool vertical, size_t index) const
    {
        for (const CProfileInfo& profile : m_profiles)
            if (profile.vertical == vertical && static_cast<size_t>(profile.index) == index)
                return SurveyGen::MakeProfileSamples(m_params, profile);
        return {};
    }

    CSurveyParams m_params;
    std::vector<CProfileInfo> m_profiles;
    std::vector<std::wstring> m_vertical;
    std::vector<std::wstring> m_horizontal;

private:
    CTempDir m_dir;
};

// Replaces a key's value in a ".rad" file; a null value removes the key.
void EditRad(const std::string& path, const std::string& key, const char* value)
{
    const CHeaders original(Wide(path));
    CHeaders edited;
    for (const CHeaders::CItem& item : original)
        if (item.m_szKey != key)
            edited.AddItem(item.m_szKey, item.m_szValue);
        else if (value)
            edited.AddItem(key, value);
    WriteFileBytes(path, edited.ToText());
}

uint32_t ReadU32(const std::string& bytes, size_t offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

int16_t ReadI16(const std::string& bytes, size_t offset)
{
    return static_cast<int16_t>(static_cast<unsigned char>(bytes[offset]) |
                                (static_cast<unsigned char>(bytes[offset + 1]) << 8));
}

// Every record of a trace file: its grid position and its samples (zeros where samplesOf
// gives no trace).
::testing::AssertionResult TraceFileHolds(
    const std::string& path, int64_t lines, int64_t records, int samples,
    const std::function<uint32_t(int64_t, int64_t)>& positionOf,
    const std::function<const int16_t*(int64_t, int64_t)>& samplesOf)
{
    const std::string bytes = ReadFileBytes(path);
    const size_t recordBytes = 4 + 2 * static_cast<size_t>(samples);
    if (bytes.size() != 4 + static_cast<size_t>(lines * records) * recordBytes)
        return ::testing::AssertionFailure() << path << " has " << bytes.size() << " bytes";
    if (ReadU32(bytes, 0) != 0)
        return ::testing::AssertionFailure() << path << " does not begin with 0";
    for (int64_t i = 0; i < lines; ++i) {
        for (int64_t k = 0; k < records; ++k) {
            const size_t offset = 4 + static_cast<size_t>(i * records + k) * recordBytes;
            if (ReadU32(bytes, offset) != positionOf(i, k))
                return ::testing::AssertionFailure() << "line " << i << " record " << k
                                                     << ": position " << ReadU32(bytes, offset);
            const int16_t* expected = samplesOf(i, k);
            for (int s = 0; s < samples; ++s) {
                const int16_t value = ReadI16(bytes, offset + 4 + 2 * static_cast<size_t>(s));
                if (value != (expected ? expected[s] : 0))
                    return ::testing::AssertionFailure()
                           << "line " << i << " record " << k << " sample " << s << ": " << value;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

CKeys ReadKeys(const std::string& path)
{
    CKeys keys;
    for (const CHeaders::CItem& item : CHeaders(Wide(path)))
        keys.emplace_back(item.m_szKey, item.m_szValue);
    return keys;
}

std::set<std::string> ListFolder(const std::string& folder)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace

TEST(ProjectCreation, SmallSurveyBecomesProject)
{
    const CSurvey survey(SurveyGen::SmallSurvey());
    // 6 vertical profiles of 41 traces, 5 horizontal of 51, 64 samples, 0.04 m between
    // traces: with 0.4 m between profiles the lines lie every 10 traces on a 61 x 51 grid.
    ASSERT_EQ(survey.m_vertical.size(), 6u);
    ASSERT_EQ(survey.m_horizontal.size(), 5u);
    ASSERT_EQ(survey.m_profiles.front().traces, 41);
    ASSERT_EQ(survey.m_profiles.back().traces, 51);
    ASSERT_EQ(survey.m_params.samples, 64);
    ASSERT_EQ(survey.m_params.traceInterval, 0.04);
    // A profile copied from a case-insensitive medium.
    fs::rename(survey.SurveyFile("V002.rad"), survey.SurveyFile("V002.RAD"));
    fs::rename(survey.SurveyFile("V002.rd3"), survey.SurveyFile("V002.RD3"));

    ClearLog();
    std::wstring error = L"stale";
    ASSERT_EQ(survey.Create(error, 0.4), CREATE_OK) << ToAnsi(error);
    EXPECT_EQ(error, L"");

    const int64_t sizeX = 61, sizeY = 51, spacing = 10;
    std::vector<std::vector<int16_t>> vertical, horizontal;
    for (size_t i = 0; i < 6; ++i)
        vertical.push_back(survey.Samples(true, i));
    for (size_t i = 0; i < 5; ++i)
        horizontal.push_back(survey.Samples(false, i));
    // Seven vertical lines of 51 records (the last line and records 41..50 hold zeros), six
    // horizontal lines of 61 records (the last line and records 51..60 hold zeros).
    EXPECT_EQ(GetFileSize(Wide(survey.ProjectFile("_1.rd6"))), 4 + 7 * 51 * (4 + 128));
    EXPECT_EQ(GetFileSize(Wide(survey.ProjectFile("_2.rd6"))), 4 + 6 * 61 * (4 + 128));
    EXPECT_TRUE(TraceFileHolds(
        survey.ProjectFile("_1.rd6"), 7, sizeY, 64,
        [&](int64_t i, int64_t k) { return static_cast<uint32_t>(i * spacing * sizeY + k); },
        [&](int64_t i, int64_t k) -> const int16_t* {
            return i < 6 && k < 41 ? vertical[i].data() + k * 64 : nullptr;
        }));
    EXPECT_TRUE(TraceFileHolds(
        survey.ProjectFile("_2.rd6"), 6, sizeX, 64,
        [&](int64_t i, int64_t k) { return static_cast<uint32_t>(k * sizeY + i * spacing); },
        [&](int64_t i, int64_t k) -> const int16_t* {
            return i < 5 && k < 51 ? horizontal[i].data() + k * 64 : nullptr;
        }));

    EXPECT_EQ(ReadFileBytes(survey.ProjectFile(".rad")), ReadFileBytes(survey.SurveyFile("V000.rad")));
    const CKeys add = {{"ZERO LEVEL", "21"},      {"CONTRAST", "32"},       {"PALETTE", "0"},
                       {"TIME GAIN", "163"},      {"TG LINEAR", "1000"},    {"TG EXPONENT", "7"},
                       {"TG START", "30"},        {"DEL MEAN", "17"},       {"FIR HIGH", "25"},
                       {"FIR LOW", "4"},          {"FIR ON", "1"},          {"MIGR ON", "0"},
                       {"AUTO FA ON", "0"},       {"SOIL", "$80"},          {"X-SLICE", "60"},
                       {"Y-SLICE", "60"},         {"Z-SLICE", "235"},       {"NOT REAL DINT", "0.04000"},
                       {"THICKNESS", "1"},        {"THR LEVEL", "0"},       {"INT ANGLE", "0"},
                       {"AGC ON", "0"},           {"AGC WINDOW", "40"},     {"AGC SCALE", "5000"},
                       {"HFIR ON", "0"},          {"AUTO FIRST ARRIVAL", "0"},
                       {"NUM 3D DEPTH SLICES", "64"}};
    EXPECT_EQ(ReadKeys(survey.ProjectFile(".add")), add);
    const CKeys rhd = {{"PROJECT NAME", "3D_p"},       {"PROJECT TYPE", "2"},
                       {"X-SIZE(M)", "2.44000"},       {"Y-SIZE(M)", "2.04000"},
                       {"RESOLUTION(M)", "0.04000"},   {"PROFILE SPACING(M)", "0.40000"},
                       {"X-SIZE", "61"},               {"Y-SIZE", "51"},
                       {"PROFILE SPACING", "10"},      {"TRIGG SOURCE", "1"},
                       {"EXTERNAL MARGIN", "0"}};
    EXPECT_EQ(ReadKeys(survey.ProjectFile(".rhd")), rhd);

    // No temporary file is left behind.
    EXPECT_EQ(ListFolder(ToAnsi(survey.Project())),
              (std::set<std::string>{"3D_p.add", "3D_p.rad", "3D_p.rhd", "3D_p_1.rd6", "3D_p_2.rd6"}));
    EXPECT_NE(ReadLog().find("Debug: Create 3D project: 3D_p was created successfully from 5 "
                             "horizontal and 6 vertical profiles."),
              std::string::npos);
}

TEST(ProjectCreation, GridSizeRule)
{
    const struct { int64_t maxTraces, across, spacing, size; } cases[] = {
        {10, 0, 5, 11},    // a multiple of the spacing plus one
        {11, 0, 5, 16},    // rounded up to the next multiple
        {21, 3, 10, 31},   // the longest profile wins over the profiles across
        {20, 3, 10, 21},   // the profiles across need more than the longest profile
        {0, 3, 10, 21},    // no profile along this axis
        {100, 0, 10, 101},
        {501, 41, 13, 521}, // 41 lines 13 traces apart reach past 501 traces
        {1, 0, 1, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetGridSize(c.maxTraces, c.across, c.spacing), c.size)
            << c.maxTraces << " " << c.across << " " << c.spacing;
}

TEST(ProjectCreation, VerticalProfilesOnlyFillTheOtherFileWithZeros)
{
    // Three vertical profiles of 100 traces, ten traces apart.
    CSurveyParams params = TinySurvey();
    params.sizeX = 1.0;
    params.lineSpacing = 0.5;
    params.sizeY = 4.95;
    CSurvey survey(params);
    ASSERT_EQ(survey.m_vertical.size(), 3u);
    ASSERT_EQ(survey.m_profiles.front().traces, 100);
    survey.m_horizontal.clear();

    std::wstring error;
    ASSERT_EQ(survey.Create(error, 0.5), CREATE_OK) << ToAnsi(error);
    std::vector<std::vector<int16_t>> vertical;
    for (size_t i = 0; i < 3; ++i)
        vertical.push_back(survey.Samples(true, i));
    // NY = 101, NX = (3 - 1) * 10 + 1 = 21.
    EXPECT_TRUE(TraceFileHolds(
        survey.ProjectFile("_1.rd6"), 3, 101, 8,
        [](int64_t i, int64_t k) { return static_cast<uint32_t>(i * 10 * 101 + k); },
        [&](int64_t i, int64_t k) -> const int16_t* {
            return k < 100 ? vertical[i].data() + k * 8 : nullptr;
        }));
    EXPECT_TRUE(TraceFileHolds(
        survey.ProjectFile("_2.rd6"), 11, 21, 8,
        [](int64_t i, int64_t k) { return static_cast<uint32_t>(k * 101 + i * 10); },
        [](int64_t, int64_t) -> const int16_t* { return nullptr; }));
    const CHeaders rhd(Wide(survey.ProjectFile(".rhd")));
    EXPECT_EQ(rhd.GetValue("X-SIZE"), "21");
    EXPECT_EQ(rhd.GetValue("Y-SIZE"), "101");
    EXPECT_NE(ReadLog().find("from 0 horizontal and 3 vertical profiles."), std::string::npos);
}

TEST(ProjectCreation, ComparesSamplesAndDistanceIntervalToAThousandth)
{
    const struct {
        const char* profile; const char* key; const char* value; int result; const char* error;
    } cases[] = {
        {"V001.rad", "DISTANCE INTERVAL", "0.0504", CREATE_OK, ""},
        {"H002.rad", "DISTANCE INTERVAL", "0.0504", CREATE_OK, ""},
        {"V001.rad", "DISTANCE INTERVAL", "0.0506", CREATE_VERTICAL_INCOMPATIBLE,
         "Error: V000.rad is not compatible with V001.rad"},
        {"V002.rad", "SAMPLES", "9", CREATE_VERTICAL_INCOMPATIBLE,
         "Error: V000.rad is not compatible with V002.rad"},
        {"H001.rad", "SAMPLES", "7", CREATE_HORIZONTAL_INCOMPATIBLE,
         "Error: V000.rad is not compatible with H001.rad"},
        // A profile whose header is missing reads as 0 samples.
        {"H000.rad", "SAMPLES", nullptr, CREATE_HORIZONTAL_INCOMPATIBLE,
         "Error: V000.rad is not compatible with H000.rad"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " " + c.key);
        const CSurvey survey(TinySurvey());
        // The reference interval 0.0496 rounds to 0.050 like every other profile's 0.05.
        EditRad(survey.SurveyFile("V000.rad"), "DISTANCE INTERVAL", "0.0496");
        if (c.value)
            EditRad(survey.SurveyFile(c.profile), c.key, c.value);
        else
            fs::remove(survey.SurveyFile(c.profile));
        std::wstring error;
        EXPECT_EQ(survey.Create(error, 0.1), c.result);
        EXPECT_EQ(ToAnsi(error), c.error);
        if (c.result != CREATE_OK)
            EXPECT_TRUE(ListFolder(ToAnsi(survey.Project())).empty());
        else
            EXPECT_EQ(CHeaders(Wide(survey.ProjectFile(".add"))).GetValue("NOT REAL DINT"), "0.04960");
    }
}

TEST(ProjectCreation, RefusedCreationLeavesTheProjectFolderAsItWas)
{
    const double nan = std::nan("");
    const struct {
        const char* what; double spacing; const char* profile; const char* key; const char* value;
        int result; const char* error;
    } cases[] = {
        {"both lists empty", 0.1, nullptr, nullptr, nullptr, CREATE_NO_PROFILES, ""},
        {"spacing below one trace", 0.024, nullptr, nullptr, nullptr, CREATE_INVALID_GRID,
         "Error: profile distance must be at least one trace interval (0.05000 m)"},
        {"negative spacing", -0.1, nullptr, nullptr, nullptr, CREATE_INVALID_GRID,
         "Error: profile distance must be at least one trace interval (0.05000 m)"},
        {"spacing not a number", nan, nullptr, nullptr, nullptr, CREATE_INVALID_GRID,
         "Error: profile distance must be at least one trace interval (0.05000 m)"},
        {"spacing too large", 1e12, nullptr, nullptr, nullptr, CREATE_INVALID_GRID,
         "Error: profile distance is too large"},
        {"reference header missing", 0.1, "V000.rad", nullptr, nullptr, CREATE_HEADER_UNREADABLE,
         "Error: failed to read profile settings: V000.rad"},
        {"reference samples 0", 0.1, "V000.rad", "SAMPLES", "0", CREATE_HEADER_UNREADABLE,
         "Error: failed to read profile settings: V000.rad"},
        {"reference interval 0", 0.1, "V000.rad", "DISTANCE INTERVAL", "0",
         CREATE_HEADER_UNREADABLE, "Error: failed to read profile settings: V000.rad"},
        {"header without ramp", 0.1, "H001.rad", "SHORT FLAG", "0", CREATE_HEADER_UNREADABLE,
         "Error: failed to read profile settings: H001.rad"},
        {"samples missing", 0.1, "H001.rd3", nullptr, nullptr, CREATE_WRITE_FAILED,
         "Error: failed to read profile data: H001.rd3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CSurvey survey(TinySurvey());
        if (c.result == CREATE_NO_PROFILES) {
            survey.m_vertical.clear();
            survey.m_horizontal.clear();
        }
        if (c.profile && c.key)
            EditRad(survey.SurveyFile(c.profile), c.key, c.value);
        else if (c.profile)
            fs::remove(survey.SurveyFile(c.profile));
        // Files of an earlier project stay untouched.
        WriteFileBytes(survey.ProjectFile("_1.rd6"), "old data");
        WriteFileBytes(survey.ProjectFile(".rhd"), "PROJECT NAME:old\r\n");

        std::wstring error = L"stale";
        EXPECT_EQ(survey.Create(error, c.spacing), c.result);
        EXPECT_EQ(ToAnsi(error), c.error);
        EXPECT_EQ(ListFolder(ToAnsi(survey.Project())),
                  (std::set<std::string>{"3D_p.rhd", "3D_p_1.rd6"}));
        EXPECT_EQ(ReadFileBytes(survey.ProjectFile("_1.rd6")), "old data");
        EXPECT_EQ(ReadFileBytes(survey.ProjectFile(".rhd")), "PROJECT NAME:old\r\n");
    }
}

TEST(ProjectCreation, ProfileLengthIsAtMostTheTracesOfItsSamples)
{
    // Three profiles of five traces of 16 bytes in each direction.
    const CSurvey plain(TinySurvey());
    std::wstring error;
    ASSERT_EQ(plain.Create(error, 0.1), CREATE_OK) << ToAnsi(error);
    const struct { const char* profile; const char* lastTrace; size_t rd3Bytes; const char* notice; } cases[] = {
        {"V001", "8000000", 80, "Warning: V001.rad gives LAST TRACE 8000000, but V001.rd3 holds 5 traces; the "
                                "profile is taken as 5 traces long."},
        {"H002", "2147483647", 80, "Warning: H002.rad gives LAST TRACE 2147483647, but H002.rd3 holds 5 traces"},
        {"V000", "5", 40, "Warning: V000.rad gives LAST TRACE 5, but V000.rd3 holds 3 traces"},
        {"V000", "5", 39, "Warning: V000.rad gives LAST TRACE 5, but V000.rd3 holds 3 traces"}, // a part trace
        {"H001", "3", 80, nullptr}, // traces past LAST TRACE are the file's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " " + c.lastTrace);
        const CSurvey survey(TinySurvey());
        EditRad(survey.SurveyFile(c.profile + std::string(".rad")), "LAST TRACE", c.lastTrace);
        const std::string rd3 = survey.SurveyFile(c.profile + std::string(".rd3"));
        fs::resize_file(rd3, c.rd3Bytes);
        ClearLog();
        error = L"stale";
        ASSERT_EQ(survey.Create(error, 0.1), CREATE_OK) << ToAnsi(error);
        if (c.notice) {
            EXPECT_EQ(ToAnsi(error).rfind(c.notice, 0), 0u) << ToAnsi(error);
            EXPECT_NE(ReadLog().find("LAST TRACE " + std::string(c.lastTrace) + " of " +
                                     survey.SurveyFile(c.profile + std::string(".rad"))),
                      std::string::npos)
                << ReadLog();
        } else {
            EXPECT_EQ(error, L"");
        }
        // The grid is the one of the undamaged survey.
        for (const char* suffix : {".rhd", ".add"})
            EXPECT_EQ(ReadFileBytes(survey.ProjectFile(suffix)), ReadFileBytes(plain.ProjectFile(suffix))) << suffix;
        for (const char* suffix : {"_1.rd6", "_2.rd6"})
            EXPECT_EQ(fs::file_size(survey.ProjectFile(suffix)), fs::file_size(plain.ProjectFile(suffix))) << suffix;
    }

    // Every profile cut is told, one line each.
    const CSurvey survey(TinySurvey());
    for (const char* profile : {"V002", "H000"})
        EditRad(survey.SurveyFile(profile + std::string(".rad")), "LAST TRACE", "6");
    ASSERT_EQ(survey.Create(error, 0.1), CREATE_OK) << ToAnsi(error);
    EXPECT_EQ(ToAnsi(error), "Warning: V002.rad gives LAST TRACE 6, but V002.rd3 holds 5 traces; the profile is "
                             "taken as 5 traces long.\nWarning: H000.rad gives LAST TRACE 6, but H000.rd3 holds 5 "
                             "traces; the profile is taken as 5 traces long.");
}

TEST(ProjectCreation, EmDataOfAnEarlierProjectIsKeptAside)
{
    const CSurvey survey(TinySurvey());
    WriteFileBytes(survey.ProjectFile("_1.emm"), "em x");
    WriteFileBytes(survey.ProjectFile("_2.EMM"), "em y");
    WriteFileBytes(survey.ProjectFile("_1.emm.old"), "earlier copy");
    fs::create_symlink("elsewhere", survey.ProjectFile("_1.EMM"));

    // A refused creation leaves them with the earlier project.
    std::wstring error;
    ASSERT_EQ(survey.Create(error, 0.01), CREATE_INVALID_GRID);
    EXPECT_EQ(ReadFileBytes(survey.ProjectFile("_2.EMM")), "em y");

    ASSERT_EQ(survey.Create(error, 0.1), CREATE_OK) << ToAnsi(error);
    for (const char* suffix : {"_1.emm", "_2.emm", "_1.EMM", "_2.EMM"})
        EXPECT_EQ(fs::symlink_status(survey.ProjectFile(suffix)).type(), fs::file_type::not_found) << suffix;
    EXPECT_EQ(ReadFileBytes(survey.ProjectFile("_1.emm.old")), "earlier copy");
    EXPECT_EQ(ReadFileBytes(survey.ProjectFile("_1.emm.old.1")), "em x");
    EXPECT_EQ(ReadFileBytes(survey.ProjectFile("_2.EMM.old")), "em y");
    EXPECT_TRUE(fs::is_symlink(survey.ProjectFile("_1.EMM.old")));
}

TEST(ProjectCreation, ComputedVolumeOfAnEarlierProjectIsRemoved)
{
    // The cache is the earlier survey's volume: its fingerprint covers only the first vertical
    // line, so new profiles across it would open with the old volume.
    const CSurvey survey(TinySurvey());
    for (const char* suffix : {"_1.precalc", "_2.precalc", ".3dq"})
        WriteFileBytes(survey.ProjectFile(suffix), "earlier");

    std::wstring error;
    ASSERT_EQ(survey.Create(error, 0.01), CREATE_INVALID_GRID);
    EXPECT_EQ(ReadFileBytes(survey.ProjectFile("_2.precalc")), "earlier");

    ASSERT_EQ(survey.Create(error, 0.1), CREATE_OK) << ToAnsi(error);
    for (const char* suffix : {"_1.precalc", "_2.precalc"})
        EXPECT_FALSE(fs::exists(fs::symlink_status(survey.ProjectFile(suffix)))) << suffix;
    // The settings are the user's, checked against the new data when the project opens.
    EXPECT_EQ(ReadFileBytes(survey.ProjectFile(".3dq")), "earlier");

    // A folder in a cache file's place is never read as one.
    fs::create_directories(survey.ProjectFile("_2.precalc") + "/inside");
    EXPECT_EQ(survey.Create(error, 0.1), CREATE_OK) << ToAnsi(error);
}

TEST(ProjectCreation, ProfileWhoseSamplesHoldNotOneTraceIsRefused)
{
    // A trace of the tiny survey is 16 bytes. SAMPLES beyond a profile's samples would make every
    // grid trace that large: a survey of a few kilobytes would write a project of gigabytes.
    const struct { const char* what; const char* samples; const char* profile; size_t rd3Bytes; const char* error; }
        cases[] = {
            {"samples of every profile far beyond their files", "1000000", nullptr, 0,
             "Error: V000.rd3 holds 80 bytes, less than one trace of 1000000 samples"},
            {"one file shorter than a trace", nullptr, "H001", 15,
             "Error: H001.rd3 holds 15 bytes, less than one trace of 8 samples"},
        };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CSurvey survey(TinySurvey());
        if (c.samples)
            for (const CProfileInfo& profile : survey.m_profiles)
                EditRad(survey.SurveyFile(profile.name + ".rad"), "SAMPLES", c.samples);
        if (c.profile)
            fs::resize_file(survey.SurveyFile(c.profile + std::string(".rd3")), c.rd3Bytes);
        ClearLog();
        std::wstring error;
        EXPECT_EQ(survey.Create(error, 0.1), CREATE_WRITE_FAILED);
        EXPECT_EQ(ToAnsi(error), c.error);
        EXPECT_NE(ReadLog().find("less than one trace"), std::string::npos) << ReadLog();
        EXPECT_EQ(ListFolder(ToAnsi(survey.Project())), std::set<std::string>{});
    }
}

TEST(ProjectCreation, LengthsTheProjectHeaderReadsBackAsZeroAreRefused)
{
    // The header holds metres with five decimals; a project whose RESOLUTION(M) or PROFILE
    // SPACING(M) reads back as 0 does not open.
    const struct { const char* interval; double spacing; int result; const char* error; } cases[] = {
        {"0.000004", 0.0001, CREATE_INVALID_GRID,
         "Error: the distance interval of V000.rad (0.000004 m) is less than the 0.00001 m a project holds"},
        {"0.000005", 0.0000026, CREATE_INVALID_GRID,
         "Error: profile distance (0.0000026 m) is less than the 0.00001 m a project holds"},
        {"0.00001", 0.00001, CREATE_OK, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.interval);
        CSurvey survey(TinySurvey());
        for (const CProfileInfo& profile : survey.m_profiles)
            EditRad(survey.SurveyFile(profile.name + ".rad"), "DISTANCE INTERVAL", c.interval);
        std::wstring error;
        EXPECT_EQ(survey.Create(error, c.spacing), c.result);
        EXPECT_EQ(ToAnsi(error), c.error);
        if (c.result != CREATE_OK) {
            EXPECT_EQ(ListFolder(ToAnsi(survey.Project())), std::set<std::string>{});
            continue;
        }
        const CHeaders rhd(Wide(survey.ProjectFile(".rhd")));
        for (const char* key : {"RESOLUTION(M)", "PROFILE SPACING(M)", "X-SIZE(M)", "Y-SIZE(M)"})
            EXPECT_GT(ReadReal(rhd.GetValue(key)), 0) << key;
    }
}

TEST(ProjectCreation, ProfileSpacingOfOneTraceIsAccepted)
{
    const CSurvey survey(TinySurvey());
    std::wstring error;
    ASSERT_EQ(survey.Create(error, 0.05), CREATE_OK) << ToAnsi(error);
    EXPECT_EQ(CHeaders(Wide(survey.ProjectFile(".rhd"))).GetValue("PROFILE SPACING"), "1");
}

TEST(ProjectCreation, ReportsEveryFileThatCannotBeWritten)
{
    for (const char* suffix : {"_1.rd6", "_2.rd6", ".rad", ".add", ".rhd"}) {
        SCOPED_TRACE(suffix);
        const CSurvey survey(TinySurvey());
        // A folder of the file's name cannot be replaced by a file.
        fs::create_directory(survey.ProjectFile(suffix));
        ClearLog();
        std::wstring error;
        EXPECT_EQ(survey.Create(error, 0.1), CREATE_WRITE_FAILED);
        EXPECT_EQ(ToAnsi(error), "Error: failed to write project file: " + survey.ProjectFile(suffix));
        EXPECT_NE(ReadLog().find(survey.ProjectFile(suffix)), std::string::npos);
        for (const std::string& name : ListFolder(ToAnsi(survey.Project())))
            EXPECT_EQ(name.find(".rd6."), std::string::npos) << "temporary file " << name;
    }

    const CSurvey survey(TinySurvey());
    fs::remove(ToAnsi(survey.Project()));
    ClearLog();
    std::wstring error;
    EXPECT_EQ(survey.Create(error, 0.1), CREATE_WRITE_FAILED);
    EXPECT_EQ(ToAnsi(error), "Error: failed to write project file: " + survey.ProjectFile("_1.rd6"));
    EXPECT_NE(ReadLog().find("File error: All or part of the path is invalid.  File: " +
                             survey.ProjectFile("_1.rd6")),
              std::string::npos);
}

TEST(ProjectCreation, NeverReplacesAProfileHeader)
{
    const CSurvey survey(TinySurvey());
    const std::string reference = ReadFileBytes(survey.SurveyFile("V000.rad"));
    const std::string other = ReadFileBytes(survey.SurveyFile("V001.rad"));

    // The project's header is the first profile's own header.
    std::wstring error;
    EXPECT_EQ(Create3DProject(error, survey.Source(), survey.Source(), L"V000", survey.m_vertical,
                              survey.m_horizontal, 0.1),
              CREATE_OK)
        << ToAnsi(error);
    EXPECT_EQ(ReadFileBytes(survey.SurveyFile("V000.rad")), reference);

    // The project's header would be another profile's header.
    EXPECT_EQ(Create3DProject(error, survey.Source(), survey.Source(), L"V001", survey.m_vertical,
                              survey.m_horizontal, 0.1),
              CREATE_WRITE_FAILED);
    EXPECT_EQ(ToAnsi(error), "Error: failed to write project file: " + survey.SurveyFile("V001.rad"));
    EXPECT_EQ(ReadFileBytes(survey.SurveyFile("V001.rad")), other);
}

TEST(ProjectCreation, FileTitlesAndDataPaths)
{
    const std::pair<const wchar_t*, const wchar_t*> titles[] = {
        {L"LINE01.rd3", L"LINE01"},
        {L"C:\\survey\\LINE01.rd3", L"LINE01"},
        {L"/data/site/line.01.rd3", L"line.01"},
        {L"/data\\mixed/V000.rad", L"V000"},
        {L"LINE01", L""},
        {L"/data/site.v1/LINE01", L""},
        {L".rd3", L""},
        {L"", L""},
    };
    for (const auto& [path, title] : titles)
        EXPECT_EQ(GetFileTitleNoExt(path), title) << ToAnsi(path);
    EXPECT_EQ(GetProjectDataPath1(L"/p/site", L"3D_site"), L"/p/site/3D_site_1.rd6");
    EXPECT_EQ(GetProjectDataPath2(L"/p/site/", L"3D_site"), L"/p/site/3D_site_2.rd6");
}

TEST(ProjectCreation, ImportedProjectNaming)
{
    EXPECT_EQ(GetImportedProjectFolder(L"/p", L"north field"), L"/p/north field");
    EXPECT_EQ(GetImportedProjectFolder(L"/p/", L"site"), L"/p/site");
    EXPECT_EQ(GetImportedProjectBaseName(L"north field"), L"3D_north field");
    const std::pair<const wchar_t*, bool> names[] = {
        {L"site", false}, {L"a..b", false}, {L"..site", false}, {L"a/b", true},
        {L"a\\b", true},  {L"..", true},     {L".", true},        {L"/", true},
        {L"a\nb", true},  {L"site\r", true}, {L"\tsite", true},    {L"a\x7f", true},
        {L"a\x85" L"b", true}, {L"\x1b[2J", true}, {L"caf\u00e9 \u00a0field", false},
    };
    for (const auto& [name, unsafe] : names)
        EXPECT_EQ(IsUnsafeProjectName(name), unsafe) << ToAnsi(name);
}
