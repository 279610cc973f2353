#include "SliderDialog.h"

#include "Controls.h"
#include "Messages.h"

#include "MessageLog.h"

#include <string>

CSliderDialog::CSliderDialog(UINT nNotifyID, CWnd* pParent)
    : CDialog(IDD, pParent), m_nNotifyID(nNotifyID), m_pNotifyWnd(pParent)
{
    MapMessage(WM_HSCROLL, [this](WPARAM wParam, LPARAM) { return OnScroll(wParam); });
    MapMessage(WM_VSCROLL, [this](WPARAM wParam, LPARAM) { return OnScroll(wParam); });
}

std::unique_ptr<CSliderDialog> CSliderDialog::Make(UINT nNotifyID, CWnd* pOwner, const wchar_t* pszCaption, int nMax,
                                                   int nPos)
{
    auto pNew = std::make_unique<CSliderDialog>(nNotifyID, pOwner);
    if (!pNew->Create(IDD, pOwner)) {
        g_messageLog.Log(LOG_ERROR, "CSliderDialog::Make: the slider pop-up %u could not be created.", nNotifyID);
        return nullptr;
    }
    pNew->SetWindowText(pszCaption);
    if (pNew->m_pSlider)
        pNew->m_pSlider->SetRange(1, nMax);
    pNew->SetPos(nPos);
    return pNew;
}

bool CSliderDialog::OnInitDialog()
{
    m_hNotifyWnd = m_pNotifyWnd ? m_pNotifyWnd->GetSafeHwnd() : nullptr;
    m_pSlider = dynamic_cast<CSliderCtrl*>(GetDlgItem(IDC_SLIDER_TRACKBAR));
    m_pEdit = dynamic_cast<CEdit*>(GetDlgItem(IDC_SLIDER_VALUE));
    return true;
}

void CSliderDialog::SetPos(int nPos)
{
    m_nPos = nPos;
    if (m_pSlider) {
        m_pSlider->SetPos(nPos);
        m_pSlider->Invalidate();
    }
    if (m_pEdit)
        m_pEdit->SetWindowText(std::to_wstring(nPos));
}

LRESULT CSliderDialog::OnScroll(WPARAM wParam)
{
    const UINT code = GetScrollParamCode(wParam);
    if (code == TB_THUMBPOSITION || code == TB_THUMBTRACK)
        m_nPos = GetScrollParamPos(wParam);
    else if (m_pSlider)
        m_nPos = m_pSlider->GetPos();
    if (m_pEdit)
        m_pEdit->SetWindowText(std::to_wstring(m_nPos));
    if (CWnd* pParent = FromHandle(m_hNotifyWnd))
        pParent->SendMessage(WM_VALUE_CHANGED, m_nNotifyID, 0);
    return 0;
}

void CSliderDialog::OnClose()
{
    CRect rect;
    GetWindowRect(&rect);
    m_nLeft = rect.left;
    m_nTop = rect.top;
    // The dialog's own handling presses Cancel, which leaves the pop-up open.
    CDialog::OnClose();
    DestroyWindow();
}

void CSliderDialog::PostNcDestroy()
{
    if (CWnd* pParent = FromHandle(m_hNotifyWnd))
        pParent->PostMessage(WM_TOOL_CLOSED, m_nNotifyID, 0);
    m_pSlider = nullptr;
    m_pEdit = nullptr;
}
