#pragma once
// The mouse cursor over a window. The caller names one of the layer's cursors; the six shapes
// of the data views are numbered as the configuration lists its cursor files, so a caller may
// pass that index once it knows the cursor is loaded. IDC_CLASS_CURSOR, and any id the layer
// does not know, shows the arrow of the window class.

class CWnd;

enum : int {
    IDC_CLASS_CURSOR = -1,
    IDC_MOVE = 0,  // four-way arrow
    IDC_SIZE4 = 1, // vertical
    IDC_SIZE3 = 2, // horizontal
    IDC_SIZE2 = 3, // "\": top-left and bottom-right grips
    IDC_SIZE1 = 4, // "/": top-right and bottom-left grips
    IDC_CROSS = 5,
};

void SetWindowCursor(CWnd* pWnd, int nCursorId);
