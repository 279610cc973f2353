#pragma once
// The up-down control.

#include "ScrollParam.h"
#include "Wnd.h"

#include <string>

class CSpinWidget;

// Up-down styles and its codes of WM_VSCROLL / WM_HSCROLL.
enum : DWORD { UDS_WRAP = 0x1, UDS_SETBUDDYINT = 0x2, UDS_ALIGNRIGHT = 0x4, UDS_ALIGNLEFT = 0x8, UDS_ARROWKEYS = 0x20,
               UDS_HORZ = 0x40 };
enum : UINT { SB_THUMBPOSITION = 4, SB_ENDSCROLL = 8 };

// An up-down control: two arrow buttons that step a position within a range, both of the
// full int range (as with the 32-bit messages on Windows). With UDS_SETBUDDYINT its buddy
// shows the position and is read back before every step and by GetPos; with UDS_ARROWKEYS
// the Up and Down keys in the buddy step it. Every step of the user's notifies the parent
// with WM_VSCROLL (WM_HSCROLL with UDS_HORZ) SB_THUMBPOSITION and the position, also at the
// end of the range; releasing the button adds SB_ENDSCROLL.
class CSpinButtonCtrl : public CWnd
{
public:
    CWnd* SetBuddy(CWnd* pBuddy);
    CWnd* GetBuddy() const;
    // The position stays.
    void SetRange(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    // nPos limited to the range; the previous position.
    int SetPos(int nPos);
    // With a buddy, its text when that reads as a whole number within the range becomes the
    // position; otherwise the position stays and *pbError is set.
    int GetPos(bool* pbError = nullptr);
    // A buddy's text as the up-down reads it: optional blanks and sign, then only digits, the
    // value limited far outside every range; an empty text is 0.
    static bool ReadNumber(const std::wstring& text, long long& value);

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
