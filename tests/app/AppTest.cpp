// The program as a whole: start-up, the open road, command state, and the exit routine.

#include "AppFixture.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "QuarvelView.h"
#include "RecentFileList.h"
#include "ResourceIds.h"

#include "DataViewPainter.h"
#include "DataSideView.h"
#include "DataTopView.h"
#include "SideViewCtrl.h"
#include "TopViewCtrl.h"

#include "Cfg.h"
#include "DrawingManager.h"
#include "FileIo.h"
#include "Types.h"
#include "Values.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QShortcut>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {
bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

// Activates the frame's accelerator of a key, as the keyboard would.
void PressAccelerator(CMainFrame* pFrame, const QKeySequence& keys)
{
    for (QShortcut* shortcut : pFrame->GetWidget()->findChildren<QShortcut*>())
        if (shortcut->key() == keys)
            emit shortcut->activated();
}

using AppTest = AppFixture;
} // namespace

TEST_F(AppTest, VersionWritesItsFileAndEndsStartUp)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path());
    const bool started = Start({"version"});
    std::filesystem::current_path(before);
    EXPECT_FALSE(started);
    EXPECT_EQ(ReadFileBytes(m_dir.File("version.log")), "v1.4.0");
    EXPECT_EQ(m_pApp->GetMainWnd(), nullptr);
    // A first run: the missing configuration is logged, not shown.
    EXPECT_TRUE(m_boxes.m_texts.empty());
    EXPECT_NE(ReadLog().find("Error accour while reading application settings file"), std::string::npos);
}

TEST_F(AppTest, VersionNeedsNoDisplay)
{
    CTempDir appData;
    const std::string command = "cd '" + m_dir.Path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM APPDATA='" +
                                appData.Path() + "' '" QUARVEL_PROGRAM "' version > output.txt 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << ReadFileBytes(m_dir.File("output.txt"));
    EXPECT_EQ(WEXITSTATUS(status), 0) << ReadFileBytes(m_dir.File("output.txt"));
    EXPECT_EQ(ReadFileBytes(m_dir.File("version.log")), "v1.4.0");
    // The configuration's complaint of a first run went to the log instead of a box.
    std::string messages;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(appData.Path()))
        if (entry.path().filename() == "message.log")
            messages = ReadFileBytes(entry.path().string());
    EXPECT_NE(messages.find("Error accour while reading application settings file"), std::string::npos) << messages;
}

TEST_F(AppTest, VersionNeverWaitsOnAPipeInPlaceOfItsFile)
{
    CTempDir appData;
    ASSERT_EQ(mkfifo(m_dir.File("version.log").c_str(), 0644), 0);
    // The watchdog only ends a program that would wait for a reader forever.
    const std::string command = "cd '" + m_dir.Path() + "' && APPDATA='" + appData.Path() +
                                "' QT_QPA_PLATFORM=offscreen timeout 120 '" QUARVEL_PROGRAM "' version > output.txt 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << ReadFileBytes(m_dir.File("output.txt"));
    EXPECT_EQ(WEXITSTATUS(status), 0) << ReadFileBytes(m_dir.File("output.txt"));
    EXPECT_TRUE(std::filesystem::is_fifo(m_dir.File("version.log")));
}

TEST_F(AppTest, StartUpLogsInItsOrderAndShowsTheLogo)
{
    ASSERT_TRUE(Start({}));
    const std::string log = ReadLog();
    // The time as asctime writes it ("Thu Dec 10 11:00:56 2026\n"), then name and version.
    const size_t timeEnd = log.find("\n\r\n");
    ASSERT_NE(timeEnd, std::string::npos) << log;
    EXPECT_EQ(log.rfind("Info: ", 0), 0u);
    const std::string time = log.substr(6, timeEnd - 6);
    ASSERT_EQ(time.size(), 24u) << time;
    EXPECT_EQ(time.substr(13, 1) + time.substr(16, 1), "::") << time;
    EXPECT_EQ(log.substr(timeEnd + 3, 22), "Info: quarvel\tv1.4.0\r\n");
    size_t at = 0;
    for (const char* line : {"Log: Loaded program configuration.", "Log: Drawing handler loaded.",
                             "Log: create QuarvelView()", "Log: Initialize QuarvelView."}) {
        const size_t next = log.find(line, at);
        ASSERT_NE(next, std::string::npos) << line;
        at = next;
    }
    // The first run has no configuration file yet: its message comes once, before the window.
    ASSERT_EQ(m_boxes.m_texts.size(), 1u);
    EXPECT_EQ(m_boxes.m_texts[0].rfind(L"Error accour while reading application settings file", 0), 0u);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(Frame()->IsWindowVisible());
    EXPECT_TRUE(View()->IsLogoMode());
    EXPECT_EQ(Frame()->GetWidget()->windowTitle().toStdString(), "Untitled - quarvel");
}

TEST_F(AppTest, StartUpPaintsTheLogoAtOnceUnderItsOwnIcon)
{
    ASSERT_TRUE(Start({}));
    // No event has been handled yet: the logo is there before a project could open.
    const QImage logo(QStringLiteral(":/res/logo.png"));
    ASSERT_FALSE(logo.isNull());
    CRect client;
    View()->GetClientRect(&client);
    const QImage* pShown = View()->GetBackingImage();
    ASSERT_GE(client.Width(), logo.width());
    ASSERT_GE(client.Height(), logo.height());
    const int left = (client.Width() - logo.width()) / 2, top = (client.Height() - logo.height()) / 2;
    for (const QPoint at : {QPoint(30, 80), QPoint(logo.width() / 2, logo.height() / 2)})
        EXPECT_EQ(pShown->pixel(left + at.x(), top + at.y()), logo.pixel(at)) << at.x();

    const QIcon icon = Frame()->GetWidget()->windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage expected(QStringLiteral(":/res/icon.png"));
    const QImage shown = icon.pixmap(expected.size()).toImage();
    ASSERT_EQ(shown.size(), expected.size());
    for (const QPoint at : {QPoint(4, 24), QPoint(24, 36), QPoint(24, 14)})
        EXPECT_EQ(shown.pixel(at), expected.pixel(at)) << at.x() << "," << at.y();
}

TEST_F(AppTest, ProjectCommandsAreEnabledExactlyWhileAProjectIsLoaded)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    const UINT commands[] = {ID_FILE_SAVE,     ID_FILE_SAVE_AS, ID_FILE_PRINT,
                             ID_FILE_PRINT_PREVIEW, ID_EDIT_COPY, ID_EDIT_CUT,
                             ID_EDIT_PASTE,    ID_FILTER_OPTIONS, ID_ZERO_LEVEL_OPTIONS};
    ASSERT_TRUE(Start({}));
    for (UINT nID : commands)
        EXPECT_FALSE(Frame()->IsCommandEnabled(nID)) << nID;
    ASSERT_NE(m_pApp->OpenDocumentFile(project.rhdPath), nullptr);
    for (UINT nID : commands)
        EXPECT_TRUE(Frame()->IsCommandEnabled(nID)) << nID;
}

TEST_F(AppTest, RecentFileLeavesTheListOnlyWhenItCannotBeOpened)
{
    CTempDir otherDir;
    const CGeneratedProject first = CreateGeneratedProject(m_dir);
    const CGeneratedProject second = CreateGeneratedProject(otherDir);
    ASSERT_TRUE(Start({}));
    ASSERT_NE(m_pApp->OpenDocumentFile(second.rhdPath), nullptr);
    m_boxes.m_answers = {IDNO}; // the fresh project is not saved
    ASSERT_NE(m_pApp->OpenDocumentFile(first.rhdPath), nullptr);
    const CRecentFileList& list = *m_pApp->GetRecentFileList();
    ASSERT_EQ(list.GetCount(), 2);
    ASSERT_EQ(list[1], second.rhdPath);

    // The save prompt cancelled: the project stays, and so does the entry.
    Doc()->m_project.m_settings.m_iContrast = 77;
    m_boxes.m_answers = {IDCANCEL};
    Frame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(m_boxes.m_texts.back(), L"Save changed project site");
    EXPECT_EQ(Doc()->GetPathName(), first.rhdPath);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list[1], second.rhdPath);

    // A file that is gone leaves the list.
    std::filesystem::remove(ToAnsi(second.rhdPath));
    m_boxes.m_answers = {IDNO};
    Frame()->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 1);
    EXPECT_TRUE(m_boxes.Contains(L"Unable to open project."));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list[0], first.rhdPath);
}

TEST_F(AppTest, RhdPathThatIsNotUtf8Opens)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    const std::filesystem::path rhd(ToAnsi(project.rhdPath));
    const std::filesystem::path folder = rhd.parent_path().parent_path() / "caf\xe9 \xff";
    std::filesystem::rename(rhd.parent_path(), folder);
    const std::string path = (folder / rhd.filename()).string();
    ASSERT_TRUE(Start({"rhd", path}));
    EXPECT_TRUE(Doc()->IsProjectLoaded());
    EXPECT_EQ(NativePath(Doc()->GetPathName()), path);
}

TEST_F(AppTest, RhdOnTheCommandLineOpensTheProject)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    ASSERT_TRUE(Start({"rhd", ToAnsi(project.rhdPath)}));
    ASSERT_TRUE(Doc()->IsProjectLoaded());
    EXPECT_EQ(Doc()->m_project.m_strName, L"site");
    EXPECT_FALSE(View()->IsLogoMode());
    EXPECT_EQ(Frame()->GetWidget()->windowTitle().toStdString(), "site - quarvel");
    ASSERT_EQ(m_pApp->GetRecentFileList()->GetCount(), 1);
    EXPECT_EQ((*m_pApp->GetRecentFileList())[0], project.rhdPath);
}

TEST_F(AppTest, OpenRoadAsksBeforeReplacingAndDoesNothingForTheOpenPath)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    CScriptedFileDialog files;
    ASSERT_TRUE(Start({}));
    files.m_path = project.rhdPath;
    Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(files.m_requests.size(), 1u);
    EXPECT_EQ(files.m_requests[0].filter, L"3D Project (*.rhd)|*.rhd|3D Settings (*.3dq)|*.3dq|All files (*.*)|*.*||");
    ASSERT_TRUE(Doc()->IsProjectLoaded());

    // The same path again: no question, nothing opened again.
    Doc()->m_project.m_settings.m_iContrast = 99;
    const size_t boxes = m_boxes.m_texts.size();
    EXPECT_EQ(m_pApp->OpenDocumentFile(project.rhdPath), Doc());
    EXPECT_EQ(m_boxes.m_texts.size(), boxes);
    EXPECT_EQ(Doc()->m_project.m_settings.m_iContrast, 99);

    // Another path asks first; Cancel keeps the project.
    m_boxes.m_answers = {IDCANCEL};
    EXPECT_EQ(m_pApp->OpenDocumentFile(Wide(project.File(".3dq"))), nullptr);
    EXPECT_EQ(m_boxes.m_texts.back(), L"Save changed project site");
    EXPECT_EQ(Doc()->m_project.m_settings.m_iContrast, 99);

    // A failed open empties the document and brings the logo back.
    m_boxes.m_answers = {IDNO};
    EXPECT_EQ(m_pApp->OpenDocumentFile(Wide(m_dir.File("missing.rhd"))), nullptr);
    EXPECT_FALSE(Doc()->IsProjectLoaded());
    EXPECT_TRUE(View()->IsLogoMode());
    EXPECT_EQ(Frame()->GetWidget()->windowTitle().toStdString(), "Untitled - quarvel");
    EXPECT_NE(m_pApp->OpenDocumentFile(project.rhdPath), nullptr);
}

TEST_F(AppTest, SaveNeedsAProjectFromMenuAndAccelerator)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    ASSERT_TRUE(Start({}));
    QAction* save = Frame()->FindMenuItem(ID_FILE_SAVE);
    ASSERT_NE(save, nullptr);
    Frame()->UpdateMenu(qobject_cast<QMenu*>(save->parent()));
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(Frame()->FindMenuItem(ID_FILE_IMPORT)->isEnabled());
    EXPECT_TRUE(Frame()->FindMenuItem(ID_FILE_PRINT_SETUP)->isEnabled());
    EXPECT_TRUE(Frame()->FindMenuItem(ID_FILE_OPEN)->isEnabled());
    const size_t boxes = m_boxes.m_texts.size();
    PressAccelerator(Frame(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(m_boxes.m_texts.size(), boxes); // no failed save reported: nothing ran

    ASSERT_NE(m_pApp->OpenDocumentFile(project.rhdPath), nullptr);
    Frame()->UpdateMenu(qobject_cast<QMenu*>(save->parent()));
    EXPECT_TRUE(save->isEnabled());
    PressAccelerator(Frame(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_TRUE(Exists(project.File(".3dq")));
}

TEST_F(AppTest, ExitPromptYesNoAndCancel)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    struct Case
    {
        int button;
        bool ends;
    };
    for (const Case& c : {Case{IDCANCEL, false}, Case{IDNO, true}, Case{IDOK /* "Yes" */, true}}) {
        SetUp();
        ASSERT_TRUE(Start({"rhd", ToAnsi(project.rhdPath)}));
        ASSERT_TRUE(Doc()->OnSaveDocument(std::wstring())); // a cache on disk, settings as saved
        RemoveFile(CCfg::GetCfgFilePath());
        Doc()->m_project.m_settings.m_iContrast = 55;
        CModalAnswer answer(c.button);
        EXPECT_EQ(m_pApp->ExitApplication(), c.ends) << c.button;
        EXPECT_EQ(answer.m_shown, std::vector<UINT>{IDD_TEXTDIALOG});
        const bool bYes = c.button == IDOK;
        EXPECT_EQ(Doc()->IsProjectLoaded(), !c.ends);
        EXPECT_EQ(Exists(project.File("_1.precalc")), c.button != IDNO);
        EXPECT_EQ(GetFileValue(project.File(".3dq"), "contrast") == "55", bYes);
        EXPECT_EQ(Exists(ToAnsi(CCfg::GetCfgFilePath())), c.ends);
        EXPECT_EQ(m_pApp->IsQuitPosted(), c.ends);
        TearDown();
    }
}

TEST_F(AppTest, AFailedSaveAtExitKeepsTheProgramAndTheChangesOpen)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    ASSERT_TRUE(Start({"rhd", ToAnsi(project.rhdPath)}));
    ASSERT_TRUE(Doc()->OnSaveDocument(std::wstring()));
    Doc()->m_project.m_settings.m_iContrast = 55;
    Tovrik::CDrawDataObject object;
    object.m_nType = Tovrik::CDrawDataObject::TYPE_RECT;
    g_drawingManager.AddObject(object);
    RemoveFile(Wide(project.File(".3dq")));
    std::filesystem::create_directory(project.File(".3dq")); // nothing can replace a folder
    {
        CModalAnswer answer(IDOK /* "Yes" */);
        EXPECT_FALSE(m_pApp->ExitApplication());
    }
    EXPECT_TRUE(m_boxes.Contains(L"Error. Unable to save project settings."));
    EXPECT_FALSE(m_pApp->IsQuitPosted());
    ASSERT_TRUE(Doc()->IsProjectLoaded());
    EXPECT_EQ(Doc()->m_project.m_settings.m_iContrast, 55);
    EXPECT_EQ(g_drawingManager.GetCount(), 1);

    // No leaves without saving.
    CModalAnswer answer(IDNO);
    EXPECT_TRUE(m_pApp->ExitApplication());
    EXPECT_TRUE(m_pApp->IsQuitPosted());
    EXPECT_TRUE(std::filesystem::is_directory(project.File(".3dq")));
}

TEST_F(AppTest, NothingChangedEndsWithoutAPrompt)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    ASSERT_TRUE(Start({"rhd", ToAnsi(project.rhdPath)}));
    ASSERT_TRUE(Doc()->OnSaveDocument(std::wstring()));
    CModalAnswer answer(IDCANCEL);
    EXPECT_TRUE(m_pApp->ExitApplication());
    EXPECT_TRUE(answer.m_shown.empty());
    EXPECT_TRUE(Exists(project.File("_1.precalc")));
}

TEST_F(AppTest, CloseBoxRunsTheExitRoutine)
{
    ASSERT_TRUE(Start({}));
    const HWND hFrame = Frame()->GetSafeHwnd();
    QCloseEvent close;
    QCoreApplication::sendEvent(Frame()->GetWidget(), &close);
    EXPECT_TRUE(m_pApp->IsQuitPosted());
    EXPECT_EQ(CWnd::FromHandle(hFrame), nullptr);
    EXPECT_EQ(m_pApp->GetMainWnd(), nullptr);
    EXPECT_TRUE(Exists(ToAnsi(CCfg::GetCfgFilePath())));
}

TEST_F(AppTest, ExitRemembersTheRestoredRectangle)
{
    ASSERT_TRUE(Start({}));
    QWidget* window = Frame()->GetWidget();
    window->setGeometry(-30, 40, 700, 300);
    ASSERT_TRUE(m_pApp->ExitApplication());
    EXPECT_EQ(g_cfg.m_windowPos[0], 0);
    EXPECT_EQ(g_cfg.m_windowPos[1], 0);
    EXPECT_EQ(g_cfg.m_windowSize[0], 700);
    EXPECT_EQ(g_cfg.m_windowSize[1], 300);
    TearDown();

    SetUp();
    ASSERT_TRUE(Start({}));
    window = Frame()->GetWidget();
    window->setGeometry(50, 60, 700, 320);
    window->showMaximized();
    ASSERT_TRUE(m_pApp->ExitApplication());
    EXPECT_EQ(g_cfg.m_windowPos[0], 50);
    EXPECT_EQ(g_cfg.m_windowPos[1], 60);
    EXPECT_EQ(g_cfg.m_windowSize[0], 700);
    EXPECT_EQ(g_cfg.m_windowSize[1], 320);
}

TEST_F(AppTest, ADrawingValueTakenOtherwiseKeepsTheConfigurationAsOld)
{
    // A complete configuration whose drawing key holds a value that is no number.
    const std::string cfgPath = ToAnsi(CCfg::GetCfgFilePath());
    std::filesystem::remove(cfgPath + ".old");
    CCfg complete;
    complete.InitPalettes();
    ASSERT_TRUE(complete.Save());
    const std::string text = ReadFileBytes(cfgPath) + "drawing.blendalpha:abc\r\n";
    WriteFileBytes(cfgPath, text);

    ASSERT_TRUE(Start({}));
    EXPECT_TRUE(m_boxes.m_texts.empty());
    ASSERT_TRUE(m_pApp->ExitApplication());
    EXPECT_EQ(ReadFileBytes(cfgPath + ".old"), text);
    EXPECT_EQ(GetFileValue(cfgPath, "drawing.blendalpha"), "0");
    std::filesystem::remove(cfgPath + ".old");
}

TEST_F(AppTest, ExitSavesOnAFolderWithoutANoReplaceRename)
{
    // Each case leaves a file that the exit keeps beside itself before it writes the new one.
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    const std::string cfgPath = ToAnsi(CCfg::GetCfgFilePath());
    const std::string objects = project.File(".3qo");
    const std::string settings = project.File(".3dq");
    {
        CNotifierRecorder notifier;
        ASSERT_TRUE(Start({"rhd", ToAnsi(project.rhdPath)}));
        g_drawingManager.AddObject(Tovrik::CDrawDataObject());
        ASSERT_TRUE(Doc()->OnSaveDocument(std::wstring()));
        ASSERT_TRUE(m_pApp->ExitApplication());
        TearDown();
    }
    const std::string savedSettings = ReadFileBytes(settings);
    std::string damagedCfg = ReadFileBytes(cfgPath);
    damagedCfg.replace(damagedCfg.find("drawing.blendalpha:100"), 22, "drawing.blendalpha:abc");
    const std::string damagedObjects = ReadFileBytes(objects) + "box\t0;0;0\t1;1;1\tff\t1\tff\t1\r\n";
    const std::string rejectedSettings = savedSettings.substr(0, savedSettings.find("signature:"));
    const struct { const char* name; std::string path; std::string text; } cases[] = {
        {"configuration", cfgPath, damagedCfg},
        {"object file", objects, damagedObjects},
        {"rejected settings file", settings, rejectedSettings},
    };
    for (const bool bNoHardLinks : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (bNoHardLinks ? ", no hard links" : ""));
            SetUp();
            for (const char* suffix : {".old", ".bak"})
                std::filesystem::remove(c.path + suffix);
            WriteFileBytes(settings, savedSettings);
            WriteFileBytes(c.path, c.text);
            CNoRenameNoReplace noRename(bNoHardLinks);
            CNotifierRecorder notifier;
            ASSERT_TRUE(Start({"rhd", ToAnsi(project.rhdPath)}));
            ASSERT_TRUE(Doc()->IsProjectLoaded());
            Doc()->m_project.m_settings.m_iContrast = 55;
            {
                CModalAnswer answer(IDOK /* "Yes" */);
                EXPECT_TRUE(m_pApp->ExitApplication());
            }
            EXPECT_TRUE(m_pApp->IsQuitPosted());
            EXPECT_FALSE(m_boxes.Contains(L"Error. Unable to save project settings."));
            EXPECT_FALSE(m_boxes.Contains(L"Error. Unable to save program configuration."));
            EXPECT_TRUE(notifier.m_messages.empty() ||
                        notifier.m_messages.back() != L"Error. Unable to save program's configuration.");
            EXPECT_EQ(GetFileValue(settings, "contrast"), "55");
            const std::string kept = c.path + (c.path == objects ? ".bak" : ".old");
            EXPECT_EQ(ReadFileBytes(kept), c.text);
            EXPECT_GT(CNoRenameNoReplace::s_nRenames, 0);
            TearDown();
        }
    }
}

TEST_F(AppTest, FramePlacementFollowsTheRememberedRectangleWhenItFits)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    struct Case
    {
        int x, y, cx, cy;
        bool fits;
    };
    const Case cases[] = {
        {10, 20, 660, 300, true},
        {width - 660, height - 300, 660, 300, true}, // ends exactly at the edge
        {width - 659, 0, 660, 300, false},
        {0, height - 299, 660, 300, false},
    };
    for (const Case& c : cases) {
        SetUp();
        g_cfg.m_bRememberWindow = true;
        g_cfg.m_windowPos[0] = c.x;
        g_cfg.m_windowPos[1] = c.y;
        g_cfg.m_windowSize[0] = c.cx;
        g_cfg.m_windowSize[1] = c.cy;
        g_cfg.Save();
        ASSERT_TRUE(Start({}));
        const QRect geometry = Frame()->GetWidget()->geometry();
        if (c.fits)
            EXPECT_EQ(geometry, QRect(c.x, c.y, c.cx, c.cy)) << c.x;
        else
            EXPECT_EQ(geometry.size(), QSize(std::max(width / 2, 640), std::max(height / 2, 250))) << c.x;
        TearDown();
    }
}

TEST_F(AppTest, EditCommandsWaitForTheDrawingTool)
{
    ASSERT_TRUE(Start({}));
    Tovrik::CDrawDataObject object;
    g_drawingManager.AddObject(object);
    g_drawingManager.SelectObject(0);
    m_pApp->OnEditCut();
    EXPECT_EQ(g_drawingManager.GetCount(), 1); // the drawing tool was never opened
    g_drawingManager.SetDrawingMode(true);
    g_drawingManager.SetBusy(true);
    m_pApp->OnEditCopy();
    EXPECT_EQ(m_boxes.m_texts.back().rfind(L"You are currently drawing a new object.", 0), 0u);
    g_drawingManager.SetBusy(false);
    m_pApp->OnEditCut();
    EXPECT_EQ(g_drawingManager.GetCount(), 0);
    m_pApp->OnEditPaste();
    EXPECT_EQ(g_drawingManager.GetCount(), 1);
    m_pApp->OnEditCopy();
    g_drawingManager.ClearSelection();
    m_pApp->OnEditCopy();
    EXPECT_EQ(m_boxes.m_texts.back(), L"No object has been selected.");
}

// A failed open after a project with drawing objects: the views let go of the objects before
// they are freed, and the next layout of the window measures none of them.
TEST_F(AppTest, FailedOpenLeavesTheViewsNoDrawingObjectToMeasure)
{
    const CGeneratedProject project = CreateGeneratedProject(m_dir);
    ASSERT_TRUE(Start({}));
    Frame()->MoveWindow(0, 0, 1200, 800);
    ASSERT_NE(m_pApp->OpenDocumentFile(project.rhdPath), nullptr);
    const CProjectSettings& s = Doc()->m_project.m_settings;
    for (int i = 0; i < 3; ++i) {
        Tovrik::CDrawDataObject object;
        object.m_nType = Tovrik::CDrawDataObject::TYPE_RECT;
        object.m_fX1 = float(i);
        object.m_fX2 = float(s.m_iSizeX) / 2;
        object.m_fY2 = float(s.m_iSizeY) / 2;
        object.m_fZ2 = float(s.m_iSamples) / 2;
        g_drawingManager.AddObject(object);
    }
    Frame()->SendMessage(WM_DRAWING_EVENT, ID_SENDER_APPLICATION, MakeCodeParam(DRAW_ADDED, DRAW_NO_OBJECT));
    CDataViewPainter* painters[] = {&View()->GetTopView().GetDataView().GetPainter(),
                                    &View()->GetXSection().GetDataView().GetPainter(),
                                    &View()->GetYSection().GetDataView().GetPainter()};
    for (const CDataViewPainter* pPainter : painters)
        ASSERT_EQ(pPainter->GetObjectCount(), 3);

    const std::string broken = m_dir.File("broken.rhd");
    WriteFileBytes(broken, "not a project\r\n");
    CScriptedFileDialog files;
    files.m_path = Wide(broken);
    m_boxes.m_answers = {IDNO}; // the objects are not saved
    Frame()->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_TRUE(m_boxes.Contains(L"Unable to open project."));
    ASSERT_FALSE(Doc()->IsProjectLoaded());
    for (const CDataViewPainter* pPainter : painters)
        EXPECT_EQ(pPainter->GetObjectCount(), 0);
    Frame()->MoveWindow(0, 0, 900, 600);
    ProcessEvents();
    Frame()->MoveWindow(0, 0, 1200, 800);
    ProcessEvents();
}
