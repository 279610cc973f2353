#include "TextDialog.h"

#include "ResourceIds.h"

CTextDialog::CTextDialog(CWnd* pParent) : CDialog(IDD_TEXTDIALOG, pParent)
{
    MapCommand(IDNO, [this] { EndDialog(IDNO); }, BN_CLICKED);
}

void CTextDialog::OnOK()
{
    EndDialog(IDYES);
}
