#pragma once
// A vertical level control that its window draws and drives with the mouse: a framed strip
// whose track is light above the marker and blue below it. Reversed, the range's maximum lies
// at the top of the track. Every change repaints the strip on its window at once.

#include "Types.h"

class CDC;
class CWnd;

class CLevelStrip
{
public:
    // The track runs from one pixel below the rectangle's top to one pixel above its bottom.
    void Create(CWnd* pOwner, const CRect& rect, int nMin, int nMax, bool bReversed);
    // Puts the marker at the value (not clamped to the range).
    void SetValue(int nValue);
    // The marker goes to y, kept on the track, and the value follows; true when the value
    // changed. Nothing happens when y is the marker already.
    bool DragTo(int y);
    void Paint(CDC& dc) const;

    int GetValue() const { return m_nValue; }
    int GetMarker() const { return m_nMarker; }
    int GetTrackTop() const { return m_nTrackTop; }
    int GetTrackBottom() const { return m_nTrackBottom; }
    const CRect& GetRect() const { return m_rect; }
    bool IsDragging() const { return m_bDragging; }
    void SetDragging(bool bDragging) { m_bDragging = bDragging; }

private:
    // The marker's place mirrored about the track's middle when reversed.
    int Mirror(int y) const { return m_bReversed ? m_nTrackBottom - y + m_nTrackTop : y; }
    void Repaint();

    CWnd* m_pOwner = nullptr;
    CRect m_rect;
    int m_nTrackTop = 0;
    int m_nTrackBottom = 0;
    int m_nMarker = 0;
    int m_nValue = 0;
    int m_nMin = 0;
    int m_nMax = 0;
    bool m_bReversed = false;
    bool m_bDragging = false;
};
