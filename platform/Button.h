#pragma once
// The push button, the check box, the radio button and the group box. A radio button's group
// runs from the button with WS_GROUP (or the parent's first child) up to the next child with
// WS_GROUP. The user's click notifies the parent (BN_CLICKED); the automatic kinds first
// change their own state (a check box toggles, a radio button is checked and the others of
// its group cleared), the plain kinds leave that to the parent. SetCheck and
// CheckRadioButton notify nobody.

#include "Wnd.h"

// Button styles.
enum : DWORD {
    BS_PUSHBUTTON = 0x0,
    BS_DEFPUSHBUTTON = 0x1,
    BS_CHECKBOX = 0x2,
    BS_AUTOCHECKBOX = 0x3,
    BS_RADIOBUTTON = 0x4,
    BS_GROUPBOX = 0x7,
    BS_AUTORADIOBUTTON = 0x9,
    BS_TYPEMASK = 0xF,
    BS_PUSHLIKE = 0x1000, // a check box or radio button that looks like a push button, pressed while checked
};
// Check states.
enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1 };

class CButton : public CWnd
{
public:
    // As if the user pressed it.
    void Click();
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }
    // The icon a push button shows, as large as the button holds up to 32 pixels; null for none.
    void SetIcon(HICON hIcon);
    HICON GetIcon() const { return m_hIcon; }

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    HICON m_hIcon = nullptr;
    bool IsRadio() const;
    // The other radio buttons of this one's group.
    void ClearGroup();
};
