#pragma once
// The single-line edit box.

#include "Wnd.h"

class QKeyEvent;
class CEditWidget;

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
