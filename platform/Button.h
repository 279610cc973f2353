#pragma once
// The push button and the group box.

#include "Wnd.h"

// Button styles.
enum : DWORD { BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_GROUPBOX = 0x7 };

// A push button (BN_CLICKED when pressed) or a group box.
class CButton : public CWnd
{
public:
    // As if the user pressed it.
    void Click();

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
};
