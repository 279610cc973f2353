#pragma once
// The settings dialog of Options: the pages "Window", "Colours" and "Projects" in a tab
// control. OK applies every page to the configuration; the caller saves it and tells the
// windows when m_bChanged says that a page changed a setting.

#include "ConfigTabCtrl.h"
#include "Dialog.h"

#include <memory>

class CConfigTab1Dlg;
class CConfigTab2Dlg;
class CConfigTab3Dlg;

class CConfigDlg : public CDialog
{
public:
    explicit CConfigDlg(CWnd* pParent = nullptr);
    ~CConfigDlg() override;

    CConfigTabCtrl& GetTabCtrl() { return m_tabCtrl; }
    CConfigTab1Dlg* GetWindowPage() const { return m_pTab1.get(); }
    CConfigTab2Dlg* GetColoursPage() const { return m_pTab2.get(); }
    CConfigTab3Dlg* GetProjectsPage() const { return m_pTab3.get(); }

    bool m_bChanged = false;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CConfigTabCtrl m_tabCtrl;
    std::unique_ptr<CConfigTab1Dlg> m_pTab1;
    std::unique_ptr<CConfigTab2Dlg> m_pTab2;
    std::unique_ptr<CConfigTab3Dlg> m_pTab3;
};
