#include "ConfigDlg.h"

#include "ConfigTab1Dlg.h"
#include "ConfigTab2Dlg.h"
#include "ConfigTab3Dlg.h"
#include "ResourceIds.h"

CConfigDlg::CConfigDlg(CWnd* pParent) : CDialog(IDD_CONFIG, pParent)
{
    AttachDlgItem(IDC_CONFIG_TABS, m_tabCtrl);
}

CConfigDlg::~CConfigDlg()
{
    // The pages are children of the dialog's window: it goes first.
    if (GetSafeHwnd())
        DestroyWindow();
}

bool CConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The pages are children of the tab control's parent, the dialog.
    m_pTab1 = std::make_unique<CConfigTab1Dlg>();
    m_pTab1->Create(IDD_CONFIG_TAB1, this);
    m_pTab1->LoadSettings();
    m_pTab2 = std::make_unique<CConfigTab2Dlg>();
    m_pTab2->Create(IDD_CONFIG_TAB2, this);
    m_pTab2->LoadSettings();
    m_pTab3 = std::make_unique<CConfigTab3Dlg>();
    m_pTab3->Create(IDD_CONFIG_TAB3, this);
    m_pTab3->LoadSettings();

    m_tabCtrl.AddPage(m_pTab1.get(), L"Window");
    m_tabCtrl.AddPage(m_pTab2.get(), L"Colours");
    m_tabCtrl.AddPage(m_pTab3.get(), L"Projects");
    return true;
}

void CConfigDlg::OnOK()
{
    // Every page is applied, whatever the earlier ones report.
    const bool bWindow = m_pTab1->Apply();
    const bool bColours = m_pTab2->Apply();
    const bool bProjects = m_pTab3->Apply();
    m_bChanged = bWindow || bColours || bProjects;
    EndDialog(IDOK);
}
