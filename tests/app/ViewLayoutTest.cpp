// The main view's pane layout on its own: the two grids' cells in a known rectangle, the
// groups' shown windows, and the split arithmetic of the wide layout and the profile modes.

#include "ViewLayout.h"

#include "Controls.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {
// A view control that remembers what the layout did to it.
class CFakeView : public ICContainable
{
public:
    explicit CFakeView(int nID) : m_nID(nID) {}
    CSize GetSize() const override { return m_rect.Size(); }
    CSize GetMinSize() const override { return CSize(0, 0); }
    void SetRect(const CRect& rect) override { m_rect = rect; }
    void Show(bool bShow) override { m_bShown = bShow; }
    int GetID() const override { return m_nID; }

    int m_nID;
    CRect m_rect;
    bool m_bShown = true;
};

class ViewLayoutTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.Create(L"panes", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1000, 600), nullptr, 1));
        // The panes' sizes as the main view's panels give them: profile direction 100 x 80,
        // coordinates 280 x 80, top-view parameters 330 x 80; group 1 shares the last two.
        const int widths[] = {100, 280, 330};
        for (int nPane = 0; nPane < CViewLayout::PANES_PER_GROUP; ++nPane) {
            auto pControl = std::make_unique<CStatic>();
            ASSERT_TRUE(pControl->Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, widths[nPane], 80), &m_parent, 2));
            m_layout.GetPane(CViewLayout::GROUP_SIMPLE, nPane).AddControl(pControl.get(), 0, 0, false);
            if (nPane != CViewLayout::PANE_PROFILE_DIRECTION)
                m_layout.GetPane(CViewLayout::GROUP_WIDE, nPane).AddControl(pControl.get(), 0, 0, false);
            m_controls.push_back(std::move(pControl));
        }
        m_layout.Create(&m_x, &m_y, &m_top);
        m_layout.Build();
    }

    CRect Cell(CLayoutTable& grid, int nColumn, int nRow) { return grid.GetCell(nColumn, nRow)->m_rect; }
    int Width(CLayoutTable& grid, int nColumn) { return grid.GetCell(nColumn, 0)->m_nWidth; }

    CWnd m_parent;
    std::vector<std::unique_ptr<CStatic>> m_controls;
    CFakeView m_x{134};
    CFakeView m_y{133};
    CFakeView m_top{135};
    CViewLayout m_layout;
};

struct CCellCase
{
    int nGroup;
    int nColumn;
    int nRow;
    CRect expected;
};

// 1000 x 600 with margins of 5: the panes' row is 80 high (F = 90), the views' row
// trunc(510 - 10) = 500 high from y 5; grid A's second row runs 110 + 290 + 340 fixed pixels
// and gives the filling space trunc(260 - 10) = 250.
const CCellCase kCells[] = {
    {0, 0, 0, {5, 5, 495, 505}},     // depth slice, 50 %
    {0, 1, 0, {505, 5, 995, 505}},   // section, 50 %
    {0, 0, 1, {5, 515, 105, 595}},   // profile direction: 100 wide
    {0, 1, 1, {115, 515, 395, 595}}, // coordinates: 280
    {0, 2, 1, {405, 515, 655, 595}}, // filling space
    {0, 3, 1, {665, 515, 995, 595}}, // top-view parameters: 330
    {1, 0, 0, {5, 5, 325, 505}},     // X section, 33 %: trunc(330 - 10)
    {1, 1, 0, {335, 5, 665, 505}},   // depth slice, 34 %
    {1, 2, 0, {675, 5, 995, 505}},   // Y section, 33 %
    {1, 0, 1, {5, 515, 285, 595}},   // coordinates
    {1, 1, 1, {295, 515, 655, 595}}, // filling space: trunc(1000 - 630 - 10)
    {1, 2, 1, {665, 515, 995, 595}}, // top-view parameters
};

TEST_F(ViewLayoutTest, GridCellsInAKnownRectangle)
{
    for (const CCellCase& c : kCells) {
        m_layout.SelectGroup(c.nGroup);
        m_layout.Layout(CRect(0, 0, 1000, 600), nullptr);
        CLayoutTable& grid = c.nGroup == 0 ? m_layout.GetGridA() : m_layout.GetGridB();
        EXPECT_EQ(Cell(grid, c.nColumn, c.nRow), c.expected) << "group " << c.nGroup << " cell " << c.nColumn << ","
                                                             << c.nRow;
    }
    // The views were given their cells.
    EXPECT_EQ(m_top.m_rect, CRect(335, 5, 665, 505));
    EXPECT_EQ(m_y.m_rect, CRect(675, 5, 995, 505));
}

TEST_F(ViewLayoutTest, GroupsShowTheirWindows)
{
    struct CCase
    {
        int nGroup;
        bool bX, bY, bTop;
    };
    const CCase cases[] = {{0, true, false, true}, {1, true, true, true}, {2, true, true, true}, {0, true, false, true}};
    for (const CCase& c : cases) {
        m_layout.SelectGroup(c.nGroup);
        EXPECT_EQ(m_layout.GetGroup(), c.nGroup);
        EXPECT_EQ(m_x.m_bShown, c.bX) << c.nGroup;
        EXPECT_EQ(m_y.m_bShown, c.bY) << c.nGroup;
        EXPECT_EQ(m_top.m_bShown, c.bTop) << c.nGroup;
        // The wide group has no profile-direction pane.
        for (int nGroup = 0; nGroup < CViewLayout::GROUP_COUNT; ++nGroup)
            for (int nPane = 0; nPane < CViewLayout::PANES_PER_GROUP; ++nPane)
                EXPECT_EQ(m_layout.GetPane(nGroup, nPane).IsShown(),
                          nGroup == c.nGroup && !(nGroup == CViewLayout::GROUP_WIDE && nPane == 0))
                    << "selected " << c.nGroup << ", pane " << nGroup << "/" << nPane;
    }
    EXPECT_EQ(m_layout.GetCurrentGrid(), &m_layout.GetGridA());
    m_layout.HideGroup();
    EXPECT_FALSE(m_x.m_bShown || m_top.m_bShown || m_layout.GetPane(0, 1).IsShown());
}

TEST_F(ViewLayoutTest, WideSplitSharesTheSectionsWidthsByTheGridSizes)
{
    struct CCase
    {
        int a, b;
        int nX, nY; // percent of the X and Y sections; the depth slice keeps 34
    };
    const CCase cases[] = {
        {1, 1, 33, 33},     {521, 521, 33, 33}, {100, 50, 44, 22}, {50, 100, 22, 44},
        {3, 1, 49, 17},     {1, 3, 17, 49},     {7, 0, 66, 0},     {0, 0, 66, 0}, // 0 : 0 keeps the widths
        {-4, 2, 66, 0},                                                       // no positive sum either
    };
    m_layout.SelectGroup(CViewLayout::GROUP_WIDE);
    m_layout.Layout(CRect(0, 0, 1000, 600), nullptr);
    for (const CCase& c : cases) {
        m_layout.SetSplit(c.a, c.b);
        EXPECT_EQ(Width(m_layout.GetGridB(), 0), c.nX) << c.a << ":" << c.b;
        EXPECT_EQ(Width(m_layout.GetGridB(), 1), 34);
        EXPECT_EQ(Width(m_layout.GetGridB(), 2), c.nY) << c.a << ":" << c.b;
    }
    // Laid out again at once: the Y section ends at the right margin.
    m_layout.SetSplit(100, 50);
    EXPECT_EQ(m_x.m_rect, CRect(5, 5, 5 + 430, 505));
    EXPECT_EQ(m_y.m_rect.right, 5 + 430 + 10 + 330 + 10 + 210);
}

TEST_F(ViewLayoutTest, SplitWaitsForTheWideGroupAndIsAppliedWhenItIsSelected)
{
    m_layout.SetSplit(100, 50);
    EXPECT_EQ(Width(m_layout.GetGridB(), 0), 33);
    m_layout.SelectGroup(CViewLayout::GROUP_WIDE);
    EXPECT_EQ(Width(m_layout.GetGridB(), 0), 44);
    EXPECT_EQ(Width(m_layout.GetGridB(), 2), 22);
}

TEST_F(ViewLayoutTest, ProfileModesPutOneSectionBesideTheSlice)
{
    struct CCase
    {
        int a, b, nMode;
        int nSlice, nSection; // percent widths of grid A's first row
        bool bXShown;
    };
    const CCase cases[] = {
        {100, 50, 2, 66, 34, false}, {100, 50, 1, 50, 50, true},  {521, 521, 2, 50, 50, false},
        {1, 3, 2, 25, 75, false},    {0, 0, 2, 50, 50, false},    {1, 3, 1, 50, 50, true},
    };
    m_layout.Layout(CRect(0, 0, 1000, 600), nullptr);
    for (const CCase& c : cases) {
        m_layout.SetSplit(c.a, c.b);
        m_layout.SetMode(c.nMode);
        CLayoutTable& grid = m_layout.GetGridA();
        EXPECT_EQ(Width(grid, 0), c.nSlice) << c.a << ":" << c.b << " mode " << c.nMode;
        EXPECT_EQ(Width(grid, 1), c.nSection) << c.a << ":" << c.b << " mode " << c.nMode;
        EXPECT_EQ(m_layout.GetShownSection(), c.nMode);
        EXPECT_EQ(m_x.m_bShown, c.bXShown);
        EXPECT_EQ(m_y.m_bShown, !c.bXShown);
        const CFakeView& shown = c.bXShown ? m_x : m_y;
        EXPECT_EQ(shown.m_rect, Cell(grid, 1, 0));
        EXPECT_EQ(grid.GetCell(1, 0)->m_pObject, &shown);
    }
    // Back to the simple group, the section that grid A does not show stays hidden.
    m_layout.SetMode(CViewLayout::SECTION_Y);
    m_layout.SelectGroup(CViewLayout::GROUP_WIDE);
    m_layout.SelectGroup(CViewLayout::GROUP_SIMPLE);
    EXPECT_FALSE(m_x.m_bShown);
    EXPECT_TRUE(m_y.m_bShown);
}

TEST_F(ViewLayoutTest, NothingHappensBeforeTheGridsAreBuilt)
{
    CViewLayout layout;
    CFakeView x(134), y(133), top(135);
    layout.Create(&x, &y, &top);
    layout.SetSplit(1, 2);
    layout.SetMode(2);
    layout.SelectGroup(1);
    layout.Layout(CRect(0, 0, 100, 100), nullptr);
    EXPECT_FALSE(layout.IsBuilt());
    EXPECT_TRUE(layout.GetRememberedRect().IsRectNull());
    EXPECT_TRUE(x.m_rect.IsRectNull() && y.m_bShown && top.m_bShown);
}
} // namespace
