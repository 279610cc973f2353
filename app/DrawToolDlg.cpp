#include "DrawToolDlg.h"

#include "ColorDialog.h"
#include "Controls.h"
#include "DC.h"
#include "DrawObjectListDlg.h"
#include "Messages.h"

#include "Cfg.h"
#include "DrawingManager.h"
#include "MessageLog.h"

#include <algorithm>
#include <iterator>

namespace {
using Tovrik::CDrawingManager;

// The tool buttons: their tool, the pen width of its style and their icon.
struct CToolButton
{
    int nID;
    int32_t nTool;
    int32_t nPenWidth;
    UINT nIcon;
};
const CToolButton kToolButtons[] = {
    {IDC_DRAW_SELECT, CDrawingManager::TOOL_SELECT, 1, IDI_DRAW_SELECT},
    {IDC_DRAW_LINE, CDrawingManager::TOOL_LINE, 2, IDI_DRAW_LINE},
    {IDC_DRAW_RECT, CDrawingManager::TOOL_RECT, 1, IDI_DRAW_RECT},
    {IDC_DRAW_CIRCLE, CDrawingManager::TOOL_CIRCLE, 1, IDI_DRAW_CIRCLE},
};

// The blend alpha's range; the maximum lies at the strip's top.
const int kOpacityMax = 255;
} // namespace

CDrawToolDlg::CDrawToolDlg(CWnd* pFrame) : CDialog(IDD, pFrame), m_pFrame(pFrame)
{
    MapMessage(WM_DRAWING_EVENT, [this](WPARAM wParam, LPARAM lParam) { return OnDrawingEvent(wParam, lParam); });
    MapMessage(WM_TOOL_CLOSED, [this](WPARAM, LPARAM) { return OnToolClosed(); });
}

CDrawToolDlg::~CDrawToolDlg() = default;

bool CDrawToolDlg::OnInitDialog()
{
    m_hFrame = m_pFrame ? m_pFrame->GetSafeHwnd() : nullptr;
    if (g_cfg.HasWinPos(IDD)) {
        const CCfg::CWinPos place = g_cfg.GetWinPos(IDD);
        CRect rect;
        GetWindowRect(&rect);
        MoveWindow(place.m_x, place.m_y, rect.Width(), rect.Height());
    }
    for (const CToolButton& button : kToolButtons) {
        auto* pButton = dynamic_cast<CButton*>(GetDlgItem(button.nID));
        if (!pButton)
            continue;
        pButton->SetIcon(AfxFindIcon(button.nIcon));
        pButton->SetCheck(button.nTool == g_drawingManager.GetTool() ? BST_CHECKED : BST_UNCHECKED);
    }

    CRect client;
    GetClientRect(&client);
    const CRect select = GetItemRect(IDC_DRAW_SELECT);
    const CRect circle = GetItemRect(IDC_DRAW_CIRCLE);
    const CRect objects = GetItemRect(IDC_DRAW_OBJECTS);
    m_strip.Create(this, CRect(circle.right + 6, select.top + 1, client.right - 4, circle.bottom), 0, kOpacityMax,
                   true);
    m_strip.SetValue(0);
    m_strip.SetValue(std::clamp(g_drawingManager.GetBlendAlpha(), 0, kOpacityMax));

    // The circle button's size less 3 pixels a side, centred across the window and between the
    // circle button and "Objects".
    const CSize size(std::max(0, circle.Width() - 6), std::max(0, circle.Height() - 6));
    const int left = (client.Width() - size.cx) / 2;
    const int top = circle.bottom + (objects.top - circle.bottom - size.cy) / 2;
    m_rcPreview = CRect(CPoint(left, top), size);
    return true;
}

CRect CDrawToolDlg::GetItemRect(int nID) const
{
    const CWnd* pItem = GetDlgItem(nID);
    if (!pItem)
        return CRect();
    CRect rect;
    pItem->GetWindowRect(&rect);
    CPoint topLeft = rect.TopLeft(), bottomRight = rect.BottomRight();
    ScreenToClient(&topLeft);
    ScreenToClient(&bottomRight);
    return CRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
}

void CDrawToolDlg::OnPaint()
{
    CPaintDC dc(this);
    m_strip.Paint(dc);
    CBrush brush(g_drawingManager.GetColor());
    dc.FillRect(&m_rcPreview, &brush);
}

void CDrawToolDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bButtonDown = true;
    if (m_strip.GetRect().PtInRect(point)) {
        m_strip.SetDragging(true);
        OnMouseMove(nFlags | MK_LBUTTON, point);
    } else if (m_rcPreview.PtInRect(point)) {
        ChooseColor();
    }
}

void CDrawToolDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bButtonDown)
        return;
    if (!(nFlags & MK_LBUTTON)) {
        m_bButtonDown = false;
        m_strip.SetDragging(false);
        return;
    }
    // Only a press on the strip drags it.
    if (m_strip.IsDragging() && m_strip.DragTo(point.y))
        if (CWnd* pFrame = GetFrame())
            pFrame->PostMessage(WM_VALUE_CHANGED, ID_SENDER_DRAW_TOOL, 0);
}

void CDrawToolDlg::OnLButtonUp(UINT, CPoint)
{
    m_bButtonDown = false;
    m_strip.SetDragging(false);
}

void CDrawToolDlg::ChooseColor()
{
    CColorDialog dialog(0, this);
    if (dialog.DoModal() != IDOK)
        return;
    g_drawingManager.SetColor(dialog.GetColor());
    Invalidate();
    UpdateWindow();
}

bool CDrawToolDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        const int nID = LOWORD(wParam);
        if (nID == IDC_DRAW_OBJECTS) {
            OnObjects();
            return true;
        }
        if (std::any_of(std::begin(kToolButtons), std::end(kToolButtons),
                        [nID](const CToolButton& button) { return button.nID == nID; })) {
            OnToolButton(nID);
            return true;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDrawToolDlg::OnReturnKey()
{
    if (HasFocus(IDC_DRAW_OBJECTS))
        OnObjects();
    else
        CloseTool();
}

void CDrawToolDlg::OnToolButton(int nID)
{
    const auto button = std::find_if(std::begin(kToolButtons), std::end(kToolButtons),
                                     [nID](const CToolButton& b) { return b.nID == nID; });
    const int32_t nPrevious = g_drawingManager.GetTool();
    g_drawingManager.SetTool(button->nTool);
    g_drawingManager.SetStyle(g_drawingManager.GetColor(), button->nPenWidth);
    if (CWnd* pFrame = GetFrame())
        pFrame->SendMessage(WM_DRAWING_EVENT, ID_SENDER_DRAW_TOOL_DLG, MakeCodeParam(DRAW_TOOL_CHANGED, nPrevious));
}

void CDrawToolDlg::OnObjects()
{
    if (m_pObjectList && m_pObjectList->GetSafeHwnd()) {
        m_pObjectList->SetActiveWindow();
        return;
    }
    auto pList = std::make_unique<CDrawObjectListDlg>(this);
    if (!pList->Create(CDrawObjectListDlg::IDD, this)) {
        g_messageLog.Log(LOG_ERROR, "CDrawToolDlg: the object list could not be created.");
        return;
    }
    pList->ShowWindow(SW_SHOW);
    m_pObjectList = std::move(pList);
}

void CDrawToolDlg::CloseTool()
{
    CRect rect;
    GetWindowRect(&rect);
    g_cfg.SetWinPos(IDD, rect.left, rect.top);
    if (m_pObjectList) {
        if (m_pObjectList->GetSafeHwnd()) {
            m_pObjectList->GetWindowRect(&rect);
            g_cfg.SetWinPos(CDrawObjectListDlg::IDD, rect.left, rect.top);
            m_pObjectList->DestroyWindow();
        }
        m_pObjectList.reset();
    }
    DestroyWindow();
}

void CDrawToolDlg::PostNcDestroy()
{
    if (CWnd* pFrame = GetFrame())
        pFrame->PostMessage(WM_TOOL_CLOSED, ID_SENDER_DRAW_TOOL, 0);
}

LRESULT CDrawToolDlg::OnDrawingEvent(WPARAM wParam, LPARAM lParam)
{
    SendMessageToDescendants(WM_DRAWING_EVENT, wParam, lParam);
    if (m_pObjectList && m_pObjectList->GetSafeHwnd())
        m_pObjectList->SendMessage(WM_DRAWING_EVENT, wParam, lParam);
    return 0;
}

LRESULT CDrawToolDlg::OnToolClosed()
{
    // The list's window is gone by now.
    if (m_pObjectList && !m_pObjectList->GetSafeHwnd())
        m_pObjectList.reset();
    return 0;
}
