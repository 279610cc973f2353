#pragma once
// The trackbar.

#include "ScrollParam.h"
#include "Wnd.h"

class CSliderWidget;

// Trackbar styles.
enum : DWORD {
    TBS_HORZ = 0x0, TBS_AUTOTICKS = 0x1, TBS_VERT = 0x2, TBS_TOP = 0x4, TBS_LEFT = 0x4, TBS_BOTH = 0x8,
    TBS_NOTICKS = 0x10, TBS_ENABLESELRANGE = 0x20,
};
// Trackbar codes of WM_HSCROLL / WM_VSCROLL.
enum : UINT {
    TB_LINEUP = 0, TB_LINEDOWN = 1, TB_PAGEUP = 2, TB_PAGEDOWN = 3, TB_THUMBPOSITION = 4, TB_THUMBTRACK = 5,
    TB_TOP = 6, TB_BOTTOM = 7, TB_ENDTRACK = 8,
};

// A trackbar; a vertical one has its minimum at the top, as on Windows. The user's moves
// notify the parent with WM_HSCROLL (WM_VSCROLL with TBS_VERT): TB_THUMBTRACK while the thumb
// is dragged, TB_THUMBPOSITION when it is let go, TB_LINEUP / TB_LINEDOWN, TB_PAGEUP /
// TB_PAGEDOWN and TB_TOP / TB_BOTTOM for keys and clicks, TB_THUMBPOSITION for the wheel;
// each but TB_THUMBTRACK is followed by TB_ENDTRACK. TBS_ENABLESELRANGE shows the selection.
// Ticks stand below (TBS_TOP: above; TBS_BOTH: on both sides), one per step with TBS_AUTOTICKS,
// else at the first and the last position; TBS_NOTICKS has none.
class CSliderCtrl : public CWnd
{
public:
    void SetRange(int nMin, int nMax, bool bRedraw = false);
    int GetRangeMin() const;
    int GetRangeMax() const;
    // Limited to the range.
    void SetPos(int nPos);
    int GetPos() const;
    void SetSelection(int nMin, int nMax);
    void GetSelection(int& nMin, int& nMax) const;
    // Leaves the first and the last tick.
    void ClearTics(bool bRedraw = false);

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    friend class CSliderWidget;
    void Notify(UINT nCode);
};
