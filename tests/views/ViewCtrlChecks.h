#pragma once
// What the view-control tests share: where a window lies in its parent, and a check for
// degenerate layouts.

#include "GuiTestSupport.h"
#include "Ruler.h"

#include "DC.h"
#include "Wnd.h"

#include <QImage>
#include <gtest/gtest.h>

// The window's rectangle in the parent's client coordinates.
inline CRect WindowRectIn(const CWnd& wnd, const CWnd& parent)
{
    CRect rect;
    wnd.GetWindowRect(&rect);
    CPoint corner(rect.left, rect.top);
    parent.ScreenToClient(&corner);
    return CRect(corner.x, corner.y, corner.x + rect.Width(), corner.y + rect.Height());
}

// After the control has painted, neither ruler has a negative length or thickness, and the
// control prints onto a small page.
template <typename TCtrl>
void ExpectPaintsAndPrintsWithoutNegativeRulers(TCtrl& ctrl, const CRuler& horizontal, const CRuler& vertical,
                                                int pageSize)
{
    ProcessEvents();
    ctrl.UpdateWindow();
    for (const CRuler* pRuler : {&horizontal, &vertical}) {
        EXPECT_GE(pRuler->GetSettings().m_nLength, 0);
        EXPECT_GE(pRuler->GetSettings().m_nThickness, 0);
    }
    QImage page(pageSize, pageSize, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&page);
    ctrl.Print(&dc);
}
