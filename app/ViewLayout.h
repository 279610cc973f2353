#pragma once
// The panes of the main view. Three groups of six window slots: the X section, the Y section
// and the depth slice in slots 0 to 2 (the same three view controls in every group), the
// group's three panes in slots 3 to 5. Group 0 (simple layout) is placed by grid A: the depth
// slice beside one section, with the profile-direction, coordinate and top-view parameter
// panes below. Group 1 (wide layout) is placed by grid B: all three views in a row, split
// between the sections in the proportion of the grid sizes, with the coordinate and top-view
// parameter panes below; its panes hold the very controls of group 0's. Group 2 shows three
// empty panes and leaves every window where it was.

#include "Container.h"
#include "LayoutTable.h"

class CDC;

class CViewLayout
{
public:
    enum : int { GROUP_SIMPLE = 0, GROUP_WIDE = 1, GROUP_PROJECTION = 2, GROUP_COUNT = 3 };
    enum : int { PANE_PROFILE_DIRECTION = 0, PANE_COORDINATES = 1, PANE_TOP_VIEW = 2, PANES_PER_GROUP = 3 };
    enum : int { SLOT_COUNT = 6 };
    enum : int { SECTION_X = 1, SECTION_Y = 2 };
    // Lower bounds of grid A's fixed panes.
    enum : int { MIN_PANE_WIDTH = 100, MIN_PANE_HEIGHT = 50 };

    CViewLayout() = default;
    CViewLayout(const CViewLayout&) = delete;
    CViewLayout& operator=(const CViewLayout&) = delete;

    // Panes are filled through GetPane before Create.
    CContainer& GetPane(int nGroup, int nPane) { return m_panes[nGroup][nPane]; }
    // The three view controls (not owned) go into the slots of every group.
    void Create(ICContainable* pXSection, ICContainable* pYSection, ICContainable* pTopView);
    // Fills both grids from the panes' present sizes, hides every slot and shows group 0
    // with grid A current.
    void Build();

    // Hides the current group, shows nGroup (0..2) and lays its grid out, with pDC also
    // painting what no cell covers.
    void SelectGroup(int nGroup, CDC* pDC = nullptr);
    void HideGroup();
    // Grid B's sections share their widths in the proportion a : b.
    void SetSplit(int a, int b);
    // Grid A's section cell shows the X section (1) or the Y section (2).
    void SetMode(int nMode);
    // The current grid over rect, which is remembered.
    void Layout(const CRect& rect, CDC* pDC);

    bool IsCreated() const { return m_bCreated; }
    bool IsBuilt() const { return m_bBuilt; }
    int GetGroup() const { return m_nGroup; }
    int GetShownSection() const { return m_nShownSection; }
    CLayoutTable& GetGridA() { return m_gridA; }
    CLayoutTable& GetGridB() { return m_gridB; }
    CLayoutTable* GetCurrentGrid() { return m_pGrid; }
    const CRect& GetRememberedRect() const { return m_rcLayout; }

private:
    // Null for the wide group's missing profile-direction pane.
    ICContainable* Slot(int nGroup, int nSlot);
    void ShowGroup(int nGroup, bool bShow);
    // The first row of a grid: two or three views at percent widths, 100 % high.
    static void AddView(CLayoutTable& grid, int nColumn, int nWidth, ICContainable* pView);
    // The second row: a pane at its minimum width, no narrower than MIN_PANE_WIDTH.
    static void AddPane(CLayoutTable& grid, int nColumn, int nHeight, CContainer& pane);
    void LayoutRemembered(CLayoutTable& grid, CDC* pDC);

    CContainer m_panes[GROUP_COUNT][PANES_PER_GROUP];
    ICContainable* m_pXSection = nullptr;
    ICContainable* m_pYSection = nullptr;
    ICContainable* m_pTopView = nullptr;
    CLayoutTable m_gridA;
    CLayoutTable m_gridB;
    bool m_bCreated = false;
    bool m_bBuilt = false;
    int m_nGroup = GROUP_SIMPLE;
    CLayoutTable* m_pGrid = &m_gridA;
    CRect m_rcLayout;
    int m_nShownSection = SECTION_X;
    int m_nSplitA = 0;
    int m_nSplitB = 0;
};
