#include "QuarvelApp.h"

#include "AboutDlg.h"
#include "ConfigDlg.h"
#include "DocTemplate.h"
#include "DrawingBusyMessage.h"
#include "FilterOptionDlg.h"
#include "FrameWnd.h"
#include "ImportDlg.h"
#include "MainFrame.h"
#include "Messages.h"
#include "PrintService.h"
#include "QuarvelDoc.h"
#include "QuarvelResources.h"
#include "QuarvelView.h"
#include "ResourceIds.h"
#include "Services.h"
#include "TextDialog.h"
#include "TruncToInt.h"
#include "ZeroLevelDlg.h"

#include "Cfg.h"
#include "FileIo.h"
#include "UserFolder.h"
#include "DrawingManager.h"
#include "MessageLog.h"
#include "Values.h"
#include "Version.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

void CCustomCommandLineInfo::ParseParam(const wchar_t* pszParam, bool, bool)
{
    const std::string param = ToAnsi(pszParam);
    if (param == "rhd") {
        m_bRhd = 1;
    } else if (m_bRhd) {
        // A path with blanks, split by the shell, is joined again.
        if (!m_strRhdPath.empty())
            m_strRhdPath += L' ';
        m_strRhdPath += pszParam;
    } else if (param == "version") {
        m_bVersion = 1;
    }
}

namespace {
// The commands that are enabled exactly while a project is loaded.
const UINT kNeedProject[] = {ID_FILE_SAVE,  ID_FILE_SAVE_AS, ID_FILE_PRINT,     ID_FILE_PRINT_PREVIEW, ID_EDIT_COPY,
                             ID_EDIT_CUT,   ID_EDIT_PASTE,   ID_FILTER_OPTIONS, ID_ZERO_LEVEL_OPTIONS};
} // namespace

CQuarvelApp::CQuarvelApp() : CWinApp(FromAnsi(PROGRAM_NAME))
{
    MapCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    MapCommand(ID_OPTIONS, [this] { OnOptions(); });
    MapCommand(ID_FILTER_OPTIONS, [this] { OnFilterOptions(); });
    MapCommand(ID_ZERO_LEVEL_OPTIONS, [this] { OnZeroLevelOptions(); });
    MapCommand(ID_FILE_IMPORT, [this] { OnFileImport(); });
    MapCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    MapCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    MapCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    MapCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    MapCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    for (UINT nID : kNeedProject)
        MapUpdate(nID, [this](CCmdUI* pCmdUI) { OnUpdateNeedProject(pCmdUI); });
}

CQuarvelApp::~CQuarvelApp()
{
    CleanUp();
    SetNotifier(nullptr);
}

CQuarvelApp* GetQuarvelApp()
{
    return dynamic_cast<CQuarvelApp*>(AfxGetApp());
}

std::string CQuarvelApp::GetVersionString()
{
    return PROGRAM_VERSION;
}

bool CQuarvelApp::NeedsDisplay()
{
    CCustomCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    return !cmdInfo.m_bVersion;
}

bool CQuarvelApp::InitInstance()
{
    // The command line is read first, as "version" shows nothing: without the message box
    // notifier, what the configuration would say in a box goes to the log.
    CCustomCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    AfxSetResourceSet(&GetQuarvelResources());
    InitQuarvelQtResources();
    if (!cmdInfo.m_bVersion)
        SetNotifier(&m_notifier);

    // The first run has no per-user folder yet; the log goes into it from the start.
    std::error_code ec;
    std::filesystem::create_directories(NativePath(GetUserConfigDir()), ec);
    g_messageLog.Reset();
    g_messageLog.Enable();
    const std::time_t now = std::time(nullptr);
    g_messageLog.Log(LOG_INFO, "%s", std::asctime(std::localtime(&now)));
    g_messageLog.Log(LOG_INFO, "%s\t%s", ToAnsi(m_strAppName).c_str(), GetVersionString().c_str());
    g_messageLog.Open();

    g_cfg.Load();
    g_messageLog.Log(LOG_LOG, "Loaded program configuration.");
    g_drawingManager.ResetDefaults();
    // The drawing keys share the configuration's file: one taken otherwise than it stands
    // keeps that file before the exit writes over it.
    if (!g_drawingManager.LoadSettings(CCfg::GetCfgFilePath()))
        g_cfg.m_bCfgFileDamaged = true;
    g_messageLog.Log(LOG_LOG, "Drawing handler loaded.");

    // Common controls and OLE need no initialisation here.
    CWinApp::InitInstance();
    if (cmdInfo.m_bVersion) {
        // A pipe or device in the file's place is skipped, never waited on.
        const std::wstring versionPath = L"version.log";
        if (FILE* file = OpenFile(versionPath, "wb")) {
            const std::string version = GetVersionString();
            std::fwrite(version.data(), 1, version.size(), file);
            std::fclose(file);
        } else {
            g_messageLog.LogFileError(versionPath, FileErrorCause(errno, versionPath));
        }
        return false;
    }
    LoadStdProfileSettings(4);
    AddDocTemplate(MakeSingleDocTemplate<CQuarvelDoc, CMainFrame, CQuarvelView>(IDR_MAINFRAME));
    if (!ProcessShellCommand(cmdInfo))
        return false;
    m_pMainWnd->SetIcon(LoadIcon(IDR_MAINFRAME), false);
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    if (cmdInfo.m_bRhd)
        OpenDocumentFile(cmdInfo.m_strRhdPath);
    return true;
}

int CQuarvelApp::ExitInstance()
{
    SetNotifier(nullptr);
    return CWinApp::ExitInstance();
}

CQuarvelDoc* CQuarvelApp::GetDocument() const
{
    auto* pFrame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    return pFrame ? dynamic_cast<CQuarvelDoc*>(pFrame->GetActiveDocument()) : nullptr;
}

void CQuarvelApp::OnUpdateNeedProject(CCmdUI* pCmdUI)
{
    const CQuarvelDoc* pDoc = GetDocument();
    pCmdUI->Enable(pDoc && pDoc->IsProjectLoaded());
}

void CQuarvelApp::OnFileOpen()
{
    CFileDialog dialog(true, std::wstring(), std::wstring(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       L"3D Project (*.rhd)|*.rhd|3D Settings (*.3dq)|*.3dq|All files (*.*)|*.*||");
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

void CQuarvelApp::OnFileImport()
{
    CImportDlg dialog;
    dialog.DoModal();
}

void CQuarvelApp::OnFilePrintSetup()
{
    AfxPrintSetup();
}

void CQuarvelApp::OnFilterOptions()
{
    CQuarvelDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->IsProjectLoaded()) {
        AfxMessageBox(L"No project has been loaded.", MB_OK);
        return;
    }
    CFilterOptionDlg dialog;
    dialog.LoadSettings(&pDoc->m_project);
    if (dialog.DoModal() != IDOK || !m_pMainWnd)
        return;
    // Through the frame, which also tells its trace view window.
    auto* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    if (!pFrame)
        return;
    if (dialog.m_bFirChanged) {
        pDoc->Recalculate();
        pFrame->BroadcastDataChanged(ID_SENDER_APPLICATION, MakeCodeParam(DATA_RECOMPUTED, 0));
    } else if (dialog.m_bTimeGainChanged) {
        pFrame->BroadcastDataChanged(ID_SENDER_APPLICATION, MakeCodeParam(DATA_TIME_GAIN, 0));
    }
}

void CQuarvelApp::OnZeroLevelOptions()
{
    CQuarvelDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->IsProjectLoaded()) {
        AfxMessageBox(L"No project has been loaded.", MB_OK);
        return;
    }
    CZeroLevelDlg dialog(m_pMainWnd);
    dialog.SetData(&pDoc->m_project);
    if (dialog.DoModal() == IDOK)
        ApplyZeroLevel(dialog.GetZeroLevel());
}

void CQuarvelApp::ApplyZeroLevel(float fZeroLevel)
{
    CQuarvelDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->IsProjectLoaded())
        return;
    CProject& project = pDoc->m_project;
    CProjectSettings& s = project.m_settings;
    const int zero = TruncToInt(double(fZeroLevel) + 0.5);
    if (zero == s.m_iZeroLevel)
        return;
    s.m_bUseZeroLevel = true;
    s.m_iZeroLevel = zero;
    pDoc->Recalculate();
    if (TruncToInt(project.m_fCursorDepth) < zero) {
        project.m_fCursorDepth = float(zero);
        s.m_iDepthIndex = zero;
    }
    project.m_fHoverDepth = project.m_fCursorDepth;
    if (auto* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd))
        pFrame->BroadcastDataChanged(ID_SENDER_APPLICATION, MakeCodeParam(DATA_ZERO_LEVEL, 0));
    if (m_pMainWnd)
        m_pMainWnd->SendMessageToDescendants(WM_CURSOR_MOVED, ID_SENDER_APPLICATION, MakeCursorParam(0, true));
}

void CQuarvelApp::OnOptions()
{
    const TUnits units = g_cfg.m_units;
    auto pDialog = std::make_unique<CConfigDlg>(m_pMainWnd);
    if (pDialog->DoModal() == IDOK && pDialog->m_bChanged && m_pMainWnd) {
        m_pMainWnd->SendMessageToDescendants(WM_LAYOUT_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(LAYOUT_APPLY, 0));
        m_pMainWnd->SendMessageToDescendants(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_RECOMPUTED, 0));
        if (g_cfg.m_units != units) {
            if (CQuarvelDoc* pDoc = GetDocument(); pDoc && pDoc->IsProjectLoaded())
                pDoc->m_project.m_settings.m_units = g_cfg.m_units;
            m_pMainWnd->SendMessage(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_UNITS, 0));
            m_pMainWnd->SendMessageToDescendants(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_UNITS, 0));
        }
    }
    // Also after Cancel; a failed save shows its one message itself.
    g_cfg.Save();
}

bool CQuarvelApp::CanEditDrawingObjects() const
{
    if (g_drawingManager.IsBusy()) {
        ShowDrawingBusyMessage();
        return false;
    }
    // Nothing to do before the drawing tool has been opened once.
    return g_drawingManager.IsDrawingMode();
}

void CQuarvelApp::SendDrawingEvent(WORD code)
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_DRAWING_EVENT, ID_SENDER_EDIT_COMMANDS,
                                MakeCodeParam(code, g_drawingManager.GetSelected()));
}

void CQuarvelApp::OnEditCut()
{
    if (!CanEditDrawingObjects())
        return;
    if (!g_drawingManager.Cut()) {
        AfxMessageBox(L"No object has been copied.", MB_OK);
        return;
    }
    SendDrawingEvent(DRAW_REMOVED);
    SendDrawingEvent(DRAW_SELECTION);
}

void CQuarvelApp::OnEditCopy()
{
    if (!CanEditDrawingObjects())
        return;
    if (!g_drawingManager.Copy())
        AfxMessageBox(L"No object has been selected.", MB_OK);
}

void CQuarvelApp::OnEditPaste()
{
    if (!CanEditDrawingObjects())
        return;
    if (!g_drawingManager.Paste()) {
        AfxMessageBox(L"No object has been copied.", MB_OK);
        return;
    }
    SendDrawingEvent(DRAW_ADDED);
    SendDrawingEvent(DRAW_SELECTION);
}

void CQuarvelApp::OnAppExit()
{
    ExitApplication();
}

void CQuarvelApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}

bool CQuarvelApp::ExitApplication()
{
    CQuarvelDoc* pDoc = GetDocument();
    if (pDoc && pDoc->IsProjectLoaded()) {
        pDoc->SetModifiedFlag(pDoc->m_project.IsSettingsChanged() || g_drawingManager.IsModified());
        if (pDoc->IsModified()) {
            CTextDialog prompt;
            switch (prompt.DoModal()) {
            // A failed save keeps the program and its unsaved changes open.
            case IDYES:
                if (!pDoc->SaveWithReport())
                    return false;
                break;
            case IDNO: C3DMatrix::RemovePreCalcFiles(pDoc->m_project); break;
            default: return false;
            }
        }
        pDoc->OnCloseDocument();
    }
    if (m_pMainWnd) {
        // The restored rectangle, also while the window is minimised or maximised.
        const CRect rect = m_pMainWnd->GetNormalRect();
        int x = rect.left, y = rect.top;
        if (x < 0 || y < 0)
            x = y = 0;
        g_cfg.m_windowSize[0] = std::max(rect.Width(), 0);
        g_cfg.m_windowSize[1] = std::max(rect.Height(), 0);
        g_cfg.m_windowPos[0] = x;
        g_cfg.m_windowPos[1] = y;
    }
    // The configuration reports its own failure; the drawing settings go into its file.
    if (g_cfg.Save() && !g_drawingManager.SaveSettings(CCfg::GetCfgFilePath()))
        AfxMessageBox(L"Error. Unable to save program configuration.", MB_OK | MB_ICONEXCLAMATION);
    AfxPostQuitMessage(0);
    return true;
}
