#include "TraceViewDlg.h"

#include "Controls.h"
#include "DC.h"
#include "GdiObjects.h"
#include "TruncToInt.h"

#include "Matrix.h"
#include "Project.h"

#include <algorithm>
#include <cmath>

namespace {
// The samples between the 5-px margins of the window and its cells.
constexpr int kMargin = 5;

// Whole index limited to 0 .. count - 1 (0 for an empty set).
uint32_t ClampIndex(int64_t index, uint32_t count)
{
    if (count == 0 || index < 0)
        return 0;
    return uint32_t(std::min<int64_t>(index, int64_t(count) - 1));
}
} // namespace

CTraceViewDlg::CTraceViewDlg(CWnd* pParent) : CDialog(IDD, pParent), m_pNotifyWnd(pParent)
{
    const auto redraw = [this](WPARAM, LPARAM) {
        Redraw();
        return LRESULT(0);
    };
    MapMessage(WM_HSCROLL, redraw);
    MapMessage(WM_VSCROLL, redraw);
    MapMessage(WM_DATA_CHANGED, [this](WPARAM, LPARAM lParam) { return OnDataChanged(lParam); });
}

bool CTraceViewDlg::OnInitDialog()
{
    m_hNotifyWnd = m_pNotifyWnd ? m_pNotifyWnd->GetSafeHwnd() : nullptr;
    m_pGain = dynamic_cast<CSliderCtrl*>(GetDlgItem(IDC_TRACE_VIEW_GAIN));
    if (m_pGain) {
        m_pGain->SetRange(1, 100);
        m_pGain->SetPos(1);
    }
    return true;
}

void CTraceViewDlg::SetAperture(int nSamples)
{
    m_iAperture = nSamples;
    Redraw();
}

void CTraceViewDlg::Redraw()
{
    if (GetSafeHwnd())
        RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CTraceViewDlg::OnDataChanged(LPARAM lParam)
{
    // A new project, recomputed data and a new zero level change what is drawn.
    switch (GetCode(lParam)) {
    case DATA_PROJECT_BOUND:
    case DATA_RECOMPUTED:
    case DATA_ZERO_LEVEL: Invalidate(); break;
    default: break;
    }
    return 0;
}

void CTraceViewDlg::OnClose()
{
    CDialog::OnClose();
    DestroyWindow();
}

void CTraceViewDlg::PostNcDestroy()
{
    if (CWnd* pParent = FromHandle(m_hNotifyWnd))
        pParent->PostMessage(WM_TOOL_CLOSED, m_nID, 0);
    m_pGain = nullptr;
}

void CTraceViewDlg::OnSize(UINT, int, int)
{
    Redraw();
}

void CTraceViewDlg::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    pInfo->ptMinTrackSize = {158, 100};
}

void CTraceViewDlg::PlaceGainSlider()
{
    if (!m_pGain)
        return;
    CRect client, slider;
    GetClientRect(&client);
    m_pGain->GetWindowRect(&slider);
    const CRect place(CPoint(client.left, client.bottom - slider.Height()), slider.Size());
    CPoint corner = slider.TopLeft();
    ScreenToClient(&corner);
    if (corner != place.TopLeft())
        m_pGain->MoveWindow(&place);
}

CRect CTraceViewDlg::GetDrawRect() const
{
    CRect client, slider;
    GetClientRect(&client);
    if (m_pGain)
        m_pGain->GetWindowRect(&slider);
    return CRect(client.left + kMargin, client.top + kMargin, client.right - kMargin, client.bottom - slider.Height());
}

void CTraceViewDlg::OnPaint()
{
    CPaintDC dc(this);
    PlaceGainSlider();
    if (CanDraw())
        DrawInterpolatedTrace(&dc, GetDrawRect());
}

bool CTraceViewDlg::CanDraw() const
{
    return m_pMatrix && m_pMatrix->IsInitialized() && m_pMatrix->m_pProject && m_pMatrix->m_pProject->IsOpen();
}

int CTraceViewDlg::GetSampleCount() const
{
    const int n = m_pMatrix->m_pProject->m_settings.m_iSamples;
    return int(std::min<int64_t>(std::max(n, 0), m_pMatrix->m_nSamples));
}

bool CTraceViewDlg::InterpolateTrace(std::vector<float>& result, CNeighbours& neighbours)
{
    if (!CanDraw())
        return false;
    const CProjectSettings& s = m_pMatrix->m_pProject->m_settings;
    const C3DMatrix& matrix = *m_pMatrix;
    const int n = GetSampleCount();
    const int spacing = s.m_iProfileSpacing;
    if (n <= 0 || spacing <= 0 || s.m_iSizeX <= 0 || s.m_iSizeY <= 0)
        return false;
    if (!std::isfinite(m_fX) || m_fX < 0.0f)
        m_fX = 0.0f;
    if (!std::isfinite(m_fY) || m_fY < 0.0f)
        m_fY = 0.0f;

    // X lines: N and N + 1 around y, traces x and x + 1 along them.
    float fx = m_fX - std::trunc(m_fX);
    int N = TruncToInt(m_fY) / spacing;
    float fy = m_fY / float(spacing) - float(N);
    const int L = s.m_iGridMode == 1 ? TruncToInt(float(s.m_iSizeY - 1) / float(spacing))
                                     : (s.m_iGridSizeY - 1) / spacing;
    if (L <= N) {
        N = L - 1;
        fy = 1.0f;
    }
    if (m_fX >= float(s.m_iSizeX - 1)) {
        m_fX = float(std::max(s.m_iSizeX - 2, 0));
        fx = 1.0f;
    }
    const int x = TruncToInt(m_fX);
    const auto T = [&](int64_t line, int64_t trace) {
        return matrix.GetHorzTrace(ClampIndex(line, matrix.m_nHorzLines), ClampIndex(trace, matrix.m_nNX));
    };
    neighbours[0] = T(N, x);
    neighbours[1] = T(N, x + 1);
    neighbours[2] = T(N + 1, x);
    neighbours[3] = T(N + 1, x + 1);

    // Y lines: M and M + 1 around x, traces y and y + 1 along them.
    float gy = m_fY - std::trunc(m_fY);
    int M = TruncToInt(m_fX) / spacing;
    float gx = m_fX / float(spacing) - float(M);
    const int C = s.m_iGridMode == 1 ? TruncToInt(float(s.m_iSizeX - 1) / float(spacing)) + 1
                                     : (s.m_iGridSizeX - 1) / spacing + 1;
    if (C - 1 <= M) {
        M = C - 2;
        gx = 1.0f;
    }
    if (m_fY >= float(s.m_iSizeY - 1)) {
        m_fY = float(std::max(s.m_iSizeY - 2, 0));
        gy = 1.0f;
    }
    const int y = TruncToInt(m_fY);
    const auto U = [&](int64_t line, int64_t trace) {
        return matrix.GetVertTrace(ClampIndex(line, matrix.m_nVertLines), ClampIndex(trace, matrix.m_nNY));
    };
    neighbours[4] = U(M, y);
    neighbours[5] = U(M, y + 1);
    neighbours[6] = U(M + 1, y);
    neighbours[7] = U(M + 1, y + 1);

    result.assign(size_t(n), 0.0f);
    for (int i = 0; i < n; ++i) {
        const float alongX = (neighbours[1][i] * fx + neighbours[0][i] * (1.0f - fx)) * (1.0f - fy) +
                             (neighbours[3][i] * fx + neighbours[2][i] * (1.0f - fx)) * fy;
        const float alongY = (neighbours[4][i] * (1.0f - gy) + neighbours[5][i] * gy) * (1.0f - gx) +
                             (neighbours[7][i] * gy + neighbours[6][i] * (1.0f - gy)) * gx;
        result[size_t(i)] = (alongY + alongX) * 0.5f;
    }
    return true;
}

void CTraceViewDlg::DrawInterpolatedTrace(CDC* pDC, const CRect& rect)
{
    std::vector<float> result;
    CNeighbours neighbours{};
    if (!pDC || !InterpolateTrace(result, neighbours))
        return;
    const int w = (rect.Width() - 20) / 5;
    const int h = (rect.Height() - 5) / 2;
    if (w <= 0 || h <= 0)
        return;
    const auto drawCell = [&](const CRect& cell, const float* pSamples) {
        const int saved = pDC->SaveDC();
        pDC->IntersectClipRect(cell.left, cell.top, cell.right, cell.bottom);
        DrawTrace(pDC, cell, pSamples);
        pDC->RestoreDC(saved);
    };
    drawCell(CRect(rect.left, rect.top, rect.left + w, rect.top + 2 * h + 5), result.data());
    for (int r = 0; r < 2; ++r)
        for (int c = 1; c <= 4; ++c) {
            const int left = rect.left + (w + 5) * c, top = rect.top + (h + 5) * r;
            drawCell(CRect(left, top, left + w, top + h), neighbours[size_t(4 * r + c - 1)]);
        }
}

void CTraceViewDlg::DrawTrace(CDC* pDC, const CRect& rect, const float* pSamples)
{
    const int n = CanDraw() ? GetSampleCount() : 0;
    CBrush white(RGB(255, 255, 255));
    CBrush* pOldBrush = pDC->SelectObject(&white);
    pDC->Rectangle(&rect);

    // A trace of one sample stands on the top row.
    const float yScale = n > 1 ? float(rect.bottom - rect.top - 1) / float(n - 1) : 0.0f;
    const int gainPos = m_pGain ? m_pGain->GetPos() : 1;
    const float amplitude = float(gainPos) * 0.5f * float(rect.right - rect.left - 1);
    const int centre = (rect.left + rect.right) / 2;

    CPen grey(PS_SOLID, 1, RGB(170, 170, 170));
    CPen* pTracePen = pDC->SelectObject(&grey);
    const int zeroRow = rect.top + TruncToInt(float(m_iZeroLevel) * yScale);
    pDC->MoveTo(rect.left, zeroRow);
    pDC->LineTo(rect.right, zeroRow);
    pDC->MoveTo(centre, rect.top);
    pDC->LineTo(centre, rect.bottom);

    pDC->SelectObject(pTracePen);
    if (pSamples && n > 1) {
        std::vector<CPoint> points;
        points.reserve(size_t(n));
        points.emplace_back(centre, rect.top);
        float row = 0.0f;
        for (int i = 1; i < n; ++i) {
            row += yScale;
            points.emplace_back(TruncToInt(pSamples[i] * amplitude + float(centre)), rect.top + TruncToInt(row));
        }
        pDC->Polyline(points.data(), int(points.size()));
    }

    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    pDC->SelectObject(&green);
    for (const float depth : {m_fDepth, m_fDepth - float((m_iAperture - 1) / 2), m_fDepth + float(m_iAperture / 2)}) {
        const int row = rect.top + TruncToInt(depth * yScale);
        pDC->MoveTo(rect.left, row);
        pDC->LineTo(rect.right, row);
    }
    pDC->SelectObject(pTracePen);
    pDC->SelectObject(pOldBrush);
}
