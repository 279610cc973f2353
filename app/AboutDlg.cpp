#include "AboutDlg.h"

#include "QuarvelApp.h"
#include "ResourceIds.h"

#include "Values.h"
#include "Version.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

bool CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* pText = GetDlgItem(IDC_ABOUT_TEXT))
        pText->SetWindowText(FromAnsi(PROGRAM_NAME) + L" " + FromAnsi(CQuarvelApp::GetVersionString()));
    return true;
}
