#include "ShapeRaster.h"

#include <algorithm>

namespace {
constexpr uint32_t kColourBits = 0x00FFFFFF;
constexpr uint32_t kBlank = Tovrik::CMemDC::PixelOf(RGB(0, 0, 0));
constexpr COLORREF kMark = RGB(255, 255, 255);

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
    CBrush brush(kMark);
    CPen* pOldPen = static_cast<CPen*>(m_surface.SelectStockObject(NULL_PEN));
    CBrush* pOldBrush = m_surface.SelectObject(&brush);
    m_surface.Ellipse(&box);
    m_surface.SelectObject(pOldPen);
    m_surface.SelectObject(pOldBrush);
    Take(CRect(box.left - 3, box.top - 3, box.right + 3, box.bottom + 3), spans);
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
    CPen pen(PS_SOLID, nPenWidth, kMark);
    CPen* pOldPen = m_surface.SelectObject(&pen);
    CBrush* pOldBrush = static_cast<CBrush*>(m_surface.SelectStockObject(HOLLOW_BRUSH));
    switch (nType) {
    case SHAPE_LINE:
        m_surface.MoveTo(corners.left, corners.top);
        m_surface.LineTo(corners.right, corners.bottom);
        break;
    case SHAPE_RECT: m_surface.Rectangle(&box); break;
    default: m_surface.Ellipse(&box); break;
    }
    m_surface.SelectObject(pOldPen);
    m_surface.SelectObject(pOldBrush);
    // A pen's shape stays within twice its width of the corners: round caps and joins reach
    // half the width, a miter join is cut at twice the width; and a pixel for the rounding.
    const int reach = 2 * std::max(nPenWidth, 1) + 2;
    Take(CRect(box.left - reach, box.top - reach, box.right + reach, box.bottom + reach), spans);
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
