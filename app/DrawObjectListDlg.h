#pragma once
// The object list (template 170), opened from the drawing tool window: one row per drawing
// object in the manager's order, with a check box for its visibility and a swatch of its
// colour; the overlay's frame and blending switches; removal of the selected or of all
// objects; show all and hide all. Every change goes to the frame as WM_DRAWING_EVENT with
// wParam 170; while a view is drawing or moving an object every edit is refused with a
// message and the list is set back. The frame's drawing events keep the list in step: a
// selection in a view selects the same row, an object added or removed rebuilds the list.
// Closing it remembers its place; WM_TOOL_CLOSED (0) goes to the tool window once the window
// is gone.

#include "Controls.h"
#include "Dialog.h"
#include "ImageList.h"
#include "ResourceIds.h"

class CDrawToolDlg;

class CDrawObjectListDlg : public CDialog
{
public:
    enum : UINT { IDD = IDD_OBJECTLIST };

    explicit CDrawObjectListDlg(CDrawToolDlg* pOwner);

    CListCtrl& GetList() { return m_list; }
    const CImageList& GetImageList() const { return m_imageList; }

protected:
    bool OnInitDialog() override;
    // "Close", Escape and the close box all close the list.
    void OnOK() override { CloseList(); }
    void OnCancel() override { CloseList(); }
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // Rebuilds the rows, swatches, selection and check boxes from the manager.
    void FillList();
    // Under m_bUpdating: the rows' selection becomes the manager's.
    void SelectManagersObject();
    LRESULT OnItemChanged(const NMLISTVIEW& change);
    void OnOptionCheck(CButton& check);
    void OnRemoveSelected();
    void OnRemoveAll();
    void OnShowAll(bool bVisible);
    void SendDrawingEvent(WORD code, int argument);
    LRESULT OnDrawingEvent(WPARAM wParam, LPARAM lParam);
    void CloseList();

    CDrawToolDlg* m_pOwner;
    HWND m_hOwner = nullptr; // a tool window gone meanwhile is told nothing
    CImageList m_imageList; // the rows' colour swatches; outlives the list that shows them
    CListCtrl m_list;
    CButton m_checkFrame;
    CButton m_checkBlending;
    bool m_bUpdating = false;       // the dialog changes the list: its notifications mean nothing
    bool m_bListInitialized = false;
};
