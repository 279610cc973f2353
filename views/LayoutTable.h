#pragma once
// A grid of cells laid out inside a rectangle. Each cell holds a view control, a group of
// controls, a nested table or an empty space, sized in percent of the free length or in fixed
// pixels, with margins around every cell. A rows table (orientation 1) is a sequence of rows:
// the first cell of a row sets its height and the cells of the row run to the right. A columns
// table (orientation 0) is a sequence of columns: the top cell sets the column's width and the
// cells are stacked downward. Built once (SetSize, Add per cell, CalcMinSize), then laid out
// as often as the owner's rectangle changes; Layout does nothing before CalcMinSize.

#include "Containable.h"

#include <vector>

class CDC;

enum TSizeMode { smPercent = 1, smFixed = 2 };

enum TCellKind {
    ckEmpty = 0, // never added; skipped everywhere
    ckView = 1,  // a view control, the only kind that HitTest finds
    ckGroup = 2, // a CContainer
    ckSpace = 3, // a space without an object
    ckTable = 4, // a nested CLayoutTable
};

class CLayoutTable : public ICContainable
{
public:
    enum : int { ORIENT_COLUMNS = 0, ORIENT_ROWS = 1 };

    class CCell
    {
    public:
        // Rectangle with no negative edge, not upside down, each extent and size value below 4000.
        bool IsValid() const;
        // At level Debug, or Error when the cell is not valid.
        void LogState(const char* prefix) const;
        // Gives the object its rectangle, logging an invalid cell first.
        void UpdateControl() const;
        // Views, groups and tables are given rectangles; spaces only take room.
        bool HoldsObject() const { return m_kind == ckView || m_kind == ckGroup || m_kind == ckTable; }
        bool TakesRoom() const { return HoldsObject() || m_kind == ckSpace; }

        int m_nColumn = 0;
        int m_nRow = 0;
        TSizeMode m_widthMode = TSizeMode(0);
        TSizeMode m_heightMode = TSizeMode(0);
        int m_nWidth = 0;  // percent or pixels by the mode
        int m_nHeight = 0;
        CRect m_rect;
        TCellKind m_kind = ckEmpty;
        ICContainable* m_pObject = nullptr; // not owned; none for ckSpace
    };

    CLayoutTable() = default;
    ~CLayoutTable() override;
    CLayoutTable(const CLayoutTable&) = delete;
    CLayoutTable& operator=(const CLayoutTable&) = delete;

    // Discards all cells and makes columns x rows empty ones.
    void SetSize(int nColumns, int nRows, int nOrientation);
    void SetMargins(int nLeft, int nTop, int nRight, int nBottom);
    // A cell outside the table is refused; an invalid one is logged and kept.
    void Add(int nColumn, int nRow, int nWidth, int nHeight, TSizeMode widthMode, TSizeMode heightMode,
             ICContainable* pObject, TCellKind kind);
    // Null outside the table.
    CCell* GetCell(int nColumn, int nRow);
    const CCell* GetCell(int nColumn, int nRow) const;
    // The fixed total, the line sums and the minimum size; makes the table ready unless it
    // has no cell.
    void CalcMinSize();
    // The cells' rectangles inside rect, then UpdateControls; pDC may be null.
    void Layout(const CRect& rect, CDC* pDC);
    // Every placed object gets its rectangle; with a dc the parts that no cell covers are
    // painted in the button-face colour.
    void UpdateControls(CDC* pDC);
    // With bFill the whole rectangle of the last Layout is painted first. Both do nothing
    // in a table without cells.
    void EraseBackground(CDC* pDC, bool bFill);
    // The object of the first view cell, rows from the top and columns from the left, whose
    // rectangle holds the point, edges included; null when none.
    ICContainable* HitTest(const CPoint& point) const;
    void Clear();

    CSize GetSize() const override { return m_rect.Size(); }
    CSize GetMinSize() const override { return m_minSize; }
    void SetRect(const CRect& rect) override { Layout(rect, nullptr); }
    void Show(bool) override {}
    int GetID() const override { return 0; }

    // Of the last Layout.
    const CRect& GetRect() const { return m_rect; }

private:
    void LayoutRows(const CRect& rect);
    void LayoutColumns(const CRect& rect);
    void FillUncovered(CDC* pDC) const;

    int m_nColumns = 0;
    int m_nRows = 0;
    int m_nLeft = 5;
    int m_nTop = 5;
    int m_nRight = 5;
    int m_nBottom = 5;
    int m_nOrientation = ORIENT_COLUMNS;
    std::vector<CCell> m_cells;  // row by row
    std::vector<int> m_lineSums; // per column (columns table) or per row (rows table)
    int m_nFixedTotal = 0;
    bool m_bReady = false;
    CRect m_rect;
    CSize m_minSize;
};
