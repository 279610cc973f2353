#pragma once
// The depth-slice control: the depth-slice view with an X ruler above it and a Y ruler to
// its left, kept in the proportions of the survey grid and centred in its rectangle. It is
// the unit that the main view, the printed page and the dialogs place in their layouts; it
// relays its view's cursor notices to its parent under its own id and sets its rulers again
// when the unit system changes.

#include "DataTopView.h"
#include "Ruler.h"
#include "ViewCtrl.h"

class C3DMatrix;

class CTopViewCtrl : public CViewCtrl
{
public:
    // Ruler font height on the screen.
    enum : int { SCREEN_FONT_HEIGHT = 14 };

    CTopViewCtrl();
    ~CTopViewCtrl() override;

    // The control over the parent's client area, its view inside, the rulers unbound.
    bool Create(CWnd* pParent, UINT nID);
    // Binds the view to the project and matrix (not owned) and ranges the rulers.
    void SetProject(CProject* pProject, C3DMatrix* pMatrix);
    // The ruler fonts at nFontHeight and the ruler thickness they give.
    void RecalcLayout(int nFontHeight);
    // Ranges, titles and scale kinds of both rulers from the project.
    void UpdateRulers();
    // The view and the rulers drawn onto a context whose printing flag is the view's, with
    // the control's rectangle as the origin.
    void Print(CDC* pDC);
    // The control and its view exist only for printing from now on.
    void SetPrintForm();

    // Places the image area, the rulers and the view inside the rectangle.
    void SetRect(const CRect& rect) override;
    void Show(bool bShow) override;

    bool IsBound() const { return m_bBound; }
    CDataTopView& GetDataView() { return m_dataView; }
    const CRuler& GetXRuler() const { return m_xRuler; }
    const CRuler& GetYRuler() const { return m_yRuler; }
    // In the control's client coordinates.
    const CRect& GetImageRect() const { return m_rcImage; }

protected:
    void OnPaint() override;
    bool OnEraseBkgnd(CDC* pDC) override;
    LRESULT OnCursorMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnDataChanged(WPARAM wParam, LPARAM lParam);

private:
    bool m_bBound = false;
    CDataTopView m_dataView;
    CRuler m_xRuler;
    CRuler m_yRuler;
    CRect m_rcImage;
};
