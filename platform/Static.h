#pragma once
// Static text: a label aligned by its SS_ style; left-aligned text wraps, unless it is
// SS_LEFTNOWORDWRAP.

#include "Wnd.h"

// Static text styles.
enum : DWORD { SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2, SS_LEFTNOWORDWRAP = 0xC, SS_TYPEMASK = 0x1F };

class CStatic : public CWnd
{
protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;
};
