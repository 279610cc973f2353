#pragma once
// What the depth-slice control and the section controls share: the layout's view of them
// (no size of their own, the window's control id), the created flag, the project they
// show, the ruler thickness and the outer rectangle, printing at that rectangle, and the
// relay of their view's cursor notices to the parent under the control's own id.

#include "Containable.h"
#include "Wnd.h"

#include <functional>

class CDC;
class CProject;

class CViewCtrl : public CWnd, public ICContainable
{
public:
    CSize GetSize() const override { return CSize(0, 0); }
    CSize GetMinSize() const override { return CSize(0, 0); }
    int GetID() const override { return GetDlgCtrlID(); }

    bool IsCreated() const { return m_bCreated; }
    int GetRulerThickness() const { return m_nRulerThickness; }
    // In the parent's client coordinates.
    const CRect& GetOuterRect() const { return m_rcOuter; }

protected:
    CViewCtrl() = default;

    // Only when created and the context's printing flag is bForPrinting: the parts drawn
    // with the outer rectangle's top-left corner as the origin.
    void PrintAt(CDC* pDC, bool bForPrinting, const std::function<void(CDC&)>& drawParts);
    // A notice from the view with id nViewId is posted on to the parent under the control's
    // own id; true when it was the view's.
    bool RelayViewNotice(WPARAM wParam, LPARAM lParam, int nViewId);

    bool m_bCreated = false;
    CProject* m_pProject = nullptr;
    int m_nRulerThickness = 0;
    CRect m_rcOuter;
};
