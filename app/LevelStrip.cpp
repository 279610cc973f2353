#include "LevelStrip.h"

#include "DC.h"
#include "GdiObjects.h"
#include "Wnd.h"

#include <algorithm>

namespace {
const COLORREF kAboveMarker = 0xFAFAFA;
const COLORREF kBelowMarker = 0xAA5A50;
} // namespace

void CLevelStrip::Create(CWnd* pOwner, const CRect& rect, int nMin, int nMax, bool bReversed)
{
    m_pOwner = pOwner;
    m_rect = rect;
    m_nTrackTop = rect.top + 1;
    m_nTrackBottom = rect.bottom - 1;
    m_nMin = nMin;
    m_nMax = nMax;
    m_bReversed = bReversed;
    m_bDragging = false;
    m_nMarker = m_nTrackTop;
}

void CLevelStrip::SetValue(int nValue)
{
    m_nValue = nValue;
    const float fraction = m_nMax != m_nMin ? float(nValue - m_nMin) / float(m_nMax - m_nMin) : 0.0f;
    m_nMarker = Mirror(int(fraction * float(m_nTrackBottom - m_nTrackTop) + float(m_nTrackTop)));
    Repaint();
}

bool CLevelStrip::DragTo(int y)
{
    if (y == m_nMarker)
        return false;
    m_nMarker = std::clamp(y, m_nTrackTop, std::max(m_nTrackTop, m_nTrackBottom));
    const int height = m_nTrackBottom - m_nTrackTop;
    const float fraction = height > 0 ? float(Mirror(m_nMarker) - m_nTrackTop) / float(height) : 0.0f;
    const int nPrevious = m_nValue;
    m_nValue = int(fraction * float(m_nMax - m_nMin) + float(m_nMin));
    Repaint();
    return m_nValue != nPrevious;
}

void CLevelStrip::Paint(CDC& dc) const
{
    if (m_rect.IsRectEmpty())
        return;
    dc.FrameRect(&m_rect, static_cast<CBrush*>(GetStockObject(DKGRAY_BRUSH)));
    const int left = m_rect.left + 1;
    const int width = m_rect.Width() - 2;
    dc.FillSolidRect(left, m_nTrackTop, width, std::max(0, m_nMarker - m_nTrackTop), kAboveMarker);
    dc.FillSolidRect(left, m_nMarker, width, std::max(0, m_nTrackBottom - m_nMarker), kBelowMarker);
}

void CLevelStrip::Repaint()
{
    if (!m_pOwner || !m_pOwner->GetSafeHwnd())
        return;
    m_pOwner->InvalidateRect(&m_rect, false);
    m_pOwner->UpdateWindow();
}
