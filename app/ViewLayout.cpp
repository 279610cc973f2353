#include "ViewLayout.h"

#include "TruncToInt.h"

#include <algorithm>

namespace {
// Grid A's columns: depth slice and section in row 0; the panes, a filling space and the
// top-view parameter pane in row 1.
constexpr int kGridAColumns = 4;
// Grid B's columns: X section, depth slice and Y section in row 0.
constexpr int kGridBColumns = 3;
constexpr int kSectionCellA = 1;
constexpr int kXCellB = 0;
constexpr int kYCellB = 2;

// The share of a : b that falls to part, in single precision; none when a + b is not positive.
bool Share(int part, int a, int b, int total, int& result)
{
    if (a + b <= 0)
        return false;
    result = TruncToInt(double(float(part) / float(a + b) * float(total)));
    return true;
}
} // namespace

void CViewLayout::Create(ICContainable* pXSection, ICContainable* pYSection, ICContainable* pTopView)
{
    m_pXSection = pXSection;
    m_pYSection = pYSection;
    m_pTopView = pTopView;
    m_bCreated = true;
}

ICContainable* CViewLayout::Slot(int nGroup, int nSlot)
{
    switch (nSlot) {
    case 0: return m_pXSection;
    case 1: return m_pYSection;
    case 2: return m_pTopView;
    default: break;
    }
    const int nPane = nSlot - 3;
    if (nGroup == GROUP_WIDE && nPane == PANE_PROFILE_DIRECTION)
        return nullptr;
    return &m_panes[nGroup][nPane];
}

void CViewLayout::ShowGroup(int nGroup, bool bShow)
{
    for (int nSlot = 0; nSlot < SLOT_COUNT; ++nSlot)
        if (ICContainable* pObject = Slot(nGroup, nSlot))
            pObject->Show(bShow);
}

void CViewLayout::AddView(CLayoutTable& grid, int nColumn, int nWidth, ICContainable* pView)
{
    grid.Add(nColumn, 0, nWidth, 100, smPercent, smPercent, pView, ckView);
}

void CViewLayout::AddPane(CLayoutTable& grid, int nColumn, int nHeight, CContainer& pane)
{
    const int nWidth = std::max(int(pane.GetMinSize().cx), int(MIN_PANE_WIDTH));
    grid.Add(nColumn, 1, nWidth, nHeight, smFixed, smFixed, &pane, ckGroup);
}

void CViewLayout::Build()
{
    if (!m_bCreated)
        return;
    // Grid A from group 0.
    CContainer* panesA = m_panes[GROUP_SIMPLE];
    int nRowHeight = MIN_PANE_HEIGHT;
    for (int nPane = 0; nPane < PANES_PER_GROUP; ++nPane)
        nRowHeight = std::max(nRowHeight, int(panesA[nPane].GetMinSize().cy));
    m_gridA.SetSize(kGridAColumns, 2, CLayoutTable::ORIENT_ROWS);
    AddView(m_gridA, 0, 50, m_pTopView);
    AddView(m_gridA, kSectionCellA, 50, m_pXSection);
    AddPane(m_gridA, 0, nRowHeight, panesA[PANE_PROFILE_DIRECTION]);
    AddPane(m_gridA, 1, nRowHeight, panesA[PANE_COORDINATES]);
    m_gridA.Add(2, 1, 100, nRowHeight, smPercent, smFixed, nullptr, ckSpace);
    AddPane(m_gridA, 3, nRowHeight, panesA[PANE_TOP_VIEW]);
    m_gridA.CalcMinSize();

    // Grid B from group 1, without a profile-direction pane and without the lower height bound.
    CContainer* panesB = m_panes[GROUP_WIDE];
    nRowHeight = std::max(int(panesB[PANE_COORDINATES].GetMinSize().cy), int(panesB[PANE_TOP_VIEW].GetMinSize().cy));
    m_gridB.SetSize(kGridBColumns, 2, CLayoutTable::ORIENT_ROWS);
    AddView(m_gridB, kXCellB, 33, m_pXSection);
    AddView(m_gridB, 1, 34, m_pTopView);
    AddView(m_gridB, kYCellB, 33, m_pYSection);
    AddPane(m_gridB, 0, nRowHeight, panesB[PANE_COORDINATES]);
    m_gridB.Add(1, 1, 100, nRowHeight, smPercent, smFixed, nullptr, ckSpace);
    AddPane(m_gridB, 2, nRowHeight, panesB[PANE_TOP_VIEW]);
    m_gridB.CalcMinSize();

    m_nShownSection = SECTION_X;
    m_bBuilt = true;
    for (int nGroup = 0; nGroup < GROUP_COUNT; ++nGroup)
        ShowGroup(nGroup, false);
    m_pGrid = &m_gridA;
    m_nGroup = GROUP_SIMPLE;
    ShowGroup(m_nGroup, true);
}

void CViewLayout::LayoutRemembered(CLayoutTable& grid, CDC* pDC)
{
    if (!m_rcLayout.IsRectEmpty())
        grid.Layout(m_rcLayout, pDC);
}

void CViewLayout::SelectGroup(int nGroup, CDC* pDC)
{
    if (!m_bBuilt)
        return;
    nGroup = std::clamp(nGroup, 0, GROUP_COUNT - 1);
    HideGroup();
    m_nGroup = nGroup;
    ShowGroup(nGroup, true);
    if (nGroup == GROUP_SIMPLE) {
        (m_nShownSection == SECTION_X ? m_pYSection : m_pXSection)->Show(false);
        m_pGrid = &m_gridA;
        LayoutRemembered(m_gridA, pDC);
    } else if (nGroup == GROUP_WIDE) {
        m_pGrid = &m_gridB;
        LayoutRemembered(m_gridB, pDC);
        if (m_nSplitA != 0 || m_nSplitB != 0)
            SetSplit(m_nSplitA, m_nSplitB);
    }
}

void CViewLayout::HideGroup()
{
    if (m_bBuilt)
        ShowGroup(m_nGroup, false);
}

void CViewLayout::SetSplit(int a, int b)
{
    if (!m_bBuilt)
        return;
    m_nSplitA = a;
    m_nSplitB = b;
    if (m_nGroup == GROUP_WIDE) {
        CLayoutTable::CCell* pX = m_gridB.GetCell(kXCellB, 0);
        CLayoutTable::CCell* pY = m_gridB.GetCell(kYCellB, 0);
        const int sum = pX->m_nWidth + pY->m_nWidth;
        int share = 0;
        if (a <= b && Share(b, a, b, sum, share)) {
            pY->m_nWidth = share;
            pX->m_nWidth = sum - share;
        } else if (a > b && Share(a, a, b, sum, share)) {
            pX->m_nWidth = share;
            pY->m_nWidth = sum - share;
        }
    }
    LayoutRemembered(*m_pGrid, nullptr);
}

void CViewLayout::SetMode(int nMode)
{
    if (!m_bBuilt)
        return;
    m_nShownSection = nMode == SECTION_X ? SECTION_X : SECTION_Y;
    CLayoutTable::CCell* pFirst = m_pGrid->GetCell(0, 0);
    CLayoutTable::CCell* pSecond = m_pGrid->GetCell(1, 0);
    int percent = 50;
    if (m_nShownSection != SECTION_X)
        Share(m_nSplitA, m_nSplitA, m_nSplitB, 100, percent);
    pFirst->m_nWidth = percent;
    pSecond->m_nWidth = 100 - percent;

    CLayoutTable::CCell* pCell = m_gridA.GetCell(kSectionCellA, 0);
    ICContainable* pSection = m_nShownSection == SECTION_X ? m_pXSection : m_pYSection;
    if (pCell->m_pObject != pSection && pCell->m_pObject)
        pCell->m_pObject->Show(false);
    pCell->m_pObject = pSection;
    LayoutRemembered(m_gridA, nullptr);
    pSection->Show(true);
    pSection->SetRect(pCell->m_rect);
}

void CViewLayout::Layout(const CRect& rect, CDC* pDC)
{
    if (!m_bBuilt)
        return;
    m_pGrid->Layout(rect, pDC);
    m_rcLayout = rect;
}
