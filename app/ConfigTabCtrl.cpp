#include "ConfigTabCtrl.h"

void CConfigTabCtrl::AddPage(CWnd* pPage, const std::wstring& caption)
{
    m_pages.push_back(pPage);
    m_captions.push_back(caption);
    InsertItem(GetItemCount(), caption);
    SetCurSel(0);
    ShowSelectedPage();
}

void CConfigTabCtrl::ShowSelectedPage()
{
    const int selected = GetCurSel();
    if (selected < 0 || selected >= int(m_pages.size()))
        return;
    CWnd* pSelected = m_pages[size_t(selected)];
    if (pSelected)
        pSelected->ShowWindow(SW_HIDE);

    // The display area in the parent's coordinates, where the pages live.
    CRect area;
    GetClientRect(&area);
    AdjustRect(false, &area);
    CRect placed;
    GetWindowRect(&placed);
    if (CWnd* pParent = GetParent()) {
        CPoint origin(placed.left, placed.top);
        pParent->ScreenToClient(&origin);
        area.OffsetRect(origin.x, origin.y);
    }
    for (CWnd* pPage : m_pages)
        if (pPage)
            pPage->SetWindowPos(&wndTop, area.left, area.top, area.Width(), area.Height(), SWP_HIDEWINDOW);
    if (pSelected) {
        pSelected->SetWindowPos(&wndTop, area.left, area.top, area.Width(), area.Height(), SWP_SHOWWINDOW);
        pSelected->ShowWindow(SW_SHOW);
    }
}

bool CConfigTabCtrl::OnNotifyReflect(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (pNMHDR->code != TCN_SELCHANGE)
        return false;
    ShowSelectedPage();
    *pResult = 0;
    return true;
}
