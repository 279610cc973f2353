#include "Project.h"

#include "Cfg.h"
#include "Headers.h"
#include "ProjectFixture.h"
#include "Values.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct ProjectTest : testing::Test
{
    CTempDir dir;
    CGeneratedProject made;
    CNotifierRecorder notifier;

    void SetUp() override
    {
        g_cfg.SetDefaults();
        g_cfg.InitPalettes();
        made = CreateGeneratedProject(dir);
        ClearLog();
    }

    // Sets (or, with nullptr, removes) keys of one of the project's key:value files.
    void EditKeys(const std::string& suffix, const std::map<std::string, const char*>& changes)
    {
        CHeaders headers;
        ASSERT_TRUE(headers.Load(Wide(made.File(suffix))));
        CHeaders edited;
        for (const auto& item : headers) {
            auto change = changes.find(item.m_szKey);
            if (change == changes.end())
                edited.AddItem(item.m_szKey, item.m_szValue);
            else if (change->second)
                edited.AddItem(item.m_szKey, change->second);
        }
        for (const auto& [key, value] : changes)
            if (value && !headers.Find(key))
                edited.AddItem(key, value);
        ASSERT_TRUE(edited.Save(Wide(made.File(suffix)), false));
    }

    size_t RecordSize() const { return 4 + 2 * static_cast<size_t>(made.params.samples); }
};

std::string GetKey(const std::string& path, const char* key)
{
    return std::string(CHeaders(Wide(path)).GetValue(key));
}

std::vector<int16_t> ExpectedTrace(const SurveyGen::CSurveyParams& params, bool vertical, int line, int trace)
{
    std::vector<int16_t> samples(static_cast<size_t>(params.samples), 0);
    for (const auto& profile : SurveyGen::ListProfiles(params)) {
        if (profile.vertical != vertical || profile.index != line || trace >= profile.traces)
            continue;
        const auto all = SurveyGen::MakeProfileSamples(params, profile);
        std::copy_n(all.begin() + static_cast<long>(trace) * params.samples, params.samples, samples.begin());
    }
    return samples;
}

// A trace file of the given records (position, sample value filling the trace).
std::string TraceFile(const std::vector<std::pair<uint32_t, int16_t>>& records, int samples)
{
    std::string bytes(4, '\0');
    for (const auto& [position, value] : records) {
        bytes.append(reinterpret_cast<const char*>(&position), 4);
        const std::vector<int16_t> trace(static_cast<size_t>(samples), value);
        bytes.append(reinterpret_cast<const char*>(trace.data()), trace.size() * 2);
    }
    return bytes;
}

} // namespace

TEST(ProjectPath, SetPathNameSplitsFolderAndBaseName)
{
    const struct { const wchar_t* path; const wchar_t* folder; const wchar_t* name; } cases[] = {
        {L"/p/site.3dq", L"/p/", L"site"}, {L"site.rhd", L"", L"site"},
        {L"D:\\p\\site.rhd", L"D:\\p\\", L"site"}, {L"/p/a.b", L"/p/", L""}, {L"/p/.rhd", L"/p/", L""},
    };
    for (const auto& c : cases) {
        CProject project;
        project.SetPathName(c.path);
        EXPECT_EQ(project.m_strFolder, c.folder);
        EXPECT_EQ(project.m_strName, c.name);
    }
}

TEST_F(ProjectTest, CreatedProjectOpensWithHeaderValues)
{
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    const CProjectSettings& s = project.m_settings;
    EXPECT_EQ(s.m_iSizeX, 61);
    EXPECT_EQ(s.m_iSizeY, 51);
    EXPECT_EQ(s.m_iGridSizeX, 61);
    EXPECT_EQ(s.m_iGridMode, 1);
    EXPECT_EQ(s.GetXLineCount(), 7);
    EXPECT_EQ(s.GetYLineCount(), 6);
    EXPECT_EQ(s.m_iSamples, made.params.samples);
    EXPECT_DOUBLE_EQ(s.m_dVelocity, 80.0);
    EXPECT_EQ(s.m_iZeroLevel, 0);
    EXPECT_TRUE(s.m_params.m_bDelMeanOn);
    EXPECT_EQ(s.m_params.m_iDelMean, 40);
    EXPECT_EQ(s.m_antenna.m_dEmLagDistance, 0.092);
    EXPECT_FALSE(s.m_bHasEmData);
    EXPECT_FALSE(project.m_bSettingsLoaded);
    EXPECT_EQ(project.m_fCursorX, 30.0f);
    EXPECT_EQ(project.m_fCursorY, 25.0f);
    EXPECT_EQ(project.m_fHoverX, 30.0f);
    EXPECT_TRUE(notifier.m_messages.empty());

    CProject same; // the settings path opens the same project
    EXPECT_TRUE(same.Open(Wide(made.File(".3dq"))));
}

TEST_F(ProjectTest, EveryTraceReadsBackAlongBothDirections)
{
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    std::vector<int16_t> trace(static_cast<size_t>(made.params.samples));
    for (bool vertical : {true, false}) {
        const int lines = vertical ? project.m_settings.GetXLineCount() : project.m_settings.GetYLineCount();
        for (int line = 0; line < lines; ++line) {
            vertical ? project.SelectXProfile(line) : project.SelectYProfile(line);
            for (int t = 0; t < project.m_nCurTraces; ++t) {
                ASSERT_TRUE(project.ReadTrace(t, trace.data()));
                ASSERT_EQ(trace, ExpectedTrace(made.params, vertical, line, t))
                    << vertical << " line " << line << " trace " << t;
            }
        }
    }
    project.SelectXProfile(99);
    EXPECT_FALSE(project.ReadTrace(0, trace.data()));
}

TEST_F(ProjectTest, DamagedTraceFilesNeverReadAsGoodData)
{
    const int samples = made.params.samples;
    const std::string original = ReadFileBytes(made.File("_1.rd6"));
    CProject project;
    std::vector<int16_t> trace(static_cast<size_t>(samples));

    // Cut in the middle of record 3: no project; cut while open: its first samples read, the
    // rest is zero and reported.
    const std::string cut = original.substr(0, 4 + 3 * RecordSize() + 4 + 20);
    WriteFileBytes(made.File("_1.rd6"), cut);
    EXPECT_FALSE(project.Open(made.rhdPath));
    WriteFileBytes(made.File("_1.rd6"), original);
    ASSERT_TRUE(project.Open(made.rhdPath));
    std::filesystem::resize_file(made.File("_1.rd6"), cut.size());
    project.SelectXProfile(0);
    EXPECT_TRUE(project.ReadTrace(2, trace.data()));
    EXPECT_FALSE(project.ReadTrace(3, trace.data()));
    const auto expected = ExpectedTrace(made.params, true, 0, 3);
    EXPECT_TRUE(std::equal(trace.begin(), trace.begin() + 10, expected.begin()));
    EXPECT_TRUE(std::all_of(trace.begin() + 10, trace.end(), [](int16_t v) { return v == 0; }));

    // Out of order, one absent, the rest outside the grid.
    const uint32_t sizeY = 51;
    std::vector<std::pair<uint32_t, int16_t>> records = {
        {10 * sizeY + 5, 7}, {2, 3}, {0xFFFFFFF0u, 9}, {1, 2}, {60 * sizeY + 50, 8}};
    records.resize(7 * sizeY, {0xFFFFFFFFu, 1});
    WriteFileBytes(made.File("_1.rd6"), TraceFile(records, samples));
    ASSERT_TRUE(project.Open(made.rhdPath));
    const uint64_t* table = project.m_pOffsetsX.get();
    EXPECT_EQ(table[1 * sizeY + 5], 4 + 4u);
    EXPECT_EQ(table[2], 4 + RecordSize() + 4);
    EXPECT_EQ(table[1], 4 + 3 * RecordSize() + 4);
    EXPECT_EQ(table[6 * sizeY + 50], 4 + 4 * RecordSize() + 4);
    EXPECT_EQ(table[0], 0u); // absent
    project.SelectXProfile(1);
    ASSERT_TRUE(project.ReadTrace(5, trace.data()));
    EXPECT_EQ(trace[0], 7);
    project.SelectXProfile(0);
    ASSERT_TRUE(project.ReadTrace(1, trace.data()));
    EXPECT_EQ(trace[samples - 1], 2);
}

TEST_F(ProjectTest, HeaderDefectsFailTheOpenWithTheirReason)
{
    const struct { const char* suffix; std::map<std::string, const char*> keys; const char* logged; } cases[] = {
        {".rhd", {{"PROFILE SPACING", "0"}}, "invalid value (some values is zero or less then zero."},
        {".rhd", {{"X-SIZE", "-4"}}, "invalid value (some values is zero or less then zero."},
        {".rad", {{"SHORT FLAG", "0"}, {"INTERMEDIATE FLAG", nullptr}, {"LONG FLAG", "10"}}, "file missing ramp info."},
        {".rad", {{"SYSTEM CALIBRATION", nullptr}}, " : sys.cal. value is invalid, 0.000000"},
        {".rad", {{"DISTANCE INTERVAL", "0"}}, ": distance interval invalid, 0.000000"},
        {".rad", {{"SAMPLES", "0"}}, ": samples value is invalid, 0"},
    };
    for (const auto& c : cases) {
        const std::string saved = ReadFileBytes(made.File(c.suffix));
        EditKeys(c.suffix, c.keys);
        ClearLog();
        CProject project;
        EXPECT_FALSE(project.Open(made.rhdPath)) << c.logged;
        EXPECT_FALSE(project.IsOpen());
        EXPECT_NE(ReadLog().find(c.logged), std::string::npos) << ReadLog();
        WriteFileBytes(made.File(c.suffix), saved);
    }
    CProject project;
    EXPECT_FALSE(project.Open(L""));
    EXPECT_NE(ReadLog().find("Error: Project filename is empty."), std::string::npos);
    std::filesystem::remove(made.File("_2.rd6"));
    EXPECT_FALSE(project.Open(made.rhdPath));
    EXPECT_FALSE(project.m_fileX.IsOpen());
}

// Every file of the project's settings, as the open found them.
std::map<std::string, std::string> SettingsFiles(const CGeneratedProject& made)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(made.projectFolder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".3dq") != std::string::npos || name.find(".pal") != std::string::npos ||
            name.find(".3qo") != std::string::npos)
            files[name] = ReadFileBytes(entry.path().string());
    }
    return files;
}

TEST_F(ProjectTest, SizesThatAreNoWholeNumbersFailTheOpenAndKeepTheSettings)
{
    CProject saved;
    ASSERT_TRUE(saved.Open(made.rhdPath));
    saved.m_settings.m_iContrast = 61;
    ASSERT_TRUE(saved.SaveSettings());
    WriteFileBytes(made.File(".pal"), "project palette");
    const auto before = SettingsFiles(made);
    const struct { const char* suffix; const char* key; } keys[] = {
        {".rhd", "X-SIZE"}, {".rhd", "Y-SIZE"}, {".rhd", "PROFILE SPACING"}, {".rad", "SAMPLES"}};
    const char* values[] = {"1e308", "1e-300", "1e30", "5E1", " 7 junk", "7x", "12.5", "0.9", "",
                            "+-7", "- 7", "--7", "2147483648", "99999999999", "0x10"};
    for (const auto& k : keys) {
        const std::string file = ReadFileBytes(made.File(k.suffix));
        const std::string plain = GetKey(made.File(k.suffix), k.key);
        for (const char* value : values) {
            EditKeys(k.suffix, {{k.key, value}});
            ClearLog();
            notifier.m_messages.clear();
            CProject project;
            EXPECT_FALSE(project.Open(made.rhdPath)) << k.key << " \"" << value << '"';
            std::string stored = value; // as the header file gives it: blanks after the colon go
            stored.erase(0, stored.find_first_not_of(' '));
            EXPECT_NE(ReadLog().find(std::string(k.key) + " is not a whole number: \"" + stored + '"'),
                      std::string::npos)
                << k.key << " \"" << value << "\"\n" << ReadLog();
            EXPECT_TRUE(notifier.m_messages.empty()) << k.key << " \"" << value << '"';
            EXPECT_EQ(SettingsFiles(made), before) << k.key << " \"" << value << '"';
        }
        // Blanks around a whole number, as hand-edited files have them, read as the number.
        const std::string padded = " " + plain + " \t";
        EditKeys(k.suffix, {{k.key, padded.c_str()}});
        CProject project;
        ASSERT_TRUE(project.Open(made.rhdPath)) << k.key;
        EXPECT_TRUE(project.m_bSettingsLoaded) << k.key;
        EXPECT_EQ(project.m_settings.m_iContrast, 61) << k.key;
        WriteFileBytes(made.File(k.suffix), file);
    }
}

TEST_F(ProjectTest, ARefusedOpenLeavesTheSettingsFilesWhereTheyWere)
{
    CProject saved;
    ASSERT_TRUE(saved.Open(made.rhdPath));
    saved.m_settings.m_iContrast = 61;
    ASSERT_TRUE(saved.SaveSettings());
    WriteFileBytes(made.File(".pal"), "project palette");
    WriteFileBytes(made.File(".3qo"), "objects");
    const auto before = SettingsFiles(made);

    // SAMPLES one more: the settings file does not fit, and the trace files cannot hold the
    // records either.
    const std::string rad = ReadFileBytes(made.File(".rad"));
    const std::string more = FormatInt(made.params.samples + 1);
    EditKeys(".rad", {{"SAMPLES", more.c_str()}});
    CProject project;
    EXPECT_FALSE(project.Open(made.rhdPath));
    EXPECT_NE(ReadLog().find("cannot hold"), std::string::npos) << ReadLog();
    EXPECT_TRUE(notifier.m_messages.empty());
    EXPECT_EQ(SettingsFiles(made), before);

    WriteFileBytes(made.File(".rad"), rad); // mended
    ASSERT_TRUE(project.Open(made.rhdPath));
    EXPECT_TRUE(project.m_bSettingsLoaded);
    EXPECT_EQ(project.m_settings.m_iContrast, 61);
    EXPECT_EQ(SettingsFiles(made), before);
}

TEST_F(ProjectTest, HeaderValueRules)
{
    EditKeys(".rhd", {{"X-SIZE", "55"}});
    EditKeys(".add", {{"SOIL", "80"}});
    EditKeys(".rad", {{"UNITS", "Imp"}, {"DEPTH UNITS", "in"}, {"LENGTH UNITS", "ft"}, {"FREQUENCY STEPS", nullptr}});
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    const CProjectSettings& s = project.m_settings;
    EXPECT_EQ(s.m_iSizeX, 55);
    EXPECT_EQ(s.m_iGridSizeX, 61); // raised to k * spacing + 1
    EXPECT_EQ(s.m_dVelocity, 0.0); // the first character is skipped
    EXPECT_EQ(s.m_units, UNITS_IMP);
    EXPECT_TRUE(s.m_bDepthUnits);
    EXPECT_FALSE(s.m_bLengthUnits);
    EXPECT_EQ(s.m_antenna.m_iFrequencySteps, 0);

    EditKeys(".rad", {{"UNITS", "IMP"}, {"DEPTH UNITS", nullptr}});
    ASSERT_TRUE(project.Open(made.rhdPath));
    EXPECT_EQ(project.m_settings.m_units, UNITS_SI);
    EXPECT_TRUE(project.m_settings.m_bDepthUnits); // a missing key is the small unit

    // Without ".add" every key reads as 0, then the limits apply.
    std::filesystem::remove(made.File(".add"));
    ASSERT_TRUE(project.Open(made.rhdPath));
    const CProcessingParams& p = project.m_settings.m_params;
    EXPECT_EQ(project.m_settings.m_dVelocity, 0.0);
    EXPECT_FALSE(p.m_bFirOn);
    EXPECT_EQ(p.m_iFirHigh, 10u);
    EXPECT_EQ(p.m_iFirLow, 1u);
    EXPECT_EQ(p.m_iTgLinear, 100);
    EXPECT_EQ(p.m_iAperture, 1); // not an ".add" key: the default
    EXPECT_TRUE(p.m_bDelMeanOn); // no settings file: on, with 40
    EXPECT_EQ(p.m_iDelMean, 40);
    EXPECT_EQ(project.m_settings.m_iGridMode, 1);
}

TEST_F(ProjectTest, EmDataNeedsBothFiles)
{
    auto emFile = [](uint32_t lines, uint32_t perLine, uint32_t sizeY, bool bX) {
        std::string bytes(4, '\0');
        for (uint32_t line = 0; line < lines; ++line)
            for (uint32_t t = 0; t < perLine; ++t) {
                const uint32_t p = bX ? line * 10 * sizeY + t : t * sizeY + line * 10;
                bytes.append(reinterpret_cast<const char*>(&p), 4);
                const uint8_t payload[8] = {uint8_t(line), uint8_t(t), 0, 0, 0, 0, 0, 1};
                bytes.append(reinterpret_cast<const char*>(payload), 8);
            }
        return bytes;
    };
    WriteFileBytes(made.File("_1.emm"), emFile(7, 51, 51, true));
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    EXPECT_FALSE(project.m_settings.m_bHasEmData);
    EXPECT_FALSE(project.m_emmFileX.IsOpen());

    WriteFileBytes(made.File("_2.emm"), emFile(6, 61, 51, false));
    ASSERT_TRUE(project.Open(made.rhdPath));
    ASSERT_TRUE(project.m_settings.m_bHasEmData);
    std::vector<int16_t> trace(static_cast<size_t>(made.params.samples));
    uint8_t em[8] = {};
    project.SelectYProfile(2);
    ASSERT_TRUE(project.ReadTrace(33, trace.data(), em));
    EXPECT_EQ(em[0], 2);
    EXPECT_EQ(em[1], 33);
    EXPECT_EQ(em[7], 1);
}

TEST_F(ProjectTest, SettingsRoundTripGivesAnEqualRecord)
{
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    CProjectSettings& s = project.m_settings;
    s.m_dVelocity = 80.5 * 0.3048; // an imperial slider value, not whole
    s.m_iContrast = 44;
    s.m_iZeroLevel = 12;
    s.m_params.m_bMigration = true;
    s.m_params.m_iFirHigh = 33;
    s.m_units = UNITS_IMP;
    s.m_bUseZeroLevel = true;
    s.m_fAutoGain = 1.5f;
    project.m_fCursorX = 12.25f;
    project.m_fCursorDepth = 30;
    s.m_signature.FromHex("00ff10ab");
    EXPECT_TRUE(project.IsSettingsChanged()); // no file yet
    ASSERT_TRUE(project.SaveSettings());
    EXPECT_FALSE(project.IsSettingsChanged());

    CHeaders written;
    project.WriteSettings(written);
    CProject reopened;
    ASSERT_TRUE(reopened.Open(made.rhdPath));
    EXPECT_TRUE(reopened.m_bSettingsLoaded);
    EXPECT_EQ(reopened.m_settings.m_dVelocity, s.m_dVelocity);
    EXPECT_TRUE(reopened.m_settings.m_params == s.m_params);
    EXPECT_TRUE(reopened.m_settings.m_signature.IsEqual(s.m_signature));
    EXPECT_EQ(reopened.m_settings.m_iDepthIndex, 30);
    CHeaders again;
    reopened.WriteSettings(again);
    EXPECT_TRUE(again.IsEqual(written));
    EXPECT_FALSE(reopened.IsSettingsChanged());
    EXPECT_TRUE(notifier.m_messages.empty());
}

TEST_F(ProjectTest, SettingsThatDoNotFitAreRejected)
{
    EditKeys(".add", {{"RADIUS", "3"}}); // grid mode 2 writes "KR V8"
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    project.m_settings.m_signature.FromHex("abcd");
    project.m_settings.m_params.m_iFirLow = 9;
    ASSERT_TRUE(project.SaveSettings());
    const std::string saved = ReadFileBytes(made.File(".3dq"));
    // Values as the project's own, with junk, decimals or blanks around them.
    const std::string sizeYJunk = FormatInt(project.m_settings.m_iSizeY) + " junk";
    const std::string samplesReal = FormatInt(project.m_settings.m_iSamples) + ".0";
    const std::string sizeXPadded = " " + FormatInt(project.m_settings.m_iSizeX) + " ";
    const std::string samplesPadded = FormatInt(project.m_settings.m_iSamples) + " ";
    const struct { std::map<std::string, const char*> keys; int result; } cases[] = {
        {{}, CProject::SETTINGS_LOADED},
        {{{"signature", nullptr}}, CProject::SETTINGS_REJECTED},
        {{{"samples", "65"}}, CProject::SETTINGS_REJECTED},
        {{{"gridsize x", "62"}}, CProject::SETTINGS_REJECTED},
        {{{"vert. profiles", "8"}}, CProject::SETTINGS_REJECTED},
        {{{"gridsize x", "62"}, {"project version", "KR V4"}}, CProject::SETTINGS_REJECTED},
        {{{"vert. profiles", "1"}, {"project version", nullptr}}, CProject::SETTINGS_REJECTED},
        {{{"gridsize y", sizeYJunk.c_str()}}, CProject::SETTINGS_REJECTED},
        {{{"samples", samplesReal.c_str()}}, CProject::SETTINGS_REJECTED},
        {{{"gridsize x", sizeXPadded.c_str()}, {"samples", samplesPadded.c_str()}}, CProject::SETTINGS_LOADED},
        {{{"project version", "KR V4"}}, CProject::SETTINGS_LOADED},
        {{{"project version", "KR V4"}, {"gridsize x", nullptr}, {"gridsize y", nullptr},
          {"vert. profiles", nullptr}, {"horz. profiles", nullptr}}, CProject::SETTINGS_LOADED},
        {{{"filter delmean On", nullptr}, {"filter delmean", "0"}}, CProject::SETTINGS_LOADED},
    };
    for (const auto& c : cases) {
        WriteFileBytes(made.File(".3dq"), saved);
        EditKeys(".3dq", c.keys);
        notifier.m_messages.clear();
        CProject reopened;
        ASSERT_TRUE(reopened.Open(made.rhdPath));
        EXPECT_EQ(reopened.m_bSettingsLoaded, c.result == CProject::SETTINGS_LOADED);
        if (c.result == CProject::SETTINGS_REJECTED) {
            ASSERT_EQ(notifier.m_messages.size(), 1u);
            EXPECT_EQ(notifier.m_messages[0], L"Unable to read application project file.\nWill load from original settings.");
            EXPECT_EQ(reopened.m_settings.m_params.m_iFirLow, 4u); // from the headers again
            EXPECT_TRUE(reopened.m_settings.m_params.m_bDelMeanOn);
            EXPECT_EQ(reopened.m_settings.m_params.m_iDelMean, 17);
        } else {
            EXPECT_TRUE(notifier.m_messages.empty());
            EXPECT_EQ(reopened.m_settings.m_params.m_iFirLow, 9u);
        }
    }
    EXPECT_FALSE(CProject().m_settings.m_params.m_bDelMeanOn);
}

TEST_F(ProjectTest, AbsurdSettingsValuesAreBroughtIntoTheData)
{
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    ASSERT_TRUE(project.SaveSettings());
    EditKeys(".3dq", {{"zsample", "99999"}, {"depth", "-7"}, {"section x", "1e9"}, {"section y", "nan"},
                      {"filter fir high", "-5"}, {"aperture", "4000"}, {"units", "si"}, {"velocity", ""}});
    CProject reopened;
    ASSERT_TRUE(reopened.Open(made.rhdPath));
    ASSERT_TRUE(reopened.m_bSettingsLoaded);
    const CProjectSettings& s = reopened.m_settings;
    EXPECT_EQ(s.m_iZeroLevel, made.params.samples - 1);
    EXPECT_EQ(reopened.m_fCursorDepth, 0.0f);
    EXPECT_EQ(s.m_iDepthIndex, 0);
    EXPECT_EQ(reopened.m_fCursorX, 60.0f);
    EXPECT_EQ(reopened.m_fCursorY, 0.0f);
    EXPECT_EQ(s.m_params.m_iFirHigh, 50u);
    EXPECT_EQ(s.m_params.m_iAperture, 40);
    EXPECT_EQ(s.m_units, UNITS_IMP);
    EXPECT_EQ(s.m_dVelocity, 0.0);
}

TEST_F(ProjectTest, AMaterialTheListNoLongerHoldsStaysTheProjects)
{
    g_cfg.m_materials = {{L"Sand", 50, 150}, {L"User-defined", 30, 300}};
    g_cfg.m_pCurMaterial = &g_cfg.m_materials[1];
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    project.m_settings.m_pMaterial = g_cfg.FindMaterial(L"Sand");
    ASSERT_TRUE(project.SaveSettings());

    // A damaged list: with its user-defined material, and without any that fits.
    for (bool bUserDefined : {true, false}) {
        SCOPED_TRACE(bUserDefined);
        g_cfg.m_materials = {{L"Clay", 5, 60}};
        g_cfg.m_pCurMaterial = nullptr;
        if (bUserDefined) {
            g_cfg.m_materials.push_back({L"User-defined", 40, 90});
            g_cfg.m_pCurMaterial = &g_cfg.m_materials.back();
        }
        ClearLog();
        for (int open = 0; open < 2; ++open) {
            CProject reopened;
            ASSERT_TRUE(reopened.Open(made.rhdPath));
            ASSERT_TRUE(reopened.m_bSettingsLoaded);
            const CMaterial* material = reopened.m_settings.m_pMaterial;
            ASSERT_NE(material, nullptr);
            EXPECT_EQ(material->m_strName, L"Sand");
            EXPECT_EQ(material->m_iMinVelocity, 30);
            EXPECT_EQ(material->m_iMaxVelocity, 300);
            EXPECT_FALSE(reopened.IsSettingsChanged());
            ASSERT_TRUE(reopened.SaveSettings());
            EXPECT_EQ(GetKey(made.File(".3dq"), "material"), "Sand");
        }
        EXPECT_EQ(g_cfg.m_materials.size(), bUserDefined ? 3u : 2u); // kept once
        EXPECT_NE(ReadLog().find("Sand"), std::string::npos);
    }
}

TEST_F(ProjectTest, ProjectPaletteOnlyForTheUserPalette)
{
    TPaletteTable project{};
    project.fill(0x00123456);
    ASSERT_TRUE(CCfg::WritePaletteFile(project, Wide(made.File(".pal"))));

    CProject first; // no settings file: a project palette becomes the user palette
    ASSERT_TRUE(first.Open(made.rhdPath));
    EXPECT_EQ(g_cfg.m_paletteNames[static_cast<size_t>(g_cfg.m_nCurPalette)], PALETTE_USER_DEFINED);
    EXPECT_EQ(g_cfg.m_curColors[7], 0x00123456u);

    g_cfg.SelectPalette(PALETTE_BLACK_WHITE);
    ASSERT_TRUE(first.SaveSettings());
    ASSERT_TRUE(CCfg::WritePaletteFile(project, Wide(made.File(".pal")))); // stale
    TPaletteTable user{};
    user.fill(0x00ABCDEF);
    g_cfg.m_userColors = user;
    CProject second;
    ASSERT_TRUE(second.Open(made.rhdPath));
    EXPECT_EQ(g_cfg.m_paletteNames[static_cast<size_t>(g_cfg.m_nCurPalette)], PALETTE_BLACK_WHITE);
    EXPECT_EQ(g_cfg.m_userColors[0], 0x00ABCDEFu);
    EXPECT_FALSE(second.IsSettingsChanged());

    g_cfg.SelectPalette(PALETTE_USER_DEFINED);
    ASSERT_TRUE(second.SaveSettings()); // writes the current colours as project palette
    EXPECT_FALSE(second.IsSettingsChanged());
    g_cfg.m_curColors[3] = 1;
    EXPECT_TRUE(second.IsSettingsChanged());
}

TEST_F(ProjectTest, WhatTheProgramWritesReadsBackAsItselfWithoutACopy)
{
    // Settings at the ends of what the dialogs, the views and the palette editor can set.
    const struct { const char* name; std::function<void(CProject&)> set; } cases[] = {
        {"as opened", [](CProject&) {}},
        {"lowest", [](CProject& p) {
             CProjectSettings& s = p.m_settings;
             s.m_params.m_iFirLow = 1, s.m_params.m_iFirHigh = 10, s.m_params.m_iTimeGain = 0;
             s.m_params.m_iTgLinear = 100, s.m_params.m_iTgExponent = 1, s.m_params.m_iTgStart = 0;
             s.m_params.m_iDelMean = 3, s.m_params.m_iAperture = 1, s.m_params.m_iThreshold = -255;
             s.m_iContrast = 0, s.m_iAngle = 0, s.m_iZeroLevel = 0, s.m_dVelocity = 0.0304;
             p.m_fCursorX = p.m_fCursorY = p.m_fCursorDepth = 0;
             s.m_fAutoGain = 1e-7f;
         }},
        {"highest", [](CProject& p) {
             CProjectSettings& s = p.m_settings;
             s.m_params.m_iFirLow = 20, s.m_params.m_iFirHigh = 50, s.m_params.m_iTimeGain = 255;
             s.m_params.m_iTgLinear = 3000, s.m_params.m_iTgExponent = 1000, s.m_params.m_iTgStart = 1000;
             s.m_params.m_iDelMean = 80, s.m_params.m_iAperture = 40, s.m_params.m_iThreshold = 255;
             s.m_params.m_bMigration = s.m_params.m_bFirOn = s.m_params.m_bDelMeanOn = true;
             s.m_iContrast = 100, s.m_iAngle = 359, s.m_iZeroLevel = s.m_iSamples - 1, s.m_dVelocity = 300;
             p.m_fCursorX = float(s.m_iSizeX - 1), p.m_fCursorY = float(s.m_iSizeY - 1);
             p.m_fCursorDepth = float(s.m_iSamples - 1);
             s.m_fAutoGain = 12345.678f, s.m_units = UNITS_IMP, s.m_bUseZeroLevel = true;
         }},
        {"user palette, material not in the list", [](CProject& p) {
             g_cfg.SetUserPalette(TPaletteTable{});
             p.m_settings.m_pMaterial = g_cfg.FindProjectMaterial(L"Wet sand: 50 % clay, \u00e9t\u00e9");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* suffix : {".3dq", ".pal"})
            std::filesystem::remove(made.File(suffix));
        CProject project;
        ASSERT_TRUE(project.Open(made.rhdPath));
        c.set(project);
        project.m_settings.m_signature.FromHex("00ff");
        ASSERT_TRUE(project.SaveSettings());
        const std::string written = ReadFileBytes(made.File(".3dq"));
        for (int run = 0; run < 2; ++run) {
            CProject again;
            ASSERT_TRUE(again.Open(made.rhdPath));
            EXPECT_TRUE(again.m_bSettingsLoaded);
            EXPECT_FALSE(again.IsSettingsChanged());
            ASSERT_TRUE(again.SaveSettings());
            EXPECT_EQ(ReadFileBytes(made.File(".3dq")), written);
        }
        for (const char* suffix : {".3dq.old", ".pal.old"})
            EXPECT_FALSE(std::filesystem::exists(made.File(suffix))) << suffix;
    }
}

TEST_F(ProjectTest, AProjectPaletteNeverReplacesTheUsersOwnPaletteFile)
{
    TPaletteTable user{}, project{}, edited{};
    user.fill(0x00ABCDEF);
    project.fill(0x00123456);
    edited.fill(0x00654321);
    const std::string userPath = ToAnsi(CCfg::GetUserPalettePath());
    // The ways a project's palette becomes the user palette that is shown, and what the
    // user does with it before the exit.
    const struct { const char* name; bool bSettings; bool bApplied; bool bEdited; } cases[] = {
        {"no settings file", false, false, false},
        {"settings naming the user palette", true, false, false},
        {"applied unchanged in the settings dialog", false, true, false},
        {"edited by the user", true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::wstring& path : {CCfg::GetCfgFilePath(), CCfg::GetUserPalettePath()})
            std::filesystem::remove(ToAnsi(path));
        std::filesystem::remove(made.File(".3dq"));
        ASSERT_TRUE(CCfg::WritePaletteFile(user, CCfg::GetUserPalettePath()));
        if (c.bSettings) {
            CProject saver;
            ASSERT_TRUE(saver.Open(made.rhdPath));
            g_cfg.SelectPalette(PALETTE_USER_DEFINED);
            ASSERT_TRUE(saver.SaveSettings());
        }
        ASSERT_TRUE(CCfg::WritePaletteFile(project, Wide(made.File(".pal"))));
        g_cfg.Load();
        ASSERT_EQ(g_cfg.m_userColors, user);

        CProject opened;
        ASSERT_TRUE(opened.Open(made.rhdPath));
        EXPECT_EQ(opened.m_bSettingsLoaded, c.bSettings);
        EXPECT_EQ(g_cfg.m_curColors, project);
        EXPECT_EQ(g_cfg.m_userColors, project);
        if (c.bApplied)
            g_cfg.SetUserPalette(g_cfg.m_userColors);
        if (c.bEdited)
            g_cfg.SetUserPalette(edited);
        ASSERT_TRUE(g_cfg.Save());
        TPaletteTable written{};
        ASSERT_TRUE(CCfg::ReadPaletteFile(written, CCfg::GetUserPalettePath()));
        EXPECT_EQ(written, c.bEdited ? edited : user);
        EXPECT_FALSE(std::filesystem::exists(userPath + ".old"));
        EXPECT_EQ(g_cfg.m_curColors, c.bEdited ? edited : project); // the view keeps its palette
    }
}

TEST_F(ProjectTest, ProjectPaletteThatCannotBeWrittenFailsTheSave)
{
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    g_cfg.SelectPalette(PALETTE_USER_DEFINED);
    const std::string path = made.File(".pal");
    const struct { const char* name; std::function<void()> make; } cases[] = {
        {"folder", [&] { std::filesystem::create_directory(path); }},
        {"dangling link", [&] { std::filesystem::create_symlink(dir.File("gone/site.pal"), path); }},
    };
    for (const auto& c : cases) {
        c.make();
        const auto type = std::filesystem::symlink_status(path).type();
        ClearLog();
        EXPECT_FALSE(project.SaveSettings()) << c.name;
        EXPECT_NE(ReadLog().find(path), std::string::npos) << c.name << "\n" << ReadLog();
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type) << c.name;
        std::filesystem::remove(path);
    }
    g_cfg.SelectPalette(PALETTE_BLACK_WHITE); // no project palette to write
    std::filesystem::create_directory(path);
    EXPECT_TRUE(project.SaveSettings());
}

TEST_F(ProjectTest, RejectedSettingsFileIsKeptBeforeTheFirstSave)
{
    CProject saved;
    ASSERT_TRUE(saved.Open(made.rhdPath));
    saved.m_settings.m_iContrast = 61;
    saved.m_settings.m_signature.FromHex("abcd");
    ASSERT_TRUE(saved.SaveSettings());
    const std::string settings = ReadFileBytes(made.File(".3dq"));
    const std::string rad = ReadFileBytes(made.File(".rad"));
    std::string lineFeeds = settings;
    for (size_t at; (at = lineFeeds.find("\r\n")) != std::string::npos;)
        lineFeeds.erase(at, 1);
    const struct { const char* name; std::string bytes; std::map<std::string, const char*> keys, radKeys; } cases[] = {
        {"no signature", settings, {{"signature", nullptr}}, {}},
        {"samples of other data", settings, {{"samples", "65"}}, {}},
        {"cut file", settings.substr(0, settings.size() / 2), {}, {}},
        {"cut before its first line end", settings.substr(0, 9), {}, {}},
        {"line feeds alone", lineFeeds, {}, {}},
        {"grid of another project", settings, {{"gridsize x", "1"}, {"vert. profiles", "1"}}, {}},
    };
    for (const auto& c : cases) {
        for (const auto& entry : std::filesystem::directory_iterator(made.projectFolder))
            if (entry.path().extension() == ".old")
                std::filesystem::remove(entry.path());
        WriteFileBytes(made.File(".3dq"), c.bytes);
        if (!c.keys.empty())
            EditKeys(".3dq", c.keys);
        if (!c.radKeys.empty())
            EditKeys(".rad", c.radKeys);
        const std::string user = ReadFileBytes(made.File(".3dq"));
        WriteFileBytes(made.File(".pal"), "project palette");
        notifier.m_messages.clear();
        ClearLog();

        CProject project;
        ASSERT_TRUE(project.Open(made.rhdPath)) << c.name;
        EXPECT_FALSE(project.m_bSettingsLoaded) << c.name;
        EXPECT_EQ(notifier.m_messages,
                  std::vector<std::wstring>{L"Unable to read application project file.\nWill load from original settings."})
            << c.name;
        EXPECT_NE(ReadLog().find("kept " + made.File(".3dq") + " as " + made.File(".3dq.old")), std::string::npos)
            << c.name << "\n" << ReadLog();
        EXPECT_EQ(ReadFileBytes(made.File(".3dq.old")), user) << c.name;
        EXPECT_EQ(ReadFileBytes(made.File(".pal.old")), "project palette") << c.name; // not read either
        g_cfg.SelectPalette(PALETTE_USER_DEFINED);
        ASSERT_TRUE(project.SaveSettings()) << c.name;
        ASSERT_TRUE(project.SaveSettings()) << c.name;
        EXPECT_EQ(ReadFileBytes(made.File(".3dq.old")), user) << c.name;
        EXPECT_FALSE(std::filesystem::exists(made.File(".3dq.old.1"))) << c.name;
        EXPECT_EQ(ReadFileBytes(made.File(".pal.old")), "project palette") << c.name;
        EXPECT_EQ(GetKey(made.File(".3dq"), "contrast"), FormatInt(project.m_settings.m_iContrast)) << c.name;
        CProject reopened;
        ASSERT_TRUE(reopened.Open(made.rhdPath)) << c.name;
        EXPECT_TRUE(reopened.m_bSettingsLoaded) << c.name;
        WriteFileBytes(made.File(".rad"), rad);
    }

    WriteFileBytes(made.File(".3dq"), ""); // holds nothing to keep: as without settings file
    std::filesystem::remove(made.File(".3dq.old"));
    notifier.m_messages.clear();
    CProject empty;
    ASSERT_TRUE(empty.Open(made.rhdPath));
    EXPECT_TRUE(notifier.m_messages.empty());
    EXPECT_EQ(empty.m_settings.m_params.m_iDelMean, 40);
    EXPECT_TRUE(std::filesystem::exists(made.File(".3dq")));
    EXPECT_FALSE(std::filesystem::exists(made.File(".3dq.old")));
}

TEST_F(ProjectTest, RejectedSettingsFileThatCannotBeKeptIsNeverReplaced)
{
    CProject saved;
    ASSERT_TRUE(saved.Open(made.rhdPath));
    ASSERT_TRUE(saved.SaveSettings());
    EditKeys(".3dq", {{"samples", "65"}});
    const std::string user = ReadFileBytes(made.File(".3dq"));
    WriteFileBytes(made.File(".3dq.old"), "");
    for (int number = 1; number < 1000; ++number) // every name a copy could take
        WriteFileBytes(made.File(".3dq.old." + std::to_string(number)), "");
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    EXPECT_FALSE(project.m_bSettingsLoaded);
    ClearLog();
    EXPECT_FALSE(project.SaveSettings());
    EXPECT_NE(ReadLog().find("unable to write"), std::string::npos) << ReadLog();
    EXPECT_EQ(ReadFileBytes(made.File(".3dq")), user);
}

TEST_F(ProjectTest, DeleteSettingsFilesMovesEveryCaseAsideKeepingEarlierCopies)
{
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    ASSERT_TRUE(project.SaveSettings());
    const std::string settings = ReadFileBytes(made.File(".3dq"));
    WriteFileBytes(made.File(".3DQ"), "settings in the other case");
    WriteFileBytes(made.File(".3qo"), "objects");
    WriteFileBytes(made.File(".pal"), "palette");
    WriteFileBytes(made.File(".3qo.old"), "older");
    const std::string target = dir.File("shared.pal");
    WriteFileBytes(target, "linked palette");
    std::filesystem::create_symlink(target, made.File(".PAL"));
    ClearLog();
    EXPECT_TRUE(project.DeleteSettingsFiles());
    const std::map<std::string, std::string> kept = {
        {".3dq", settings}, {".3DQ", "settings in the other case"}, {".pal", "palette"},
        {".3qo", "objects"}, {".PAL", "linked palette"}};
    for (const auto& [suffix, bytes] : kept) {
        const std::string copy = made.File(suffix + (suffix == ".3qo" ? ".old.1" : ".old"));
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(made.File(suffix)))) << suffix;
        EXPECT_EQ(ReadFileBytes(copy), bytes) << suffix;
        EXPECT_NE(ReadLog().find("kept " + made.File(suffix) + " as " + copy), std::string::npos)
            << suffix << "\n" << ReadLog();
    }
    EXPECT_EQ(ReadFileBytes(made.File(".3qo.old")), "older"); // an earlier copy stays
    EXPECT_TRUE(std::filesystem::is_symlink(made.File(".PAL.old"))); // the link moved, not its target
    EXPECT_EQ(ReadFileBytes(target), "linked palette");
    EXPECT_TRUE(std::filesystem::exists(made.File(".rhd")));

    ClearLog();
    EXPECT_TRUE(project.DeleteSettingsFiles()); // nothing left: no harm
    EXPECT_EQ(ReadLog().find("KeepAside"), std::string::npos) << ReadLog();
    ASSERT_TRUE(project.SaveSettings());
    project.DeleteSettingsFiles();
    EXPECT_EQ(ReadFileBytes(made.File(".3dq.old")), settings);
    EXPECT_EQ(ReadFileBytes(made.File(".3dq.old.1")), settings);
}

TEST_F(ProjectTest, SamplesWhoseRecordsCannotFitAreRefused)
{
    // A record is a 4-byte position and SAMPLES 16-bit values, after a 4-byte file header; the
    // file holds 7 x 51 of them.
    const auto size = static_cast<long long>(std::filesystem::file_size(made.File("_1.rd6")));
    const long long oneRecord = (size - 8) / 2;
    const struct { long long samples; const char* logged; } cases[] = {
        {2147483647, "holds no record of 2147483647 samples"}, {oneRecord + 1, "holds no record of"},
        {oneRecord, "cannot hold the 357 records of 7 lines of 51 traces; it holds 1."},
        {made.params.samples + 1, "cannot hold the 357 records"}, {made.params.samples, nullptr},
    };
    for (const auto& c : cases) {
        const std::string value = std::to_string(c.samples);
        EditKeys(".rad", {{"SAMPLES", value.c_str()}});
        ClearLog();
        CProject project;
        EXPECT_EQ(project.Open(made.rhdPath), c.logged == nullptr) << c.samples;
        if (c.logged) {
            EXPECT_NE(ReadLog().find(c.logged), std::string::npos) << c.samples << "\n" << ReadLog();
        }
        EXPECT_EQ(project.m_fileX.IsOpen(), c.logged == nullptr);
    }
}

TEST_F(ProjectTest, GridsWhoseRecordsTheTraceFilesCannotHoldAreRefused)
{
    // "_1.rd6" holds 7 lines of 51 records, "_2.rd6" 6 lines of 61; a grid opens when each file
    // holds every record of its lines.
    const struct { const char* sizeX; const char* sizeY; const char* file; } cases[] = {
        {"6600", "5300", "_1.rd6"}, {"71", "51", "_1.rd6"}, {"61", "52", "_1.rd6"},
        {"62", "51", "_2.rd6"}, {"2147483641", "2147483641", "_1.rd6"},
        {"61", "51", nullptr}, {"61", "50", nullptr}, {"51", "41", nullptr},
    };
    const std::string saved = ReadFileBytes(made.File(".rhd"));
    for (const auto& c : cases) {
        EditKeys(".rhd", {{"X-SIZE", c.sizeX}, {"Y-SIZE", c.sizeY}});
        ClearLog();
        CProject project;
        EXPECT_EQ(project.Open(made.rhdPath), c.file == nullptr) << c.sizeX << " x " << c.sizeY;
        const std::string log = ReadLog();
        if (c.file) {
            const std::string path = made.File(c.file);
            const std::string size = std::to_string(std::filesystem::file_size(path));
            EXPECT_NE(log.find(path + " of " + size + " bytes cannot hold the "), std::string::npos) << log;
        }
        EXPECT_EQ(log.find("trace tables"), std::string::npos) << log; // nothing was allocated
        EXPECT_EQ(project.m_fileX.IsOpen(), c.file == nullptr);
        WriteFileBytes(made.File(".rhd"), saved);
    }

    // The last line is raised onto the grid by less than one spacing; a spacing that would more
    // than double the grid is refused before anything is allocated.
    for (const auto& [spacing, bOpens] : {std::pair{"1000000", false}, std::pair{"60", true}, std::pair{"200", false}}) {
        EditKeys(".rhd", {{"PROFILE SPACING", spacing}});
        ClearLog();
        CProject project;
        EXPECT_EQ(project.Open(made.rhdPath), bOpens) << spacing;
        EXPECT_EQ(ReadLog().find("more than twice the traces of its lines") == std::string::npos, bOpens) << ReadLog();
        WriteFileBytes(made.File(".rhd"), saved);
    }

    // The reference survey's grid reaches past the ends of its profiles: those records hold zeros.
    CTempDir referenceDir;
    const CGeneratedProject reference = CreateGeneratedProject(referenceDir, SurveyGen::ReferenceSurvey());
    CProject project;
    ASSERT_TRUE(project.Open(reference.rhdPath)) << ReadLog();
    const CProjectSettings& s = project.m_settings;
    const SurveyGen::CProfileInfo last = SurveyGen::ListProfiles(reference.params).back();
    ASSERT_GT(s.m_iSizeX, last.traces);
    ASSERT_GT(s.m_iSizeY, last.traces);
    std::vector<int16_t> trace(static_cast<size_t>(s.m_iSamples), 1);
    project.SelectXProfile(0);
    EXPECT_TRUE(project.ReadTrace(s.m_iSizeY - 1, trace.data()));
    EXPECT_EQ(std::count(trace.begin(), trace.end(), 0), s.m_iSamples);
    project.SelectXProfile(0);
    EXPECT_TRUE(project.ReadTrace(last.traces - 1, trace.data()));
    EXPECT_LT(std::count(trace.begin(), trace.end(), 0), s.m_iSamples);
}

TEST_F(ProjectTest, PipesInPlaceOfProjectFilesDoNotHang)
{
    const struct { const char* suffix; bool opens; } cases[] = {
        {".rad", false}, {".rhd", false}, {".add", true}, {"_1.rd6", false}, {"_2.rd6", false},
        {"_1.emm", true}, {"_2.emm", true}, {".3dq", true}, {".pal", true},
    };
    for (const auto& c : cases) {
        const std::string path = made.File(c.suffix);
        const bool bExists = std::filesystem::exists(path);
        if (bExists)
            std::filesystem::rename(path, path + ".saved");
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << c.suffix;
        CProject project;
        EXPECT_EQ(project.Open(made.rhdPath), c.opens) << c.suffix;
        EXPECT_FALSE(project.m_bSettingsLoaded) << c.suffix;
        EXPECT_FALSE(project.m_settings.m_bHasEmData) << c.suffix;
        std::filesystem::remove(path);
        if (bExists)
            std::filesystem::rename(path + ".saved", path);
    }
}

TEST_F(ProjectTest, UnreadableSettingsFileOpensAsWithoutOneAndIsKept)
{
    CProject saved;
    ASSERT_TRUE(saved.Open(made.rhdPath));
    saved.m_settings.m_params.m_iDelMean = 7;
    ASSERT_TRUE(saved.SaveSettings());
    const std::string path = made.File(".3dq");
    const std::string settings = ReadFileBytes(path);
    const struct { const char* name; std::function<void()> make; } cases[] = {
        {"FIFO", [&] { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
        {"over the size cap", [&] {
             WriteFileBytes(path, settings);
             std::filesystem::resize_file(path, CHeaders::MAX_FILE_SIZE + 1);
         }},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(path);
        c.make();
        const auto type = std::filesystem::status(path).type();
        CProject project;
        ASSERT_TRUE(project.Open(made.rhdPath)) << c.name;
        EXPECT_FALSE(project.m_bSettingsLoaded) << c.name;
        EXPECT_EQ(project.m_settings.m_params.m_iDelMean, 40) << c.name; // as without settings file
        EXPECT_TRUE(notifier.m_messages.empty()) << c.name;
        ClearLog();
        EXPECT_FALSE(project.SaveSettings()) << c.name;
        EXPECT_NE(ReadLog().find("exists but cannot be read"), std::string::npos) << c.name;
        EXPECT_EQ(std::filesystem::status(path).type(), type) << c.name;
        if (type == std::filesystem::file_type::regular) {
            EXPECT_EQ(std::filesystem::file_size(path), uint64_t(CHeaders::MAX_FILE_SIZE + 1)) << c.name;
        }
        EXPECT_TRUE(project.IsSettingsChanged()) << c.name;
    }
}

TEST_F(ProjectTest, SettingsFileWithoutReadPermissionIsKept)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    ASSERT_TRUE(project.SaveSettings());
    chmod(made.File(".3dq").c_str(), 0200);
    ASSERT_TRUE(project.Open(made.rhdPath));
    EXPECT_FALSE(project.m_bSettingsLoaded);
    EXPECT_FALSE(project.SaveSettings());
}

TEST_F(ProjectTest, ShortProjectPaletteReadsOverTheUserColours)
{
    TPaletteTable user{};
    user.fill(0x00ABCDEF);
    g_cfg.m_userColors = user;
    const std::string shortFile(100, '\x10');
    WriteFileBytes(made.File(".pal"), shortFile);

    CProject project; // no settings file: the project palette becomes the user palette
    ASSERT_TRUE(project.Open(made.rhdPath));
    EXPECT_EQ(g_cfg.m_userColors[24], 0x10101010u);
    EXPECT_EQ(g_cfg.m_userColors[25], 0x00ABCDEFu);
    EXPECT_EQ(g_cfg.m_userColors[255], 0x00ABCDEFu);
    EXPECT_EQ(g_cfg.m_curColors, g_cfg.m_userColors);

    ASSERT_TRUE(project.SaveSettings());
    WriteFileBytes(made.File(".pal"), shortFile);
    EXPECT_FALSE(project.IsSettingsChanged()); // read as the open reads it
    g_cfg.m_curColors[200] = 7; // beyond the file's end, where the user colours stand
    EXPECT_TRUE(project.IsSettingsChanged());
}

TEST_F(ProjectTest, CompanionsInTheOtherCaseAreUsedOnEveryRoad)
{
    CProject project;
    ASSERT_TRUE(project.Open(made.rhdPath));
    g_cfg.SelectPalette(PALETTE_USER_DEFINED);
    ASSERT_TRUE(project.SaveSettings());
    for (const char* suffix : {".3dq", ".pal"}) {
        std::string upper = suffix;
        for (char& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        std::filesystem::rename(made.File(suffix), made.File(upper));
    }
    WriteFileBytes(made.File(".3QO"), "objects");
    const auto names = [&] {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(made.projectFolder))
            found.insert(entry.path().filename().string());
        return found;
    };
    const std::set<std::string> before = names();

    project.m_settings.m_iContrast = 61;
    g_cfg.m_curColors[5] = 0x00050505;
    EXPECT_TRUE(project.IsSettingsChanged());
    ASSERT_TRUE(project.SaveSettings());
    EXPECT_EQ(names(), before); // saved under their own names
    EXPECT_EQ(GetKey(made.File(".3DQ"), "contrast"), "61");
    EXPECT_EQ(ReadFileBytes(made.File(".PAL")).substr(20, 4), std::string("\x05\x05\x05\x00", 4));
    EXPECT_FALSE(project.IsSettingsChanged());

    CProject reopened; // read under their own names
    ASSERT_TRUE(reopened.Open(made.rhdPath));
    EXPECT_TRUE(reopened.m_bSettingsLoaded);
    EXPECT_EQ(reopened.m_settings.m_iContrast, 61);

    reopened.DeleteSettingsFiles();
    for (const char* suffix : {".3DQ", ".PAL", ".3QO"}) {
        EXPECT_FALSE(std::filesystem::exists(made.File(suffix))) << suffix;
        EXPECT_TRUE(std::filesystem::exists(made.File(std::string(suffix) + ".old"))) << suffix;
    }
}
