#pragma once
// Static text: a label aligned by its SS_ style; left-aligned text wraps.

#include "Wnd.h"

// Static text styles.
enum : DWORD { SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2 };

class CStatic : public CWnd
{
protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
};
