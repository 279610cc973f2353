#pragma once
// The main view. It hosts the open project's X section, Y section and depth slice, an
// information panel with the cross-hair coordinates and the profile direction, and a
// parameter panel for the depth slice (angle, aperture, threshold), in panes arranged by the
// configured layout. Typed values become changes of the project's settings and the matching
// notifications; cursor notices of the views are relayed to the frame and to every other
// view; arrow keys go to the section under the mouse. Until a project is bound it shows the
// logo in the middle of its client area.

#include "Controls.h"
#include "DC.h"
#include "EncapEdit.h"
#include "GdiObjects.h"
#include "NumericEdit.h"
#include "PrintProjectHeader.h"
#include "SideViewCtrl.h"
#include "TopViewCtrl.h"
#include "View.h"
#include "ViewLayout.h"

#include <memory>

class CProject;
class CQuarvelDoc;

class CQuarvelView : public CView
{
public:
    // Control ids of the views and the panel controls.
    enum : UINT {
        IDC_Y_SECTION = 133,
        IDC_X_SECTION = 134,
        IDC_TOP_VIEW = 135,
        IDC_X_PROFILES = 175,
        IDC_Y_PROFILES = 176,
        IDC_EDIT_X = 304,
        IDC_EDIT_DEPTH = 305,
        IDC_EDIT_Y = 306,
        IDC_ANGLE = 307,
        IDC_APERTURE = 309,
        IDC_THRESHOLD = 311,
    };

    CQuarvelView();

    CQuarvelDoc* GetDocument() const;
    bool IsLogoMode() const { return m_bLogoMode; }

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, void* pHint) override;
    // Lays the current grid out over the client rectangle and remembers it.
    virtual void Relayout();

    CViewLayout& GetLayout() { return m_layout; }
    CSideViewCtrl& GetXSection() { return m_wndXSection; }
    CSideViewCtrl& GetYSection() { return m_wndYSection; }
    CTopViewCtrl& GetTopView() { return m_wndTopView; }
    CEncapEdit& GetCoordinateEdit(UINT nID);
    CStatic& GetUnitLabel(UINT nID);
    CNumericEdit& GetParameterEdit(UINT nID);
    CButton& GetProfileRadio(UINT nID) { return nID == IDC_X_PROFILES ? m_radioXProfiles : m_radioYProfiles; }
    int GetProfileDirection() const { return m_iProfileDirection; }

    // Printing: one page with the X section, the depth slice and the Y section side by side
    // over the project header. The print objects live from OnBeginPrinting to OnEndPrinting
    // of each job and are null outside one.
    bool OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    CSideViewCtrl* GetPrintXSection() const { return m_pPrintXSection.get(); }
    CSideViewCtrl* GetPrintYSection() const { return m_pPrintYSection.get(); }
    CTopViewCtrl* GetPrintTopView() const { return m_pPrintTopView.get(); }
    CPrintProjectHeader* GetPrintHeader() const { return m_pPrintHeader.get(); }
    CLayoutTable* GetPrintGrid() const { return m_pPrintGrid.get(); }
    // The X section's share in percent of the 66 that both sections take on the page.
    static int GetPrintWidthX(int nSizeX, int nSizeY);

protected:
    void OnSize(UINT nType, int cx, int cy) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;

private:
    // The open project while one is loaded and bound, else null.
    CProject* GetProject() const;
    void CreateChildren();
    void CreateCoordinatePanel();
    void CreateTopViewPanel();
    void BindProject();
    void UnbindProject();
    // The threshold's range from the aperture; a negative threshold becomes 0 where it must.
    void SetThresholdRange();
    void WriteCoordinateTexts();
    void WriteUnitLabels();
    void SelectConfiguredGroup();
    void OnProfileDirection(int nDirection);
    // The page grid's header row is nHeaderHeight device pixels high.
    void CreatePrintObjects(int nHeaderHeight);
    void BindPrintObjects(CQuarvelDoc& doc);

    LRESULT OnCursorMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnValueChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnLayoutChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnDataChanged(WPARAM wParam, LPARAM lParam);
    // A typed X (304) or Y (306) into the cross-hair; false when the text holds no number.
    bool TakeTypedPosition(UINT nID);
    bool TakeTypedDepth();
    // The frame gets it posted under the view's id.
    void PostToFrame(UINT message, LPARAM lParam);

    CSideViewCtrl m_wndYSection;
    CSideViewCtrl m_wndXSection;
    CTopViewCtrl m_wndTopView;

    CButton m_grpCoordinates;
    CStatic m_lblXSection;
    CEncapEdit m_editX;
    CStatic m_unitX;
    CStatic m_lblYSection;
    CEncapEdit m_editY;
    CStatic m_unitY;
    CStatic m_lblDepth;
    CEncapEdit m_editDepth;
    CStatic m_unitDepth;
    CButton m_grpProfileDirection;
    CButton m_radioXProfiles;
    CButton m_radioYProfiles;

    CButton m_grpTopView;
    CNumericEdit m_editAngle;
    CNumericEdit m_editAperture;
    CNumericEdit m_editThreshold;

    CViewLayout m_layout;
    std::unique_ptr<CSideViewCtrl> m_pPrintXSection;
    std::unique_ptr<CTopViewCtrl> m_pPrintTopView;
    std::unique_ptr<CSideViewCtrl> m_pPrintYSection;
    std::unique_ptr<CPrintProjectHeader> m_pPrintHeader;
    std::unique_ptr<CLayoutTable> m_pPrintGrid;
    bool m_bPrintObjects = false;
    int32_t m_iProfileDirection = 0; // 0 none chosen, 1 X profiles, 2 Y profiles
    bool m_bInitialized = false;     // child windows built at the first initial update
    bool m_bLogoMode = false;
    bool m_bBound = false;           // the controls hold the document's project
    CBitmap m_logo;
    CDC m_logoDC;
};
