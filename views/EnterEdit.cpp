#include "EnterEdit.h"

#include "Messages.h"
#include "Values.h"

void CEnterEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        NormaliseText();
        if (CWnd* pOwner = GetParent())
            pOwner->SendMessage(WM_EDIT_ENTER, VK_RETURN, 0);
        return;
    }
    if (nChar == '-') {
        if (IsLowerBoundNegative()) {
            SetWindowText(L"-");
            SetSel(1, 1);
        }
        return;
    }
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

int CEnterEdit::NormaliseText()
{
    if (GetWindowText() == L"-")
        SetWindowText(L"0");
    std::wstring bound;
    if (GetBoundText(ReadInt(ToAnsi(GetWindowText())), bound))
        SetWindowText(bound);
    return ReadInt(ToAnsi(GetWindowText()));
}

void CEnterEdit::OnKillFocus(CWnd* pNewWnd)
{
    if (CWnd* pOwner = GetParent())
        pOwner->PostMessage(WM_EDIT_RESYNC, 0, 0);
    CEdit::OnKillFocus(pNewWnd);
}

UINT CEnterEdit::OnGetDlgCode()
{
    return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS;
}
