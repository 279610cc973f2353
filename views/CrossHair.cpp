#include "CrossHair.h"

#include "ConfiguredCursor.h"
#include "TruncToInt.h"

#include "Cursors.h"
#include "Messages.h"
#include "Wnd.h"

#include "Cfg.h"

#include <algorithm>
#include <cstdlib>

namespace {
// A coordinate scaled from one extent to another, rounded, inside 0 .. extent - 1; the centre
// when there was no extent to scale from.
int Rescaled(int value, int oldExtent, int newExtent)
{
    const int scaled = oldExtent > 0 ? TruncToInt(double(value) / oldExtent * newExtent + 0.5) : newExtent / 2;
    return std::clamp(scaled, 0, std::max(newExtent - 1, 0));
}
} // namespace

CCrossHair::CCrossHair()
{
    m_stripInfo = BITMAPINFO();
    m_stripInfo.bmiHeader.biSize = 40;
    m_stripInfo.bmiHeader.biPlanes = 1;
    m_stripInfo.bmiHeader.biCompression = BI_RGB;
}

void CCrossHair::Create(CWnd* pWnd, ICrossHairOwner* pOwner, int width, int height, COLORREF horzColour,
                        COLORREF vertColour)
{
    Release();
    m_pWnd = pWnd;
    m_pOwner = pOwner;
    m_nWidth = std::max(width, 0);
    m_nHeight = std::max(height, 0);
    m_ptPosition = CPoint(m_nWidth / 2, m_nHeight / 2);
    SetColours(horzColour, vertColour);
    AllocateStrip();
}

void CCrossHair::SetColours(COLORREF horzColour, COLORREF vertColour)
{
    m_horzPen.DeleteObject();
    m_vertPen.DeleteObject();
    m_horzPen.CreatePen(PS_DASH, 1, horzColour);
    m_vertPen.CreatePen(PS_DASH, 1, vertColour);
}

void CCrossHair::Release()
{
    m_horzPen.DeleteObject();
    m_vertPen.DeleteObject();
    m_strip.clear();
    m_strip.shrink_to_fit();
}

void CCrossHair::Resize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    const int y = Rescaled(m_ptPosition.y, m_nHeight, height);
    m_ptPosition = CPoint(Rescaled(m_ptPosition.x, m_nWidth, width), std::min(std::max(y, m_nMinRow), std::max(height - 1, 0)));
    m_nWidth = width;
    m_nHeight = height;
    AllocateStrip();
}

void CCrossHair::AllocateStrip()
{
    // A full-width row, or a full-height column of one pixel a row, of the widest format.
    const size_t bytes = std::max(size_t(DibStride(1, Tovrik::CMemDC::kBitsPerPixel)) * size_t(m_nHeight),
                                  size_t(DibStride(m_nWidth, Tovrik::CMemDC::kBitsPerPixel)));
    m_strip.assign(bytes, 0);
}

// ---------------------------------------------------------------------------------------------
// Drawing

bool CCrossHair::CanDraw() const
{
    return !m_bHidden && m_pWnd && m_pWnd->GetSafeHwnd() && m_pOwner;
}

void CCrossHair::DrawHorzLine(CDC& dc, CPoint offset)
{
    CPen* pOld = dc.SelectObject(&m_horzPen);
    dc.MoveTo(offset.x, offset.y + m_ptPosition.y);
    dc.LineTo(offset.x + m_nWidth, offset.y + m_ptPosition.y);
    dc.SelectObject(pOld);
}

void CCrossHair::DrawVertLine(CDC& dc, CPoint offset)
{
    CPen* pOld = dc.SelectObject(&m_vertPen);
    dc.MoveTo(offset.x + m_ptPosition.x, offset.y);
    dc.LineTo(offset.x + m_ptPosition.x, offset.y + m_nHeight);
    dc.SelectObject(pOld);
}

void CCrossHair::SetBand(bool bOn, int upper, int lower)
{
    m_bBand = bOn;
    m_nBandOffsets[0] = upper;
    m_nBandOffsets[1] = lower;
}

void CCrossHair::DrawBandLines(CDC& dc, CPoint offset)
{
    if (!m_bBand || m_nHeight <= 0)
        return;
    CPen* pOld = dc.SelectObject(&m_horzPen);
    for (int i = 0; i < 2; ++i) {
        const int64_t row = int64_t(m_ptPosition.y) + m_nBandOffsets[i];
        m_nBandRows[i] = int(std::clamp<int64_t>(row, 0, m_nHeight - 1));
        dc.MoveTo(offset.x, offset.y + m_nBandRows[i]);
        dc.LineTo(offset.x + m_nWidth, offset.y + m_nBandRows[i]);
    }
    dc.SelectObject(pOld);
}

void CCrossHair::RestoreBandRows(CDC& dc)
{
    for (int& row : m_nBandRows) {
        if (row >= 0)
            RestoreRow(dc, row);
        row = -1;
    }
}

void CCrossHair::Draw(CDC& dc, CPoint offset)
{
    if (m_bHidden)
        return;
    DrawHorzLine(dc, offset);
    DrawVertLine(dc, offset);
    DrawBandLines(dc, offset);
}

void CCrossHair::RestoreRow(CDC& dc, int y)
{
    const Tovrik::CMemDC& source = m_pOwner->GetComposedImage();
    const int width = source.GetWidth(), height = source.GetHeight();
    if (y < 0 || y >= height || width <= 0 || m_strip.size() < size_t(DibStride(width, source.GetBitsPerPixel())))
        return;
    source.CopyBlock(CPoint(0, height - 1 - y), width, 1, m_strip.data());
    m_stripInfo.bmiHeader.biBitCount = WORD(source.GetBitsPerPixel());
    m_stripInfo.bmiHeader.biWidth = width;
    m_stripInfo.bmiHeader.biHeight = 1;
    dc.SetDIBitsToDevice(0, y, DWORD(width), 1, 0, 0, 0, 1, m_strip.data(), &m_stripInfo, DIB_RGB_COLORS);
}

void CCrossHair::RestoreColumn(CDC& dc, int x)
{
    const Tovrik::CMemDC& source = m_pOwner->GetComposedImage();
    const int width = source.GetWidth(), height = source.GetHeight();
    if (x < 0 || x >= width || height <= 0 || m_strip.size() < size_t(DibStride(1, source.GetBitsPerPixel())) * size_t(height))
        return;
    source.CopyBlock(CPoint(x, 0), 1, height, m_strip.data());
    m_stripInfo.bmiHeader.biBitCount = WORD(source.GetBitsPerPixel());
    m_stripInfo.bmiHeader.biWidth = 1;
    m_stripInfo.bmiHeader.biHeight = height;
    dc.SetDIBitsToDevice(x, 0, 1, DWORD(height), 0, 0, 0, UINT(height), m_strip.data(), &m_stripInfo,
                         DIB_RGB_COLORS);
}

void CCrossHair::MoveTo(CPoint point, bool bHorzOnly)
{
    if (!CanDraw()) {
        m_ptPosition = point;
        return;
    }
    CClientDC dc(m_pWnd);
    RestoreRow(dc, m_ptPosition.y);
    RestoreBandRows(dc);
    m_ptPosition.y = point.y;
    DrawHorzLine(dc);
    DrawBandLines(dc);
    if (bHorzOnly) {
        // The restored rows took the crossing pixels of the vertical line with them.
        DrawVertLine(dc);
        return;
    }
    RestoreColumn(dc, m_ptPosition.x);
    m_ptPosition.x = point.x;
    DrawVertLine(dc);
    DrawHorzLine(dc);
    DrawBandLines(dc);
}

// ---------------------------------------------------------------------------------------------
// Mouse

int CCrossHair::HitTest(CPoint point) const
{
    const bool bVertical = m_bVerticalMovable && std::abs(point.x - m_ptPosition.x) < HIT_ZONE;
    const bool bHorizontal = std::abs(point.y - m_ptPosition.y) < HIT_ZONE;
    return bVertical && bHorizontal ? HIT_BOTH : bVertical ? HIT_VERTICAL : bHorizontal ? HIT_HORIZONTAL : HIT_NONE;
}

int CCrossHair::CursorOfHit(int nHitMode)
{
    switch (nHitMode) {
    case HIT_VERTICAL: return CURSOR_SIZE3;
    case HIT_HORIZONTAL: return CURSOR_SIZE4;
    case HIT_BOTH: return CURSOR_MOVE;
    default: return IDC_CLASS_CURSOR;
    }
}

CPoint CCrossHair::Constrained(CPoint point) const
{
    if (m_nHitMode == HIT_VERTICAL)
        point.y = m_ptPosition.y;
    else if (m_nHitMode == HIT_HORIZONTAL || !m_bVerticalMovable)
        point.x = m_ptPosition.x;
    if (m_nHitMode != HIT_VERTICAL && point.y < m_nMinRow)
        point.y = std::min(m_nMinRow, std::max(m_nHeight - 1, 0));
    return point;
}

void CCrossHair::ShowCursor()
{
    if (!m_pWnd)
        return;
    if (m_bHidden)
        SetWindowCursor(m_pWnd, IDC_CLASS_CURSOR);
    else
        SetConfiguredCursor(m_pWnd, m_bDragging ? m_nDragCursor : CursorOfHit(m_nHitMode));
}

void CCrossHair::OnLButtonDown(CPoint point)
{
    if (!m_pWnd)
        return;
    m_pWnd->SetCapture();
    if (m_nHitMode == HIT_NONE)
        m_nHitMode = m_bVerticalMovable ? HIT_BOTH : HIT_HORIZONTAL;
    m_nDragCursor = CursorOfHit(m_nHitMode);
    MoveTo(Constrained(point));
    NotifyParent(true);
    m_bDragging = true;
    ShowCursor();
}

bool CCrossHair::TrackMouse(CPoint point)
{
    if (point == m_ptMouse)
        return false;
    m_ptMouse = point;
    return true;
}

void CCrossHair::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bDragging && !(nFlags & MK_LBUTTON)) {
        m_bDragging = false;
        NotifyParent(false);
    } else if (m_bDragging) {
        // The captured mouse may leave the window; the cross-hair stays on it.
        point.x = std::clamp(point.x, 0, std::max(m_nWidth - 1, 0));
        point.y = std::clamp(point.y, 0, std::max(m_nHeight - 1, 0));
        point = Constrained(point);
        MoveTo(point, point.x == m_ptPosition.x);
        NotifyParent(true);
    } else {
        m_nHitMode = HitTest(point);
        NotifyParent(false);
    }
    ShowCursor();
}

void CCrossHair::OnLButtonUp()
{
    m_bDragging = false;
    if (m_pWnd && CWnd::GetCapture() == m_pWnd)
        CWnd::ReleaseCapture();
    ShowCursor();
}

// ---------------------------------------------------------------------------------------------
// Notification

void CCrossHair::NotifyParent(bool bSet)
{
    if (m_pOwner && m_pOwner->TakeCursorPoint(bSet ? m_ptPosition : m_ptMouse, bSet))
        SendCursorMoved(bSet);
}

void CCrossHair::SendCursorMoved(bool bSet) const
{
    CWnd* pParent = m_pWnd ? m_pWnd->GetParent() : nullptr;
    if (!pParent)
        return;
    const int id = m_pWnd->GetDlgCtrlID();
    pParent->SendMessage(WM_CURSOR_MOVED, WPARAM(id), MakeCursorParam(id & 0xFFFF, bSet));
}
