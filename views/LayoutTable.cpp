#include "LayoutTable.h"

#include "TruncToInt.h"

#include "DC.h"
#include "GdiObjects.h"
#include "MessageLog.h"

#include <algorithm>

namespace {
constexpr int kLimit = 4000; // extents and size values stay below it

// A percentage of a free length less the two margins around the cell, toward zero. The
// product comes first: 57 / 100.0 x 100 would fall just short of 57.
// Never below 0: where the fixed cells leave no room, a percent cell is empty instead of
// turning over and pulling the cells after it back over those before it.
int PercentExtent(int percent, int freeLength, int margins)
{
    return std::max(TruncToInt(double(freeLength) * percent / 100.0 - margins), 0);
}
} // namespace

bool CLayoutTable::CCell::IsValid() const
{
    const CRect& r = m_rect;
    return r.left >= 0 && r.top >= 0 && r.right >= 0 && r.bottom >= 0 && r.top <= r.bottom && r.left <= r.right &&
           m_nWidth >= 0 && m_nHeight >= 0 && r.Width() < kLimit && r.Height() < kLimit && m_nWidth < kLimit &&
           m_nHeight < kLimit;
}

void CLayoutTable::CCell::LogState(const char* prefix) const
{
    const bool bValid = IsValid();
    g_messageLog.Log(bValid ? LOG_DEBUG : LOG_ERROR, "%s Cell(%d,%d) %s property, rect = %d,%d,%d,%d ,size = %d ; %d.",
                     prefix ? prefix : "", m_nColumn, m_nRow, bValid ? "" : "INVALID", m_rect.left, m_rect.top,
                     m_rect.right, m_rect.bottom, m_nWidth, m_nHeight);
}

void CLayoutTable::CCell::UpdateControl() const
{
    if (!IsValid())
        LogState("CCell::UpdateControl():");
    if (m_pObject)
        m_pObject->SetRect(m_rect);
}

CLayoutTable::~CLayoutTable()
{
    Clear();
}

void CLayoutTable::SetSize(int nColumns, int nRows, int nOrientation)
{
    Clear();
    m_nColumns = std::max(0, nColumns);
    m_nRows = std::max(0, nRows);
    m_nOrientation = nOrientation;
    const int lines = nOrientation == ORIENT_COLUMNS ? m_nColumns : nOrientation == ORIENT_ROWS ? m_nRows : 0;
    m_lineSums.assign(size_t(lines), 0);
    m_cells.assign(size_t(m_nColumns) * size_t(m_nRows), CCell());
}

void CLayoutTable::SetMargins(int nLeft, int nTop, int nRight, int nBottom)
{
    m_nLeft = nLeft;
    m_nTop = nTop;
    m_nRight = nRight;
    m_nBottom = nBottom;
}

CLayoutTable::CCell* CLayoutTable::GetCell(int nColumn, int nRow)
{
    if (nColumn < 0 || nColumn >= m_nColumns || nRow < 0 || nRow >= m_nRows)
        return nullptr;
    return &m_cells[size_t(nRow) * size_t(m_nColumns) + size_t(nColumn)];
}

const CLayoutTable::CCell* CLayoutTable::GetCell(int nColumn, int nRow) const
{
    return const_cast<CLayoutTable*>(this)->GetCell(nColumn, nRow);
}

void CLayoutTable::Add(int nColumn, int nRow, int nWidth, int nHeight, TSizeMode widthMode, TSizeMode heightMode,
                       ICContainable* pObject, TCellKind kind)
{
    CCell* pCell = GetCell(nColumn, nRow);
    if (!pCell) {
        g_messageLog.Log(LOG_ERROR, "CLayoutTable::Add: table size:(%d,%d), pos:(%d,%d)", m_nColumns, m_nRows, nColumn,
                         nRow);
        return;
    }
    pCell->m_nColumn = nColumn;
    pCell->m_nRow = nRow;
    pCell->m_nWidth = nWidth;
    pCell->m_nHeight = nHeight;
    pCell->m_widthMode = widthMode;
    pCell->m_heightMode = heightMode;
    pCell->m_kind = kind;
    pCell->m_pObject = pObject;
    pCell->m_rect.SetRectEmpty();
    if (!pCell->IsValid()) {
        g_messageLog.Log(LOG_ERROR, "CLayoutTable::Add: table size:(%d,%d), pos:(%d,%d)", m_nColumns, m_nRows, nColumn,
                         nRow);
        pCell->LogState("CLayoutTable::Add::");
    }
}

void CLayoutTable::CalcMinSize()
{
    m_nFixedTotal = 0;
    std::fill(m_lineSums.begin(), m_lineSums.end(), 0);
    m_minSize = CSize();
    // A table without a row or a column has no leading cell: it stays unready and is never
    // laid out.
    if (m_nColumns == 0 || m_nRows == 0)
        return;
    if (m_nOrientation == ORIENT_ROWS) {
        for (int r = 0; r < m_nRows; ++r) {
            // The first cell sets the row's height whatever its kind.
            const CCell& first = *GetCell(0, r);
            if (first.m_heightMode == smFixed)
                m_nFixedTotal += first.m_nHeight + m_nTop + m_nBottom;
            for (int c = 0; c < m_nColumns; ++c) {
                const CCell& cell = *GetCell(c, r);
                if (cell.TakesRoom() && cell.m_widthMode == smFixed)
                    m_lineSums[size_t(r)] += cell.m_nWidth + m_nLeft + m_nRight;
            }
            m_minSize.cx = std::max(m_minSize.cx, m_lineSums[size_t(r)]);
        }
        m_minSize.cy = m_nFixedTotal;
    } else if (m_nOrientation == ORIENT_COLUMNS) {
        for (int c = 0; c < m_nColumns; ++c) {
            const CCell& top = *GetCell(c, 0);
            if (top.m_widthMode == smFixed)
                m_nFixedTotal += top.m_nWidth + m_nLeft + m_nRight;
            for (int r = 0; r < m_nRows; ++r) {
                const CCell& cell = *GetCell(c, r);
                if (cell.TakesRoom() && cell.m_heightMode == smFixed)
                    m_lineSums[size_t(c)] += cell.m_nHeight + m_nTop + m_nBottom;
            }
            m_minSize.cy = std::max(m_minSize.cy, m_lineSums[size_t(c)]);
        }
        m_minSize.cx = m_nFixedTotal;
    }
    m_bReady = true;
}

void CLayoutTable::Layout(const CRect& rect, CDC* pDC)
{
    if (!m_bReady)
        return;
    if (m_nOrientation == ORIENT_ROWS)
        LayoutRows(rect);
    else if (m_nOrientation == ORIENT_COLUMNS)
        LayoutColumns(rect);
    m_rect = rect;
    UpdateControls(pDC);
}

void CLayoutTable::LayoutRows(const CRect& rect)
{
    const int width = rect.Width();
    const int freeHeight = rect.Height() - m_nFixedTotal;
    int y = rect.top + m_nTop;
    for (int r = 0; r < m_nRows; ++r) {
        const CCell& first = *GetCell(0, r);
        const int h = first.m_heightMode == smPercent ? PercentExtent(first.m_nHeight, freeHeight, m_nTop + m_nBottom)
                      : first.m_heightMode == smFixed ? first.m_nHeight
                                                      : 0;
        const int freeWidth = width - m_lineSums[size_t(r)];
        int x = rect.left;
        for (int c = 0; c < m_nColumns; ++c) {
            CCell& cell = *GetCell(c, r);
            if (!cell.TakesRoom())
                continue;
            cell.m_rect.left = x + m_nLeft;
            if (cell.m_widthMode == smPercent)
                cell.m_rect.right = cell.m_rect.left + PercentExtent(cell.m_nWidth, freeWidth, m_nLeft + m_nRight);
            else if (cell.m_widthMode == smFixed)
                cell.m_rect.right = cell.m_rect.left + cell.m_nWidth;
            cell.m_rect.top = y;
            cell.m_rect.bottom = y + h;
            x = cell.m_rect.right + m_nRight;
        }
        y += h + m_nBottom + m_nTop;
    }
}

void CLayoutTable::LayoutColumns(const CRect& rect)
{
    const int freeWidth = rect.Width() - m_nFixedTotal;
    const int height = rect.Height();
    int x = rect.left + m_nLeft;
    for (int c = 0; c < m_nColumns; ++c) {
        const CCell& top = *GetCell(c, 0);
        const int w = top.m_widthMode == smPercent ? PercentExtent(top.m_nWidth, freeWidth, m_nLeft + m_nRight)
                      : top.m_widthMode == smFixed ? top.m_nWidth
                                                   : 0;
        const int freeHeight = height - m_lineSums[size_t(c)];
        int y = rect.top;
        for (int r = 0; r < m_nRows; ++r) {
            // Spaces are not placed in a columns table.
            CCell& cell = *GetCell(c, r);
            if (!cell.HoldsObject())
                continue;
            cell.m_rect.top = y + m_nTop;
            if (cell.m_heightMode == smPercent)
                cell.m_rect.bottom = cell.m_rect.top + PercentExtent(cell.m_nHeight, freeHeight, m_nTop + m_nBottom);
            else if (cell.m_heightMode == smFixed)
                cell.m_rect.bottom = cell.m_rect.top + cell.m_nHeight;
            cell.m_rect.left = x;
            cell.m_rect.right = x + w;
            y = cell.m_rect.bottom + m_nBottom;
        }
        // The column's own width, also when its top cell is a space.
        x += w + m_nLeft + m_nRight;
    }
}

void CLayoutTable::UpdateControls(CDC* pDC)
{
    // The fills read the first row's and the last column's cells.
    if (m_cells.empty())
        return;
    if (!pDC) {
        for (const CCell& cell : m_cells)
            if (cell.HoldsObject() && cell.m_pObject)
                cell.m_pObject->SetRect(cell.m_rect);
        return;
    }
    CPen pen(PS_SOLID, 1, COLOR_BTNFACE_VALUE);
    CBrush brush(COLOR_BTNFACE_VALUE);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    for (const CCell& cell : m_cells)
        if (cell.HoldsObject())
            cell.UpdateControl();
    FillUncovered(pDC);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void CLayoutTable::FillUncovered(CDC* pDC) const
{
    // An empty or upside-down stretch has nothing to fill.
    auto fill = [pDC](int left, int top, int right, int bottom) {
        if (left < right && top < bottom)
            pDC->Rectangle(left, top, right, bottom);
    };
    const CRect& rect = m_rect;
    if (m_nOrientation == ORIENT_COLUMNS) {
        int previousRight = rect.left;
        for (int c = 0; c < m_nColumns; ++c) {
            const CRect& column = GetCell(c, 0)->m_rect;
            fill(previousRight, rect.top, column.left, rect.bottom);
            int previousBottom = rect.top;
            for (int r = 0; r < m_nRows; ++r) {
                const CCell& cell = *GetCell(c, r);
                if (cell.m_kind == ckEmpty)
                    continue;
                fill(column.left, previousBottom, column.right, cell.m_rect.top);
                previousBottom = cell.m_rect.bottom;
            }
            fill(column.left, previousBottom, column.right, rect.bottom);
            previousRight = column.right;
        }
        // Only a strip as wide as the right margin; the owner's erase paints what lies beyond.
        if (m_nColumns > 0 && m_nRows > 0) {
            const int edge = GetCell(m_nColumns - 1, 0)->m_rect.right;
            fill(edge, rect.top, edge + m_nRight, rect.bottom);
        }
        return;
    }
    int previousBottom = rect.top;
    for (int r = 0; r < m_nRows && m_nColumns > 0; ++r) {
        const CRect& row = GetCell(0, r)->m_rect;
        const int rowBottom = row.bottom;
        fill(rect.left, previousBottom, rect.right, row.top);
        int previousRight = rect.left;
        for (int c = 0; c < m_nColumns; ++c) {
            const CCell& cell = *GetCell(c, r);
            if (cell.m_kind == ckEmpty)
                continue;
            fill(previousRight, row.top, cell.m_rect.left, rowBottom);
            previousRight = cell.m_rect.right;
        }
        fill(previousRight, row.top, rect.right, rowBottom);
        previousBottom = row.bottom;
    }
    fill(rect.left, previousBottom, rect.right, rect.bottom);
}

void CLayoutTable::EraseBackground(CDC* pDC, bool bFill)
{
    if (m_cells.empty())
        return;
    if (pDC && bFill) {
        CPen pen(PS_SOLID, 1, COLOR_BTNFACE_VALUE);
        CBrush brush(COLOR_BTNFACE_VALUE);
        CPen* pOldPen = pDC->SelectObject(&pen);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        pDC->Rectangle(&m_rect);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
    }
    UpdateControls(pDC);
}

ICContainable* CLayoutTable::HitTest(const CPoint& point) const
{
    for (const CCell& cell : m_cells) {
        const CRect& r = cell.m_rect;
        if (cell.m_kind == ckView && point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom)
            return cell.m_pObject;
    }
    return nullptr;
}

void CLayoutTable::Clear()
{
    m_cells.clear();
    m_lineSums.clear();
    m_nColumns = 0;
    m_nRows = 0;
    m_bReady = false;
}
