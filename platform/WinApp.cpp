#include "WinApp.h"

#include "DocTemplate.h"
#include "Document.h"
#include "RecentFileList.h"
#include "Wnd.h"

#include "FileIo.h"
#include "MessageLog.h"
#include "Values.h"

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <clocale>
#include <exception>
#include <filesystem>
#include <memory>

namespace {
CWinApp* s_pApp = nullptr;

const QEvent::Type kIdleEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Schedules one idle update pass after a user action or a posted message, to run once the
// events queued before it are handled. What the pass itself causes schedules nothing.
class CIdleHook : public QObject
{
public:
    explicit CIdleHook(CWinApp* pApp) : m_pApp(pApp) { QCoreApplication::instance()->installEventFilter(this); }
    ~CIdleHook() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (!m_bPending && !m_bInIdle && CausesIdle(pEvent->type())) {
            m_bPending = true;
            QCoreApplication::postEvent(this, new QEvent(kIdleEvent), Qt::LowEventPriority);
        }
        return false;
    }

    bool event(QEvent* pEvent) override
    {
        if (pEvent->type() != kIdleEvent)
            return QObject::event(pEvent);
        m_bPending = false;
        m_bInIdle = true;
        try {
            m_pApp->OnIdle(0);
        } catch (const std::exception& e) {
            g_messageLog.Log(LOG_ERROR, "CWinApp::OnIdle: ended by an exception: %s", e.what());
        }
        m_bInIdle = false;
        return true;
    }

private:
    static bool CausesIdle(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::Close:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
            return true;
        default:
            // The windows' posted messages.
            return type >= QEvent::User && type != kIdleEvent;
        }
    }

    CWinApp* m_pApp;
    bool m_bPending = false;
    bool m_bInIdle = false;
};

std::wstring FullPath(const std::wstring& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(NativePath(path)), ec);
    return ec ? path : FromFileName(absolute.lexically_normal().string());
}

std::vector<std::string> Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + std::min(argc, 1), argv + std::max(argc, 1));
}
} // namespace

void CCommandLineInfo::ParseParam(const wchar_t* pszParam, bool bFlag, bool)
{
    if (!bFlag && m_strFileName.empty()) {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}

CWinApp::CWinApp(const std::wstring& appName) : m_strAppName(appName)
{
    s_pApp = this;
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, [this](UINT nID) { return OnOpenRecentFile(nID); });
    MapUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, [this](CCmdUI* pCmdUI) {
        pCmdUI->Enable(m_pRecentFileList && m_pRecentFileList->GetCount() > 0);
    });
    InstallIdleHook();
}

CWinApp::~CWinApp()
{
    m_pIdleHook.reset();
    CleanUp();
    if (s_pApp == this)
        s_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return s_pApp;
}

bool CWinApp::NeedsDisplay()
{
    return true;
}

bool CWinApp::InitInstance()
{
    return true;
}

int CWinApp::Run()
{
    if (m_bQuitPosted)
        return m_nExitCode;
    m_bRunning = true;
    const int code = QApplication::exec();
    m_bRunning = false;
    return code;
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

bool CWinApp::OnIdle(long)
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, 1, 0);
    return false;
}

void CWinApp::InstallIdleHook()
{
    // A run without windows has nothing to bring up to date.
    if (!m_pIdleHook && qobject_cast<QApplication*>(QCoreApplication::instance()))
        m_pIdleHook = std::make_unique<CIdleHook>(this);
}

void CWinApp::CleanUp()
{
    if (m_pMainWnd)
        m_pMainWnd->DestroyWindow();
    m_pMainWnd = nullptr;
    m_templates.clear();
    AfxFlushDeletedWindows();
}

void AfxPostQuitMessage(int nExitCode)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || pApp->m_bQuitPosted)
        return;
    pApp->m_bQuitPosted = true;
    pApp->m_nExitCode = nExitCode;
    if (pApp->m_bRunning)
        QMetaObject::invokeMethod(qApp, [nExitCode] { QCoreApplication::exit(nExitCode); }, Qt::QueuedConnection);
}

void AfxFlushDeletedWindows()
{
    if (QCoreApplication::instance())
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    for (size_t i = 0; i < m_args.size(); ++i) {
        // A parameter is a file name as often as not: its bytes survive, UTF-8 or not.
        const std::wstring param = FromFileName(m_args[i]);
        const bool bFlag = !param.empty() && param[0] == L'-';
        const std::wstring text = bFlag ? param.substr(1) : param;
        info.ParseParam(text.c_str(), bFlag, i + 1 == m_args.size());
    }
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    default:
        return true;
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    m_templates.emplace_back(pTemplate);
}

CDocTemplate* CWinApp::GetDocTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return AfxFindIcon(nIDResource);
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* pTemplate = GetDocTemplate())
        pTemplate->OpenDocumentFile(std::wstring());
}

CDocument* CWinApp::OpenDocumentFile(const std::wstring& path)
{
    CDocTemplate* pTemplate = GetDocTemplate();
    if (!pTemplate || path.empty())
        return nullptr;
    const std::wstring full = FullPath(path);
    // The path that is open already is not opened again.
    if (CDocument* pOpen = pTemplate->GetDocument()) {
        if (!pOpen->GetPathName().empty() && FullPath(pOpen->GetPathName()) == full) {
            pTemplate->ActivateFrame();
            return pOpen;
        }
    }
    return pTemplate->OpenDocumentFile(full);
}

void CWinApp::LoadStdProfileSettings(int nMaxMRU)
{
    m_pRecentFileList = std::make_unique<CRecentFileList>(nMaxMRU);
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(const std::wstring& path)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(path);
}

bool CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList)
        return false;
    const int index = int(nID - ID_FILE_MRU_FILE1);
    if (index >= m_pRecentFileList->GetCount())
        return false;
    const std::wstring path = (*m_pRecentFileList)[index];
    // An entry that no longer opens leaves the list; one the user did not get to keeps its place.
    const CDocTemplate* pTemplate = GetDocTemplate();
    if (!OpenDocumentFile(path) && !(pTemplate && pTemplate->WasOpenAbandoned()))
        m_pRecentFileList->Remove(index);
    return true;
}

bool CWinApp::SaveAllModified()
{
    for (const auto& pTemplate : m_templates)
        if (CDocument* pDoc = pTemplate->GetDocument())
            if (!pDoc->SaveModified())
                return false;
    return true;
}

void CWinApp::CloseAllDocuments()
{
    for (const auto& pTemplate : m_templates)
        if (CDocument* pDoc = pTemplate->GetDocument())
            pDoc->OnCloseDocument();
}

int AfxWinMain(int argc, char** argv)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 1;
    pApp->SetCommandLine(Arguments(argc, argv));
    // A run without windows connects to no display, so it works where there is none.
    std::unique_ptr<QCoreApplication> application;
    if (pApp->NeedsDisplay()) {
        application = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        pApp->InstallIdleHook();
        // Qt has taken its own options out.
        pApp->SetCommandLine(Arguments(argc, argv));
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Numbers in files never follow the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    if (pApp->InitInstance())
        pApp->Run();
    const int code = pApp->ExitInstance();
    pApp->CleanUp();
    return code;
}
