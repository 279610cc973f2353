#include "QuarvelView.h"

#include "QuarvelDoc.h"
#include "ResourceIds.h"

#include "MessageLog.h"
#include "Units.h"

CQuarvelView::CQuarvelView()
{
    m_crBackground = COLOR_BTNFACE_VALUE;
    RegisterDefaultUnitNames();
    g_messageLog.Log(LOG_LOG, "create QuarvelView()");
}

CQuarvelDoc* CQuarvelView::GetDocument() const
{
    return dynamic_cast<CQuarvelDoc*>(CView::GetDocument());
}

void CQuarvelView::OnInitialUpdate()
{
    if (!m_bInitialized) {
        g_messageLog.Log(LOG_LOG, "Initialize QuarvelView.");
        if (m_logo.LoadBitmap(IDB_LOGO)) {
            m_logoDC.CreateCompatibleDC(nullptr);
            m_logoDC.SelectObject(&m_logo);
        }
        m_bInitialized = true;
        m_bLogoMode = true;
    } else {
        m_bLogoMode = false;
    }
    Invalidate();
}

void CQuarvelView::OnUpdate(CView*, LPARAM lHint, void*)
{
    if (lHint == CQuarvelDoc::HINT_PROJECT_CLOSED && m_bInitialized)
        m_bLogoMode = true;
    Invalidate();
}

void CQuarvelView::OnDraw(CDC* pDC)
{
    if (!m_bLogoMode || !m_logo.IsCreated())
        return;
    CRect client;
    GetClientRect(&client);
    const CSize size = m_logo.GetSize();
    pDC->BitBlt((client.Width() - size.cx) / 2, (client.Height() - size.cy) / 2, size.cx, size.cy, &m_logoDC, 0, 0,
                SRCCOPY);
}
