#include "View.h"

#include "DC.h"
#include "Document.h"
#include "FrameWnd.h"

CView::CView()
{
    m_crBackground = RGB(255, 255, 255);
}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (CWnd* pWnd = GetParent(); pWnd; pWnd = pWnd->GetParent())
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(pWnd))
            return pFrame;
    return nullptr;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, void*)
{
    Invalidate(true);
}

bool CView::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pCmdUI);
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITIALUPDATE) {
        OnInitialUpdate();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::PostNcDestroy()
{
    delete this;
}
