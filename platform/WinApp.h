#pragma once
// The application object and its one message loop (Qt's), the command line, the document
// template of the single-document program, the open road with the framework's no-op for the
// path that is open already, the recent-file list, and the end of the run. AfxWinMain makes
// the QApplication (a QCoreApplication for a run without windows), runs InitInstance, the
// loop and ExitInstance, and frees what is left. After a user's action or a posted message,
// once the events queued before it are handled, the loop runs one idle update pass (OnIdle).

#include "CmdTarget.h"
#include "Resources.h"

#include <memory>
#include <string>
#include <vector>

class CDocTemplate;
class CDocument;
class CRecentFileList;
class CWnd;
class QObject;

// The framework's reading of the command line; the program derives its own.
class CCommandLineInfo
{
public:
    enum TShellCommand { FileNew, FileOpen, FileNothing };
    virtual ~CCommandLineInfo() = default;
    // One parameter, with the leading "-" of a flag removed (a "/" stays: it begins a path).
    virtual void ParseParam(const wchar_t* pszParam, bool bFlag, bool bLast);

    TShellCommand m_nShellCommand = FileNew;
    std::wstring m_strFileName;
};

class CWinApp : public CCmdTarget
{
public:
    explicit CWinApp(const std::wstring& appName);
    ~CWinApp() override;

    // False when the command line asks for work without windows: the run then has no
    // QApplication and needs no display, and InitInstance must show nothing.
    virtual bool NeedsDisplay();
    virtual bool InitInstance();
    virtual int Run();
    virtual int ExitInstance();
    // The idle update pass: the main window brings its bars up to date from the update
    // handlers. True when more idle time is wanted.
    virtual bool OnIdle(long lCount);
    // Destroys the main window and the templates with their documents.
    void CleanUp();

    CWnd* GetMainWnd() const { return m_pMainWnd; }
    void SetCommandLine(const std::vector<std::string>& args) { m_args = args; }
    void ParseCommandLine(CCommandLineInfo& info);
    bool ProcessShellCommand(CCommandLineInfo& info);

    void AddDocTemplate(CDocTemplate* pTemplate); // owned from here on
    CDocTemplate* GetDocTemplate() const;
    virtual CDocument* OpenDocumentFile(const std::wstring& path);
    void LoadStdProfileSettings(int nMaxMRU);
    virtual void AddToRecentFileList(const std::wstring& path);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    bool SaveAllModified();
    void CloseAllDocuments();

    // The icon resource of that id, null when there is none.
    HICON LoadIcon(UINT nIDResource) const;

    void OnFileNew();
    bool IsQuitPosted() const { return m_bQuitPosted; }

    CWnd* m_pMainWnd = nullptr;
    std::wstring m_strAppName;

protected:
    bool OnOpenRecentFile(UINT nID);

private:
    friend void AfxPostQuitMessage(int);
    friend int AfxWinMain(int, char**);
    // Watches the events of the QApplication, once there is one, and schedules OnIdle.
    void InstallIdleHook();

    std::vector<std::string> m_args; // the parameters after the program's name
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    std::unique_ptr<QObject> m_pIdleHook;
    bool m_bRunning = false;
    bool m_bQuitPosted = false;
    int m_nExitCode = 0;
};

// The application object of the run (the last one constructed).
CWinApp* AfxGetApp();
// Ends the message loop once the messages before it are handled.
void AfxPostQuitMessage(int nExitCode);
// Deletes the widgets of windows destroyed from inside their own events.
void AfxFlushDeletedWindows();
int AfxWinMain(int argc, char** argv);
