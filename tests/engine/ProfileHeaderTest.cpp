#include "ProfileHeader.h"

#include "Headers.h"
#include "SurveyGenerator.h"
#include "TestSupport.h"
#include "Values.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

using Keys = std::map<std::string, std::string>;

Keys ValidKeys()
{
    return {{"SAMPLES", "512"},           {"SYSTEM CALIBRATION", "0.000195"},
            {"DISTANCE INTERVAL", "0.04"}, {"LAST TRACE", "501"},
            {"ANTENNAS", "500MHz"},        {"FREQUENCY", "500"},
            {"FREQUENCY STEPS", "1"},      {"ANTENNA SEPARATION", "0.1"},
            {"SHORT FLAG", "0"},           {"INTERMEDIATE FLAG", "1"},
            {"LONG FLAG", "0"},            {"POSITIVE DIRECTION", "1"},
            {"TIMEWINDOW", "100"},         {"COMMENT", "line 1"}};
}

CHeaders ToHeaders(const Keys& keys)
{
    CHeaders headers;
    for (const auto& [key, value] : keys)
        headers.SetValue(key, value);
    return headers;
}

void WriteRad(const std::string& path, const Keys& keys)
{
    WriteFileBytes(path, ToHeaders(keys).ToText());
}

} // namespace

TEST(ProfileHeader, ParsesAValidHeader)
{
    CProfileHeader header;
    ASSERT_TRUE(header.ParseRadHeader(ToHeaders(ValidKeys())));
    EXPECT_EQ(header.m_iSamples, 512);
    EXPECT_DOUBLE_EQ(header.m_dSystemCalibration, 0.000195);
    EXPECT_DOUBLE_EQ(header.m_dDistanceInterval, 0.04);
    EXPECT_EQ(header.m_iLastTrace, 501);
    EXPECT_EQ(header.m_strAntenna, L"500MHz");
    EXPECT_DOUBLE_EQ(header.m_dAntennaSeparation, 0.1);
    EXPECT_EQ(header.m_iRampKind, 1);
    EXPECT_EQ(header.m_iFrequencySteps, 1);
    EXPECT_FALSE(header.m_bNegativeDirection);
    EXPECT_EQ(header.m_strComment, L"line 1");
}

TEST(ProfileHeader, RejectsInvalidHeadersWithTheirReasons)
{
    const struct { const char* key; const char* value; const char* logged; } cases[] = {
        {"SYSTEM CALIBRATION", nullptr, "Error: sys.cal. value is invalid, 0.000000"},
        {"SYSTEM CALIBRATION", "-1", "Error: sys.cal. value is invalid, -1.000000"},
        {"DISTANCE INTERVAL", "0", "Error: distance interval invalid, 0.000000"},
        {"SAMPLES", "0", "Error: samples value is invalid, 0"},
        {"SAMPLES", "-5", "Error: samples value is invalid, -5"},
        {"INTERMEDIATE FLAG", "10", "Error: file missing ramp info."},
    };
    for (const auto& c : cases) {
        Keys keys = ValidKeys();
        if (c.value)
            keys[c.key] = c.value;
        else
            keys.erase(c.key);
        ClearLog();
        CProfileHeader header;
        EXPECT_FALSE(header.ParseRadHeader(ToHeaders(keys))) << c.key;
        EXPECT_NE(ReadLog().find(c.logged), std::string::npos) << c.logged;
    }
}

TEST(ProfileHeader, SamplesAndTraceCountMustBeWholeNumbers)
{
    for (const char* key : {"SAMPLES", "LAST TRACE"}) {
        for (const char* value : {"1e3", "5.12e2", " 512 junk", "512.5", "", "+-512", "4294967296"}) {
            Keys keys = ValidKeys();
            keys[key] = value;
            ClearLog();
            CProfileHeader header;
            EXPECT_FALSE(header.ParseRadHeader(ToHeaders(keys))) << key << " \"" << value << '"';
            EXPECT_NE(ReadLog().find(std::string(key) + " is not a whole number: \"" + value + '"'), std::string::npos)
                << ReadLog();
        }
        Keys keys = ValidKeys();
        keys[key] = " " + keys[key] + "  ";
        CProfileHeader header;
        EXPECT_TRUE(header.ParseRadHeader(ToHeaders(keys))) << key;
    }
}

TEST(ProfileHeader, FailedParseKeepsFieldsReadBefore)
{
    Keys keys = ValidKeys();
    keys["DISTANCE INTERVAL"] = "0";
    CProfileHeader header;
    ASSERT_FALSE(header.ParseRadHeader(ToHeaders(keys)));
    EXPECT_EQ(header.m_iSamples, 512);
    EXPECT_EQ(header.m_strAntenna, L"");
    EXPECT_EQ(header.m_iFrequencySteps, 1);
}

TEST(ProfileHeader, RampAntennaDirectionAndStepsRules)
{
    const struct { Keys change; int ramp; const wchar_t* antenna; bool negative; int steps; } cases[] = {
        {{{"SHORT FLAG", "1"}, {"LONG FLAG", "1"}}, 0, L"500MHz", false, 1},
        {{{"INTERMEDIATE FLAG", "0"}, {"LONG FLAG", "1"}}, 2, L"500MHz", false, 1},
        {{{"ANTENNAS", "800MHz=A"}}, 1, L"800MHz", false, 1},
        {{{"ANTENNAS", "=800=A"}}, 1, L"=800=A", false, 1},
        {{{"POSITIVE DIRECTION", "2"}}, 1, L"500MHz", true, 1},
        {{{"POSITIVE DIRECTION", "0"}, {"FREQUENCY STEPS", "0"}}, 1, L"500MHz", true, 0},
    };
    for (const auto& c : cases) {
        Keys keys = ValidKeys();
        for (const auto& [key, value] : c.change)
            keys[key] = value;
        CProfileHeader header;
        ASSERT_TRUE(header.ParseRadHeader(ToHeaders(keys)));
        EXPECT_EQ(header.m_iRampKind, c.ramp);
        EXPECT_EQ(header.m_strAntenna, c.antenna);
        EXPECT_EQ(header.m_bNegativeDirection, c.negative);
        EXPECT_EQ(header.m_iFrequencySteps, c.steps);
    }
    Keys keys = ValidKeys();
    keys.erase("POSITIVE DIRECTION");
    keys.erase("FREQUENCY STEPS");
    CProfileHeader header;
    ASSERT_TRUE(header.ParseRadHeader(ToHeaders(keys)));
    EXPECT_TRUE(header.m_bNegativeDirection);
    EXPECT_EQ(header.m_iFrequencySteps, 0);
}

TEST(ProfileHeader, LoadFindsHeaderWithOrWithoutTrailingSeparator)
{
    CTempDir dir;
    WriteRad(dir.File("P1.rad"), ValidKeys());
    for (const std::wstring& folder : {dir.WPath(), dir.WPath() + L"/"}) {
        CProfileHeader header;
        EXPECT_TRUE(header.Load(folder, L"P1"));
        EXPECT_EQ(header.m_strFolder, folder);
        EXPECT_EQ(header.m_strName, L"P1");
    }
}

TEST(ProfileHeader, HeaderAndSamplePathsJoinTheFolderAlike)
{
    const struct { std::wstring folder, rad, rd3; } cases[] = {
        {L"", L"P1.rad", L"P1.rd3"},
        {L"survey", L"survey/P1.rad", L"survey/P1.rd3"},
        {L"survey/", L"survey/P1.rad", L"survey/P1.rd3"},
        {L"survey\\", L"survey\\P1.rad", L"survey\\P1.rd3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CProfileHeader::GetRadPath(c.folder, L"P1"), c.rad) << ToAnsi(c.folder);
        EXPECT_EQ(CProfileHeader::GetRd3Path(c.folder, L"P1"), c.rd3) << ToAnsi(c.folder);
    }
}

TEST(ProfileHeader, LoadOpensUpperCaseCompanions)
{
    CTempDir dir;
    WriteRad(dir.File("LINE1.RAD"), ValidKeys());
    const std::vector<int16_t> samples = {1, -2, 3, -32768};
    WriteFileBytes(dir.File("LINE1.RD3"),
                   std::string(reinterpret_cast<const char*>(samples.data()), 8));
    CProfileHeader header;
    ASSERT_TRUE(header.Load(dir.WPath(), L"LINE1"));
    std::vector<int16_t> read(4);
    EXPECT_TRUE(header.ReadData(read.data(), 8));
    EXPECT_EQ(read, samples);
}

TEST(ProfileHeader, LoadReportsMissingAndEmptyHeaders)
{
    CTempDir dir;
    WriteFileBytes(dir.File("E.rad"), "// nothing\r\n");
    for (const char* name : {"E", "NONE"}) {
        ClearLog();
        CProfileHeader header;
        EXPECT_FALSE(header.Load(dir.WPath(), Wide(name)));
        EXPECT_NE(ReadLog().find("Error: File is empty or does not exist. " + dir.Path() + "/" +
                                 name + ".rad"),
                  std::string::npos);
    }
    Keys keys = ValidKeys();
    keys.erase("SHORT FLAG");
    keys.erase("INTERMEDIATE FLAG");
    keys.erase("LONG FLAG");
    WriteRad(dir.File("R.rad"), keys);
    ClearLog();
    CProfileHeader header;
    EXPECT_FALSE(header.Load(dir.WPath(), L"R"));
    EXPECT_NE(ReadLog().find("Error: Fail to parse rad header. "), std::string::npos);
}

TEST(ProfileHeader, ReadDataReadsWhatThereIs)
{
    CTempDir dir;
    CProfileHeader header;
    header.m_strFolder = dir.WPath();
    header.m_strName = L"P";
    std::vector<int16_t> buffer(8, 7);

    ClearLog();
    EXPECT_FALSE(header.ReadData(buffer.data(), 16)); // no file
    EXPECT_NE(ReadLog().find("File error: The file could not be located."), std::string::npos);

    WriteFileBytes(dir.File("P.rd3"), "");
    EXPECT_FALSE(header.ReadData(buffer.data(), 16));

    WriteFileBytes(dir.File("P.rd3"), std::string("\x01\x00\xff\xff", 4));
    EXPECT_TRUE(header.ReadData(buffer.data(), 16)); // shorter than asked
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[1], -1);
    EXPECT_EQ(buffer[2], 7);
}

TEST(ProfileHeader, EveryProfileOfTheReferenceSurveyReadsBack)
{
    CTempDir dir;
    const SurveyGen::CSurveyParams params = SurveyGen::ReferenceSurvey();
    std::string error;
    ASSERT_TRUE(SurveyGen::WriteSurvey(params, dir.Path(), &error)) << error;
    const auto profiles = SurveyGen::ListProfiles(params);
    ASSERT_EQ(profiles.size(), 82u);
    std::vector<int16_t> read;
    for (const auto& profile : profiles) {
        CProfileHeader header;
        ASSERT_TRUE(header.Load(dir.WPath(), Wide(profile.name))) << profile.name;
        EXPECT_EQ(header.m_iSamples, params.samples);
        EXPECT_EQ(header.m_iLastTrace, profile.traces);
        EXPECT_DOUBLE_EQ(header.m_dDistanceInterval, params.traceInterval);
        const std::vector<int16_t> expected = SurveyGen::MakeProfileSamples(params, profile);
        read.assign(expected.size() + 16, 0);
        ASSERT_TRUE(header.ReadData(read.data(), read.size() * sizeof(int16_t)));
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), read.begin())) << profile.name;
        EXPECT_EQ(read[expected.size()], 0); // nothing beyond the file
    }
}
