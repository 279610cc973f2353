#pragma once
// The inner edit box of the numeric edit and of the float slider. Enter goes to the owner as
// WM_EDIT_ENTER (sent), after a text that reads as a whole number outside the box's bounds has
// become the nearer bound; losing the focus posts WM_EDIT_RESYNC to the owner. "-" starts a
// negative number where the lower bound is below 0. The box keeps Enter and Escape from a dialog.

#include "Controls.h"

#include <string>

class CEnterEdit : public CEdit
{
public:
    // What Enter does to the text before it is reported: "-" becomes "0", and a whole number
    // outside the bounds becomes the nearer bound. Returns the whole number the text then
    // reads as.
    int NormaliseText();

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    UINT OnGetDlgCode() override;

    // The text of the nearer bound when value lies outside the bounds.
    virtual bool GetBoundText(int value, std::wstring& text) const = 0;
    virtual bool IsLowerBoundNegative() const = 0;
};
