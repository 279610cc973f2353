#include "DrawObjectListDlg.h"

#include "DC.h"
#include "DrawToolDlg.h"
#include "DrawingBusyMessage.h"
#include "GdiObjects.h"
#include "Messages.h"

#include "Cfg.h"
#include "DrawingManager.h"

namespace {
const int kSwatchSize = 16;
const COLORREF kSwatchFrame = 0x646464;
const int kSwatchGrowth = 5;

// Sets a flag for as long as it lives and puts back what it was before.
class CFlagSet
{
public:
    explicit CFlagSet(bool& bFlag) : m_bFlag(bFlag), m_bBefore(bFlag) { m_bFlag = true; }
    ~CFlagSet() { m_bFlag = m_bBefore; }
    CFlagSet(const CFlagSet&) = delete;
    CFlagSet& operator=(const CFlagSet&) = delete;

private:
    bool& m_bFlag;
    bool m_bBefore;
};
} // namespace

CDrawObjectListDlg::CDrawObjectListDlg(CDrawToolDlg* pOwner) : CDialog(IDD, pOwner), m_pOwner(pOwner)
{
    AttachDlgItem(IDC_OBJECT_LIST, m_list);
    AttachDlgItem(IDC_OBJECT_FRAME, m_checkFrame);
    AttachDlgItem(IDC_OBJECT_BLENDING, m_checkBlending);
    MapNotify(IDC_OBJECT_LIST, LVN_ITEMCHANGED,
              [this](NMHDR* pHeader) { return OnItemChanged(*reinterpret_cast<NMLISTVIEW*>(pHeader)); });
    MapMessage(WM_DRAWING_EVENT, [this](WPARAM wParam, LPARAM lParam) { return OnDrawingEvent(wParam, lParam); });
}

bool CDrawObjectListDlg::OnInitDialog()
{
    m_hOwner = m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr;
    if (g_cfg.HasWinPos(IDD)) {
        const CCfg::CWinPos place = g_cfg.GetWinPos(IDD);
        CRect rect;
        GetWindowRect(&rect);
        MoveWindow(place.m_x, place.m_y, rect.Width(), rect.Height());
    }
    FillList();
    m_checkFrame.SetCheck(g_drawingManager.GetDrawFrame() ? BST_CHECKED : BST_UNCHECKED);
    m_checkBlending.SetCheck(g_drawingManager.GetOverlay() ? BST_CHECKED : BST_UNCHECKED);
    m_bListInitialized = true;
    m_bUpdating = false;
    return true;
}

void CDrawObjectListDlg::FillList()
{
    m_bUpdating = true;
    m_list.DeleteAllItems();
    if (!m_bListInitialized) {
        m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT |
                                LVS_EX_SUBITEMIMAGES);
        m_list.InsertColumn(0, L"Visible", LVCFMT_CENTER, 43);
        m_list.InsertColumn(1, L"Color", LVCFMT_CENTER, 43);
        m_list.InsertColumn(2, L"Comment", LVCFMT_CENTER, 200);
        m_imageList.Create(kSwatchSize, kSwatchSize, ILC_COLOR24, g_drawingManager.GetCount(), kSwatchGrowth);
    } else {
        m_list.SetImageList(nullptr, LVSIL_SMALL);
    }
    m_imageList.Remove(-1);

    const CRect swatchRect(0, 0, kSwatchSize, kSwatchSize);
    CBrush frame(kSwatchFrame);
    for (int i = 0; i < g_drawingManager.GetCount(); ++i) {
        CBitmap swatch;
        swatch.CreateBitmap(kSwatchSize, kSwatchSize);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&swatch);
        dc.FillSolidRect(&swatchRect, g_drawingManager.GetObject(i)->GetBrushColor());
        dc.FrameRect(&swatchRect, &frame);
        dc.DeleteDC();
        const int nImage = m_imageList.Add(&swatch);
        m_list.InsertItem(i, L"");
        m_list.SetItemImage(i, 1, nImage);
        m_list.SetItemText(i, 1, L"");
        m_list.SetItemText(i, 2, L"");
    }

    m_list.SetImageList(&m_imageList, LVSIL_SMALL);
    const int nSelected = g_drawingManager.GetSelected();
    if (nSelected >= 0 && nSelected < m_list.GetItemCount())
        m_list.SetItemState(nSelected, LVIS_SELECTED, LVIS_SELECTED);
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        m_list.SetCheck(i, g_drawingManager.GetObject(i)->m_bVisible);
    if (m_bListInitialized)
        m_bUpdating = false;
}

void CDrawObjectListDlg::SelectManagersObject()
{
    const CFlagSet updating(m_bUpdating);
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    const int nSelected = g_drawingManager.GetSelected();
    if (nSelected >= 0 && nSelected < m_list.GetItemCount())
        m_list.SetItemState(nSelected, LVIS_SELECTED, LVIS_SELECTED);
}

LRESULT CDrawObjectListDlg::OnItemChanged(const NMLISTVIEW& change)
{
    if (m_bUpdating)
        return 0;
    const int nItem = change.iItem;
    const UINT changed = change.uOldState ^ change.uNewState;
    if (changed & LVIS_STATEIMAGEMASK) {
        const bool bChecked = (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
        if (g_drawingManager.IsBusy()) {
            {
                const CFlagSet updating(m_bUpdating);
                m_list.SetCheck(nItem, !bChecked);
            }
            ShowDrawingBusyMessage();
            return 0;
        }
        if (Tovrik::CDrawDataObject* pObject = g_drawingManager.GetObject(nItem)) {
            pObject->m_bVisible = bChecked;
            SendDrawingEvent(DRAW_REDRAW, DRAW_NO_OBJECT);
        }
    }
    if (changed & LVIS_SELECTED) {
        const bool bSelected = (change.uNewState & LVIS_SELECTED) != 0;
        if (g_drawingManager.IsBusy()) {
            // The rows keep the manager's selection; once set back, the rest of the same
            // click finds them as they were and says nothing more.
            if (bSelected != (nItem == g_drawingManager.GetSelected())) {
                SelectManagersObject();
                ShowDrawingBusyMessage();
            }
            return 0;
        }
        if (bSelected)
            g_drawingManager.SelectObject(nItem);
        else
            g_drawingManager.ClearSelection();
        SendDrawingEvent(DRAW_SELECTION, g_drawingManager.GetSelected());
        if (bSelected)
            m_list.EditLabel(nItem);
    }
    return 0;
}

bool CDrawObjectListDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_OBJECT_FRAME: OnOptionCheck(m_checkFrame); return true;
        case IDC_OBJECT_BLENDING: OnOptionCheck(m_checkBlending); return true;
        case IDC_REMOVE_SELECTED: OnRemoveSelected(); return true;
        case IDC_REMOVE_ALL: OnRemoveAll(); return true;
        case IDC_SHOW_ALL: OnShowAll(true); return true;
        case IDC_HIDE_ALL: OnShowAll(false); return true;
        default: break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDrawObjectListDlg::OnOptionCheck(CButton& check)
{
    const bool bChecked = check.GetCheck() == BST_CHECKED;
    if (g_drawingManager.IsBusy()) {
        check.SetCheck(bChecked ? BST_UNCHECKED : BST_CHECKED);
        ShowDrawingBusyMessage();
        return;
    }
    if (&check == &m_checkFrame)
        g_drawingManager.SetDrawFrame(bChecked);
    else
        g_drawingManager.SetOverlay(bChecked);
    SendDrawingEvent(DRAW_REDRAW_STYLE, DRAW_NO_OBJECT);
}

void CDrawObjectListDlg::OnRemoveSelected()
{
    if (g_drawingManager.IsBusy()) {
        ShowDrawingBusyMessage();
        return;
    }
    const int nItem = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (nItem < 0 || nItem >= g_drawingManager.GetCount())
        return;
    g_drawingManager.RemoveObject(nItem);
    FillList();
    SendDrawingEvent(DRAW_REMOVED, nItem);
}

void CDrawObjectListDlg::OnRemoveAll()
{
    if (g_drawingManager.IsBusy()) {
        ShowDrawingBusyMessage();
        return;
    }
    g_drawingManager.RemoveAll();
    FillList();
    SendDrawingEvent(DRAW_REMOVED, DRAW_NO_OBJECT);
}

void CDrawObjectListDlg::OnShowAll(bool bVisible)
{
    if (g_drawingManager.IsBusy()) {
        ShowDrawingBusyMessage();
        return;
    }
    {
        const CFlagSet updating(m_bUpdating);
        m_list.SetCheck(-1, bVisible);
    }
    for (int i = 0; i < g_drawingManager.GetCount(); ++i)
        g_drawingManager.GetObject(i)->m_bVisible = bVisible;
    SendDrawingEvent(DRAW_REDRAW, DRAW_NO_OBJECT);
}

void CDrawObjectListDlg::SendDrawingEvent(WORD code, int argument)
{
    auto* pOwner = dynamic_cast<CDrawToolDlg*>(FromHandle(m_hOwner));
    if (CWnd* pFrame = pOwner ? pOwner->GetFrame() : nullptr)
        pFrame->SendMessage(WM_DRAWING_EVENT, ID_SENDER_OBJECT_LIST, MakeCodeParam(code, argument));
}

LRESULT CDrawObjectListDlg::OnDrawingEvent(WPARAM wParam, LPARAM lParam)
{
    if (wParam == ID_SENDER_OBJECT_LIST)
        return 0;
    switch (GetCode(lParam)) {
    case DRAW_SELECTION: SelectManagersObject(); break;
    case DRAW_ADDED:
    case DRAW_REMOVED: FillList(); break;
    default: break;
    }
    return 0;
}

void CDrawObjectListDlg::CloseList()
{
    CRect rect;
    GetWindowRect(&rect);
    g_cfg.SetWinPos(IDD, rect.left, rect.top);
    DestroyWindow();
}

void CDrawObjectListDlg::PostNcDestroy()
{
    if (CWnd* pOwner = FromHandle(m_hOwner))
        pOwner->PostMessage(WM_TOOL_CLOSED, 0, 0);
}
