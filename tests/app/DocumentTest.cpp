// The document's open road (fingerprint, settings check, cache or computation), saving and
// the empty document after a failure.

#include "AppFixture.h"
#include "QuarvelDoc.h"

#include "DrawingManager.h"
#include "FileIo.h"
#include "Headers.h"
#include "Values.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <vector>

namespace {
bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

void AddDrawingObject()
{
    Tovrik::CDrawDataObject object;
    object.m_nType = Tovrik::CDrawDataObject::TYPE_RECT;
    object.m_fX2 = 3;
    object.m_fY2 = 2;
    g_drawingManager.AddObject(object);
}

// Opens and saves once: settings file, cache and drawing objects on disk.
void OpenAndSave(const CGeneratedProject& project)
{
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    AddDrawingObject();
    ASSERT_TRUE(doc.OnSaveDocument(std::wstring()));
    doc.OnCloseDocument();
}

float FirstLineSum(const C3DMatrix& matrix, const CProjectSettings& s)
{
    float sum = 0.0f;
    for (int t = 0; t < s.m_iGridSizeY; ++t)
        for (int i = 0; i < s.m_iSamples; ++i)
            sum += std::fabs(matrix.GetVertTrace(0, uint32_t(t))[i]);
    return sum;
}

using DocumentTest = DocumentFixture;
} // namespace

TEST_F(DocumentTest, RhdAndSettingsFileOpenTheSameProject)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    CQuarvelDoc byRhd, by3dq;
    ASSERT_TRUE(byRhd.OnOpenDocument(project.rhdPath));
    ASSERT_TRUE(by3dq.OnOpenDocument(Wide(project.File(".3dq"))));
    EXPECT_EQ(by3dq.m_project.m_strName, byRhd.m_project.m_strName);
    EXPECT_EQ(by3dq.m_project.m_strFolder, byRhd.m_project.m_strFolder);
    EXPECT_TRUE(by3dq.m_project.m_bSettingsLoaded);
    EXPECT_EQ(by3dq.m_matrix.m_fingerprint.ToHex(), byRhd.m_matrix.m_fingerprint.ToHex());
    EXPECT_EQ(by3dq.m_matrix.m_nNY, byRhd.m_matrix.m_nNY);
    EXPECT_EQ(0, std::memcmp(by3dq.m_matrix.GetVertTrace(1, 2), byRhd.m_matrix.GetVertTrace(1, 2),
                             by3dq.m_matrix.m_nSamples * sizeof(float)));
}

TEST_F(DocumentTest, ForeignSignatureTakesTheRejectionRoad)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    const std::string settings = project.File(".3dq");
    WriteFileBytes(project.File(".pal"), std::string(1024, '\x10'));
    WriteFileBytes(project.File(".pal.old"), "older");
    ASSERT_TRUE(Exists(project.File(".3qo")) && Exists(project.File("_1.precalc")));
    SetFileValue(settings, "signature", std::string(64, 'a'));
    SetFileValue(settings, "migration", "1");
    SetFileValue(settings, "contrast", "77");
    std::map<std::string, std::string> before;
    for (const char* suffix : {".3dq", ".pal", ".3qo"})
        before[suffix] = ReadFileBytes(project.File(suffix));

    CQuarvelDoc doc;
    ClearLog();
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"Project header settings file is not for current project "
                                                         L"data file. Will load from original settings."});
    for (const char* suffix : {"_1.precalc", "_2.precalc"})
        EXPECT_FALSE(Exists(project.File(suffix))) << suffix;
    // The user's files are moved aside beside older copies, and the log names them.
    for (const auto& [suffix, bytes] : before) {
        const std::string copy = project.File(suffix + (suffix == ".pal" ? ".old.1" : ".old"));
        EXPECT_FALSE(Exists(project.File(suffix))) << suffix;
        EXPECT_EQ(ReadFileBytes(copy), bytes) << suffix;
        EXPECT_NE(ReadLog().find("kept " + project.File(suffix) + " as " + copy), std::string::npos) << suffix;
    }
    EXPECT_EQ(ReadFileBytes(project.File(".pal.old")), "older");
    const CProjectSettings& s = doc.m_project.m_settings;
    EXPECT_FALSE(s.m_params.m_bMigration);
    EXPECT_FALSE(s.m_params.m_bDelMeanOn);
    EXPECT_EQ(s.m_iContrast, CQuarvelDoc::ContrastFromSum(FirstLineSum(doc.m_matrix, s)));
    EXPECT_NE(s.m_iContrast, 77);
    EXPECT_TRUE(s.m_signature.IsEqual(doc.m_matrix.m_fingerprint));
    EXPECT_EQ(g_drawingManager.GetCount(), 0);
}

TEST_F(DocumentTest, ForeignSettingsFileThatCannotBeKeptIsNeverReplaced)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    const std::string settings = project.File(".3dq");
    SetFileValue(settings, "signature", std::string(64, 'a'));
    SetFileValue(settings, "contrast", "77");
    const std::string user = ReadFileBytes(settings);
    WriteFileBytes(settings + ".old", "");
    for (int number = 1; number < 1000; ++number) // every name a copy could take
        WriteFileBytes(settings + ".old." + std::to_string(number), "");

    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_FALSE(doc.SaveWithReport());
    EXPECT_TRUE(m_boxes.Contains(L"Error. Unable to save project settings."));
    EXPECT_EQ(ReadFileBytes(settings), user);
    doc.OnCloseDocument();

    // Once it can be kept, the project saves again.
    std::filesystem::remove(settings + ".old.999");
    CQuarvelDoc again;
    ASSERT_TRUE(again.OnOpenDocument(project.rhdPath));
    EXPECT_EQ(ReadFileBytes(settings + ".old.999"), user);
    EXPECT_TRUE(again.SaveWithReport());
    EXPECT_TRUE(Exists(settings));
}

TEST_F(DocumentTest, ValidSignatureLoadsTheCache)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    // A marked value in the cache shows that the matrix came from it.
    std::string cache = ReadFileBytes(project.File("_1.precalc"));
    const float mark = 12345.5f;
    std::memcpy(cache.data(), &mark, sizeof mark);
    WriteFileBytes(project.File("_1.precalc"), cache);

    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_TRUE(m_boxes.m_texts.empty());
    EXPECT_EQ(doc.m_matrix.GetVertTrace(0, 0)[0], mark);
    EXPECT_EQ(g_drawingManager.GetCount(), 1);
}

TEST_F(DocumentTest, MissingCacheIsComputedAndWritten)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    const std::string computed = ReadFileBytes(project.File("_1.precalc"));
    RemoveFile(Wide(project.File("_1.precalc")));
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_TRUE(Exists(project.File("_2.precalc")));
    EXPECT_EQ(ReadFileBytes(project.File("_1.precalc")), computed);
}

TEST_F(DocumentTest, CrossHairAboveTheZeroLevelMovesDownToIt)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    SetFileValue(project.File(".3dq"), "zsample", "7");
    SetFileValue(project.File(".3dq"), "depth", "2");
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_EQ(doc.m_project.m_fCursorDepth, 7.0f);
    EXPECT_EQ(doc.m_project.m_settings.m_iDepthIndex, 7);
    EXPECT_EQ(doc.m_project.m_fHoverDepth, 7.0f);
}

TEST_F(DocumentTest, FailedOpenLeavesTheDocumentEmpty)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    AddDrawingObject();
    EXPECT_FALSE(doc.OnOpenDocument(Wide(m_dir.File("none/missing.rhd"))));
    EXPECT_TRUE(m_boxes.Contains(L"Unable to open project."));
    EXPECT_FALSE(doc.IsProjectLoaded());
    EXPECT_FALSE(doc.m_matrix.IsInitialized());
    EXPECT_EQ(g_drawingManager.GetCount(), 0);

    // Trace data that cannot be read fails the open too, and deletes nothing.
    WriteFileBytes(project.File("_1.rd6"), "");
    EXPECT_FALSE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_FALSE(doc.IsProjectLoaded());
    EXPECT_TRUE(Exists(project.File(".rhd")));
}

TEST_F(DocumentTest, SavingNothingFailsAndWritesNothing)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path());
    CQuarvelDoc doc;
    EXPECT_FALSE(doc.OnSaveDocument(std::wstring()));
    EXPECT_FALSE(doc.SaveWithReport());
    std::filesystem::current_path(before);
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.Path()));
    EXPECT_TRUE(m_boxes.Contains(L"Error. Unable to save project settings."));
}

TEST_F(DocumentTest, UnwritableSettingsFileFailsTheSaveAndDropsTheCache)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    RemoveFile(Wide(project.File(".3dq")));
    RemoveFile(Wide(project.File(".3qo")));
    std::filesystem::create_directory(project.File(".3dq")); // nothing can replace a folder
    EXPECT_FALSE(doc.SaveWithReport());
    EXPECT_TRUE(m_boxes.Contains(L"Error. Unable to save project settings."));
    EXPECT_FALSE(Exists(project.File("_1.precalc")));
    EXPECT_FALSE(Exists(project.File("_2.precalc")));
    EXPECT_FALSE(Exists(project.File(".3qo")));
}

TEST_F(DocumentTest, SaveModifiedAsksWhenSettingsOrDrawingObjectsChanged)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(m_boxes.m_texts.empty());

    // Drawing objects alone are asked about too: Yes writes them.
    AddDrawingObject();
    m_boxes.m_answers = {IDCANCEL};
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"Save changed project site"});
    m_boxes.m_answers = {IDYES};
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_FALSE(g_drawingManager.IsModified());
    m_boxes.m_texts.clear();
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_TRUE(m_boxes.m_texts.empty());

    doc.m_project.m_settings.m_iContrast += 1;
    struct Case
    {
        int answer;
        bool result;
        bool saved;
    };
    for (const Case& c : {Case{IDCANCEL, false, false}, Case{IDNO, true, false}, Case{IDYES, true, true}}) {
        m_boxes.m_answers = {c.answer};
        EXPECT_EQ(doc.SaveModified(), c.result) << c.answer;
        EXPECT_EQ(m_boxes.m_texts.back(), L"Save changed project site");
        EXPECT_EQ(GetFileValue(project.File(".3dq"), "contrast") ==
                      FormatInt(doc.m_project.m_settings.m_iContrast),
                  c.saved);
    }
}

TEST_F(DocumentTest, DamagedObjectFileIsReportedOnceAndKeptOnTheFirstSave)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    const std::string path = project.File(".3qo");
    const std::string damaged = ReadFileBytes(path) + "box\t0;0;0\t1;1;1\tff\t1\tff\t1\r\n";
    WriteFileBytes(path, damaged);

    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    ASSERT_EQ(m_boxes.m_texts.size(), 1u);
    EXPECT_NE(m_boxes.m_texts[0].find(Wide(path)), std::wstring::npos);
    EXPECT_EQ(g_drawingManager.GetCount(), 1); // the object before the bad line
    ASSERT_TRUE(doc.SaveWithReport());
    EXPECT_EQ(ReadFileBytes(path + ".bak"), damaged);
    EXPECT_FALSE(g_drawingManager.IsModified());
    AddDrawingObject();
    ASSERT_TRUE(doc.SaveWithReport());
    EXPECT_EQ(ReadFileBytes(path + ".bak"), damaged);
    doc.OnCloseDocument();

    CQuarvelDoc again;
    ASSERT_TRUE(again.OnOpenDocument(project.rhdPath));
    EXPECT_EQ(m_boxes.m_texts.size(), 1u); // nothing more to tell
    EXPECT_EQ(g_drawingManager.GetCount(), 2);
}

TEST_F(DocumentTest, AFailedSaveNamesTheFileThatWasNotWritten)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    AddDrawingObject();
    doc.m_project.m_settings.m_iContrast = 55;
    const std::string objects = project.File(".3qo");
    RemoveFile(Wide(objects));
    std::filesystem::create_directory(objects); // nothing can replace a folder
    m_boxes.m_texts.clear();
    EXPECT_FALSE(doc.SaveWithReport());
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"Error. Unable to save the drawing objects to " +
                                                         Wide(objects) + L". The project settings have been saved."});
    EXPECT_EQ(GetFileValue(project.File(".3dq"), "contrast"), "55");
    EXPECT_TRUE(std::filesystem::is_directory(objects));

    // Once the settings file fails, that is what the message says, whatever follows.
    std::filesystem::remove(project.File(".3dq"));
    std::filesystem::create_directory(project.File(".3dq"));
    m_boxes.m_texts.clear();
    EXPECT_FALSE(doc.SaveWithReport());
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"Error. Unable to save project settings."});

    // And a save that succeeds after a failed one says nothing.
    std::filesystem::remove(project.File(".3dq"));
    std::filesystem::remove(objects);
    m_boxes.m_texts.clear();
    EXPECT_TRUE(doc.SaveWithReport());
    EXPECT_TRUE(m_boxes.m_texts.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(objects));
}

TEST_F(DocumentTest, ObjectFileInTheOtherCaseIsLoadedAndSavedUnderItsName)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    std::filesystem::rename(project.File(".3qo"), project.File(".3QO"));
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_EQ(g_drawingManager.GetCount(), 1);
    AddDrawingObject();
    ASSERT_TRUE(doc.SaveWithReport());
    EXPECT_FALSE(Exists(project.File(".3qo")));
    EXPECT_FALSE(g_drawingManager.IsModified());
    g_drawingManager.RemoveAll();
    ASSERT_TRUE(doc.SaveWithReport());
    EXPECT_FALSE(Exists(project.File(".3QO")));
}

TEST_F(DocumentTest, UnreadableSettingsFileOpensAsNoneAndFailsTheSave)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    RemoveFile(Wide(project.File(".3dq")));
    ASSERT_EQ(mkfifo(project.File(".3dq").c_str(), 0644), 0);
    CQuarvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_FALSE(doc.m_project.m_bSettingsLoaded);
    EXPECT_TRUE(m_boxes.m_texts.empty());
    EXPECT_FALSE(doc.SaveWithReport());
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"Error. Unable to save project settings."});
    EXPECT_TRUE(std::filesystem::is_fifo(project.File(".3dq")));
}

TEST_F(DocumentTest, RejectedSettingsFileSurvivesTheSaveRoads)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    const std::string path = project.File(".3dq");
    SetFileValue(path, "contrast", "77");
    const std::string full = ReadFileBytes(path);
    const std::string user = full.substr(0, full.find("signature:")); // cut short
    WriteFileBytes(path, user);
    const std::wstring rejected = L"Unable to read application project file.\nWill load from original settings.";

    for (const int answer : {0, int(IDYES)}) { // File > Save; the question before another project opens
        std::filesystem::remove(path + ".old");
        WriteFileBytes(path, user);
        CNotifierRecorder notifier;
        CQuarvelDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath)) << answer;
        EXPECT_EQ(notifier.m_messages, std::vector<std::wstring>{rejected}) << answer;
        EXPECT_NE(doc.m_project.m_settings.m_iContrast, 77) << answer;
        if (answer == IDYES) {
            m_boxes.m_answers = {IDYES};
            EXPECT_TRUE(doc.SaveModified()) << answer;
            EXPECT_EQ(m_boxes.m_texts.back(), L"Save changed project site") << answer;
        } else {
            EXPECT_TRUE(doc.SaveWithReport()) << answer;
        }
        doc.OnCloseDocument();
        EXPECT_EQ(ReadFileBytes(path + ".old"), user) << answer;
        EXPECT_FALSE(Exists(path + ".old.1")) << answer;

        CQuarvelDoc reopened;
        ASSERT_TRUE(reopened.OnOpenDocument(project.rhdPath)) << answer;
        EXPECT_TRUE(reopened.m_project.m_bSettingsLoaded) << answer;
        EXPECT_EQ(notifier.m_messages.size(), 1u) << answer;
        EXPECT_EQ(g_drawingManager.GetCount(), 1) << answer; // the drawing objects stay
    }
}

TEST_F(DocumentTest, SamplesBeyondTheTraceFilesFailTheOpenAtOnce)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    std::string rad = ReadFileBytes(project.File(".rad"));
    const size_t at = rad.find("SAMPLES:");
    ASSERT_NE(at, std::string::npos);
    rad.replace(at, rad.find("\r\n", at) - at, "SAMPLES:2147483647");
    WriteFileBytes(project.File(".rad"), rad);
    CQuarvelDoc doc;
    ClearLog();
    EXPECT_FALSE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"Unable to open project."});
    EXPECT_NE(ReadLog().find("holds no record of 2147483647 samples"), std::string::npos);
}

TEST_F(DocumentTest, AnOpenRefusedByTheTraceFilesKeepsTheSavedSettings)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    OpenAndSave(project);
    SetFileValue(project.File(".3dq"), "contrast", "77");
    const std::string settings = ReadFileBytes(project.File(".3dq"));
    // SAMPLES one more: the settings file does not fit, nor do the trace files.
    const std::string rad = ReadFileBytes(project.File(".rad"));
    const int samples = ReadInt(CHeaders(Wide(project.File(".rad"))).GetValue("SAMPLES"));
    const size_t at = rad.find("SAMPLES:");
    ASSERT_NE(at, std::string::npos);
    std::string more = rad;
    more.replace(at, rad.find("\r\n", at) - at, "SAMPLES:" + FormatInt(samples + 1));
    WriteFileBytes(project.File(".rad"), more);

    CNotifierRecorder notifier;
    CQuarvelDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_EQ(m_boxes.m_texts, std::vector<std::wstring>{L"Unable to open project."});
    EXPECT_TRUE(notifier.m_messages.empty());
    EXPECT_EQ(ReadFileBytes(project.File(".3dq")), settings);
    EXPECT_FALSE(Exists(project.File(".3dq.old")));

    WriteFileBytes(project.File(".rad"), rad); // mended
    ASSERT_TRUE(doc.OnOpenDocument(project.rhdPath));
    EXPECT_TRUE(doc.m_project.m_bSettingsLoaded);
    EXPECT_EQ(doc.m_project.m_settings.m_iContrast, 77);
}

TEST(ContrastTest, InitialContrastFromTheSumOfTheFirstLine)
{
    struct Case
    {
        float sum;
        int contrast;
    };
    // c = ln(3.81 - S * 0.00034129692) / 0.3 / ln(1.11), truncated to 0 .. 100.
    const Case cases[] = {{0.0f, 42}, {1000.0f, 39}, {7000.0f, 11}, {8000.0f, 2}, {8100.0f, 1}, {8200.0f, 0}, {11163.0f, 0}, {20000.0f, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(CQuarvelDoc::ContrastFromSum(c.sum), c.contrast) << c.sum;
}
