#include "Cfg.h"

#include "DrawingManager.h"
#include "FileIo.h"
#include "Headers.h"
#include "TestSupport.h"
#include "Values.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

const wchar_t kReadError[] = L"Error accour while reading application settings file, Try to "
                             L"restart program. If this message is repeated. Contact distributor.";
const wchar_t kSaveError[] = L"Error. Unable to save program's configuration.";

// A complete file as the program writes it, with non-default values.
Lines CompleteFile()
{
    return {
        {"cfg.name", "quarvel"},
        {"cfg.version", "v1.4.0"},
        {"cfg.layout", "0"},
        {"cfg.palette.all", "1"},
        {"cfg.palette.current", "1"},
        {"cfg.use mouse wheel", "0"},
        {"cfg.window.remember", "1"},
        {"cfg.window.size", "800 600"},
        {"cfg.window.position", "30 40"},
        {"cfg.units.all", "1"},
        {"cfg.units.type", "IMP"},
        {"cfg.import.srcfolder", "/data/in"},
        {"cfg.import.projectfolder", "/data/out"},
    };
}

Lines With(Lines lines, const std::string& key, const std::string& value)
{
    for (auto& line : lines)
        if (line.first == key)
            line.second = value;
    return lines;
}

Lines Without(Lines lines, const std::string& key)
{
    Lines kept;
    for (auto& line : lines)
        if (line.first != key)
            kept.push_back(line);
    return kept;
}

std::string Text(const Lines& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line.first + ":" + line.second + "\r\n";
    return text;
}

Lines ReadLines(const std::wstring& path)
{
    CHeaders headers;
    headers.Load(path);
    Lines lines;
    for (const auto& item : headers)
        lines.emplace_back(item.m_szKey, item.m_szValue);
    return lines;
}

// Each test gets a per-user folder that does not exist yet.
class Cfg : public testing::Test
{
protected:
    void SetUp() override
    {
        const char* old = std::getenv("APPDATA");
        m_oldAppData = old ? old : "";
        setenv("APPDATA", m_dir.File("appdata").c_str(), 1);
    }
    void TearDown() override { setenv("APPDATA", m_oldAppData.c_str(), 1); }

    void WriteCfg(const std::string& text)
    {
        std::filesystem::create_directories(ToAnsi(CCfg::GetAppDataDir()));
        WriteFileBytes(ToAnsi(CCfg::GetCfgFilePath()), text);
    }

    // A configuration with its palettes ready, as Load has them before reading the file.
    static void ReadInto(CCfg& cfg, bool bExpected = true)
    {
        cfg.InitPalettes();
        EXPECT_EQ(cfg.ReadCfgFile(), bExpected);
    }

    CTempDir m_dir;
    std::string m_oldAppData;
};

// Changes the working folder for its lifetime.
class CWorkingDir
{
public:
    explicit CWorkingDir(const std::string& path) : m_old(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~CWorkingDir() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

} // namespace

TEST_F(Cfg, PathsLieInThePerUserFolder)
{
    const std::wstring dir = Wide(m_dir.File("appdata")) + L"/Tovrik/quarvel";
    EXPECT_EQ(CCfg::GetAppDataDir(), dir);
    EXPECT_EQ(CCfg::GetCfgFilePath(), dir + L"/quarvel.cfg");
    EXPECT_EQ(CCfg::GetUserPalettePath(), dir + L"/userdef.pal");
}

TEST_F(Cfg, Defaults)
{
    CCfg cfg;
    EXPECT_EQ(cfg.m_pCurMaterial, nullptr);
    EXPECT_TRUE(cfg.m_materials.empty());
    EXPECT_EQ(cfg.m_nCurPalette, 0);
    EXPECT_TRUE(cfg.m_paletteNames.empty());
    EXPECT_FALSE(cfg.m_bPaletteAll);
    EXPECT_FALSE(cfg.m_bPaletteWrap);
    EXPECT_TRUE(cfg.m_cursors.empty());
    EXPECT_EQ(cfg.m_nLayout, 1);
    EXPECT_FALSE(cfg.m_bRememberWindow);
    EXPECT_EQ(cfg.m_windowSize[0], 0);
    EXPECT_EQ(cfg.m_windowSize[1], 0);
    EXPECT_EQ(cfg.m_windowPos[0], 0);
    EXPECT_EQ(cfg.m_windowPos[1], 0);
    EXPECT_TRUE(cfg.m_bAutoContrast);
    EXPECT_FALSE(cfg.m_bUnitsAll);
    EXPECT_EQ(cfg.m_units, UNITS_SI);
    EXPECT_EQ(cfg.m_unitsNames, (std::vector<std::wstring>{L"SI units", L"Imperial units"}));
    EXPECT_TRUE(cfg.m_winPos.empty());
    EXPECT_TRUE(cfg.m_bUseMouseWheel);
    EXPECT_TRUE(cfg.m_importSrcFolder.empty());
    EXPECT_TRUE(cfg.m_importProjectFolder.empty());
}

TEST_F(Cfg, ReadsEveryKey)
{
    WriteCfg(Text(CompleteFile()));
    CCfg cfg;
    ReadInto(cfg);
    EXPECT_EQ(cfg.m_nLayout, 0);
    EXPECT_TRUE(cfg.m_bPaletteAll);
    EXPECT_EQ(cfg.m_nCurPalette, 1);
    EXPECT_EQ(cfg.m_curColors[0], 0x00FF0000u);
    EXPECT_FALSE(cfg.m_bUseMouseWheel);
    EXPECT_TRUE(cfg.m_bRememberWindow);
    EXPECT_EQ(cfg.m_windowSize[0], 800);
    EXPECT_EQ(cfg.m_windowSize[1], 600);
    EXPECT_EQ(cfg.m_windowPos[0], 30);
    EXPECT_EQ(cfg.m_windowPos[1], 40);
    EXPECT_TRUE(cfg.m_bUnitsAll);
    EXPECT_EQ(cfg.m_units, UNITS_IMP);
    EXPECT_EQ(cfg.m_importSrcFolder, L"/data/in");
    EXPECT_EQ(cfg.m_importProjectFolder, L"/data/out");
}

TEST_F(Cfg, ValueRules)
{
    using Check = std::function<void(const CCfg&)>;
    const auto pos = [](int x, int y) -> Check {
        return [x, y](const CCfg& c) {
            EXPECT_EQ(c.m_windowPos[0], x);
            EXPECT_EQ(c.m_windowPos[1], y);
        };
    };
    const auto size = [](int w, int h) -> Check {
        return [w, h](const CCfg& c) {
            EXPECT_EQ(c.m_windowSize[0], w);
            EXPECT_EQ(c.m_windowSize[1], h);
        };
    };
    const auto layout = [](int n) -> Check { return [n](const CCfg& c) { EXPECT_EQ(c.m_nLayout, n); }; };
    const auto palette = [](int n, uint32_t first) -> Check {
        return [n, first](const CCfg& c) {
            EXPECT_EQ(c.m_nCurPalette, n);
            EXPECT_EQ(c.m_curColors[0], first);
        };
    };
    const struct { const char* key; const char* value; Check check; } cases[] = {
        {"cfg.window.position", "2500 -50", pos(100, 100)},
        {"cfg.window.position", "0 2000", pos(0, 2000)},
        {"cfg.window.position", "37", pos(37, 0)},
        {"cfg.window.position", "", pos(0, 0)},
        {"cfg.window.size", "800", size(800, 0)},
        {"cfg.window.size", "1024        768", size(1024, 768)},
        {"cfg.window.size", "123456789012345", size(INT_MAX, 2345)},
        {"cfg.window.size", "12345678901", size(INT_MAX, 0)},
        {"cfg.layout", "2", layout(2)},
        {"cfg.layout", "3", layout(1)},
        {"cfg.layout", "-1", layout(1)},
        {"cfg.layout", "abc", layout(0)},
        {"cfg.palette.current", "0", palette(0, 0)},
        {"cfg.palette.current", "3", palette(0, 0)},
        {"cfg.palette.current", "-1", palette(0, 0)},
        {"cfg.palette.current", "99999999999", palette(0, 0)},
        {"cfg.units.type", "SI", [](const CCfg& c) { EXPECT_EQ(c.m_units, UNITS_SI); }},
        {"cfg.use mouse wheel", "1x", [](const CCfg& c) { EXPECT_TRUE(c.m_bUseMouseWheel); }},
        {"cfg.palette.all", "", [](const CCfg& c) { EXPECT_FALSE(c.m_bPaletteAll); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + ":" + c.value);
        WriteCfg(Text(With(CompleteFile(), c.key, c.value)));
        CCfg cfg;
        ReadInto(cfg);
        c.check(cfg);
    }
}

namespace {

// Each key of CompleteFile with the check of the value read from it.
const std::vector<std::pair<std::string, std::function<void(const CCfg&)>>>& CompleteFileChecks()
{
    static const std::vector<std::pair<std::string, std::function<void(const CCfg&)>>> checks = {
        {"cfg.layout", [](const CCfg& c) { EXPECT_EQ(c.m_nLayout, 0); }},
        {"cfg.palette.all", [](const CCfg& c) { EXPECT_TRUE(c.m_bPaletteAll); }},
        {"cfg.palette.current", [](const CCfg& c) { EXPECT_EQ(c.m_nCurPalette, 1); }},
        {"cfg.use mouse wheel", [](const CCfg& c) { EXPECT_FALSE(c.m_bUseMouseWheel); }},
        {"cfg.window.remember", [](const CCfg& c) { EXPECT_TRUE(c.m_bRememberWindow); }},
        {"cfg.window.size",
         [](const CCfg& c) {
             EXPECT_EQ(c.m_windowSize[0], 800);
             EXPECT_EQ(c.m_windowSize[1], 600);
         }},
        {"cfg.window.position",
         [](const CCfg& c) {
             EXPECT_EQ(c.m_windowPos[0], 30);
             EXPECT_EQ(c.m_windowPos[1], 40);
         }},
        {"cfg.units.all", [](const CCfg& c) { EXPECT_TRUE(c.m_bUnitsAll); }},
        {"cfg.units.type", [](const CCfg& c) { EXPECT_EQ(c.m_units, UNITS_IMP); }},
        {"cfg.import.srcfolder", [](const CCfg& c) { EXPECT_EQ(c.m_importSrcFolder, L"/data/in"); }},
        {"cfg.import.projectfolder", [](const CCfg& c) { EXPECT_EQ(c.m_importProjectFolder, L"/data/out"); }},
    };
    return checks;
}

// Every value of CompleteFile was taken, but that of the damaged key.
void ExpectCompleteFileValues(const CCfg& cfg, const std::string& damagedKey = std::string())
{
    for (const auto& check : CompleteFileChecks()) {
        SCOPED_TRACE(check.first);
        if (check.first != damagedKey)
            check.second(cfg);
    }
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

TEST_F(Cfg, ADamagedKeyFailsTheReadButEveryOtherKeyIsTaken)
{
    for (const char* key : {"cfg.name", "cfg.version", "cfg.layout", "cfg.palette.all",
                            "cfg.palette.current", "cfg.use mouse wheel", "cfg.window.remember"}) {
        Lines renamed = CompleteFile();
        Lines zeroed = CompleteFile();
        for (size_t i = 0; i < renamed.size(); ++i) {
            if (renamed[i].first == key) {
                renamed[i].first = Upper(key);
                zeroed[i].first.insert(3, 1, '\0');
            }
        }
        for (const Lines& lines : {Without(CompleteFile(), key), renamed, zeroed}) {
            SCOPED_TRACE(Text(lines));
            WriteCfg(Text(lines));
            CCfg cfg;
            ReadInto(cfg, false);
            ExpectCompleteFileValues(cfg, key);
        }
    }

    // An unknown unit system fails the read; the unit system stays SI.
    ClearLog();
    WriteCfg(Text(With(CompleteFile(), "cfg.units.type", "Imp")));
    CCfg units;
    ReadInto(units, false);
    EXPECT_EQ(units.m_units, UNITS_SI);
    ExpectCompleteFileValues(units, "cfg.units.type");
    EXPECT_NE(ReadLog().find("unknown unit system \"Imp\""), std::string::npos);

    // Missing and empty files fail at once.
    CCfg missing;
    std::filesystem::remove(ToAnsi(CCfg::GetCfgFilePath()));
    ReadInto(missing, false);
    WriteCfg("");
    ReadInto(missing, false);
    EXPECT_EQ(missing.m_nLayout, 1);
}

TEST_F(Cfg, LinesEndingInLfOrCrAloneOrNotAtAllAreRead)
{
    const auto ending = [](const std::string& crlf, const std::string& last) {
        std::string text;
        for (const auto& line : CompleteFile())
            text += line.first + ":" + line.second + crlf;
        return text.substr(0, text.size() - crlf.size()) + last;
    };
    std::string mixed;
    const char* ends[] = {"\r\n", "\n", "\r"};
    size_t i = 0;
    for (const auto& line : CompleteFile())
        mixed += line.first + ":" + line.second + ends[i++ % 3];
    const struct { const char* name; std::string text; } cases[] = {
        {"LF", ending("\n", "\n")},
        {"CR", ending("\r", "\r")},
        {"mixed", mixed},
        {"last line without CR LF", ending("\r\n", "")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteCfg(c.text);
        CCfg cfg;
        ReadInto(cfg);
        ExpectCompleteFileValues(cfg);

        // Written back whole, with CR LF, and the file as it was beside it.
        CNotifierRecorder recorder;
        ASSERT_TRUE(cfg.Save());
        EXPECT_EQ(ReadFileBytes(ToAnsi(CCfg::GetCfgFilePath())), Text(CompleteFile()));
        EXPECT_EQ(ReadFileBytes(ToAnsi(CCfg::GetCfgFilePath()) + ".old"), c.text);
        std::filesystem::remove_all(ToAnsi(CCfg::GetAppDataDir()));
    }
}

TEST_F(Cfg, ADamagedFileIsKeptAsOldOnceBeforeItIsWrittenOver)
{
    const std::string cfgPath = ToAnsi(CCfg::GetCfgFilePath());
    const std::string damaged = "// by hand\r\n" + Text(Without(CompleteFile(), "cfg.layout")) + "CFG.LAYOUT:2\r\n";
    WriteCfg(damaged);
    WriteFileBytes(cfgPath + ".old", "earlier copy");
    CNotifierRecorder recorder;
    CCfg cfg;
    EXPECT_FALSE(cfg.Load());
    EXPECT_EQ(recorder.m_messages, std::vector<std::wstring>{kReadError});
    ExpectCompleteFileValues(cfg, "cfg.layout");

    ASSERT_TRUE(cfg.Save());
    ASSERT_TRUE(cfg.Save());
    EXPECT_EQ(ReadFileBytes(cfgPath + ".old"), "earlier copy");
    EXPECT_EQ(ReadFileBytes(cfgPath + ".old.1"), damaged);
    EXPECT_FALSE(std::filesystem::exists(cfgPath + ".old.2"));
    Lines expected = Without(CompleteFile(), "cfg.layout");
    expected.push_back({"CFG.LAYOUT", "2"});
    expected.push_back({"cfg.layout", "1"});
    EXPECT_EQ(ReadLines(CCfg::GetCfgFilePath()), expected);
    EXPECT_EQ(recorder.m_messages, std::vector<std::wstring>{kReadError});

    // A complete file, and a first run without one, keep no copy.
    std::filesystem::remove_all(ToAnsi(CCfg::GetAppDataDir()));
    for (bool bFirstRun : {true, false}) {
        if (!bFirstRun)
            WriteCfg(Text(CompleteFile()));
        CCfg other;
        other.Load();
        ASSERT_TRUE(other.Save());
        EXPECT_FALSE(std::filesystem::exists(cfgPath + ".old")) << bFirstRun;
    }
}

TEST_F(Cfg, AValueTakenOtherwiseThanItStandsKeepsTheFileAsOld)
{
    // Each value is read by its rule, and the read succeeds, but the save would write it
    // otherwise: the file as it was stays beside the new one.
    const std::string cfgPath = ToAnsi(CCfg::GetCfgFilePath());
    const struct { const char* key; const char* value; } cases[] = {
        {"cfg.layout", ""},
        {"cfg.layout", "abc"},
        {"cfg.layout", "7"},
        {"cfg.layout", "-5"},
        {"cfg.palette.current", "99999999999999999999"},
        {"cfg.palette.all", "yes"},
        {"cfg.use mouse wheel", "10"},
        {"cfg.window.size", "800"},
        {"cfg.window.position", "30 4000"},
        {"cfg.units.all", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + ":" + c.value);
        const std::string text = Text(With(CompleteFile(), c.key, c.value));
        WriteCfg(text);
        CNotifierRecorder recorder;
        CCfg cfg;
        EXPECT_TRUE(cfg.Load());
        ASSERT_TRUE(cfg.Save());
        EXPECT_EQ(ReadFileBytes(cfgPath + ".old"), text);
        EXPECT_TRUE(recorder.m_messages.empty());
        std::filesystem::remove_all(ToAnsi(CCfg::GetAppDataDir()));
    }

    // Another program's name or version is no damage.
    WriteCfg(Text(With(With(CompleteFile(), "cfg.name", "other"), "cfg.version", "v1.3.0")));
    CCfg cfg;
    EXPECT_TRUE(cfg.Load());
    ASSERT_TRUE(cfg.Save());
    EXPECT_FALSE(std::filesystem::exists(cfgPath + ".old"));
}

TEST_F(Cfg, OptionalKeysKeepDefaults)
{
    Lines lines = CompleteFile();
    for (const char* key : {"cfg.window.size", "cfg.window.position", "cfg.units.all",
                            "cfg.units.type", "cfg.import.srcfolder", "cfg.import.projectfolder"})
        lines = Without(lines, key);
    WriteCfg(Text(lines));
    CCfg cfg;
    cfg.m_windowSize[0] = 5;
    cfg.m_windowPos[1] = 7;
    cfg.m_units = UNITS_IMP;
    cfg.m_bUnitsAll = true;
    cfg.m_importSrcFolder = L"x";
    ReadInto(cfg);
    EXPECT_EQ(cfg.m_windowSize[0], 5);
    EXPECT_EQ(cfg.m_windowPos[1], 7);
    EXPECT_EQ(cfg.m_units, UNITS_SI);
    EXPECT_FALSE(cfg.m_bUnitsAll);
    EXPECT_TRUE(cfg.m_importSrcFolder.empty());
}

TEST_F(Cfg, LoadShowsOneMessageWhenTheFileCannotBeRead)
{
    CNotifierRecorder recorder;
    CCfg cfg;
    EXPECT_FALSE(cfg.Load());
    ASSERT_EQ(recorder.m_messages.size(), 1u);
    EXPECT_EQ(recorder.m_messages[0], kReadError);
    EXPECT_EQ(recorder.m_icons[0], TMessageIcon::Exclamation);
    EXPECT_EQ(cfg.m_cursors.size(), 6u);
    EXPECT_EQ(cfg.m_paletteNames.size(), 3u);
    EXPECT_FALSE(cfg.m_materials.empty());
    EXPECT_EQ(cfg.m_nLayout, 1);
}

TEST_F(Cfg, LoadTakesTheUserPaletteBeforeSelecting)
{
    CNotifierRecorder recorder;
    WriteCfg(Text(With(CompleteFile(), "cfg.palette.current", "2")));
    TPaletteTable user;
    user.fill(0x00345678);
    ASSERT_TRUE(CCfg::WritePaletteFile(user, CCfg::GetUserPalettePath()));
    CCfg cfg;
    EXPECT_TRUE(cfg.Load());
    EXPECT_TRUE(recorder.m_messages.empty());
    EXPECT_EQ(cfg.m_nCurPalette, 2);
    EXPECT_EQ(cfg.m_curColors, user);
    EXPECT_EQ(cfg.m_userColors, user);

    // A short user palette replaces the entries it holds; the rest stays gray.
    WriteFileBytes(ToAnsi(CCfg::GetUserPalettePath()), std::string(1000, '\x01'));
    CCfg shortFile;
    EXPECT_TRUE(shortFile.Load());
    EXPECT_EQ(shortFile.m_userColors[9], 0x01010101u);
    EXPECT_EQ(shortFile.m_userColors[250], 0x00FAFAFAu);
    EXPECT_EQ(shortFile.m_curColors, shortFile.m_userColors);
}

TEST_F(Cfg, AUserPaletteOfAnotherSizeIsKeptAsOldBeforeItIsWrittenOver)
{
    WriteCfg(Text(CompleteFile()));
    const std::string palettePath = ToAnsi(CCfg::GetUserPalettePath());
    CNotifierRecorder recorder;
    for (size_t size : {100, 1030}) {
        SCOPED_TRACE(size);
        const std::string bytes(size, '\x07');
        WriteFileBytes(palettePath, bytes);
        CCfg cfg;
        EXPECT_TRUE(cfg.Load());
        ASSERT_TRUE(cfg.Save());
        ASSERT_TRUE(cfg.Save());
        EXPECT_EQ(ReadFileBytes(palettePath + ".old"), bytes);
        EXPECT_FALSE(std::filesystem::exists(palettePath + ".old.1"));
        EXPECT_EQ(std::filesystem::file_size(palettePath), PALETTE_FILE_SIZE);
        std::filesystem::remove(palettePath + ".old");
    }

    // One of the right size is written over without a copy.
    CCfg cfg;
    EXPECT_TRUE(cfg.Load());
    ASSERT_TRUE(cfg.Save());
    EXPECT_FALSE(std::filesystem::exists(palettePath + ".old"));
    EXPECT_TRUE(recorder.m_messages.empty());
}

TEST_F(Cfg, SaveRoundTripsKeepingOtherKeysInPlace)
{
    CNotifierRecorder recorder;
    CCfg cfg;
    cfg.InitPalettes();
    cfg.m_nLayout = 2;
    cfg.m_bPaletteAll = true;
    TPaletteTable user;
    for (uint32_t i = 0; i < 256; ++i)
        user[i] = (255 - i) << 8;
    cfg.SetUserPalette(user);
    cfg.m_bUseMouseWheel = false;
    cfg.m_bRememberWindow = true;
    cfg.m_windowSize[0] = 1280;
    cfg.m_windowSize[1] = 1024;
    cfg.m_windowPos[0] = 12;
    cfg.m_windowPos[1] = 1999;
    cfg.m_bUnitsAll = true;
    cfg.m_units = UNITS_IMP;
    cfg.m_importSrcFolder = L"/home/j\u00fcrgen/profiles";
    cfg.m_importProjectFolder = L"/srv/projects";

    // The first save creates the folder.
    ASSERT_FALSE(std::filesystem::exists(ToAnsi(CCfg::GetAppDataDir())));
    ASSERT_TRUE(cfg.Save());
    const std::wstring path = CCfg::GetCfgFilePath();
    EXPECT_EQ(ReadLines(path), (Lines{
        {"cfg.name", "quarvel"}, {"cfg.version", "v1.4.0"}, {"cfg.layout", "2"},
        {"cfg.palette.all", "1"}, {"cfg.palette.current", "2"}, {"cfg.use mouse wheel", "0"},
        {"cfg.window.remember", "1"}, {"cfg.window.size", "1280 1024"},
        {"cfg.window.position", "12 1999"}, {"cfg.units.all", "1"}, {"cfg.units.type", "IMP"},
        {"cfg.import.srcfolder", "/home/j\xC3\xBCrgen/profiles"},
        {"cfg.import.projectfolder", "/srv/projects"}}));
    TPaletteTable written;
    ASSERT_TRUE(CCfg::ReadPaletteFile(written, CCfg::GetUserPalettePath()));
    EXPECT_EQ(written, user);

    // Keys of older versions and the drawing keys stay where they are.
    Lines lines = ReadLines(path);
    lines.insert(lines.begin(), {"old.key", "abc"});
    lines.insert(lines.begin() + 4, {"drawing.pen", "3 255"});
    lines.push_back({"drawing.visible", "1"});
    WriteFileBytes(ToAnsi(path), Text(lines));
    cfg.m_nLayout = 0;
    cfg.m_units = UNITS_SI;
    ASSERT_TRUE(cfg.Save());
    lines = With(With(lines, "cfg.layout", "0"), "cfg.units.type", "SI");
    EXPECT_EQ(ReadLines(path), lines);
    EXPECT_TRUE(recorder.m_messages.empty());

    CCfg reloaded;
    EXPECT_TRUE(reloaded.Load());
    EXPECT_EQ(reloaded.m_nLayout, cfg.m_nLayout);
    EXPECT_EQ(reloaded.m_bPaletteAll, cfg.m_bPaletteAll);
    EXPECT_EQ(reloaded.m_nCurPalette, cfg.m_nCurPalette);
    EXPECT_EQ(reloaded.m_curColors, cfg.m_curColors);
    EXPECT_EQ(reloaded.m_userColors, cfg.m_userColors);
    EXPECT_EQ(reloaded.m_bUseMouseWheel, cfg.m_bUseMouseWheel);
    EXPECT_EQ(reloaded.m_bRememberWindow, cfg.m_bRememberWindow);
    EXPECT_EQ(reloaded.m_windowSize[0], cfg.m_windowSize[0]);
    EXPECT_EQ(reloaded.m_windowSize[1], cfg.m_windowSize[1]);
    EXPECT_EQ(reloaded.m_windowPos[0], cfg.m_windowPos[0]);
    EXPECT_EQ(reloaded.m_windowPos[1], cfg.m_windowPos[1]);
    EXPECT_EQ(reloaded.m_bUnitsAll, cfg.m_bUnitsAll);
    EXPECT_EQ(reloaded.m_units, cfg.m_units);
    EXPECT_EQ(reloaded.m_importSrcFolder, cfg.m_importSrcFolder);
    EXPECT_EQ(reloaded.m_importProjectFolder, cfg.m_importProjectFolder);
    EXPECT_TRUE(recorder.m_messages.empty());
}

TEST_F(Cfg, ImportFoldersKeepTheirBytes)
{
    // A folder whose name is not UTF-8 opens and is written back as it was.
    const std::string latin1 = "/data/\xE9t\xE9";
    const std::string utf8 = "/srv/j\xC3\xBCrgen";
    const Lines lines = With(With(CompleteFile(), "cfg.import.srcfolder", latin1), "cfg.import.projectfolder", utf8);
    WriteCfg(Text(lines));
    CCfg cfg;
    ReadInto(cfg);
    EXPECT_EQ(NativePath(cfg.m_importSrcFolder), latin1);
    EXPECT_EQ(cfg.m_importProjectFolder, L"/srv/j\u00fcrgen");
    CNotifierRecorder recorder;
    ASSERT_TRUE(cfg.Save());
    EXPECT_EQ(ReadLines(CCfg::GetCfgFilePath()), lines);
}

TEST_F(Cfg, WhatTheProgramWritesReadsBackAsItselfWithoutACopy)
{
    // Each value the program can come to hold, written at the end of one run and read at the
    // start of the next: the value comes back (as the reader takes it) and no copy is kept.
    using Set = std::function<void(CCfg&, Tovrik::CDrawingManager&)>;
    using Check = std::function<void(const CCfg&, const Tovrik::CDrawingManager&)>;
    const auto position = [](int x, int y, int readX, int readY) {
        return std::pair<Set, Check>{[=](CCfg& c, Tovrik::CDrawingManager&) {
                                         c.m_windowPos[0] = x;
                                         c.m_windowPos[1] = y;
                                     },
                                     [=](const CCfg& c, const Tovrik::CDrawingManager&) {
                                         EXPECT_EQ(c.m_windowPos[0], readX);
                                         EXPECT_EQ(c.m_windowPos[1], readY);
                                     }};
    };
    const auto size = [](int cx, int cy) {
        return std::pair<Set, Check>{[=](CCfg& c, Tovrik::CDrawingManager&) {
                                         c.m_windowSize[0] = cx;
                                         c.m_windowSize[1] = cy;
                                     },
                                     [=](const CCfg& c, const Tovrik::CDrawingManager&) {
                                         EXPECT_EQ(c.m_windowSize[0], cx);
                                         EXPECT_EQ(c.m_windowSize[1], cy);
                                     }};
    };
    // A folder that the file can hold comes back; one that it cannot is not remembered.
    const auto folders = [](const std::wstring& folder, bool bHeld) {
        return std::pair<Set, Check>{[=](CCfg& c, Tovrik::CDrawingManager&) {
                                         c.m_importSrcFolder = folder;
                                         c.m_importProjectFolder = folder;
                                     },
                                     [=](const CCfg& c, const Tovrik::CDrawingManager&) {
                                         EXPECT_EQ(c.m_importSrcFolder, bHeld ? folder : L"");
                                         EXPECT_EQ(c.m_importProjectFolder, bHeld ? folder : L"");
                                     }};
    };
    const auto drawing = [](uint32_t color, int alpha, bool bFrame, bool bOverlay, int32_t visibility) {
        return std::pair<Set, Check>{[=](CCfg&, Tovrik::CDrawingManager& d) {
                                         d.SetColor(color);
                                         d.SetBlendAlpha(alpha);
                                         d.SetDrawFrame(bFrame);
                                         d.SetOverlay(bOverlay);
                                         d.SetVisibility(visibility);
                                     },
                                     [=](const CCfg&, const Tovrik::CDrawingManager& d) {
                                         EXPECT_EQ(d.GetColor(), color);
                                         EXPECT_EQ(d.GetBlendAlpha(), alpha);
                                         EXPECT_EQ(d.GetDrawFrame(), bFrame);
                                         EXPECT_EQ(d.GetOverlay(), bOverlay);
                                         EXPECT_EQ(d.GetVisibility(), visibility);
                                     }};
    };
    const auto members = [](int layout, bool bPaletteAll, int palette, bool bWheel, bool bRemember, bool bUnitsAll,
                            TUnits units) {
        return std::pair<Set, Check>{[=](CCfg& c, Tovrik::CDrawingManager&) {
                                         c.m_nLayout = layout;
                                         c.m_bPaletteAll = bPaletteAll;
                                         c.SelectPalette(c.m_paletteNames[size_t(palette)]);
                                         c.m_bUseMouseWheel = bWheel;
                                         c.m_bRememberWindow = bRemember;
                                         c.m_bUnitsAll = bUnitsAll;
                                         c.m_units = units;
                                     },
                                     [=](const CCfg& c, const Tovrik::CDrawingManager&) {
                                         EXPECT_EQ(c.m_nLayout, layout);
                                         EXPECT_EQ(c.m_bPaletteAll, bPaletteAll);
                                         EXPECT_EQ(c.m_nCurPalette, palette);
                                         EXPECT_EQ(c.m_bUseMouseWheel, bWheel);
                                         EXPECT_EQ(c.m_bRememberWindow, bRemember);
                                         EXPECT_EQ(c.m_bUnitsAll, bUnitsAll);
                                         EXPECT_EQ(c.m_units, units);
                                     }};
    };
    const struct { const char* name; std::pair<Set, Check> value; } cases[] = {
        {"defaults", members(1, false, 0, true, false, false, UNITS_SI)},
        {"every other choice", members(0, true, 1, false, true, true, UNITS_IMP)},
        {"layout 2, user palette", members(2, false, 2, true, true, false, UNITS_SI)},
        {"window at the origin", position(0, 0, 0, 0)},
        {"window at the limit", position(2000, 2000, 2000, 2000)},
        {"window on a second screen", position(2100, 50, 100, 50)},
        {"window below a tall screen", position(50, 2100, 50, 100)},
        {"window far away", position(INT32_MAX, INT32_MAX, 100, 100)},
        {"window left of the screen", position(-1, 20, 100, 20)},
        {"no window size", size(0, 0)},
        {"largest window size", size(INT32_MAX, INT32_MAX)},
        {"smallest window size", size(INT32_MIN, INT32_MIN)},
        {"no folders", folders(L"", true)},
        {"folder with blanks", folders(L"/data/my profiles/ site 1 ", true)},
        {"folder not UTF-8", folders(L"/data/\xDCE9t\xDCE9", true)},
        {"folder with U+FFFD", folders(L"/data/\uFFFD", true)},
        {"folder with a colon", folders(L"/data/a:b", true)},
        {"folder with a line feed", folders(L"/data/a\nb", false)},
        {"folder with a carriage return", folders(L"/data/a\rb", false)},
        {"folder with both", folders(L"/data/a\r\nb:c", false)},
        {"relative folder with a leading blank", folders(L" data", false)},
        {"drawing defaults", drawing(0x0064FF64, 100, true, true, Tovrik::CDrawingManager::VISIBLE_ALL)},
        {"drawing extremes", drawing(0x00FFFFFF, 255, false, false, Tovrik::CDrawingManager::VISIBLE_HIDE)},
        {"drawing black", drawing(0, 0, true, false, Tovrik::CDrawingManager::VISIBLE_RANGE)},
    };
    const std::string cfgPath = ToAnsi(CCfg::GetCfgFilePath());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(ToAnsi(CCfg::GetAppDataDir()));
        CNotifierRecorder recorder;
        {
            CCfg cfg;
            Tovrik::CDrawingManager drawings;
            cfg.Load();
            drawings.LoadSettings(CCfg::GetCfgFilePath());
            c.value.first(cfg, drawings);
            ASSERT_TRUE(cfg.Save());
            ASSERT_TRUE(drawings.SaveSettings(CCfg::GetCfgFilePath()));
        }
        const std::string written = ReadFileBytes(cfgPath);
        recorder.m_messages.clear();
        for (int run = 0; run < 2; ++run) {
            CCfg cfg;
            Tovrik::CDrawingManager drawings;
            EXPECT_TRUE(cfg.Load());
            EXPECT_TRUE(drawings.LoadSettings(CCfg::GetCfgFilePath()));
            EXPECT_FALSE(cfg.m_bCfgFileDamaged);
            c.value.second(cfg, drawings);
            ASSERT_TRUE(cfg.Save());
            ASSERT_TRUE(drawings.SaveSettings(CCfg::GetCfgFilePath()));
            EXPECT_EQ(ReadFileBytes(cfgPath), written);
        }
        EXPECT_TRUE(recorder.m_messages.empty());
        for (const std::wstring& file : {CCfg::GetCfgFilePath(), CCfg::GetUserPalettePath()})
            EXPECT_FALSE(std::filesystem::exists(ToAnsi(file) + ".old"));
    }
}

TEST_F(Cfg, SaveFailureShowsOneMessage)
{
    for (bool bPaletteFails : {false, true}) {
        SCOPED_TRACE(bPaletteFails ? "user palette" : "configuration file");
        const std::wstring blocked = bPaletteFails ? CCfg::GetUserPalettePath() : CCfg::GetCfgFilePath();
        std::filesystem::create_directories(ToAnsi(blocked));
        CNotifierRecorder recorder;
        CCfg cfg;
        EXPECT_FALSE(cfg.Save());
        ASSERT_EQ(recorder.m_messages.size(), 1u);
        EXPECT_EQ(recorder.m_messages[0], kSaveError);
        EXPECT_EQ(recorder.m_icons[0], TMessageIcon::Exclamation);
        // Nothing can be read from a folder: nothing replaces the files.
        EXPECT_FALSE(std::filesystem::is_regular_file(ToAnsi(CCfg::GetCfgFilePath())));
        std::filesystem::remove_all(ToAnsi(CCfg::GetAppDataDir()));
    }
}

TEST_F(Cfg, SaveKeepsFilesItCannotRead)
{
    const auto fifo = [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); };
    const auto oversized = [](const std::string& path) {
        WriteFileBytes(path, Text(CompleteFile()));
        std::filesystem::resize_file(path, CHeaders::MAX_FILE_SIZE + 1);
    };
    const struct {
        const char* name;
        bool bPalette; // the stand-in is the user palette, else the configuration file
        std::function<void(const std::string&)> make;
    } cases[] = {
        {"configuration file is a FIFO", false, fifo},
        {"configuration file over the size cap", false, oversized},
        {"user palette is a FIFO", true, fifo},
    };
    for (const auto& c : cases) {
        std::filesystem::create_directories(ToAnsi(CCfg::GetAppDataDir()));
        const std::string cfgPath = ToAnsi(CCfg::GetCfgFilePath());
        const std::string palettePath = ToAnsi(CCfg::GetUserPalettePath());
        const std::string& kept = c.bPalette ? palettePath : cfgPath;
        c.make(kept);
        const auto status = std::filesystem::status(kept);
        const auto size = status.type() == std::filesystem::file_type::regular ? std::filesystem::file_size(kept) : 0;
        CNotifierRecorder recorder;
        CCfg cfg;
        ClearLog();
        EXPECT_FALSE(cfg.Save()) << c.name;
        EXPECT_EQ(recorder.m_messages, std::vector<std::wstring>{kSaveError}) << c.name;
        EXPECT_NE(ReadLog().find("exists but cannot be read"), std::string::npos) << c.name;
        EXPECT_EQ(std::filesystem::status(kept).type(), status.type()) << c.name;
        if (status.type() == std::filesystem::file_type::regular) {
            EXPECT_EQ(std::filesystem::file_size(kept), size) << c.name;
        }
        EXPECT_FALSE(std::filesystem::exists(c.bPalette ? cfgPath : palettePath)) << c.name;
        std::filesystem::remove_all(ToAnsi(CCfg::GetAppDataDir()));
    }
}

TEST_F(Cfg, SaveKeepsAConfigurationWithoutReadPermission)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    WriteCfg(Text(CompleteFile()));
    chmod(ToAnsi(CCfg::GetCfgFilePath()).c_str(), 0200);
    CNotifierRecorder recorder;
    CCfg cfg;
    EXPECT_FALSE(cfg.Save());
    EXPECT_EQ(recorder.m_messages, std::vector<std::wstring>{kSaveError});
    chmod(ToAnsi(CCfg::GetCfgFilePath()).c_str(), 0600);
    EXPECT_EQ(ReadFileBytes(ToAnsi(CCfg::GetCfgFilePath())), Text(CompleteFile()));
}

TEST_F(Cfg, StartUpDoesNotWaitOnPipesInPlaceOfItsFiles)
{
    CTempDir work;
    CWorkingDir cwd(work.Path());
    std::filesystem::create_directories(ToAnsi(CCfg::GetAppDataDir()));
    for (const std::string& path : {ToAnsi(CCfg::GetCfgFilePath()), ToAnsi(CCfg::GetUserPalettePath()),
                                    work.File("material.lst")})
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path;
    CNotifierRecorder recorder;
    CCfg cfg;
    EXPECT_FALSE(cfg.Load());
    EXPECT_EQ(recorder.m_messages, std::vector<std::wstring>{kReadError});
    ASSERT_EQ(cfg.m_materials.size(), 1u);
    EXPECT_EQ(cfg.m_materials[0].m_strName, L"User-defined");
    EXPECT_EQ(cfg.m_userColors[200], 0x00C8C8C8u);
}

TEST_F(Cfg, MaterialList)
{
    // One test, since it changes the working folder and a file beside the executable.
    CTempDir work;
    CWorkingDir cwd(work.Path());
    const std::filesystem::path besideExe =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "material.lst";
    ASSERT_FALSE(std::filesystem::exists(besideExe));

    // Missing: logged, only the user-defined material.
    ClearLog();
    CCfg cfg;
    cfg.LoadMaterialList();
    ASSERT_EQ(cfg.m_materials.size(), 1u);
    EXPECT_EQ(cfg.m_materials[0].m_strName, L"User-defined");
    EXPECT_EQ(cfg.m_materials[0].m_iMinVelocity, 30);
    EXPECT_EQ(cfg.m_materials[0].m_iMaxVelocity, 300);
    EXPECT_EQ(cfg.m_pCurMaterial, &cfg.m_materials[0]);
    EXPECT_NE(ReadLog().find("fail to load material list."), std::string::npos);

    // In the working folder: file order, numbers around the first comma.
    WriteFileBytes(work.File("material.lst"),
                   "Sand:50,150\r\nClay:5\r\nUser-defined:30,300\r\nRock:70, 120,9\r\nsand:1,2\r\n");
    cfg.LoadMaterialList();
    ASSERT_EQ(cfg.m_materials.size(), 5u);
    const struct { const wchar_t* name; int min; int max; } expected[] = {
        {L"Sand", 50, 150}, {L"Clay", 5, 0}, {L"User-defined", 30, 300}, {L"Rock", 70, 120},
        {L"sand", 1, 2},
    };
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(cfg.m_materials[i].m_strName, expected[i].name) << i;
        EXPECT_EQ(cfg.m_materials[i].m_iMinVelocity, expected[i].min) << i;
        EXPECT_EQ(cfg.m_materials[i].m_iMaxVelocity, expected[i].max) << i;
    }
    EXPECT_EQ(cfg.m_pCurMaterial, &cfg.m_materials[2]);
    EXPECT_EQ(cfg.FindMaterial(L"Sand"), &cfg.m_materials[0]);
    EXPECT_EQ(cfg.FindMaterial(L"sand"), &cfg.m_materials[4]);
    EXPECT_EQ(cfg.FindMaterial(L"Gravel"), cfg.m_pCurMaterial);

    // Without the user-defined line there is no fallback material; lines may end in LF or CR.
    WriteFileBytes(work.File("material.lst"), "Sand:50,150\nLoam:40,90\rClay:5,60");
    cfg.LoadMaterialList();
    ASSERT_EQ(cfg.m_materials.size(), 3u);
    EXPECT_EQ(cfg.m_materials[2].m_strName, L"Clay");
    EXPECT_EQ(cfg.m_materials[2].m_iMaxVelocity, 60);
    EXPECT_EQ(cfg.m_pCurMaterial, nullptr);
    EXPECT_EQ(cfg.FindMaterial(L"Gravel"), nullptr);

    // Beside the executable when the working folder has none.
    std::filesystem::remove(work.File("material.lst"));
    WriteFileBytes(besideExe.string(), "Loam:40,90\r\n");
    const std::wstring path = CCfg::GetMaterialListPath();
    cfg.LoadMaterialList();
    std::filesystem::remove(besideExe);
    EXPECT_EQ(path, Wide(besideExe.string()));
    ASSERT_EQ(cfg.m_materials.size(), 1u);
    EXPECT_EQ(cfg.m_materials[0].m_strName, L"Loam");
    EXPECT_EQ(CCfg::GetMaterialListPath(), L"./material.lst");
}

TEST_F(Cfg, CursorsAndDialogPlaces)
{
    CCfg cfg;
    cfg.LoadCursors();
    cfg.LoadCursors();
    ASSERT_EQ(cfg.m_cursors.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(cfg.m_cursors[static_cast<size_t>(i)].m_id, i);
        EXPECT_TRUE(cfg.m_cursors[static_cast<size_t>(i)].m_bLoaded);
    }

    EXPECT_FALSE(cfg.HasWinPos(130));
    EXPECT_EQ(cfg.GetWinPos(130).m_x, 0);
    EXPECT_EQ(cfg.GetWinPos(130).m_y, 0);
    cfg.SetWinPos(130, -1, 50);
    cfg.SetWinPos(130, 50, -1);
    EXPECT_FALSE(cfg.HasWinPos(130));
    cfg.SetWinPos(130, 10, 20);
    cfg.SetWinPos(131, 0, 0);
    cfg.SetWinPos(130, 30, 40);
    ASSERT_EQ(cfg.m_winPos.size(), 2u);
    EXPECT_TRUE(cfg.HasWinPos(131));
    EXPECT_EQ(cfg.GetWinPos(130).m_x, 30);
    EXPECT_EQ(cfg.GetWinPos(130).m_y, 40);

    cfg.SetDefaults();
    EXPECT_TRUE(cfg.m_winPos.empty());
    EXPECT_TRUE(cfg.m_cursors.empty());
}
