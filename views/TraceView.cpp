#include "TraceView.h"

#include "ConfiguredCursor.h"
#include "Cursors.h"
#include "DC.h"
#include "LineWalk.h"
#include "TruncToInt.h"

#include "Cfg.h"
#include "Messages.h"
#include "MessageLog.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {
// One black pixel of the surface, when it lies on it.
inline void PutBlack(const Tovrik::CMemDC& surface, int x, int y)
{
    if (x >= 0 && y >= 0 && x < surface.GetWidth() && y < surface.GetHeight())
        surface.GetRowPixels(y)[x] = Tovrik::CMemDC::PixelOf(RGB(0, 0, 0));
}

// A one-pixel black line straight into the surface's bits, from the start point up to, not
// including, the end point, as LineTo draws it. A segment that runs far past the surface is
// first cut to the surface and its one-pixel margin, so that its length bounds the work.
void DrawBlackSegment(const Tovrik::CMemDC& surface, CPoint from, CPoint to)
{
    const int w = surface.GetWidth(), h = surface.GetHeight();
    if (std::max(std::llabs(int64_t(to.x) - from.x), std::llabs(int64_t(to.y) - from.y)) > 2 * (int64_t(w) + h) + 8) {
        // Liang-Barsky against [-1, w] x [-1, h]; a cut end lies outside the surface.
        const double x0 = from.x, y0 = from.y, dx = double(to.x) - from.x, dy = double(to.y) - from.y;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {x0 + 1, w - x0, y0 + 1, h - y0};
        double t0 = 0.0, t1 = 1.0;
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0.0) {
                if (q[i] < 0)
                    return;
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
        }
        if (t0 > t1)
            return;
        from = {TruncToInt(std::round(x0 + t0 * dx)), TruncToInt(std::round(y0 + t0 * dy))};
        to = {TruncToInt(std::round(x0 + t1 * dx)), TruncToInt(std::round(y0 + t1 * dy))};
    }
    WalkLine(from, to, [&surface](int x, int y) { PutBlack(surface, x, y); });
}
} // namespace

CTraceView::CTraceView() : m_nDragCursor(CURSOR_SIZE4)
{
    m_lines[LineZeroLevel].m_bVisible = true;
}

CTraceView::~CTraceView()
{
    Release();
}

bool CTraceView::Create(CWnd* pParent)
{
    Release();
    if (!pParent)
        return false;
    CRect client;
    pParent->GetClientRect(&client);
    m_surface.Create(client.Width(), client.Height());
    if (!CWnd::Create(L"", WS_CHILD | WS_VISIBLE, client, pParent, ID_TRACE_VIEW)) {
        m_surface.Release();
        return false;
    }
    GetClientRect(&client);
    m_surface.Resize(client.Width(), client.Height());
    // The drawing rectangle follows the window from the start, not only after a layout.
    m_rect = CRect(0, 0, client.Width(), client.Height());
    m_brush.CreateSolidBrush(RGB(255, 255, 255));
    m_centrePen.CreatePen(PS_DASH, 1, RGB(170, 170, 170));
    m_linePens[0].CreatePen(PS_DASH, 1, RGB(255, 0, 0));
    m_linePens[1].CreatePen(PS_DASH, 1, RGB(0, 255, 0));
    m_lines[LineZeroLevel].m_pPen = &m_linePens[0];
    m_lines[LineDepth].m_pPen = &m_linePens[1];
    m_ptLast = {INT_MIN, INT_MIN}; // no row seen yet
    m_bCreated = true;
    return true;
}

void CTraceView::Release()
{
    if (!m_bCreated)
        return;
    m_surface.SelectStockObject(BLACK_PEN);
    m_surface.SelectStockObject(BLACK_BRUSH);
    m_surface.Release();
    m_brush.DeleteObject();
    m_centrePen.DeleteObject();
    m_linePens[0].DeleteObject();
    m_linePens[1].DeleteObject();
    m_lines[LineZeroLevel].m_pPen = nullptr;
    m_lines[LineDepth].m_pPen = nullptr;
    m_bCreated = false;
    m_bDragging = false;
    m_bOverLine = false;
    if (GetCapture() == this)
        ReleaseCapture();
    DestroyWindow();
}

float* CTraceView::SetSampleCount(int count)
{
    m_samples.assign(size_t(std::max(count, 0)), 0.0f);
    m_iNTraces = int32_t(m_samples.size());
    return m_samples.data();
}

float CTraceView::PixelsPerSample() const
{
    if (m_iNTraces < 2 || m_rect.Height() < 2)
        return 0.0f;
    return float(m_rect.Height() - 1) / float(m_iNTraces - 1);
}

float CTraceView::SamplesPerPixel() const
{
    if (m_iNTraces < 2 || m_rect.Height() < 2)
        return 0.0f;
    return float(m_iNTraces - 1) / float(m_rect.Height() - 1);
}

int CTraceView::LineRow(int index) const
{
    return TruncToInt(m_lines[index].m_fValue * PixelsPerSample() + 0.5f);
}

void CTraceView::Render()
{
    g_messageLog.Log(LOG_DEBUG, "CTraceView::Render() enter.\n");
    CDC& dc = m_surface;
    const float k = PixelsPerSample();
    const float a = float(m_rect.Width() - 1) * m_fGain;
    const int c = (m_rect.left + m_rect.right) / 2;

    CBrush* pOldBrush = dc.SelectObject(&m_brush);
    dc.Rectangle(&m_rect);
    dc.SelectObject(&m_centrePen);
    dc.MoveTo(c, m_rect.top);
    dc.LineTo(c, m_rect.bottom);

    g_messageLog.Log(LOG_DEBUG, "CTraceView::Render(): m_iNTraces: %d\n", m_iNTraces);
    dc.SelectStockObject(BLACK_PEN);
    if (m_iNTraces > 0)
        DrawTrace(k, a, c);

    for (int i = 0; i < LineCount; ++i) {
        const CTraceLine& line = m_lines[i];
        if (!line.m_bVisible)
            continue;
        if (i == LineAperture) {
            // The band around the depth line, in the pen of the line drawn last.
            const float v = m_lines[LineDepth].m_fValue;
            g_messageLog.Log(LOG_DEBUG, "CTraceView::Render(): m_iAperture: %d\n", m_iAperture);
            g_messageLog.Log(LOG_DEBUG, "CTraceView::Render(): m_lines[LineDepth].m_fValue: %d\n", TruncToInt(v));
            const int upper = m_rect.top + TruncToInt((v - float((m_iAperture - 1) / 2)) * k);
            const int lower = m_rect.top + TruncToInt((v + float(m_iAperture / 2)) * k);
            g_messageLog.Log(LOG_DEBUG, "CTraceView::Render(): m_lines[LineDepth].m_fValue: %d\n", TruncToInt(v));
            g_messageLog.Log(LOG_DEBUG, "CTraceView::Render(): m_rect.bottom: %d\n", m_rect.bottom);
            dc.MoveTo(m_rect.left, upper);
            dc.LineTo(m_rect.right, upper);
            dc.MoveTo(m_rect.left, lower);
            dc.LineTo(m_rect.right, lower);
            continue;
        }
        if (!line.m_pPen)
            continue;
        const int row = LineRow(i);
        if (i == LineZeroLevel)
            g_messageLog.Log(LOG_DEBUG, "draw line: pos:%d, value:%f  coef: %f", row, double(line.m_fValue), double(k));
        dc.SelectObject(line.m_pPen);
        dc.MoveTo(m_rect.left, row);
        dc.LineTo(m_rect.right, row);
    }

    g_messageLog.Log(LOG_DEBUG, "CTraceView::Render() pre leaving.\n");
    // The next image starts from the same pen and brush.
    dc.SelectStockObject(BLACK_PEN);
    dc.SelectObject(pOldBrush);
    m_surface.SetValid(true);
    g_messageLog.Log(LOG_DEBUG, "CTraceView::Render() leaving.\n");
}

void CTraceView::DrawTrace(float k, float a, int c)
{
    if (!m_surface.GetBits())
        return;
    const auto column = [&](int i) { return TruncToInt(m_samples[size_t(i)] * a + float(c)); };
    CPoint current(column(0), m_rect.top);
    float row = 0.0f;
    for (int i = 0; i < m_iNTraces; ++i) {
        const CPoint next(column(i), m_rect.top + TruncToInt(row));
        DrawBlackSegment(m_surface, current, next);
        current = next;
        row += k;
    }
}

bool CTraceView::HitTestLine(CPoint point) const
{
    for (int i : {int(LineZeroLevel), int(LineDepth)})
        if (m_lines[i].m_bVisible && std::llabs(int64_t(point.y) - LineRow(i)) < kHitDistance)
            return true;
    return false;
}

CSize CTraceView::GetSize() const
{
    CRect client;
    GetClientRect(&client);
    return client.Size();
}

void CTraceView::SetRect(const CRect& rect)
{
    if (!m_bCreated)
        return;
    // The window's place in its parent, to tell a move from no change.
    CRect current;
    GetWindowRect(&current);
    CPoint origin = current.TopLeft();
    if (CWnd* pParent = GetParent())
        pParent->ScreenToClient(&origin);
    if (CRect(origin, current.Size()) == rect)
        return;
    MoveWindow(&rect, false);
    FollowSize(rect.Width(), rect.Height());
}

void CTraceView::OnSize(UINT, int cx, int cy)
{
    if (m_bCreated)
        FollowSize(cx, cy);
}

void CTraceView::FollowSize(int width, int height)
{
    if (m_rect == CRect(0, 0, width, height) && m_surface.GetWidth() == width && m_surface.GetHeight() == height)
        return;
    m_rect = CRect(0, 0, width, height);
    m_surface.Resize(width, height);
}

void CTraceView::Show(bool bShow)
{
    ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CTraceView::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bCreated)
        return;
    Render();
    CRect client;
    GetClientRect(&client);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &m_surface, 0, 0, SRCCOPY);
}

bool CTraceView::OnEraseBkgnd(CDC* pDC)
{
    // The paint covers the whole window.
    return m_bCreated ? true : CWnd::OnEraseBkgnd(pDC);
}

void CTraceView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bCreated || point.y == m_ptLast.y)
        return;
    m_ptLast = point;
    if (!m_bDragging) {
        m_bOverLine = HitTestLine(point);
        UpdateCursor();
        return;
    }
    if (!(nFlags & MK_LBUTTON)) {
        EndDrag();
        return;
    }
    // A drag past the edge holds the line on the first or the last sample.
    const int y = std::clamp(point.y, 0, std::max(m_rect.Height() - 1, 0));
    const float s = SamplesPerPixel();
    CWnd* pParent = GetParent();
    if (m_nDraggedLine == LineZeroLevel) {
        const int n = TruncToInt(float(y) * s);
        if (float(n) == m_lines[LineZeroLevel].m_fValue)
            return;
        m_lines[LineZeroLevel].m_fValue = float(n);
        if (pParent)
            pParent->PostMessage(WM_VALUE_CHANGED, WPARAM(GetDlgCtrlID()), MakeCodeParam(1, n));
    } else {
        m_lines[LineDepth].m_fValue = float(y) * s;
        if (pParent)
            pParent->PostMessage(WM_VALUE_CHANGED, WPARAM(GetDlgCtrlID()), MakeCodeParam(2, 0));
    }
    m_surface.SetValid(false);
    Invalidate(true);
}

void CTraceView::OnLButtonDown(UINT, CPoint point)
{
    if (!m_bCreated)
        return;
    if (!m_bOverLine) {
        m_nDraggedLine = LineZeroLevel;
        return;
    }
    // A hidden line counts as far away; on a tie the depth line is taken.
    constexpr int64_t kHidden = 100;
    const auto distance = [&](int i) {
        return m_lines[i].m_bVisible ? std::llabs(int64_t(point.y) - LineRow(i)) : kHidden;
    };
    m_nDraggedLine = distance(LineZeroLevel) < distance(LineDepth) ? LineZeroLevel : LineDepth;
    m_bDragging = true;
    SetCapture();
    UpdateCursor();
}

void CTraceView::OnLButtonUp(UINT, CPoint)
{
    EndDrag();
}

void CTraceView::EndDrag()
{
    m_bDragging = false;
    if (GetCapture() == this)
        ReleaseCapture();
    UpdateCursor();
}

void CTraceView::UpdateCursor()
{
    if (m_bDragging)
        SetConfiguredCursor(this, m_nDragCursor);
    else if (m_bOverLine)
        SetConfiguredCursor(this, CURSOR_SIZE4);
    else
        SetWindowCursor(this, IDC_CLASS_CURSOR);
}
