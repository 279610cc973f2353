#pragma once
// The standard controls as thin windows around their Qt widgets. A control reports the
// user's actions to its parent as the system's notifications (WM_COMMAND with a notification
// code, WM_HSCROLL / WM_VSCROLL), never what the program does to it.

#include "Wnd.h"

class QKeyEvent;
class CEditWidget;
class CSpinWidget;
class CSliderWidget;

// Static text styles.
enum : DWORD { SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2 };
// Button styles.
enum : DWORD { BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_GROUPBOX = 0x7 };
// Edit styles.
enum : DWORD {
    ES_LEFT = 0x0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_AUTOHSCROLL = 0x80, ES_READONLY = 0x800, ES_NUMBER = 0x2000,
};
// Edit notifications of WM_COMMAND.
enum : UINT { EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300 };
// Answers to WM_GETDLGCODE.
enum : UINT {
    DLGC_WANTARROWS = 0x1, DLGC_WANTTAB = 0x2, DLGC_WANTALLKEYS = 0x4, DLGC_HASSETSEL = 0x8, DLGC_WANTCHARS = 0x80,
};
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
// Up-down styles and its codes of WM_VSCROLL / WM_HSCROLL.
enum : DWORD { UDS_WRAP = 0x1, UDS_SETBUDDYINT = 0x2, UDS_ALIGNRIGHT = 0x4, UDS_ALIGNLEFT = 0x8, UDS_ARROWKEYS = 0x20,
               UDS_HORZ = 0x40 };
enum : UINT { SB_THUMBPOSITION = 4, SB_ENDSCROLL = 8 };

// wParam of a control's WM_HSCROLL / WM_VSCROLL: the code in the low word and the position
// above it as a 32-bit number (HIWORD gives its low 16 bits, as on Windows); lParam is the
// control's handle.
constexpr WPARAM MakeScrollParam(UINT code, int pos)
{
    return WPARAM(uint16_t(code)) | (WPARAM(uint32_t(pos)) << 16);
}
constexpr UINT GetScrollParamCode(WPARAM wParam)
{
    return LOWORD(wParam);
}
constexpr int GetScrollParamPos(WPARAM wParam)
{
    return int32_t(uint32_t(wParam >> 16));
}

class CStatic : public CWnd
{
protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
};

// A push button (BN_CLICKED when pressed) or a group box.
class CButton : public CWnd
{
public:
    // As if the user pressed it.
    void Click();

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
};

// A single-line edit box. Keys reach it as WM_KEYDOWN and WM_CHAR; what the handlers pass on
// to CEdit::OnKeyDown and CEdit::OnChar is typed (with ES_NUMBER only digits and control
// characters). Return stays with the box; Escape goes on to the dialog unless the box answers
// WM_GETDLGCODE with DLGC_WANTALLKEYS. Typed changes notify EN_CHANGE; gaining and losing the
// focus EN_SETFOCUS and EN_KILLFOCUS, where a focus that goes to a menu or pop-up for a moment
// is not lost.
class CEdit : public CWnd
{
public:
    void SetSel(int nStart, int nEnd, bool bNoScroll = false);
    void GetSel(int& nStart, int& nEnd) const;
    void SetReadOnly(bool bReadOnly = true);
    bool IsReadOnly() const;

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    virtual UINT OnGetDlgCode();

private:
    friend class CEditWidget;
    // A key of the widget as messages; false when it goes on to the parent widget.
    bool TranslateKey(QKeyEvent* pEvent);
    // The key to the line edit's own handling: the one being translated, else a made one.
    void PassKey(int qtKey, UINT nChar);
    void Notify(UINT nCode);

    QKeyEvent* m_pKey = nullptr;
    bool m_bKeyPassed = false;
};

// An up-down control: two arrow buttons that step a position within a range, both 16-bit
// as on Windows. With UDS_SETBUDDYINT its buddy shows the position and is read back before
// every step and by GetPos; with UDS_ARROWKEYS the Up and Down keys in the buddy step it. Every
// step of the user's notifies the parent with WM_VSCROLL (WM_HSCROLL with UDS_HORZ)
// SB_THUMBPOSITION and the position, also at the end of the range; releasing the button
// adds SB_ENDSCROLL.
class CSpinButtonCtrl : public CWnd
{
public:
    CWnd* SetBuddy(CWnd* pBuddy);
    CWnd* GetBuddy() const;
    // The low 16 bits of each, as signed numbers; the position stays.
    void SetRange(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    // The low 16 bits of nPos as a signed number, limited to the range; the previous position.
    int SetPos(int nPos);
    // With a buddy, its text when that reads as a whole number within the range becomes the
    // position; otherwise the position stays and *pbError is set.
    int GetPos(bool* pbError = nullptr);

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    friend class CSpinWidget;
    void Step(int nDelta);
    void Notify(UINT nCode);
    bool ReadBuddy();
    void WriteBuddy();
    bool InRange(long long value) const;

    HWND m_hBuddy = nullptr;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};

// A trackbar; a vertical one has its minimum at the top, as on Windows. The user's moves
// notify the parent with WM_HSCROLL (WM_VSCROLL with TBS_VERT): TB_THUMBTRACK while the thumb
// is dragged, TB_THUMBPOSITION when it is let go, TB_LINEUP / TB_LINEDOWN, TB_PAGEUP /
// TB_PAGEDOWN and TB_TOP / TB_BOTTOM for keys and clicks, TB_THUMBPOSITION for the wheel;
// each but TB_THUMBTRACK is followed by TB_ENDTRACK. TBS_ENABLESELRANGE shows the selection.
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
    void ClearTics(bool bRedraw = false);

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    friend class CSliderWidget;
    void Notify(UINT nCode);
};
