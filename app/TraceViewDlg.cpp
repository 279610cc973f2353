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

// The profile lines line and line + 1 of one direction around a point and the traces trace and
// trace + 1 along them, each with the point's fraction of the way to the next. A point past the
// last line or trace takes the last pair at fraction 1; fAlong is moved onto that pair.
struct CLinesAround
{
    int line;
    float lineFraction;
    int trace;
    float traceFraction;
};

CLinesAround LinesAround(float fAcross, float& fAlong, int spacing, int lastLine, int traces)
{
    CLinesAround around{};
    around.traceFraction = fAlong - std::trunc(fAlong);
    around.line = TruncToInt(fAcross) / spacing;
    around.lineFraction = fAcross / float(spacing) - float(around.line);
    if (lastLine <= around.line) {
        around.line = lastLine - 1;
        around.lineFraction = 1.0f;
    }
    if (fAlong >= float(traces - 1)) {
        fAlong = float(std::max(traces - 2, 0));
        around.traceFraction = 1.0f;
    }
    around.trace = TruncToInt(fAlong);
    return around;
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

void CTraceViewDlg::TakeFromProject(const CProject& project, bool bSettings)
{
    m_fX = project.m_fCursorX;
    m_fY = project.m_fCursorY;
    m_fDepth = project.m_fCursorDepth;
    if (bSettings) {
        m_iZeroLevel = project.m_settings.m_iZeroLevel;
        m_iAperture = project.m_settings.m_params.m_iAperture;
    }
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

    // The profile lines of one direction around the point, and the traces around it along them.
    const auto lastLine = [&](int size, int gridSize) {
        return s.m_iGridMode == 1 ? TruncToInt(float(size - 1) / float(spacing)) : (gridSize - 1) / spacing;
    };
    // Neighbours first .. first + 3: the lower line's two traces, then the upper line's.
    const auto take = [&](size_t first, const CLinesAround& around, auto getTrace) {
        for (size_t k = 0; k < 4; ++k)
            neighbours[first + k] = getTrace(around.line + int64_t(k / 2), around.trace + int64_t(k % 2));
    };
    const CLinesAround X = LinesAround(m_fY, m_fX, spacing, lastLine(s.m_iSizeY, s.m_iGridSizeY), s.m_iSizeX);
    take(0, X, [&](int64_t line, int64_t trace) {
        return matrix.GetHorzTrace(ClampIndex(line, matrix.m_nHorzLines), ClampIndex(trace, matrix.m_nNX));
    });
    const CLinesAround Y = LinesAround(m_fX, m_fY, spacing, lastLine(s.m_iSizeX, s.m_iGridSizeX), s.m_iSizeY);
    take(4, Y, [&](int64_t line, int64_t trace) {
        return matrix.GetVertTrace(ClampIndex(line, matrix.m_nVertLines), ClampIndex(trace, matrix.m_nNY));
    });

    const float fx = X.traceFraction, fy = X.lineFraction;
    const float gx = Y.lineFraction, gy = Y.traceFraction;
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
