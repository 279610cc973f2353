#pragma once
// A typed-value box of the main view's information panel: it takes digits (mode 0), digits
// and "." (mode 1) or no characters (any other mode) besides control characters such as
// Backspace. Enter sends and the loss of the focus posts WM_VALUE_CHANGED (its id, 0) to the
// parent, which reads the text. The box keeps Enter and Escape from a dialog.

#include "Controls.h"

class CEncapEdit : public CEdit
{
public:
    enum : int { MODE_DIGITS = 0, MODE_DECIMAL = 1 };
    int m_iMode = MODE_DIGITS;

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    UINT OnGetDlgCode() override;
};
