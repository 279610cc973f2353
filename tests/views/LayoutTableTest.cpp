// The layout table: placement rules of rows and columns tables, validity logging, hit tests
// and the painting of what no cell covers.

#include "LayoutTable.h"

#include "DC.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// Remembers the rectangle it was given.
class CProbe : public ICContainable
{
public:
    CSize GetSize() const override { return m_rect.Size(); }
    CSize GetMinSize() const override { return {}; }
    void SetRect(const CRect& rect) override
    {
        m_rect = rect;
        ++m_nPlaced;
    }
    void Show(bool) override {}
    int GetID() const override { return 0; }

    CRect m_rect{-1, -1, -1, -1};
    int m_nPlaced = 0;
};

struct CCellCase
{
    int column, row, width, height;
    TSizeMode widthMode, heightMode;
    TCellKind kind;
    CRect expected; // the probe's rectangle after the layout; a space keeps the cell's
};

struct CTableCase
{
    const char* name;
    int columns, rows, orientation;
    CRect rect;
    std::vector<CCellCase> cells;
};

std::string Describe(const CRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}
} // namespace

TEST(LayoutTableTest, CellsArePlacedByTheirModesAndMargins)
{
    const TSizeMode P = smPercent, F = smFixed;
    const CTableCase cases[] = {
        // F = 30 + 10: row 0 spans 5..35, row 1 starts at 45 and is trunc(260 - 10) high.
        {"fixed and percent rows", 1, 2, CLayoutTable::ORIENT_ROWS, CRect(0, 0, 400, 300),
         {{0, 0, 100, 30, P, F, ckView, CRect(5, 5, 395, 35)}, {0, 1, 100, 100, P, P, ckView, CRect(5, 45, 395, 295)}}},
        // Widths 320, 330 and 320; the last right edge is 995.
        {"three percent cells", 3, 1, CLayoutTable::ORIENT_ROWS, CRect(0, 0, 1000, 100),
         {{0, 0, 33, 100, P, P, ckView, CRect(5, 5, 325, 95)},
          {1, 0, 34, 100, P, P, ckView, CRect(335, 5, 665, 95)},
          {2, 0, 33, 100, P, P, ckView, CRect(675, 5, 995, 95)}}},
        // A fixed cell and a space take their widths first; the percent cell shares the rest.
        {"fixed, space and percent in a row", 3, 1, CLayoutTable::ORIENT_ROWS, CRect(10, 20, 410, 120),
         {{0, 0, 100, 50, F, F, ckGroup, CRect(15, 25, 115, 75)},
          {1, 0, 40, 50, F, F, ckSpace, CRect(125, 25, 165, 75)},
          {2, 0, 100, 50, P, F, ckTable, CRect(175, 25, 405, 75)}}},
        // A never added cell neither takes room nor moves the next one.
        {"empty cell skipped", 3, 1, CLayoutTable::ORIENT_ROWS, CRect(0, 0, 200, 40),
         {{0, 0, 50, 30, F, F, ckView, CRect(5, 5, 55, 35)}, {2, 0, 50, 30, F, F, ckView, CRect(65, 5, 115, 35)}}},
        // Column 0 is 100 wide, its percent cell shares what its fixed cell leaves.
        {"fixed and percent columns", 2, 2, CLayoutTable::ORIENT_COLUMNS, CRect(0, 0, 400, 300),
         {{0, 0, 100, 50, F, F, ckView, CRect(5, 5, 105, 55)},
          {0, 1, 100, 100, F, P, ckView, CRect(5, 65, 105, 295)},
          {1, 0, 100, 100, P, P, ckView, CRect(115, 5, 395, 295)}}},
        // A space on top of a column is not placed, but the column still takes its width.
        {"space on top of a column", 2, 1, CLayoutTable::ORIENT_COLUMNS, CRect(0, 0, 300, 100),
         {{0, 0, 50, 100, F, P, ckSpace, CRect()}, {1, 0, 100, 100, P, P, ckView, CRect(65, 5, 295, 95)}}},
        // Percent extents are (free length x percent / 100) less the margins, to the pixel.
        {"percent rows to the pixel", 2, 1, CLayoutTable::ORIENT_ROWS, CRect(0, 0, 100, 100),
         {{0, 0, 57, 57, P, P, ckView, CRect(5, 5, 52, 52)}, {1, 0, 43, 57, P, P, ckView, CRect(62, 5, 95, 52)}}},
        {"percent columns to the pixel", 2, 1, CLayoutTable::ORIENT_COLUMNS, CRect(0, 0, 100, 100),
         {{0, 0, 57, 57, P, P, ckView, CRect(5, 5, 52, 52)}, {1, 0, 43, 100, P, P, ckView, CRect(62, 5, 95, 95)}}},
        // A percent extent below the margins is empty, and the fixed cells after it do not move
        // back over those before it.
        {"no room for a percent cell", 1, 1, CLayoutTable::ORIENT_ROWS, CRect(0, 0, 8, 100),
         {{0, 0, 100, 100, P, P, ckView, CRect(5, 5, 5, 95)}}},
        {"fixed cells wider than the row", 3, 1, CLayoutTable::ORIENT_ROWS, CRect(0, 0, 200, 40),
         {{0, 0, 100, 30, F, F, ckGroup, CRect(5, 5, 105, 35)},
          {1, 0, 100, 30, P, F, ckSpace, CRect(115, 5, 115, 35)},
          {2, 0, 100, 30, F, F, ckGroup, CRect(125, 5, 225, 35)}}},
    };
    for (const CTableCase& c : cases) {
        CLayoutTable table;
        table.SetSize(c.columns, c.rows, c.orientation);
        std::vector<CProbe> probes(c.cells.size());
        for (size_t i = 0; i < c.cells.size(); ++i) {
            const CCellCase& s = c.cells[i];
            table.Add(s.column, s.row, s.width, s.height, s.widthMode, s.heightMode,
                      s.kind == ckSpace ? nullptr : &probes[i], s.kind);
        }
        table.CalcMinSize();
        table.SetRect(c.rect);
        EXPECT_EQ(table.GetSize(), c.rect.Size()) << c.name;
        for (size_t i = 0; i < c.cells.size(); ++i) {
            const CCellCase& s = c.cells[i];
            const CRect placed = s.kind == ckSpace ? table.GetCell(s.column, s.row)->m_rect : probes[i].m_rect;
            EXPECT_EQ(Describe(placed), Describe(s.expected)) << c.name << ", cell " << s.column << "," << s.row;
        }
    }
}

TEST(LayoutTableTest, MinimumSizeSumsFixedLines)
{
    CLayoutTable rows;
    rows.SetSize(3, 2, CLayoutTable::ORIENT_ROWS);
    rows.Add(0, 0, 100, 30, smFixed, smFixed, nullptr, ckSpace);
    rows.Add(1, 0, 50, 30, smPercent, smFixed, nullptr, ckSpace);
    rows.Add(2, 0, 60, 30, smFixed, smFixed, nullptr, ckSpace);
    rows.Add(0, 1, 20, 100, smFixed, smPercent, nullptr, ckSpace);
    rows.CalcMinSize();
    EXPECT_EQ(rows.GetMinSize(), CSize(110 + 70, 40));

    CLayoutTable columns;
    columns.SetSize(2, 2, CLayoutTable::ORIENT_COLUMNS);
    columns.Add(0, 0, 80, 25, smFixed, smFixed, nullptr, ckSpace);
    columns.Add(0, 1, 80, 35, smFixed, smFixed, nullptr, ckSpace);
    columns.Add(1, 0, 50, 100, smPercent, smPercent, nullptr, ckSpace);
    columns.CalcMinSize();
    EXPECT_EQ(columns.GetMinSize(), CSize(90, 35 + 45));
}

TEST(LayoutTableTest, NothingIsPlacedBeforeCalcMinSizeOrAfterClear)
{
    CLayoutTable table;
    CProbe probe;
    table.SetSize(1, 1, CLayoutTable::ORIENT_ROWS);
    table.Add(0, 0, 100, 100, smPercent, smPercent, &probe, ckView);
    table.Layout(CRect(0, 0, 100, 100), nullptr);
    EXPECT_EQ(probe.m_nPlaced, 0);
    EXPECT_EQ(table.GetSize(), CSize());

    table.CalcMinSize();
    table.Layout(CRect(0, 0, 100, 100), nullptr);
    EXPECT_EQ(probe.m_nPlaced, 1);

    table.Clear();
    table.Layout(CRect(0, 0, 50, 50), nullptr);
    table.CalcMinSize();
    table.Layout(CRect(0, 0, 50, 50), nullptr);
    EXPECT_EQ(probe.m_nPlaced, 1);
    EXPECT_EQ(table.GetCell(0, 0), nullptr);
}

TEST(LayoutTableTest, TableWithoutRowsOrColumnsDoesNothing)
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    const struct { int columns, rows, orientation; } cases[] = {
        {0, 3, CLayoutTable::ORIENT_ROWS}, {3, 0, CLayoutTable::ORIENT_ROWS},
        {0, 3, CLayoutTable::ORIENT_COLUMNS}, {3, 0, CLayoutTable::ORIENT_COLUMNS},
    };
    for (const auto& c : cases) {
        CLayoutTable table;
        table.SetSize(c.columns, c.rows, c.orientation);
        table.CalcMinSize();
        EXPECT_EQ(table.GetMinSize(), CSize()) << c.columns << " x " << c.rows;
        table.Layout(CRect(0, 0, 50, 50), &dc);
        table.EraseBackground(&dc, true);
        EXPECT_EQ(table.GetSize(), CSize()) << c.columns << " x " << c.rows;
        EXPECT_EQ(table.HitTest(CPoint(0, 0)), nullptr);
        EXPECT_EQ(dc.GetPixel(10, 10), RGB(255, 255, 255)) << c.columns << " x " << c.rows;
    }
}

TEST(LayoutTableTest, NestedTableLaysItselfOutInItsCell)
{
    CLayoutTable outer, inner;
    CProbe probe;
    inner.SetSize(1, 1, CLayoutTable::ORIENT_ROWS);
    inner.Add(0, 0, 100, 100, smPercent, smPercent, &probe, ckView);
    inner.CalcMinSize();
    outer.SetSize(1, 1, CLayoutTable::ORIENT_ROWS);
    outer.Add(0, 0, 100, 100, smPercent, smPercent, &inner, ckTable);
    outer.CalcMinSize();
    outer.Layout(CRect(0, 0, 200, 100), nullptr);
    EXPECT_EQ(Describe(inner.GetRect()), Describe(CRect(5, 5, 195, 95)));
    EXPECT_EQ(Describe(probe.m_rect), Describe(CRect(10, 10, 190, 90)));
}

TEST(LayoutTableTest, HitTestFindsViewCellsEdgesIncluded)
{
    CLayoutTable table;
    CProbe view, group;
    table.SetSize(2, 1, CLayoutTable::ORIENT_ROWS);
    table.Add(0, 0, 50, 100, smPercent, smPercent, &view, ckView);
    table.Add(1, 0, 50, 100, smPercent, smPercent, &group, ckGroup);
    table.CalcMinSize();
    table.Layout(CRect(0, 0, 220, 100), nullptr);
    ASSERT_EQ(Describe(view.m_rect), Describe(CRect(5, 5, 105, 95)));
    struct
    {
        CPoint point;
        ICContainable* expected;
    } const cases[] = {
        {{5, 5}, &view}, {{105, 95}, &view}, {{105, 50}, &view}, {{50, 95}, &view},
        {{106, 50}, nullptr}, {{4, 50}, nullptr}, {{150, 50}, nullptr}, // the group cell holds no view
    };
    for (const auto& c : cases)
        EXPECT_EQ(table.HitTest(c.point), c.expected) << c.point.x << "," << c.point.y;
}

TEST(LayoutTableTest, InvalidCellsAreLoggedAndKept)
{
    struct
    {
        int column, row, width, height;
        bool bLogged;
    } const cases[] = {
        {0, 0, 3999, 3999, false},
        {0, 0, 4000, 10, true},
        {0, 0, 10, 4000, true},
        {0, 0, -1, 10, true},
        {2, 0, 10, 10, true}, // outside the table: refused
    };
    for (const auto& c : cases) {
        ClearLog();
        CLayoutTable table;
        table.SetSize(2, 1, CLayoutTable::ORIENT_ROWS);
        CProbe probe;
        table.Add(c.column, c.row, c.width, c.height, smFixed, smFixed, &probe, ckView);
        const std::string log = ReadLog();
        const std::string head = "Error: CLayoutTable::Add: table size:(2,1), pos:(" + std::to_string(c.column) + ",0)";
        EXPECT_EQ(log.find(head) != std::string::npos, c.bLogged) << c.width << " x " << c.height << ":\n" << log;
        if (c.bLogged && c.column == 0) {
            const std::string state = "Error: CLayoutTable::Add:: Cell(0,0) INVALID property, rect = 0,0,0,0 ,size = " +
                                      std::to_string(c.width) + " ; " + std::to_string(c.height) + ".";
            EXPECT_NE(log.find(state), std::string::npos) << log;
            EXPECT_EQ(table.GetCell(0, 0)->m_nWidth, c.width);
        }
    }
}

TEST(LayoutTableTest, PaintingWithDcFillsTheUncoveredParts)
{
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::black);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    CLayoutTable table;
    CProbe left, right;
    table.SetSize(2, 1, CLayoutTable::ORIENT_ROWS);
    table.Add(0, 0, 40, 100, smFixed, smPercent, &left, ckView);
    table.Add(1, 0, 100, 100, smPercent, smPercent, &right, ckView);
    table.CalcMinSize();
    ClearLog();
    table.Layout(CRect(0, 0, 120, 60), &dc);
    ASSERT_EQ(Describe(left.m_rect), Describe(CRect(5, 5, 45, 55)));
    ASSERT_EQ(Describe(right.m_rect), Describe(CRect(55, 5, 115, 55)));
    const COLORREF face = COLOR_BTNFACE_VALUE;
    const struct
    {
        int x, y;
        COLORREF expected;
    } pixels[] = {
        {0, 0, face}, {2, 30, face}, {50, 30, face}, {117, 30, face}, {60, 57, face}, // margins
        {5, 5, 0}, {44, 54, 0}, {55, 30, 0}, {114, 54, 0},                          // the cells' own
    };
    for (const auto& p : pixels)
        EXPECT_EQ(dc.GetPixel(p.x, p.y), p.expected) << p.x << "," << p.y;
    EXPECT_EQ(ReadLog().find("INVALID"), std::string::npos);

    // Too narrow: the percent cell is empty, yet placed.
    table.Layout(CRect(0, 0, 58, 60), &dc);
    EXPECT_EQ(Describe(right.m_rect), Describe(CRect(55, 5, 55, 55)));
    EXPECT_EQ(ReadLog().find("INVALID"), std::string::npos);

    // Erasing with a fill paints over the cells too.
    table.Layout(CRect(0, 0, 120, 60), nullptr);
    table.EraseBackground(&dc, true);
    EXPECT_EQ(dc.GetPixel(60, 30), face);
}
