#pragma once
// The section control: a section view with a position ruler above it, a depth ruler to its
// left and a thin bar between ruler and section that tells the direction, red along X and
// blue along Y. It is the unit that the main view, the printed page and the dialogs place in
// their layouts; it relays its view's cursor notices to its parent under its own id and sets
// its rulers again when the velocity, the unit system or the zero level change.

#include "DataSideView.h"
#include "Ruler.h"
#include "ViewCtrl.h"

#include <memory>

class C3DMatrix;

class CSideViewCtrl : public CViewCtrl
{
public:
    // Ruler font height on the screen.
    enum : int { SCREEN_FONT_HEIGHT = 14 };
    // Rows of the direction bar.
    enum : int { DIRECTION_BAR_HEIGHT = 3 };

    CSideViewCtrl();
    ~CSideViewCtrl() override;

    // The control over the parent's client area with its section view (id nID + 1) inside,
    // the rulers unbound.
    bool Create(CWnd* pParent, int nDirection, UINT nID);
    // Binds the view to the project and matrix (not owned) and ranges the rulers.
    void SetData(CProject* pProject, C3DMatrix* pMatrix);
    // Along X (1) or Y (2); the next update takes the section afresh.
    void SetDirection(int nDirection);
    // The ruler fonts at nFontHeight and the ruler thickness they give.
    void RecalcLayout(int nFontHeight);
    // Ranges, titles, scale kinds and depth parameters of both rulers from the project.
    void UpdateRulers();
    // The section, the rulers and the bar drawn onto a context whose printing flag is the
    // view's, with the control's rectangle as the origin.
    void Print(CDC* pDC);
    // The control and its view exist only for printing from now on.
    void SetPrintForm();

    // Places the rulers, the bar and the view inside the rectangle, while shown.
    void SetRect(const CRect& rect) override;
    // Showing lays the control out again in its last rectangle.
    void Show(bool bShow) override;

    int GetDirection() const { return m_nDirection; }
    CDataSideView& GetDataView() { return *m_pDataView; }
    const CRuler& GetPositionRuler() const { return m_positionRuler; }
    const CRuler& GetDepthRuler() const { return m_depthRuler; }
    // In the control's client coordinates.
    const CRect& GetDirectionBarRect() const { return m_rcDirectionBar; }

protected:
    // Puts another view in the data view's place and hands back the one that was there.
    std::unique_ptr<CDataSideView> ReplaceDataView(std::unique_ptr<CDataSideView> pView);

    void OnPaint() override;
    bool OnEraseBkgnd(CDC* pDC) override;
    LRESULT OnCursorMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnDataChanged(WPARAM wParam, LPARAM lParam);

private:
    const wchar_t* PositionTitle() const;
    void UpdatePositionRuler();
    void DrawDirectionBar(CDC& dc) const;

    int m_nDirection = CDataSideView::DIRECTION_X;
    std::unique_ptr<CDataSideView> m_pDataView;
    CRuler m_depthRuler;
    CRuler m_positionRuler;
    CRect m_rcDirectionBar;
    bool m_bShown = false;
};
