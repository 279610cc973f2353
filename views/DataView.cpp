#include "DataView.h"

#include "Cursors.h"
#include "Messages.h"
#include "WinApp.h"

#include "Cfg.h"


const Tovrik::CMemDC& CDataView::GetComposedImage()
{
    return ComposedImage();
}

Tovrik::CMemDC& CDataView::ComposedImage()
{
    return m_painter.IsBypass() || !m_painter.IsEnabled() || !m_painter.GetComposite().GetBits()
               ? m_image : m_painter.GetComposite();
}

bool CDataView::OnEraseBkgnd(CDC*)
{
    return true;
}

void CDataView::CreateImage(int width, int height)
{
    m_image.Create(width, height);
    m_backgroundBrush.DeleteObject();
    m_framePen.DeleteObject();
    m_backgroundBrush.CreateSolidBrush(COLOR_BTNFACE_VALUE);
    m_framePen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_image.SelectObject(&m_backgroundBrush);
    m_image.SelectObject(&m_framePen);
}

CRect CDataView::ClientRect() const
{
    return CRect(0, 0, m_image.GetWidth(), m_image.GetHeight());
}

void CDataView::ComposeObjects()
{
    if (!m_painter.IsEnabled())
        return;
    m_painter.SetSource(&m_image);
    if (!m_painter.IsBypass())
        m_painter.Paint();
}

void CDataView::DrawComposed(CDC& dc, CPoint origin)
{
    Tovrik::CMemDC& image = ComposedImage();
    dc.BitBlt(origin.x, origin.y, image.GetWidth(), image.GetHeight(), &image, 0, 0, SRCCOPY);
    m_crossHair.Draw(dc, origin);
}

CPoint CDataView::OriginInParent() const
{
    CRect rect;
    GetWindowRect(&rect);
    CPoint origin(rect.left, rect.top);
    if (CWnd* pParent = GetParent())
        pParent->ScreenToClient(&origin);
    return origin;
}

void CDataView::ShowCursor()
{
    if (!m_bDrawingMode)
        m_crossHair.ShowCursor();
    else if (!m_painter.HitTest())
        SetWindowCursor(this, IDC_CLASS_CURSOR);
}

bool CDataView::WheelMovesDepth() const
{
    if (!m_bCreated || !m_bBound || !m_pProject || !g_cfg.m_bUseMouseWheel)
        return false;
    const int state = m_painter.GetState();
    return !m_painter.IsEnabled() ||
           (state != CDataViewPainter::STATE_CREATING && state != CDataViewPainter::STATE_FOREIGN);
}

bool CDataView::TakeDrawingEvent(WPARAM wParam, LPARAM lParam)
{
    // The objects are freed by now.
    if (GetCode(lParam) == DRAW_REMOVED && GetCodeValue(lParam) == DRAW_NO_OBJECT)
        m_painter.ClearObjects();
    if (!m_bCreated || !m_painter.IsEnabled())
        return false;
    CWnd* pParent = GetParent();
    const WPARAM parentId = WPARAM(pParent ? pParent->GetDlgCtrlID() : 0);
    if (wParam == WPARAM(ID_SENDER_PAINTER)) {
        CWinApp* pApp = AfxGetApp();
        if (CWnd* pMain = pApp ? pApp->GetMainWnd() : nullptr)
            pMain->SendMessage(WM_DRAWING_EVENT, parentId, lParam);
        return false;
    }
    return m_bBound && wParam != parentId;
}

bool CDataView::ApplyDrawingEvent(LPARAM lParam)
{
    const int argument = GetCodeValue(lParam);
    switch (GetCode(lParam)) {
    case DRAW_SELECTION:
        m_painter.OnSelectionChanged();
        return true;
    case DRAW_REDRAW:
    case DRAW_REDRAW_STYLE:
        if (!m_painter.IsBypass())
            m_painter.Paint();
        return true;
    case DRAW_ADDED:
    case DRAW_REMOVED:
        m_painter.OnObjectEvent(GetCode(lParam) == DRAW_ADDED ? 1 : 2, argument == DRAW_NO_OBJECT ? -1 : argument);
        // The composite must show the list as it is now.
        if (!m_painter.IsBypass())
            m_painter.Paint();
        return true;
    case DRAW_CHANGED:
        m_painter.OnObjectChanged(argument);
        return true;
    case DRAW_TOOL_CHANGED:
        return m_painter.SetTool();
    case DRAW_CREATION:
        return m_painter.SetCreating(argument == 1);
    default:
        return false;
    }
}
