#pragma once
// The mouse cursor over a window. The configuration's six cursors (TCursorId, cursor files
// on Windows) are Qt's shapes here: move the four-way arrow, size4 vertical, size3
// horizontal, size2 the rising diagonal, size1 the falling diagonal, cross the cross; one
// that the configuration has not loaded shows the arrow, as does the class cursor.

class CWnd;

enum : int { IDC_CLASS_CURSOR = -1 };

// One of the configuration's cursors by its id, or IDC_CLASS_CURSOR.
void SetWindowCursor(CWnd* pWnd, int nCursorId);
