#pragma once
// The standard controls as thin windows around their Qt widgets. A control reports the
// user's actions to its parent as WM_COMMAND notifications, never what the program does to it.

#include "Wnd.h"

// Static text styles.
enum : DWORD { SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2 };
// Button styles.
enum : DWORD { BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1, BS_GROUPBOX = 0x7 };

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
