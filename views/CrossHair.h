#pragma once
// The cross-hair of a data view: a horizontal and a vertical dashed line over the view's
// composed image, dragged with the mouse. In the top view the lines mark the X and Y
// position; in a section the vertical line marks the position along it and the horizontal
// line the depth. The cross-hair draws its lines on the view window, restoring the one-pixel
// strip under a line from the composed image before it moves it; it decides which line the
// mouse grabs, shows the matching cursor and tells the view's parent of every move with
// WM_CURSOR_MOVED. A section adds two band lines beside the horizontal line (the slice
// thickness), may fix the vertical line and keeps the horizontal one below a minimum row.
// What a pixel means in the survey is the view's business (ICrossHairOwner).

#include "MemDC.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class CWnd;

class ICrossHairOwner
{
public:
    virtual ~ICrossHairOwner() = default;
    // The picture under the lines, as shown; the strips are restored from it.
    virtual const Tovrik::CMemDC& GetComposedImage() = 0;
    // Writes the survey position under the client pixel into the project: as the
    // cross-hair's (bSet) or as the hover position. False when there is nothing to tell.
    virtual bool TakeCursorPoint(CPoint point, bool bSet) = 0;
};

class CCrossHair
{
public:
    // What the mouse is over.
    enum THitMode : int32_t { HIT_NONE = 0, HIT_VERTICAL = 1, HIT_HORIZONTAL = 2, HIT_BOTH = 3 };
    // Pixels around a line where the mouse grabs it.
    enum : int { HIT_ZONE = 10 };

    CCrossHair();
    CCrossHair(const CCrossHair&) = delete;
    CCrossHair& operator=(const CCrossHair&) = delete;

    // pWnd is the view window, whose parent hears of the moves; the lines start at the centre
    // of width x height and are drawn dashed in their colours.
    void Create(CWnd* pWnd, ICrossHairOwner* pOwner, int width, int height, COLORREF horzColour,
                COLORREF vertColour);
    void Release();
    // New pens for the lines; the lines are not redrawn.
    void SetColours(COLORREF horzColour, COLORREF vertColour);
    // The client size changed: the cross-hair keeps its relative place, rounded, inside the
    // new size; along an axis that had no extent it goes to the centre.
    void Resize(int width, int height);
    // Hidden lines are neither drawn nor restored and show no cursor of their own; the mouse
    // still moves them.
    void SetHidden(bool bHidden) { m_bHidden = bHidden; }
    bool IsHidden() const { return m_bHidden; }
    // Band lines drawn, restored and moved with the horizontal line, upper and lower rows
    // from it, each kept inside the view.
    void SetBand(bool bOn, int upper, int lower);
    // A fixed vertical line is ignored by the hit test and never moves with the mouse.
    void SetVerticalMovable(bool bMovable) { m_bVerticalMovable = bMovable; }
    bool IsVerticalMovable() const { return m_bVerticalMovable; }
    // The mouse and resizes never put the horizontal line above this row.
    void SetMinRow(int row) { m_nMinRow = std::max(row, 0); }
    int GetMinRow() const { return m_nMinRow; }

    // Both lines on a context whose origin lies at offset from the view's.
    void Draw(CDC& dc, CPoint offset = CPoint(0, 0));
    // Moves the lines to point on the view window; only the horizontal one when bHorzOnly.
    void MoveTo(CPoint point, bool bHorzOnly = false);

    int HitTest(CPoint point) const;
    // The mouse protocol outside drawing: a press grabs the line under it (both when none),
    // a move with the button drags, one without it ends the drag or only hovers.
    void OnLButtonDown(CPoint point);
    // Stores the mouse point; false when the mouse had not moved.
    bool TrackMouse(CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp();
    // The drag cursor while dragging, otherwise the cursor of the line under the mouse.
    void ShowCursor();

    // The owner takes the cross-hair (bSet) or the mouse point, then the parent hears of it.
    void NotifyParent(bool bSet);
    // WM_CURSOR_MOVED to the parent: wParam the view's id, lParam its id and bSet above it.
    void SendCursorMoved(bool bSet) const;

    CPoint GetPosition() const { return m_ptPosition; }
    // Without drawing.
    void SetPosition(CPoint point) { m_ptPosition = point; }
    CPoint GetMousePoint() const { return m_ptMouse; }
    // The rows of the band lines as last drawn; -1 where none was.
    int GetBandRow(int index) const { return m_nBandRows[index & 1]; }
    int GetHitMode() const { return m_nHitMode; }
    bool IsDragging() const { return m_bDragging; }

private:
    static int CursorOfHit(int nHitMode);
    // The point with the coordinate kept that the grabbed line does not move.
    CPoint Constrained(CPoint point) const;
    bool CanDraw() const;
    void DrawHorzLine(CDC& dc, CPoint offset = CPoint(0, 0));
    void DrawVertLine(CDC& dc, CPoint offset = CPoint(0, 0));
    void DrawBandLines(CDC& dc, CPoint offset = CPoint(0, 0));
    void RestoreBandRows(CDC& dc);
    void RestoreRow(CDC& dc, int y);
    void RestoreColumn(CDC& dc, int x);
    void AllocateStrip();

    CWnd* m_pWnd = nullptr;
    ICrossHairOwner* m_pOwner = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CPoint m_ptPosition;
    CPoint m_ptMouse{10, 10}; // last mouse point seen
    CPen m_horzPen;
    CPen m_vertPen;
    std::vector<uint8_t> m_strip; // one row or one column of the composed image
    BITMAPINFO m_stripInfo;
    bool m_bHidden = false;
    bool m_bBand = false;
    int m_nBandOffsets[2] = {0, 0};
    int m_nBandRows[2] = {-1, -1};
    bool m_bVerticalMovable = true;
    int m_nMinRow = 0;
    bool m_bDragging = false;
    int32_t m_nHitMode = HIT_NONE;
    int m_nDragCursor = 0;
};
