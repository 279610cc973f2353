// Groups of controls: the bounding rectangle keeps the controls' places relative to each
// other, moves keep sizes, a stretched control fills the group.

#include "Container.h"

#include "Controls.h"
#include "RecordingWnd.h"

#include <gtest/gtest.h>

namespace {
// The control's rectangle in its parent's client area.
CRect PlaceOf(const CWnd& control, const CWnd& parent)
{
    CRect rect;
    control.GetWindowRect(&rect);
    CPoint topLeft = rect.TopLeft();
    parent.ScreenToClient(&topLeft);
    return CRect(topLeft, rect.Size());
}
} // namespace

TEST(ContainerTest, BoundingRectKeepsRelativePlacesAndMovesKeepSizes)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateShown());
    CStatic a, b, filler;
    ASSERT_TRUE(a.Create(L"a", WS_CHILD | WS_VISIBLE, CRect(10, 20, 40, 30), &parent, 1));
    ASSERT_TRUE(b.Create(L"b", WS_CHILD | WS_VISIBLE, CRect(50, 5, 70, 25), &parent, 2));
    CContainer group;
    group.AddControl(&a, 0, 0, false);
    group.AddControl(&b, 0, 0, false);
    const CRect bounds = group.CalcBoundingRect();
    CPoint origin(0, 0);
    parent.ClientToScreen(&origin);
    EXPECT_EQ(bounds, CRect(origin.x + 10, origin.y + 5, origin.x + 70, origin.y + 30));
    EXPECT_EQ(group.GetMinSize(), CSize(60, 25));

    group.SetRect(CRect(100, 100, 300, 150));
    EXPECT_EQ(PlaceOf(a, parent), CRect(100, 115, 130, 125));
    EXPECT_EQ(PlaceOf(b, parent), CRect(140, 100, 160, 120));
    EXPECT_EQ(group.GetSize(), CSize(200, 50));

    ASSERT_TRUE(filler.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &parent, 3));
    CContainer stretched;
    stretched.AddControl(&filler);
    stretched.SetRect(CRect(20, 30, 120, 80));
    EXPECT_EQ(PlaceOf(filler, parent), CRect(20, 30, 120, 80));

    group.Show(false);
    EXPECT_FALSE(a.IsWindowVisible());
    EXPECT_FALSE(b.IsWindowVisible());
    group.Show(true);
    EXPECT_TRUE(a.IsWindowVisible() && b.IsWindowVisible());
}

TEST(ContainerTest, MinimumSizeIsNeverNegative)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateShown());
    CStatic control;
    ASSERT_TRUE(control.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 1));
    CContainer empty;
    EXPECT_EQ(empty.CalcBoundingRect(), CRect());
    EXPECT_EQ(empty.GetMinSize(), CSize());
    // The control ends at the group's corner on both axes.
    CContainer before;
    before.AddControl(&control, -10, -12, false);
    EXPECT_EQ(before.GetMinSize(), CSize());
}
