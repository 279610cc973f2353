#include "PaletteDraw.h"

#include "ColorDialog.h"
#include "GdiObjects.h"
#include "Services.h"

#include "Cfg.h"
#include "MessageLog.h"

#include <algorithm>

namespace {
constexpr int kBoxWidth = 10;
constexpr int kMarkerRowHeight = 5; // the box row starts below it
constexpr COLORREF kMarkerEnabled = 0x323232;
constexpr COLORREF kMarkerDisabled = 0x969696;
} // namespace

CConfigTab2Dlg::CPaletteDraw::CPaletteDraw(CWnd* pOwner) : m_pOwner(pOwner) {}

void CConfigTab2Dlg::CPaletteDraw::AllocateMaps(const CRect& rect)
{
    m_palette = g_cfg.m_curColors;
    const size_t current = size_t(g_cfg.m_nCurPalette);
    m_strName = current < g_cfg.m_paletteNames.size() ? g_cfg.m_paletteNames[current] : std::wstring();

    m_NBoxes = std::max(rect.Width(), 0) / kBoxWidth;
    if (m_NBoxes % 2 == 0)
        m_NBoxes = std::max(m_NBoxes - 1, 0);
    if (m_NBoxes == 0)
        g_messageLog.Log(LOG_ERROR, "CPaletteDraw: the editor is %d pixels wide, too narrow for a box.",
                         rect.Width());
    const int width = kBoxWidth * m_NBoxes;

    g_messageLog.Log(LOG_DEBUG, "CPaletteDraw: m_posToBoxMap of %d boxes onto %d pixels.", m_NBoxes, width);
    CreateResampleMap(m_posToBoxMap, m_NBoxes, width);
    g_messageLog.Log(LOG_DEBUG, "CPaletteDraw: m_boxToPaletteMap of DATA_PALETTE_SIZE %d onto %d boxes.", 255,
                     m_NBoxes);
    CreateResampleMapOffset(m_boxToPaletteMap, 255, m_NBoxes);
    if (m_NBoxes > 0) {
        m_boxToPaletteMap.m_index[size_t(m_NBoxes / 2)] = 128;
        m_boxToPaletteMap.m_fraction[size_t(m_NBoxes / 2)] = 0.0f;
    }

    const int height = std::max(rect.Height(), 0);
    m_rect = CRect(rect.left, rect.top, rect.left + width + 1, rect.top + height);
    Create(width + 1, std::max(height, 1));
    m_boxRect = CRect(0, kMarkerRowHeight, width + 1, height - 2);
    m_markers.clear();
}

int CConfigTab2Dlg::CPaletteDraw::GetPaletteIndex(int nBox) const
{
    if (nBox < 0 || nBox >= m_NBoxes)
        return 0;
    return int(std::min<uint32_t>(m_boxToPaletteMap.m_index[size_t(nBox)], 255));
}

void CConfigTab2Dlg::CPaletteDraw::Draw()
{
    if (!IsCreated())
        return;
    CPen facePen(PS_SOLID, 1, COLOR_BTNFACE_VALUE);
    CBrush faceBrush(COLOR_BTNFACE_VALUE);
    CPen* pOldPen = SelectObject(&facePen);
    CBrush* pOldBrush = SelectObject(&faceBrush);
    Rectangle(0, 0, GetWidth(), GetHeight());

    CPen blackPen(PS_SOLID, 1, RGB(0, 0, 0));
    SelectObject(&blackPen);
    SelectStockObject(NULL_BRUSH);
    Rectangle(&m_boxRect);
    for (int box = 0; box < m_NBoxes; ++box)
        DrawBox(box);
    for (const CMarker& marker : m_markers)
        DrawMarker(marker);
    SelectObject(pOldPen);
    SelectObject(pOldBrush);
}

void CConfigTab2Dlg::CPaletteDraw::DrawBox(int nBox)
{
    // 11 pixels wide: neighbours share their border.
    CBrush brush(m_palette[size_t(GetPaletteIndex(nBox))]);
    CPen blackPen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* pOldPen = SelectObject(&blackPen);
    CBrush* pOldBrush = SelectObject(&brush);
    const int left = kBoxWidth * nBox;
    Rectangle(left, m_boxRect.top, left + kBoxWidth + 1, m_boxRect.bottom);
    if (nBox == (m_NBoxes - 1) / 2) {
        SelectStockObject(NULL_BRUSH);
        Rectangle(left + 1, m_boxRect.top + 1, left + kBoxWidth, m_boxRect.bottom - 1);
    }
    SelectObject(pOldPen);
    SelectObject(pOldBrush);
}

void CConfigTab2Dlg::CPaletteDraw::DrawMarker(const CMarker& marker)
{
    CPen pen(PS_SOLID, 1, marker.m_bEnabled ? kMarkerEnabled : kMarkerDisabled);
    CPen* pOldPen = SelectObject(&pen);
    const int left = kBoxWidth * marker.m_nBox;
    for (int y = 0; y < 4; ++y) {
        MoveTo(left + y, y);
        LineTo(left + 9 - y, y);
    }
    SelectObject(pOldPen);
}

bool CConfigTab2Dlg::CPaletteDraw::OnClick(CPoint point, bool& bColorChanged)
{
    bColorChanged = false;
    if (m_NBoxes == 0 || !m_rect.PtInRect(point))
        return false;
    const int x = point.x - m_rect.left;
    const int y = point.y - m_rect.top;
    const int box = std::min(int(m_posToBoxMap.m_index[size_t(x)]), m_NBoxes - 1);

    if (y >= kMarkerRowHeight) {
        uint32_t& entry = m_palette[size_t(GetPaletteIndex(box))];
        CColorDialog dialog(entry, m_pOwner);
        if (dialog.DoModal() != IDOK)
            return false;
        bColorChanged = dialog.GetColor() != entry;
        entry = dialog.GetColor();
    }

    const auto marker =
        std::find_if(m_markers.begin(), m_markers.end(), [box](const CMarker& m) { return m.m_nBox == box; });
    if (marker == m_markers.end())
        AddMarker(box);
    else if (bColorChanged)
        marker->m_bEnabled = true;
    else if (y < kMarkerRowHeight)
        marker->m_bEnabled = !marker->m_bEnabled;
    Draw();
    return true;
}

void CConfigTab2Dlg::CPaletteDraw::AddMarker(int nBox)
{
    m_markers.push_back({nBox, true});
    std::stable_sort(m_markers.begin(), m_markers.end(),
                     [](const CMarker& a, const CMarker& b) { return a.m_nBox < b.m_nBox; });
}

bool CConfigTab2Dlg::CPaletteDraw::Interpolate()
{
    if (m_markers.size() < 2) {
        AfxMessageBox(L"Must select atleast two palette colors.", MB_OK);
        return false;
    }
    std::vector<int> enabled;
    for (const CMarker& marker : m_markers)
        if (marker.m_bEnabled)
            enabled.push_back(marker.m_nBox);
    if (enabled.size() < 2) {
        AfxMessageBox(L"Atleast two palette colors need to be enabled.", MB_OK);
        return false;
    }
    for (size_t i = 1; i < enabled.size(); ++i)
        FillPaletteHsv(m_palette, GetPaletteIndex(enabled[i - 1]), GetPaletteIndex(enabled[i]));
    Draw();
    return true;
}
