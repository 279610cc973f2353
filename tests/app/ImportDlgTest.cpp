// The import dialog and its profile pages: folders, profile lists, validation of OK and the
// project it creates, which is the very one that project creation makes from the same
// profiles.

#include "AppFixture.h"
#include "DialogTestSupport.h"
#include "ImportDlg.h"
#include "ImportTab1Dlg.h"
#include "MainFrame.h"
#include "QuarvelApp.h"
#include "QuarvelResources.h"
#include "ResourceIds.h"
#include "WinApp.h"

#include "Cfg.h"
#include "FileIo.h"
#include "ProjectCreation.h"
#include "SurveyGenerator.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// What a dialog that OK left open returns in these tests.
constexpr int STAYED_OPEN = 1000;

const wchar_t kProfileFilter[] = L"2D GPR files (*.rd3)|*.rd3|All Files (*.*)|*.*||";

class ImportDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_cfg.SetDefaults();
        AfxSetResourceSet(&GetQuarvelResources());
        InitQuarvelQtResources();
        m_survey = m_dir.File("survey");
        std::string error;
        ASSERT_TRUE(SurveyGen::WriteSurvey(SurveyGen::SmallSurvey(), m_survey, &error)) << error;
    }
    void TearDown() override
    {
        CDialog::SetModalHook(nullptr);
        AfxSetResourceSet(nullptr);
        g_cfg.SetDefaults();
    }

    // Runs the dialog modally with the script as the user; a dialog that is still open after
    // the script returns STAYED_OPEN.
    int Run(const std::function<void(CImportDlg&)>& script)
    {
        CDialog::SetModalHook([&script](CDialog& dialog) {
            script(static_cast<CImportDlg&>(dialog));
            QTimer::singleShot(0, dialog.GetWidget(), [&dialog] { dialog.EndDialog(STAYED_OPEN); });
        });
        CImportDlg dialog;
        const int result = int(dialog.DoModal());
        CDialog::SetModalHook(nullptr);
        return result;
    }

    std::wstring Profile(const std::string& name) const { return Wide(m_survey + "/" + name); }

    // Picks the folders, fills the name and distance and loads the profiles on both pages.
    void Fill(CImportDlg& dialog, const std::string& projectFolder, const std::wstring& name,
              const std::wstring& distance, const std::vector<std::string>& vertical,
              const std::vector<std::string>& horizontal)
    {
        m_picker.m_answers = {{S_OK, Wide(m_survey)}, {S_OK, Wide(projectFolder)}};
        Click(dialog, IDC_IMPORT_BROWSE_SOURCE);
        Click(dialog, IDC_IMPORT_BROWSE_PROJECT);
        dialog.GetDlgItem(IDC_IMPORT_NAME)->SetWindowText(name);
        dialog.GetDlgItem(IDC_IMPORT_DISTANCE)->SetWindowText(distance);
        Load(dialog.GetVerticalPage(), vertical);
        Load(dialog.GetHorizontalPage(), horizontal);
    }

    void Load(CImportTab1Dlg& page, const std::vector<std::string>& names)
    {
        if (names.empty())
            return;
        m_files.m_path.clear();
        m_files.m_paths.clear();
        for (const std::string& name : names)
            m_files.m_paths.push_back(Profile(name));
        if (names.size() == 1) {
            m_files.m_path = m_files.m_paths.front();
            m_files.m_paths.clear();
        }
        Click(page, IDC_PROFILE_LOAD);
    }

    static void Click(CWnd& parent, int nID)
    {
        auto* pButton = dynamic_cast<CButton*>(parent.GetDlgItem(nID));
        ASSERT_NE(pButton, nullptr) << nID;
        pButton->SetFocus();
        pButton->Click();
    }

    static std::vector<std::wstring> Items(CImportTab1Dlg& page)
    {
        std::vector<std::wstring> items;
        for (int i = 0; i < page.GetList().GetItemCount(); ++i)
            items.push_back(page.GetList().GetItemText(i, 0));
        return items;
    }

    static std::vector<std::string> Names(const char* prefix, int count)
    {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "%s%03d.rd3", prefix, i);
            names.push_back(name);
        }
        return names;
    }

    CTempDir m_dir;
    std::string m_survey;
    CScriptedMessageBoxes m_boxes;
    CScriptedFileDialog m_files;
    CScriptedFolderPicker m_picker;
};
} // namespace

TEST_F(ImportDlgTest, OpensWithTheRememberedFoldersAndBothPages)
{
    g_cfg.m_importSrcFolder = Wide(m_survey);
    g_cfg.m_importProjectFolder = L"/projects";
    Run([this](CImportDlg& dialog) {
        EXPECT_EQ(dialog.GetWindowText(), L"Import RD3 files");
        EXPECT_EQ(dialog.GetDlgItem(IDC_IMPORT_SOURCE)->GetWindowText(), Wide(m_survey));
        EXPECT_EQ(dialog.GetDlgItem(IDC_IMPORT_PROJECT_FOLDER)->GetWindowText(), L"/projects");
        const CConfigTabCtrl& tabs = dialog.GetTabCtrl();
        ASSERT_EQ(tabs.GetPages().size(), 2u);
        EXPECT_EQ(tabs.GetCaptions(), (std::vector<std::wstring>{L"Vertical", L"Horizontal"}));
        EXPECT_EQ(tabs.GetPages()[0], &dialog.GetVerticalPage());
        EXPECT_EQ(dialog.GetVerticalPage().m_iPageType, 11);
        EXPECT_EQ(dialog.GetHorizontalPage().m_iPageType, 10);
        EXPECT_EQ(tabs.GetCurSel(), 0);
        EXPECT_FALSE(dialog.GetVerticalPage().GetWidget()->isHidden());
        EXPECT_TRUE(dialog.GetHorizontalPage().GetWidget()->isHidden());
        for (CImportTab1Dlg* pPage : {&dialog.GetVerticalPage(), &dialog.GetHorizontalPage()})
            EXPECT_EQ(pPage->m_strImportFolder, Wide(m_survey));
        for (int nID : {IDC_IMPORT_BROWSE_SOURCE, IDC_IMPORT_BROWSE_PROJECT})
            EXPECT_EQ(static_cast<CButton*>(dialog.GetDlgItem(nID))->GetIcon(), AfxFindIcon(IDI_BROWSE_FOLDER));
        const std::pair<int, UINT> pageIcons[] = {{IDC_PROFILE_LOAD, IDI_PROFILE_LOAD},
                                                  {IDC_PROFILE_REMOVE, IDI_PROFILE_REMOVE},
                                                  {IDC_PROFILE_UP, IDI_PROFILE_UP},
                                                  {IDC_PROFILE_DOWN, IDI_PROFILE_DOWN}};
        for (const auto& [nID, nIcon] : pageIcons) {
            const auto* pButton = static_cast<CButton*>(dialog.GetHorizontalPage().GetDlgItem(nID));
            ASSERT_NE(pButton->GetIcon(), nullptr) << nID;
            EXPECT_EQ(pButton->GetIcon(), AfxFindIcon(nIcon)) << nID;
        }
    });
}

TEST_F(ImportDlgTest, FolderPickersFillTheFieldsAndTheCancelledOneChangesNothing)
{
    Run([this](CImportDlg& dialog) {
        m_picker.m_answers = {{S_OK, L"/data/survey"}, {S_OK, L"/data/projects"},
                              {HRESULT_FROM_WIN32(ERROR_CANCELLED), L""}, {E_FAIL, L""}};
        Click(dialog, IDC_IMPORT_BROWSE_SOURCE);
        Click(dialog, IDC_IMPORT_BROWSE_PROJECT);
        Click(dialog, IDC_IMPORT_BROWSE_SOURCE);
        Click(dialog, IDC_IMPORT_BROWSE_PROJECT);
        EXPECT_EQ(m_picker.m_nCalls, 4);
        EXPECT_EQ(dialog.GetDlgItem(IDC_IMPORT_SOURCE)->GetWindowText(), L"/data/survey");
        EXPECT_EQ(dialog.GetDlgItem(IDC_IMPORT_PROJECT_FOLDER)->GetWindowText(), L"/data/projects");
        EXPECT_EQ(dialog.GetVerticalPage().m_strImportFolder, L"/data/survey");
        EXPECT_EQ(dialog.GetHorizontalPage().m_strImportFolder, L"/data/survey");
        EXPECT_TRUE(m_boxes.m_texts.empty()); // a failed picker is silent
    });
}

TEST_F(ImportDlgTest, OkRefusesWhatCannotMakeAProject)
{
    WriteFileBytes(m_dir.File("plain-file"), "x");
    enum TFolder { NO_FOLDER, NEW_FOLDER, FILE_AS_FOLDER };
    struct Case
    {
        const char* name;
        TFolder folder;
        std::wstring project;
        std::wstring distance;
        int vertical;
        int horizontal;
        std::wstring text;
    };
    const std::wstring notNumber = L"Profile distance must be a valid number";
    const std::wstring badName = L"The project name must not contain a path separator, a control character or \"..\".";
    const std::wstring notFolder =
        L"Unable to create the project folder " + Wide(m_dir.File("plain-file")) + L"/p.\nNot a directory";
    const Case cases[] = {
        {"no folder", NO_FOLDER, L"p", L"0.4", 2, 2, L"Project folder and project name must be set."},
        {"no name", NEW_FOLDER, L"", L"0.4", 2, 2, L"Project folder and project name must be set."},
        {"separator", NEW_FOLDER, L"a/b", L"0.4", 2, 2, badName},
        {"backslash", NEW_FOLDER, L"a\\b", L"0.4", 2, 2, badName},
        {"parent", NEW_FOLDER, L"..", L"0.4", 2, 2, badName},
        {"line break", NEW_FOLDER, L"p\nPROJECT TYPE:9", L"0.4", 2, 2, badName},
        {"tab", NEW_FOLDER, L"p\t", L"0.4", 2, 2, badName},
        {"no distance", NEW_FOLDER, L"p", L"", 2, 2, L"Profile distance must be set"},
        {"zero", NEW_FOLDER, L"p", L"0", 2, 2, notNumber},
        {"zero point zero", NEW_FOLDER, L"p", L"0.0", 2, 2, notNumber},
        {"letters", NEW_FOLDER, L"p", L"abc", 2, 2, notNumber},
        {"trailing letters", NEW_FOLDER, L"p", L"0.4m", 2, 2, notNumber},
        {"negative", NEW_FOLDER, L"p", L"-0.4", 2, 2, notNumber},
        {"not finite", NEW_FOLDER, L"p", L"inf", 2, 2, notNumber},
        {"one each way", NEW_FOLDER, L"p", L"0.4", 1, 1, L"Must select atleast two profiles in one direction."},
        {"none", NEW_FOLDER, L"p", L"0.4", 0, 0, L"Must select atleast two profiles in one direction."},
        {"folder is a file", FILE_AS_FOLDER, L"p", L"0.4", 2, 2, notFolder},
    };
    int nCase = 0;
    for (const Case& c : cases) {
        m_boxes.m_texts.clear();
        const std::string out = c.folder == FILE_AS_FOLDER ? m_dir.File("plain-file")
                                                           : m_dir.File("out" + std::to_string(nCase++));
        const int result = Run([&](CImportDlg& dialog) {
            Fill(dialog, c.folder == NO_FOLDER ? std::string() : out, c.project, c.distance, Names("V", c.vertical),
                 Names("H", c.horizontal));
            Click(dialog, IDOK);
            EXPECT_EQ(dialog.GetDlgItem(IDC_IMPORT_NAME)->GetWindowText(), c.project) << c.name;
        });
        EXPECT_EQ(result, STAYED_OPEN) << c.name;
        ASSERT_FALSE(m_boxes.m_texts.empty()) << c.name;
        EXPECT_EQ(m_boxes.m_texts.back(), c.text) << c.name;
        EXPECT_TRUE(g_cfg.m_importSrcFolder.empty()) << c.name;
        EXPECT_FALSE(std::filesystem::exists(out + "/p/3D_p.rhd")) << c.name;
    }
}

TEST_F(ImportDlgTest, TwoProfilesOfOneDirectionMakeTheProjectNamedAfterIt)
{
    const std::string out = m_dir.File("projects");
    std::filesystem::create_directories(out);
    const int result = Run([&](CImportDlg& dialog) {
        Fill(dialog, out, L"north field", L" 0.4 ", {}, {"H000.rd3", "H001.rd3"});
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(m_boxes.m_texts.empty());
    for (const char* suffix : {"_1.rd6", "_2.rd6", ".rad", ".add", ".rhd"})
        EXPECT_TRUE(std::filesystem::exists(out + "/north field/3D_north field" + suffix)) << suffix;
    EXPECT_EQ(g_cfg.m_importProjectFolder, Wide(out));
    EXPECT_EQ(g_cfg.m_importSrcFolder, Wide(m_survey));
}

TEST_F(ImportDlgTest, AProfileLongerThanItsSamplesIsCutAndShown)
{
    const std::string rad = m_survey + "/V001.rad";
    std::string header = ReadFileBytes(rad);
    const size_t at = header.find("LAST TRACE:41\r\n");
    ASSERT_NE(at, std::string::npos);
    WriteFileBytes(rad, header.replace(at, 13, "LAST TRACE:8000000"));
    const std::string out = m_dir.File("projects");
    std::filesystem::create_directories(out);
    const int result = Run([&](CImportDlg& dialog) {
        Fill(dialog, out, L"p", L"0.4", {"V000.rd3", "V001.rd3"}, {});
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(m_boxes.m_texts.size(), 1u);
    EXPECT_EQ(m_boxes.m_texts[0], L"Warning: V001.rad gives LAST TRACE 8000000, but V001.rd3 holds 41 traces; the "
                                  L"profile is taken as 41 traces long.");
    EXPECT_EQ(m_boxes.m_captions[0], L"Warning");
    EXPECT_EQ(m_boxes.m_types[0], UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(std::filesystem::file_size(out + "/p/3D_p_1.rd6"), 4u + 2 * 51 * (4 + 128));
}

TEST_F(ImportDlgTest, ImportOfTheReferenceSurveyMatchesProjectCreationByteForByte)
{
    const SurveyGen::CSurveyParams params = SurveyGen::ReferenceSurvey();
    const std::string survey = m_dir.File("reference");
    std::string error;
    ASSERT_TRUE(SurveyGen::WriteSurvey(params, survey, &error)) << error;
    m_survey = survey;
    std::vector<std::string> vertical, horizontal;
    std::vector<std::wstring> verticalNames, horizontalNames;
    for (const auto& profile : SurveyGen::ListProfiles(params)) {
        (profile.vertical ? vertical : horizontal).push_back(profile.name + ".rd3");
        (profile.vertical ? verticalNames : horizontalNames).push_back(Wide(profile.name + ".rd3"));
    }

    const std::string out = m_dir.File("dialog");
    const int result = Run([&](CImportDlg& dialog) {
        Fill(dialog, out, L"reference", L"0.5", vertical, horizontal);
        EXPECT_EQ(dialog.GetVerticalPage().GetProfiles(), verticalNames);
        EXPECT_EQ(dialog.GetHorizontalPage().GetProfiles(), horizontalNames);
        Click(dialog, IDOK);
    });
    ASSERT_EQ(result, IDOK);

    const std::string direct = m_dir.File("direct");
    std::filesystem::create_directories(direct);
    std::wstring message;
    ASSERT_EQ(Create3DProject(message, Wide(survey), Wide(direct), L"3D_reference", verticalNames, horizontalNames,
                              0.5),
              CREATE_OK);
    for (const char* suffix : {"_1.rd6", "_2.rd6", ".rad", ".add", ".rhd"}) {
        const std::string made = ReadFileBytes(out + "/reference/3D_reference" + suffix);
        EXPECT_FALSE(made.empty()) << suffix;
        EXPECT_TRUE(made == ReadFileBytes(direct + "/3D_reference" + suffix)) << suffix;
    }
}

TEST_F(ImportDlgTest, AnExistingProjectFolderAsksFirst)
{
    const std::string out = m_dir.File("out");
    std::filesystem::create_directories(out + "/p");
    WriteFileBytes(out + "/p/3D_p_1.emm", "em x");
    WriteFileBytes(out + "/p/3D_p_2.EMM", "em y");
    for (int answer : {IDNO, IDYES}) {
        m_boxes.m_texts.clear();
        m_boxes.m_answers = {answer};
        const int result = Run([&](CImportDlg& dialog) {
            Fill(dialog, out, L"p", L"0.4", {"V000.rd3", "V001.rd3"}, {});
            Click(dialog, IDOK);
            EXPECT_EQ(dialog.GetDlgItem(IDC_IMPORT_DISTANCE)->GetWindowText(), L"0.4");
            EXPECT_EQ(dialog.GetVerticalPage().GetList().GetItemCount(), 2);
        });
        ASSERT_EQ(m_boxes.m_texts.size(), 1u);
        EXPECT_EQ(m_boxes.m_texts[0], Wide(out) + L"/p exist.\nFiles can be overwritten.\nDo you want to continue?");
        EXPECT_EQ(m_boxes.m_captions[0], L"Warning");
        EXPECT_EQ(m_boxes.m_types[0], UINT(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(result, answer == IDYES ? IDOK : STAYED_OPEN);
        EXPECT_EQ(std::filesystem::exists(out + "/p/3D_p.rhd"), answer == IDYES);
        // The earlier project's EM data does not stay with the new survey.
        EXPECT_EQ(std::filesystem::exists(out + "/p/3D_p_1.emm"), answer == IDNO);
        EXPECT_EQ(std::filesystem::exists(out + "/p/3D_p_2.EMM"), answer == IDNO);
    }
    EXPECT_EQ(ReadFileBytes(out + "/p/3D_p_1.emm.old"), "em x");
    EXPECT_EQ(ReadFileBytes(out + "/p/3D_p_2.EMM.old"), "em y");
}

TEST_F(ImportDlgTest, ProfilesFromAnotherFolderThanTheImportFolderAreRefused)
{
    const std::string other = m_dir.File("other");
    std::string error;
    ASSERT_TRUE(SurveyGen::WriteSurvey(SurveyGen::SmallSurvey(), other, &error)) << error;
    const std::string out = m_dir.File("out");
    const std::wstring refused = L"Profiles must be loaded from the import folder " + Wide(m_survey) + L".";
    Run([&](CImportDlg& dialog) {
        Fill(dialog, out, L"p", L"0.4", {"V000.rd3", "V001.rd3"}, {});
        m_files.m_paths = {Wide(other + "/H000.rd3"), Wide(other + "/H001.rd3")};
        Click(dialog.GetHorizontalPage(), IDC_PROFILE_LOAD);
        EXPECT_EQ(dialog.GetHorizontalPage().GetList().GetItemCount(), 0);
        ASSERT_FALSE(m_boxes.m_texts.empty());
        EXPECT_EQ(m_boxes.m_texts.back(), refused);

        // The import folder changed after the profiles were listed.
        m_picker.m_answers = {{S_OK, Wide(other)}};
        Click(dialog, IDC_IMPORT_BROWSE_SOURCE);
        Click(dialog, IDOK);
        EXPECT_EQ(m_boxes.m_texts.back(),
                  L"Profiles must be loaded from the import folder " + Wide(other) + L".");
    });
    EXPECT_FALSE(std::filesystem::exists(out + "/p/3D_p.rhd"));
}

TEST_F(ImportDlgTest, CancelStoresNothing)
{
    const std::string out = m_dir.File("out");
    const int result = Run([&](CImportDlg& dialog) {
        Fill(dialog, out, L"p", L"0.4", {"V000.rd3", "V001.rd3"}, {});
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(g_cfg.m_importSrcFolder.empty());
    EXPECT_TRUE(g_cfg.m_importProjectFolder.empty());
    EXPECT_FALSE(std::filesystem::exists(out + "/p"));
}

TEST_F(ImportDlgTest, LoadingProfilesAsksTheFileDialogAndStopsAtABadHeader)
{
    WriteFileBytes(m_survey + "/V001.rad", "not a header\r\n");
    Run([this](CImportDlg& dialog) {
        CImportTab1Dlg& page = dialog.GetVerticalPage();
        page.m_strImportFolder.clear();
        Click(page, IDC_PROFILE_LOAD);
        ASSERT_EQ(m_boxes.m_texts.size(), 1u);
        EXPECT_EQ(m_boxes.m_texts[0], L"Import folder must be set first.");
        EXPECT_TRUE(m_files.m_requests.empty());

        page.m_strImportFolder = Wide(m_survey);
        Load(page, {"V000.rd3", "V001.rd3", "V002.rd3", "V003.rd3"});
        ASSERT_EQ(m_files.m_requests.size(), 1u);
        const CFileDialogRequest& request = m_files.m_requests[0];
        EXPECT_TRUE(request.bOpen);
        EXPECT_EQ(request.title, L"Load Profile");
        EXPECT_EQ(request.filter, kProfileFilter);
        EXPECT_EQ(request.defaultExt, L"rad");
        EXPECT_EQ(request.initialPath, Wide(m_survey));
        EXPECT_EQ(request.flags & (OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST),
                  DWORD(OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST));
        EXPECT_EQ(Items(page), (std::vector<std::wstring>{L"V000.rd3"}));
        EXPECT_EQ(m_boxes.m_texts.back(), L"Error: Bad format of V001.rd3\nUnable to load file.");

        // One file chosen alone is listed by its path; names are not checked for duplicates.
        Load(page, {"V000.rd3"});
        EXPECT_EQ(Items(page), (std::vector<std::wstring>{L"V000.rd3", Profile("V000.rd3")}));
    });
}

TEST_F(ImportDlgTest, LongProfileNamesKeepEveryCharacter)
{
    const std::string longName = std::string(150, 'x') + ".rd3";
    std::filesystem::copy_file(m_survey + "/V000.rd3", m_survey + "/" + longName);
    std::filesystem::copy_file(m_survey + "/V000.rad", m_survey + "/" + std::string(150, 'x') + ".rad");
    Run([&](CImportDlg& dialog) {
        CImportTab1Dlg& page = dialog.GetVerticalPage();
        page.m_strImportFolder = Wide(m_survey);
        Load(page, {longName, "V001.rd3"});
        EXPECT_EQ(page.GetProfiles(), (std::vector<std::wstring>{Wide(longName), L"V001.rd3"}));
    });
}

TEST_F(ImportDlgTest, RemoveAndMoveWorkOnTheSelection)
{
    Run([this](CImportDlg& dialog) {
        CImportTab1Dlg& page = dialog.GetHorizontalPage();
        page.m_strImportFolder = Wide(m_survey);
        Load(page, Names("H", 5));
        CListCtrl& list = page.GetList();
        auto select = [&list](std::initializer_list<int> rows) {
            list.SetItemState(-1, 0, LVIS_SELECTED);
            for (int row : rows)
                list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        };
        auto names = [](std::initializer_list<int> numbers) {
            std::vector<std::wstring> texts;
            for (int n : numbers)
                texts.push_back(L"H00" + std::to_wstring(n) + L".rd3");
            return texts;
        };
        select({0});
        page.OnMoveUp();
        EXPECT_EQ(Items(page), names({0, 1, 2, 3, 4}));
        select({4});
        page.OnMoveDown();
        EXPECT_EQ(Items(page), names({0, 1, 2, 3, 4}));
        // Only the first selected item moves, and it stays selected.
        select({2, 4});
        page.OnMoveUp();
        EXPECT_EQ(Items(page), names({0, 2, 1, 3, 4}));
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
        select({0});
        page.OnMoveDown();
        EXPECT_EQ(Items(page), names({2, 0, 1, 3, 4}));
        EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
        select({0, 2, 4});
        Click(page, IDC_PROFILE_REMOVE);
        EXPECT_EQ(Items(page), names({0, 3}));
    });
}

// File > Import... closed by the user, with Escape and with the close box: the dialog goes while
// the menu command is still running, and every widget of it is deleted later, none under its
// own event.
namespace {
using ImportInProgramTest = AppFixture;
} // namespace

TEST_F(ImportInProgramTest, ClosedByTheUserItLeavesNoWidgetBehind)
{
    ASSERT_TRUE(Start({}));
    const std::vector<std::pair<const char*, std::function<void(CDialog&)>>> closes = {
        {"Escape", [](CDialog& dialog) { PressKey(dialog, Qt::Key_Escape); }},
        {"close box", [](CDialog& dialog) { dialog.GetWidget()->close(); }},
    };
    for (const auto& [name, close] : closes) {
        SCOPED_TRACE(name);
        bool bShown = false;
        CDialog::SetModalHook([&, close = close](CDialog& dialog) {
            QTimer::singleShot(0, dialog.GetWidget(), [&bShown, &dialog, close] {
                bShown = dialog.GetWidget()->isVisible();
                close(dialog);
            });
        });
        Frame()->Dispatch(WM_COMMAND, ID_FILE_IMPORT, 0);
        CDialog::SetModalHook(nullptr);
        EXPECT_TRUE(bShown);
        AfxFlushDeletedWindows();
        for (const QWidget* widget : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<const QDialog*>(widget), nullptr) << widget->windowTitle().toStdString();
    }
}
