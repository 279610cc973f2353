#pragma once
// The import dialog: the user picks the folder of the recorded profiles and the project
// folder, names the project, lists the vertical and the horizontal profiles on two pages and
// gives the distance between neighbouring profiles. OK creates the project on disk (it opens
// nothing) and remembers both folders in the configuration.

#include "ConfigTabCtrl.h"
#include "Dialog.h"
#include "ImportTab1Dlg.h"
#include "Services.h"

#include <string>

class CImportDlg : public CDialog
{
public:
    explicit CImportDlg(CWnd* pParent = nullptr);

    // S_OK with the chosen folder's path in path; otherwise the picker's code, path untouched.
    HRESULT BrowseFolder(std::wstring& path);
    static std::wstring GetLastImportFolder();
    static std::wstring GetLastProjectFolder();

    CImportTab1Dlg& GetVerticalPage() { return m_pageVertical; }
    CImportTab1Dlg& GetHorizontalPage() { return m_pageHorizontal; }
    CConfigTabCtrl& GetTabCtrl() { return m_tabs; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void OnBrowseImportFolder();
    void OnBrowseProjectFolder();
    // The page of a type, null when none has it.
    CImportTab1Dlg* FindPage(int nPageType);
    std::wstring ItemText(int nID) const;
    void SetItemText(int nID, const std::wstring& text);
    // A box over the dialog with the application's caption and an OK button.
    void Tell(const std::wstring& text);

    CConfigTabCtrl m_tabs;
    CImportTab1Dlg m_pageVertical;
    CImportTab1Dlg m_pageHorizontal;
};

// The distance between profiles as typed: a whole decimal number, blanks around it allowed;
// false for anything else.
bool ParseProfileDistance(const std::wstring& text, double& value);
