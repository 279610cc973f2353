#include "ViewCtrl.h"

#include "DC.h"
#include "Messages.h"

void CViewCtrl::PrintAt(CDC* pDC, bool bForPrinting, const std::function<void(CDC&)>& drawParts)
{
    if (!m_bCreated || !pDC || pDC->IsPrinting() != bForPrinting)
        return;
    const CPoint oldOrigin = pDC->SetViewportOrg(m_rcOuter.left, m_rcOuter.top);
    drawParts(*pDC);
    pDC->SetViewportOrg(oldOrigin);
}

bool CViewCtrl::RelayViewNotice(WPARAM wParam, LPARAM lParam, int nViewId)
{
    if (wParam != WPARAM(nViewId))
        return false;
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(WM_CURSOR_MOVED, WPARAM(GetDlgCtrlID()), lParam);
    return true;
}
