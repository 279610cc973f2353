#pragma once
// The application object: start-up in its fixed order, the command line ("rhd" with a
// project path, "version"), the commands that belong to no window (open, import, print setup,
// cut, copy and paste of drawing objects, exit, about) and the exit routine that File > Exit
// and the main window's close box share.

#include "MessageBoxNotifier.h"
#include "WinApp.h"

#include <cstdint>
#include <string>

class CQuarvelDoc;

// The program's own parameters; the framework's (file names, print switches) mean nothing.
class CCustomCommandLineInfo : public CCommandLineInfo
{
public:
    void ParseParam(const wchar_t* pszParam, bool bFlag, bool bLast) override;

    int32_t m_bRhd = 0;       // "rhd" was seen
    std::wstring m_strRhdPath; // the parameters after it, joined by single blanks
    int32_t m_bVersion = 0;   // "version" was seen (before any "rhd")
};

class CQuarvelApp : public CWinApp
{
public:
    CQuarvelApp();
    ~CQuarvelApp() override;

    // Only "version" runs without a display.
    bool NeedsDisplay() override;
    bool InitInstance() override;
    int ExitInstance() override;

    static std::string GetVersionString();
    // True when the program ends; false when the user chose to keep it running or the save
    // asked for failed, which leaves the project and its changes open.
    bool ExitApplication();
    // The main window's document, null before it exists.
    CQuarvelDoc* GetDocument() const;

    void OnFileOpen();
    // Runs the settings dialog; after a change the windows apply the layout and redraw, and a
    // new unit system becomes the project's. The configuration is saved either way.
    void OnOptions();
    void OnFilterOptions();
    void OnZeroLevelOptions();
    // The zero level chosen in the dialog (in samples) becomes the project's, rounded; on a
    // change the matrix is recomputed, the cross-hair kept below it and the windows told.
    void ApplyZeroLevel(float fZeroLevel);
    // Runs the import dialog; the new project is not opened.
    void OnFileImport();
    void OnFilePrintSetup();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnAppExit();
    void OnAppAbout();

private:
    void OnUpdateNeedProject(CCmdUI* pCmdUI);
    // Shows why no object can be cut, copied or pasted now; false when it cannot.
    bool CanEditDrawingObjects() const;
    void SendDrawingEvent(WORD code);

    CMessageBoxNotifier m_notifier;
};

// The running application as the program's class.
CQuarvelApp* GetQuarvelApp();
