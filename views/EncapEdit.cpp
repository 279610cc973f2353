#include "EncapEdit.h"

#include "Messages.h"

void CEncapEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_VALUE_CHANGED, WPARAM(GetDlgCtrlID()), 0);
        return;
    }
    const bool bControl = nChar < 0x20 || nChar == 0x7F;
    const bool bDigit = nChar >= '0' && nChar <= '9';
    const bool bPasses = bControl || (m_iMode == MODE_DIGITS && bDigit) ||
                         (m_iMode == MODE_DECIMAL && (bDigit || nChar == '.'));
    if (bPasses)
        CEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CEncapEdit::OnKillFocus(CWnd* pNewWnd)
{
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(WM_VALUE_CHANGED, WPARAM(GetDlgCtrlID()), 0);
    CEdit::OnKillFocus(pNewWnd);
}

UINT CEncapEdit::OnGetDlgCode()
{
    return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS;
}
