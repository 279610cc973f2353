#pragma once
// The data views name their cursors by their index in the configuration's cursor list. A
// cursor that the configuration has not loaded shows as the arrow of the window class.

class CWnd;

// nCursor is a TCursorId or IDC_CLASS_CURSOR.
void SetConfiguredCursor(CWnd* pWnd, int nCursor);
