#include "ShapeRaster.h"

#include <algorithm>

namespace {
constexpr uint32_t kColourBits = 0x00FFFFFF;
constexpr uint32_t kBlank = Tovrik::CMemDC::PixelOf(RGB(0, 0, 0));
constexpr COLORREF kMark = RGB(255, 255, 255);

// The power of two that every value in [low, high] lies within, or -1 when they reach below 1
// or over more than one.
int32_t PowerOfTwo(int low, int high)
{
    if (low < 1 || high < low)
        return -1;
    int32_t k = 0;
    while ((low >> (k + 1)) != 0)
        ++k;
    return int64_t(high) < (int64_t(2) << k) ? k : -1;
}

CRect Normalised(const CRect& corners)
{
    return CRect(std::min(corners.left, corners.right), std::min(corners.top, corners.bottom),
                 std::max(corners.left, corners.right), std::max(corners.top, corners.bottom));
}
} // namespace

void CShapeRaster::SetSize(int width, int height)
{
    if (!m_surface.IsCreated())
        m_surface.Create(width, height);
    else
        m_surface.Resize(width, height);
    m_nWidth = width;
    m_nHeight = height;
    Clear();
}

void CShapeRaster::Clear()
{
    m_drawn.clear();
    m_store.clear();
}

bool CShapeRaster::CKey::operator==(const CKey& other) const
{
    return nKind == other.nKind && nWidth == other.nWidth && nHeight == other.nHeight &&
           nPenWidth == other.nPenWidth && nColumns == other.nColumns && nRows == other.nRows &&
           nDeviceRows == other.nDeviceRows && nLeft == other.nLeft && nTop == other.nTop;
}

size_t CShapeRaster::CKeyHash::operator()(const CKey& key) const
{
    size_t hash = 14695981039346656037ull;
    for (const int32_t value : {key.nKind, key.nWidth, key.nHeight, key.nPenWidth, key.nColumns, key.nRows,
                                key.nDeviceRows, key.nLeft, key.nTop})
        hash = (hash ^ size_t(uint32_t(value))) * 1099511628211ull;
    return hash;
}

template <class TDraw>
void CShapeRaster::DrawAt(const CRect& area, const TDraw& draw, const CRect& box, std::vector<CShapeSpan>& spans)
{
    draw(box);
    Take(area, spans);
}

template <class TDraw>
void CShapeRaster::Shape(int32_t nKind, const CRect& corners, int nPenWidth, const TDraw& draw,
                         std::vector<CShapeSpan>& spans)
{
    const CRect box = Normalised(corners);
    // A pen's shape stays within twice its width of the corners: round caps and joins reach
    // half the width, a miter join is cut at twice the width; and a pixel for the rounding.
    const int width = std::max(nPenWidth, 1);
    const int reach = 2 * width + 2;
    const CRect area(box.left - reach, box.top - reach, box.right + reach, box.bottom + reach);
    if (area.right <= 0 || area.bottom <= 0 || area.left >= m_nWidth || area.top >= m_nHeight)
        return; // no pixel in the view
    // The coordinates Qt computes with. A line's stroker moves each side by the line's own run
    // before it sets the caps' control points half the width from the ends; ellipses of thin
    // pens and their fills are drawn in whole pixels (and a row's shift). The miter joins of
    // rectangles and the stroked curves of wide ellipse outlines are drawn where they lie.
    const bool bLine = nKind == SHAPE_LINE * 2 + 1;
    if (!bLine && nPenWidth > 1) {
        DrawAt(area, draw, box, spans);
        return;
    }
    // Along an axis the sides lie whole or half pixels from the line, where every coordinate
    // the move reaches is exact whatever its power of two.
    const bool bAslant = bLine && corners.right != corners.left && corners.bottom != corners.top;
    const int runX = bAslant ? std::abs(corners.right - corners.left) : 0;
    const int runY = bAslant ? std::abs(corners.bottom - corners.top) : 0;
    const CRect reached(box.left - runX - width - 2, box.top - runY - width - 2, box.right + runX + width + 2,
                        box.bottom + runY + width + 2);
    // Rows run bottom-up on the device: its row of window row y is height - y. An axis whose
    // coordinates cross a power of two keeps the shape's place on it.
    const int32_t columns = PowerOfTwo(reached.left, reached.right);
    const int32_t rows = PowerOfTwo(reached.top, reached.bottom);
    const int32_t deviceRows = PowerOfTwo(m_nHeight - reached.bottom, m_nHeight - reached.top);
    const CKey key{nKind, corners.right - corners.left, corners.bottom - corners.top, nPenWidth, columns, rows,
                   deviceRows, columns < 0 ? box.left : 0, rows < 0 || deviceRows < 0 ? box.top : 0};
    // Whole within the view, so that no pixel is cut off.
    const bool bShifts = area.left >= 0 && area.top >= 0 && area.right <= m_nWidth && area.bottom <= m_nHeight;
    if (bShifts) {
        const auto found = m_drawn.find(key);
        if (found != m_drawn.end()) {
            for (size_t i = 0; i < found->second.m_nCount; ++i) {
                const CShapeSpan& s = m_store[found->second.m_nFirst + i];
                spans.push_back({s.y + box.top, s.x0 + box.left, s.x1 + box.left});
            }
            return;
        }
    }
    const size_t first = spans.size();
    DrawAt(area, draw, box, spans);
    if (!bShifts)
        return;
    m_drawn.emplace(key, CDrawn{m_store.size(), spans.size() - first});
    for (size_t i = first; i < spans.size(); ++i)
        m_store.push_back({spans[i].y - box.top, spans[i].x0 - box.left, spans[i].x1 - box.left});
}

void CShapeRaster::AddBox(int left, int top, int right, int bottom, std::vector<CShapeSpan>& spans) const
{
    left = std::max(left, 0);
    right = std::min(right, m_nWidth);
    if (left >= right)
        return;
    for (int y = std::max(top, 0); y < std::min(bottom, m_nHeight); ++y)
        spans.push_back({y, left, right});
}

void CShapeRaster::Fill(int32_t nType, const CRect& corners, std::vector<CShapeSpan>& spans)
{
    const CRect box = Normalised(corners);
    if (nType == SHAPE_RECT) {
        AddBox(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, spans);
        return;
    }
    if (nType != SHAPE_CIRCLE || !m_surface.GetBits())
        return;
    Shape(nType * 2, corners, 1, [this](const CRect& rect) {
        CBrush brush(kMark);
        CPen* pOldPen = static_cast<CPen*>(m_surface.SelectStockObject(NULL_PEN));
        CBrush* pOldBrush = m_surface.SelectObject(&brush);
        m_surface.Ellipse(&rect);
        m_surface.SelectObject(pOldPen);
        m_surface.SelectObject(pOldBrush);
    }, spans);
}

void CShapeRaster::Outline(int32_t nType, const CRect& corners, int nPenWidth, std::vector<CShapeSpan>& spans)
{
    const CRect box = Normalised(corners);
    if (nType == SHAPE_RECT && nPenWidth <= 1) {
        // The device context's four one-pixel edges.
        if (box.right - box.left < 1 || box.bottom - box.top < 1)
            return;
        AddBox(box.left, box.top, box.right, box.top + 1, spans);
        if (box.bottom - box.top < 2)
            return;
        AddBox(box.left, box.top + 1, box.left + 1, box.bottom - 1, spans);
        if (box.right - box.left > 1)
            AddBox(box.right - 1, box.top + 1, box.right, box.bottom - 1, spans);
        AddBox(box.left, box.bottom - 1, box.right, box.bottom, spans);
        return;
    }
    if (!m_surface.GetBits())
        return;
    Shape(nType * 2 + 1, corners, nPenWidth, [&](const CRect& rect) {
        CPen pen(PS_SOLID, nPenWidth, kMark);
        CPen* pOldPen = m_surface.SelectObject(&pen);
        CBrush* pOldBrush = static_cast<CBrush*>(m_surface.SelectStockObject(HOLLOW_BRUSH));
        switch (nType) {
        case SHAPE_LINE:
            m_surface.MoveTo(corners.left, corners.top);
            m_surface.LineTo(corners.right, corners.bottom);
            break;
        case SHAPE_RECT: m_surface.Rectangle(&rect); break;
        default: m_surface.Ellipse(&rect); break;
        }
        m_surface.SelectObject(pOldPen);
        m_surface.SelectObject(pOldBrush);
    }, spans);
}

void CShapeRaster::Take(const CRect& area, std::vector<CShapeSpan>& spans)
{
    const int left = std::max(area.left, 0), right = std::min(area.right, m_nWidth);
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, m_nHeight); ++y) {
        uint32_t* row = m_surface.GetRowPixels(y);
        for (int x = left; x < right;) {
            if (!(row[x] & kColourBits)) {
                ++x;
                continue;
            }
            const int start = x;
            for (; x < right && (row[x] & kColourBits); ++x)
                row[x] = kBlank;
            spans.push_back({y, start, x});
        }
    }
}
