#include "DataSideView.h"

#include "ConfiguredCursor.h"
#include "TruncToInt.h"

#include "Messages.h"

#include "Cfg.h"
#include "KernelChoice.h"
#include "Matrix.h"
#include "MessageLog.h"
#include "Project.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr COLORREF kDepthLineColour = RGB(255, 255, 0);

COLORREF PositionLineColour(int nDirection)
{
    return nDirection == CDataSideView::DIRECTION_X ? RGB(0, 0, 255) : RGB(255, 0, 0);
}

int PainterMode(int nDirection)
{
    return nDirection == CDataSideView::DIRECTION_X ? CDataViewPainter::MODE_SECTION_X
                                                    : CDataViewPainter::MODE_SECTION_Y;
}

} // namespace

CDataSideView::CDataSideView()
{
    MapMessage(WM_DATA_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnDataChanged(wParam, lParam); });
    MapMessage(WM_DRAWING_EVENT, [this](WPARAM wParam, LPARAM lParam) { return OnDrawingEvent(wParam, lParam); });
}

CDataSideView::~CDataSideView()
{
    if (GetSafeHwnd())
        DestroyWindow();
    m_crossHair.Release();
    m_image.Release();
}

CSize CDataSideView::GetSize() const
{
    return CSize(m_image.GetWidth(), m_image.GetHeight());
}

void CDataSideView::Show(bool bShow)
{
    m_bShown = bShow;
    ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

bool CDataSideView::Create(CWnd* pParent, int nID, int nDirection)
{
    if (!pParent)
        return false;
    if (GetSafeHwnd())
        DestroyWindow();
    CRect rect;
    pParent->GetClientRect(&rect);
    if (!CWnd::Create(L"", WS_CHILD | WS_VISIBLE, rect, pParent, UINT(nID))) {
        g_messageLog.Log(LOG_ERROR, "CDataSideView::Create: window not created.");
        m_bCreated = false;
        return false;
    }
    m_bCreated = true;
    const int width = std::max(rect.Width(), 0), height = std::max(rect.Height(), 0);
    CreateImage(width, height);
    m_nDirection = nDirection == DIRECTION_Y ? DIRECTION_Y : DIRECTION_X;
    // Yellow depth line, position line blue along X, red along Y.
    m_crossHair.Create(this, this, width, height, kDepthLineColour, PositionLineColour(m_nDirection));
    m_crossHair.SetVerticalMovable(m_bPositionLineMovable);
    m_crossHair.SetHidden(m_bDrawingMode || !m_bCrossHairShown);
    Show(false);
    if (m_bBound) {
        UpdateResampMaps(ClientRect());
        UpdateThickness();
    }
    if (m_bPainterEnabled)
        CreatePainter();
    return true;
}

void CDataSideView::CreatePainter()
{
    m_painter.Create(this, this, PainterMode(m_nDirection), m_image.GetWidth(), m_image.GetHeight());
    m_painter.SetEnabled(m_bPainterEnabled);
    if (m_bBound) {
        const CProjectSettings& s = m_pProject->m_settings;
        m_painter.SetGridSize(s.m_iSizeX, s.m_iSizeY, s.m_iSamples);
        m_painter.RebuildObjects();
    }
}

void CDataSideView::SetData(CProject* pProject, C3DMatrix* pMatrix)
{
    if (!pProject) {
        m_pProject = nullptr;
        m_pMatrix = nullptr;
        m_bBound = false;
        m_painter.ClearObjects();
        m_crossHair.SetBand(false, 0, 0);
        m_image.SetValid(false);
        return;
    }
    m_pProject = pProject;
    m_bBound = true;
    // The painter's list still points at the objects of the project before, which are gone: it
    // lets go of them before anything measures or composes them, and takes the objects that came
    // with this one once it has the new grid.
    if (m_bCreated && m_bPainterEnabled)
        m_painter.ClearObjects();
    UpdateResampMaps(ClientRect());
    m_pMatrix = pMatrix;
    // The new project's cross-hair is taken over whatever it is.
    m_fCursorX = m_fCursorY = m_fCursorDepth = -1.0f;
    UpdateFromSettings(true);
    UpdateThickness();
    if (m_bCreated && m_bPainterEnabled) {
        const CProjectSettings& s = pProject->m_settings;
        m_painter.SetGridSize(s.m_iSizeX, s.m_iSizeY, s.m_iSamples);
        m_painter.RebuildObjects();
    }
    m_image.SetValid(false);
}

void CDataSideView::SetDirection(int nDirection)
{
    m_nDirection = nDirection == DIRECTION_Y ? DIRECTION_Y : DIRECTION_X;
    m_nSectionLine = -1;
    m_fSectionFraction = 0.0f;
    m_fCursorX = m_fCursorY = -1.0f;
    if (!m_bCreated)
        return;
    m_crossHair.SetColours(kDepthLineColour, PositionLineColour(m_nDirection));
    if (m_bPainterEnabled)
        CreatePainter();
    if (m_bBound) {
        UpdateResampMaps(ClientRect());
        UpdateFromSettings(true);
    }
    InvalidateImage();
}

// ---------------------------------------------------------------------------------------------
// Maps and settings

bool CDataSideView::HasData() const
{
    return m_bBound && m_pProject && m_pMatrix && m_pMatrix->IsInitialized() && m_pProject->m_settings.m_iSamples > 0 &&
           GetLineCount() > 0;
}

int CDataSideView::GetPositionCount() const
{
    if (!m_pProject)
        return 0;
    const CProjectSettings& s = m_pProject->m_settings;
    return std::max(m_nDirection == DIRECTION_X ? s.m_iSizeX : s.m_iSizeY, 0);
}

int CDataSideView::GetLineCount() const
{
    if (!m_bBound || !m_pMatrix)
        return 0;
    return int(m_nDirection == DIRECTION_X ? m_pMatrix->m_nHorzLines : m_pMatrix->m_nVertLines);
}

void CDataSideView::SetSectionLine(int nLine)
{
    m_nSectionLine = nLine < 0 ? -1 : std::min(nLine, std::max(GetLineCount() - 1, 0));
    m_fSectionFraction = 0.0f;
}

void CDataSideView::UpdateResampMaps(const CRect& rect)
{
    if (!m_pProject)
        return;
    const CProjectSettings& s = m_pProject->m_settings;
    const int width = std::max(rect.Width(), 0), height = std::max(rect.Height(), 0);
    const int samples = std::max(s.m_iSamples, 0);
    CreateResampleMapRange(m_depthMap, std::max(samples - 1, 0), height);
    CreateResampleMapRange(m_columnMap, std::max(GetPositionCount() - 1, 0), width);
    try {
        m_gain.assign(size_t(height), 1.0f);
    } catch (const std::bad_alloc&) {
        m_gain.clear();
        g_messageLog.Log(LOG_ERROR, "CDataSideView: out of memory for %d rows.", height);
    }
    UpdateGain();
    // The zero-level row is the first whose sample lies at or below the zero level.
    const float step = m_depthMap.m_fStep;
    int row = step > 0 ? TruncToInt(s.m_iZeroLevel / double(step)) : 0;
    row = std::clamp(row, 0, std::max(height - 1, 0));
    if (row < height - 1 && CompareFloat(RowToSample(row), float(s.m_iZeroLevel)) < 0)
        ++row;
    m_nZeroLevelRow = row;
    m_crossHair.SetMinRow(row);
    g_messageLog.Log(LOG_DEBUG, "CDataSideView::UpdateResampMaps");
}

void CDataSideView::UpdateGain()
{
    if (!m_pProject || m_gain.empty())
        return;
    const CProcessingParams& p = m_pProject->m_settings.m_params;
    ComputeTimeGain(m_gain.data(), m_gain.size(), m_depthMap, p.m_iTgLinear, p.m_iTgExponent, p.m_iTgStart,
                    p.m_iTimeGain, TIME_GAIN_SCALE);
}

void CDataSideView::UpdateThickness()
{
    if (!m_pProject)
        return;
    const int thickness = m_pProject->m_settings.m_params.m_iAperture;
    const double step = m_depthMap.m_fStep;
    const int height = m_image.GetHeight();
    // Whole-number halvings; a band wider than the view is cut by the drawing.
    m_nUpperBand = step > 0 ? std::clamp(TruncToInt(-((thickness - 1) / 2) / step), -height, height) : 0;
    m_nLowerBand = step > 0 ? std::clamp(TruncToInt((thickness / 2) / step), -height, height) : 0;
    m_crossHair.SetBand(m_bBound, m_nUpperBand, m_nLowerBand);
}

float CDataSideView::RowToSample(int row) const
{
    const int rows = int(m_depthMap.m_nTargetCount);
    return rows > 0 ? MapTargetToSource(m_depthMap, std::clamp(row, 0, rows - 1)) : 0.0f;
}

int CDataSideView::SampleToRow(float sample) const
{
    const int row = std::clamp(MapSourceToTarget(m_depthMap, sample), 0, std::max(m_image.GetHeight() - 1, 0));
    return std::max(row, m_nZeroLevelRow);
}

int CDataSideView::PositionToColumn(float position) const
{
    return std::clamp(MapSourceToTarget(m_columnMap, position), 0, std::max(m_image.GetWidth() - 1, 0));
}

float CDataSideView::GetAlongCursor() const
{
    return m_nDirection == DIRECTION_X ? m_pProject->m_fCursorX : m_pProject->m_fCursorY;
}

void CDataSideView::UpdateFromSettings(bool bForce)
{
    if (!m_bBound || !m_pProject)
        return;
    const CProjectSettings& s = m_pProject->m_settings;
    const bool bAlongX = m_nDirection == DIRECTION_X;
    const float section = bAlongX ? m_pProject->m_fCursorY : m_pProject->m_fCursorX;
    const float along = bAlongX ? m_pProject->m_fCursorX : m_pProject->m_fCursorY;
    const float copySection = bAlongX ? m_fCursorY : m_fCursorX;
    const float copyAlong = bAlongX ? m_fCursorX : m_fCursorY;
    const float depth = m_pProject->m_fCursorDepth;

    const bool bSectionChanged = bForce || CompareFloat(section, copySection) != 0;
    if (bSectionChanged) {
        const int lines = GetLineCount();
        double position = s.m_iProfileSpacing > 0 ? double(section) / s.m_iProfileSpacing : 0.0;
        if (!(position >= 0))
            position = 0;
        if (TruncToInt(position) == lines - 1)
            position -= 0.00001;
        position = std::clamp(position, 0.0, std::max(lines - 1.00001, 0.0));
        m_nSectionLine = lines > 0 ? std::min(TruncToInt(position), lines - 1) : -1;
        m_fSectionFraction = lines > 0 ? float(position - m_nSectionLine) : 0.0f;
        InvalidateImage();
    }
    CPoint point = m_crossHair.GetPosition();
    bool bMoved = false, bAlongMoved = false;
    if (bForce || CompareFloat(along, copyAlong) != 0) {
        point.x = PositionToColumn(along);
        bMoved = bAlongMoved = point.x != m_crossHair.GetPosition().x;
    }
    if (bForce || CompareFloat(depth, m_fCursorDepth) != 0) {
        point.y = SampleToRow(depth);
        bMoved = bMoved || point.y != m_crossHair.GetPosition().y;
    }
    m_fCursorX = m_pProject->m_fCursorX;
    m_fCursorY = m_pProject->m_fCursorY;
    m_fCursorDepth = depth;
    if (bSectionChanged || !bMoved)
        m_crossHair.SetPosition(point);
    else
        m_crossHair.MoveTo(point, !bAlongMoved);
}

// ---------------------------------------------------------------------------------------------
// Rendering

void CDataSideView::Render(const CRect& rect)
{
    if (!m_bShown)
        return;
    const int lines = GetLineCount();
    if (!HasData() || m_nSectionLine < 0 || GetPositionCount() < 1) {
        RenderEmpty(rect);
    } else {
        const bool bAlongX = m_nDirection == DIRECTION_X;
        const uint32_t lineA = uint32_t(std::min(m_nSectionLine, lines - 1));
        const uint32_t lineB = std::min(lineA + 1, uint32_t(lines - 1));
        const uint32_t perLine = bAlongX ? m_pMatrix->m_nNX : m_pMatrix->m_nNY;
        const int positions = std::min(GetPositionCount(), int(perLine));
        CSection section;
        section.m_rect = rect;
        section.m_fWeightA = 1.0f - m_fSectionFraction;
        section.m_fWeightB = m_fSectionFraction;
        section.m_nFirstColumn = 0;
        section.m_nEndColumn = rect.Width();
        section.m_tracesA.resize(size_t(std::max(positions, 0)));
        section.m_tracesB.resize(section.m_tracesA.size());
        for (int t = 0; t < positions; ++t) {
            section.m_tracesA[size_t(t)] = bAlongX ? m_pMatrix->GetHorzTrace(lineA, uint32_t(t))
                                                   : m_pMatrix->GetVertTrace(lineA, uint32_t(t));
            section.m_tracesB[size_t(t)] = bAlongX ? m_pMatrix->GetHorzTrace(lineB, uint32_t(t))
                                                   : m_pMatrix->GetVertTrace(lineB, uint32_t(t));
        }
        RenderSection(section);
        m_image.SetValid(true);
    }
    ComposeObjects();
}

bool CDataSideView::MapColumnTraces(const CSection& section, int first, int end, int traces, bool bBlend)
{
    // Slots in the order the columns first need them; the right neighbour of one column is
    // the left trace of the next, and each trace has one slot.
    try {
        m_traceSlots.assign(size_t(traces), -1);
        m_columns.resize(size_t(end - first));
        m_slotTraces.clear();
        for (int q = first; q < end; ++q) {
            const int t = std::min(int(m_columnMap.m_index[size_t(q)]), traces - 1);
            const int t1 = std::min(t + 1, traces - 1);
            CColumn& column = m_columns[size_t(q - first)];
            for (const auto& [trace, pSlot] : {std::pair(t, &column.m_nLeft), std::pair(t1, &column.m_nRight)}) {
                int& slot = m_traceSlots[size_t(trace)];
                if (slot < 0) {
                    slot = int(m_slotTraces.size());
                    m_slotTraces.push_back(trace);
                }
                *pSlot = uint32_t(slot);
            }
            column.m_fRight = m_columnMap.m_fraction[size_t(q)];
            column.m_fLeft = 1.0f - column.m_fRight;
        }
        const size_t nSlots = m_slotTraces.size();
        m_slotSources.resize(bBlend ? 2 * nSlots : nSlots);
        for (size_t k = 0; k < nSlots; ++k) {
            m_slotSources[k] = section.m_tracesA[size_t(m_slotTraces[k])];
            if (bBlend)
                m_slotSources[nSlots + k] = section.m_tracesB[size_t(m_slotTraces[k])];
        }
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "CDataSideView: out of memory for %d columns.", end - first);
        return false;
    }
    return true;
}

bool CDataSideView::GatherSlotSamples(int samples, int height, size_t sampleStride)
{
    const size_t sources = m_slotSources.size();
    m_nResampFirst = m_nResampEnd = 0;
    const size_t count = std::min<size_t>(m_depthMap.m_nTargetCount, size_t(std::max(height, 0)));
    size_t first = 0, end = 0;
    m_depthMap.GetInterpolatedRange(count, first, end);
    const int available = int(std::min<int64_t>(m_depthMap.m_nSourceCount, std::max(samples, 0)));
    if (available <= 0 || first >= end || sources == 0)
        return true;
    // The samples the interpolated rows read, as ResampleTrace reads them.
    const int last = available - 1;
    int low = last, high = 0;
    for (size_t k = first; k < end; ++k) {
        low = std::min(low, int(std::min<uint32_t>(m_depthMap.m_index[k], uint32_t(last))));
        high = std::max(high, int(std::min<int64_t>(int64_t{m_depthMap.m_index[k]} + 1, last)));
    }
    m_nResampFirst = int(first);
    m_nResampEnd = int(end);
    m_nSampleLow = low;
    m_nSampleLast = last;
    // Slot k's sample i at the first slot's trace + i * stride + k: the rows are there.
    const float* base = m_slotSources[0];
    bool bInRows = base != nullptr;
    for (size_t k = 1; k < sources && bInRows; ++k)
        bInRows = m_slotSources[k] == base + k;
    if (bInRows) {
        m_pSlotRows = base + size_t(low) * sampleStride;
        m_nSlotRowStride = sampleStride;
        return true;
    }
    try {
        m_slotSamples.resize(size_t(high - low + 1) * sources);
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "CDataSideView: out of memory for %zu traces of %d samples.", sources, high - low + 1);
        return false;
    }
    m_pSlotRows = m_slotSamples.data();
    m_nSlotRowStride = sources;
    if (sampleStride != 1) {
        // Sample by sample: each sample of the traces lies in one row of them.
        float* copy = m_slotSamples.data();
        for (int i = low; i <= high; ++i, copy += sources)
            for (size_t k = 0; k < sources; ++k)
                copy[k] = m_slotSources[k] ? m_slotSources[k][size_t(i) * sampleStride] : 0.0f;
        return true;
    }
    // Blocks of 16 traces: each sample of the block fills one cache line of the copy. A trace
    // that is not there reads zeros.
    constexpr size_t kBlock = 16;
    try {
        m_zeroTrace.assign(size_t(high) + 1, 0.0f);
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "CDataSideView: out of memory for a trace of %d samples.", high + 1);
        return false;
    }
    for (size_t k0 = 0; k0 < sources; k0 += kBlock) {
        const size_t n = std::min(kBlock, sources - k0);
        const float* block[kBlock];
        for (size_t j = 0; j < kBlock; ++j) {
            const float* pSource = j < n ? m_slotSources[k0 + j] : nullptr;
            block[j] = pSource ? pSource : m_zeroTrace.data();
        }
        float* copy = m_slotSamples.data() + k0;
        if (n == kBlock) {
            for (int i = low; i <= high; ++i, copy += sources)
                for (size_t j = 0; j < kBlock; ++j)
                    copy[j] = block[j][i];
        } else {
            for (int i = low; i <= high; ++i, copy += sources)
                for (size_t j = 0; j < n; ++j)
                    copy[j] = block[j][i];
        }
    }
    return true;
}

void CDataSideView::ResampleSlotRow(int r, float* row) const
{
    const size_t sources = m_slotSources.size();
    if (r < m_nResampFirst || r >= m_nResampEnd) {
        std::fill(row, row + sources, 0.0f);
        return;
    }
    // ResampleTrace's interpolation, for every slot at once.
    const uint32_t index = m_depthMap.m_index[size_t(r)];
    const int i0 = int(std::min<uint32_t>(index, uint32_t(m_nSampleLast)));
    const int i1 = int(std::min<int64_t>(int64_t{index} + 1, m_nSampleLast));
    const float f = m_depthMap.m_fraction[size_t(r)], g = 1.0f - f;
    const float* s0 = m_pSlotRows + size_t(i0 - m_nSampleLow) * m_nSlotRowStride;
    const float* s1 = m_pSlotRows + size_t(i1 - m_nSampleLow) * m_nSlotRowStride;
    for (size_t k = 0; k < sources; ++k)
        row[k] = s1[k] * f + g * s0[k];
}

void CDataSideView::RenderSection(const CSection& section)
{
    const int traces = int(std::min(section.m_tracesA.size(), section.m_tracesB.size()));
    if (!m_image.GetBits() || !m_pProject || traces < 1)
        return;
    // Never more samples than the traces hold.
    const int samples = std::max(std::min(m_pProject->m_settings.m_iSamples, m_pMatrix ? int(m_pMatrix->m_nSamples) : 0), 0);
    const int height = std::min({section.m_rect.Height(), m_image.GetHeight(), int(m_depthMap.m_nTargetCount),
                                 int(m_gain.size())});
    const int columns = std::min(m_image.GetWidth(), int(m_columnMap.m_nTargetCount));
    const int first = std::max(section.m_nFirstColumn, 0), end = std::min(section.m_nEndColumn, columns);
    if (height <= 0 || first >= end)
        return;
    const float contrast = float(0.3 * std::pow(1.11, m_pProject->m_settings.m_iContrast));
    const float weightA = section.m_fWeightA, weightB = section.m_fWeightB;
    // A second line of weight 0, or the same line, need not be read.
    const bool bBlend = weightB != 0.0f && section.m_tracesB != section.m_tracesA;
    ClearUpperVectorState();
    if (!MapColumnTraces(section, first, end, traces, bBlend) || !GatherSlotSamples(samples, height, section.m_nSampleStride))
        return;
    try {
        m_slotRow.resize(m_slotSources.size());
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "CDataSideView: out of memory for a row of %zu traces.", m_slotSources.size());
        return;
    }
    m_paletteLookup.Update(g_cfg.m_curColors, g_cfg.m_bPaletteWrap);

    const CColumn* pColumns = m_columns.data() - first;
    const size_t nSlots = m_slotTraces.size();
    for (int r = 0; r < height; ++r) {
        ResampleSlotRow(r, m_slotRow.data());
        const float* a = m_slotRow.data();
        const float* b = a + (bBlend ? nSlots : 0);
        // The time gain times the contrast.
        const float scale = m_gain[size_t(r)] * contrast;
        uint32_t* row = m_image.GetRowPixels(r);
        if (bBlend) {
            for (int q = first; q < end; ++q) {
                const CColumn& c = pColumns[q];
                float v = (a[c.m_nLeft] * c.m_fLeft + a[c.m_nRight] * c.m_fRight) * weightA;
                v += (b[c.m_nLeft] * c.m_fLeft + b[c.m_nRight] * c.m_fRight) * weightB;
                row[q] = m_paletteLookup.WordOf(v * scale);
            }
        } else {
            for (int q = first; q < end; ++q) {
                const CColumn& c = pColumns[q];
                const float v = (a[c.m_nLeft] * c.m_fLeft + a[c.m_nRight] * c.m_fRight) * weightA;
                row[q] = m_paletteLookup.WordOf(v * scale);
            }
        }
    }
}

void CDataSideView::RenderEmpty(const CRect& rect)
{
    if (!m_image.GetBits())
        return;
    m_image.FillRect(&rect, &m_backgroundBrush);
    m_image.SelectObject(&m_framePen);
    m_image.SelectObject(&m_backgroundBrush);
    m_image.Rectangle(&rect);
    m_image.MoveTo(rect.left, rect.top);
    m_image.LineTo(rect.right - 1, rect.bottom - 1);
    m_image.SetValid(true);
}

void CDataSideView::InvalidateImage()
{
    m_image.SetValid(false);
    if (GetSafeHwnd())
        Invalidate(true);
}

void CDataSideView::Resize(const CRect& rect)
{
    if (!m_bCreated)
        return;
    const int width = std::max(rect.Width(), 0), height = std::max(rect.Height(), 0);
    if (width != m_image.GetWidth() || height != m_image.GetHeight()) {
        m_image.Resize(width, height);
        if (m_bBound) {
            UpdateResampMaps(CRect(0, 0, width, height));
            UpdateThickness();
        }
        m_crossHair.Resize(width, height);
        // A bound view marks the cursor itself, also when it had no size to scale from.
        if (m_bBound)
            m_crossHair.SetPosition(CPoint(PositionToColumn(GetAlongCursor()), SampleToRow(m_pProject->m_fCursorDepth)));
        m_image.SetValid(false);
        if (m_bPainterEnabled)
            m_painter.SetSize(width, height);
    }
    MoveWindow(&rect, false);
}

// ---------------------------------------------------------------------------------------------
// Positions and notification

void CDataSideView::PixelToPosition(CPoint point, float& x, float& y) const
{
    x = y = 0.0f;
    if (!m_pProject)
        return;
    // The section lies in the cross-hair's plane.
    x = m_pProject->m_fCursorX;
    y = m_pProject->m_fCursorY;
    (m_nDirection == DIRECTION_X ? x : y) = MapTargetToSource(m_columnMap, point.x);
}

float CDataSideView::PixelToDepth(CPoint point) const
{
    return MapTargetToSource(m_depthMap, point.y);
}

bool CDataSideView::TakeCursorPoint(CPoint point, bool bSet)
{
    if (!m_bBound || !m_pProject)
        return false;
    CProjectSettings& s = m_pProject->m_settings;
    const float depth = LimitFloat(RowToSample(point.y), float(s.m_iZeroLevel), float(std::max(s.m_iSamples - 1, s.m_iZeroLevel)));
    // The point lies in the cross-hair's plane; on the column that shows the cursor it keeps
    // the cursor's own position, so that moving the depth line alone never moves it.
    float x = m_pProject->m_fCursorX, y = m_pProject->m_fCursorY;
    if (m_bPositionLineMovable && (!bSet || point.x != PositionToColumn(GetAlongCursor()))) {
        const float last = float(std::max(GetPositionCount() - 1, 0));
        (m_nDirection == DIRECTION_X ? x : y) = std::clamp(MapTargetToSource(m_columnMap, point.x), 0.0f, last);
    }
    if (bSet) {
        m_fCursorDepth = depth;
        m_pProject->m_fCursorDepth = depth;
        s.m_iDepthIndex = TruncToInt(depth);
        m_pProject->m_fCursorX = x;
        m_pProject->m_fCursorY = y;
    } else {
        m_pProject->m_fHoverDepth = depth;
        if (m_bPositionLineMovable) {
            m_pProject->m_fHoverX = x;
            m_pProject->m_fHoverY = y;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Switches

void CDataSideView::SetPositionLineMovable(bool bMovable)
{
    m_bPositionLineMovable = bMovable;
    m_crossHair.SetVerticalMovable(bMovable);
}

void CDataSideView::SetCrossHairShown(bool bShown)
{
    m_bCrossHairShown = bShown;
    m_crossHair.SetHidden(m_bDrawingMode || !bShown);
}

void CDataSideView::SetPainterEnabled(bool bEnabled)
{
    m_bPainterEnabled = bEnabled;
    if (bEnabled && m_bCreated && !m_painter.GetComposite().IsCreated())
        CreatePainter();
    m_painter.SetEnabled(bEnabled);
}

void CDataSideView::SetDrawingMode(bool bOn)
{
    m_bDrawingMode = bOn;
    m_crossHair.SetHidden(bOn || !m_bCrossHairShown);
}

// ---------------------------------------------------------------------------------------------
// Painting

void CDataSideView::OnPaint()
{
    if (!m_bCreated || m_bForPrinting)
        return;
    CPaintDC dc(this);
    if (!m_image.IsValid())
        Render(ClientRect());
    DrawComposed(dc, CPoint(0, 0));
}

void CDataSideView::CopyImageTo(CDC* pDC)
{
    if (!m_bCreated || !pDC)
        return;
    if (!m_image.IsValid())
        Render(ClientRect());
    DrawComposed(*pDC, OriginInParent());
}

// ---------------------------------------------------------------------------------------------
// Mouse and keys

void CDataSideView::OnLButtonDown(UINT, CPoint point)
{
    if (!m_bCreated)
        return;
    if (!m_bDrawingMode) {
        m_crossHair.OnLButtonDown(point);
        return;
    }
    point.y = std::max(point.y, m_nZeroLevelRow - 1);
    if (m_bBound && m_bPainterEnabled &&
        m_painter.OnLButtonDown(point, m_pProject->m_fHoverX, m_pProject->m_fHoverY, m_pProject->m_fHoverDepth))
        Invalidate(false);
}

void CDataSideView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bCreated || !m_crossHair.TrackMouse(point))
        return;
    if (!m_bDrawingMode) {
        m_crossHair.OnMouseMove(nFlags, point);
        return;
    }
    // The painter places what it edits at the hover position of this very point.
    m_crossHair.NotifyParent(false);
    point.y = std::max(point.y, m_nZeroLevelRow - 1);
    if (m_bBound && m_bPainterEnabled &&
        m_painter.OnMouseMove(nFlags, point, m_pProject->m_fHoverX, m_pProject->m_fHoverY, m_pProject->m_fHoverDepth))
        Invalidate(false);
    ShowCursor();
}

void CDataSideView::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bDrawingMode) {
        m_crossHair.OnLButtonUp();
        return;
    }
    point.y = std::max(point.y, m_nZeroLevelRow - 1);
    if (m_bCreated && m_bBound && m_bPainterEnabled &&
        m_painter.OnLButtonUp(point, m_pProject->m_fHoverX, m_pProject->m_fHoverY, m_pProject->m_fHoverDepth))
        Invalidate(false);
}

void CDataSideView::MoveDepthLine(int row)
{
    CPoint point = m_crossHair.GetPosition();
    point.y = row;
    if (m_bDrawingMode)
        m_crossHair.SetPosition(point);
    else
        m_crossHair.MoveTo(point, true);
}

bool CDataSideView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    if (!WheelMovesDepth())
        return false;
    const int rows = m_image.GetHeight();
    const int row = std::clamp(m_crossHair.GetPosition().y - zDelta / 120, m_nZeroLevelRow, std::max(rows - 1, m_nZeroLevelRow));
    CProjectSettings& s = m_pProject->m_settings;
    const float depth = LimitFloat(RowToSample(row), float(s.m_iZeroLevel), float(std::max(s.m_iSamples - 1, s.m_iZeroLevel)));
    m_pProject->m_fCursorDepth = depth;
    m_fCursorDepth = depth;
    s.m_iDepthIndex = TruncToInt(depth);
    MoveDepthLine(row);
    m_crossHair.SendCursorMoved(true);
    return true;
}

void CDataSideView::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (!m_bCreated || (nChar != VK_UP && nChar != VK_DOWN))
        return;
    const float step = m_depthMap.m_fStep;
    const int rowsPerSample = step > 0 ? std::clamp(TruncToInt(1.0 / step), 0, 1 << 20) : 0;
    const int rows = m_image.GetHeight();
    const int delta = nChar == VK_UP ? -rowsPerSample : rowsPerSample;
    const int row = std::clamp(m_crossHair.GetPosition().y + delta, m_nZeroLevelRow, std::max(rows - 1, m_nZeroLevelRow));
    MoveDepthLine(row);
    if (m_bBound)
        m_crossHair.NotifyParent(true);
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT CDataSideView::OnDataChanged(WPARAM, LPARAM lParam)
{
    if (!m_bBound)
        return 0;
    switch (GetCode(lParam)) {
    case DATA_TIME_GAIN:
        UpdateGain();
        [[fallthrough]];
    case DATA_CONTRAST:
    case DATA_RECOMPUTED:
        m_image.SetValid(false);
        break;
    case DATA_THICKNESS:
        UpdateThickness();
        break;
    case DATA_ZERO_LEVEL:
        UpdateResampMaps(ClientRect());
        if (m_crossHair.GetPosition().y < m_nZeroLevelRow)
            m_crossHair.SetPosition(CPoint(m_crossHair.GetPosition().x, m_nZeroLevelRow));
        // The matrix was computed again for the new zero level.
        m_image.SetValid(false);
        break;
    default:
        return 0;
    }
    Invalidate(false);
    return 0;
}

LRESULT CDataSideView::OnDrawingEvent(WPARAM wParam, LPARAM lParam)
{
    if (!TakeDrawingEvent(wParam, lParam))
        return 0;
    switch (GetCode(lParam)) {
    case DRAW_MODE_ON:
        SetDrawingMode(true);
        break;
    case DRAW_MODE_OFF:
        SetDrawingMode(false);
        m_painter.Reset(false);
        m_painter.SetDepthRange(m_pProject->m_fCursorDepth, false);
        m_painter.Paint();
        break;
    case DRAW_VISIBILITY:
        // A section shows every object whatever the depth.
        return 0;
    default:
        if (!ApplyDrawingEvent(lParam))
            return 0;
        break;
    }
    Invalidate(false);
    return 0;
}
