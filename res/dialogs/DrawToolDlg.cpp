// The drawing tool window: a narrow strip of tool buttons; the window paints the opacity strip
// to the right of the buttons and the colour preview between them and "Objects".

#include "Controls.h"
#include "ResourceIds.h"
#include "dialogs/DrawingDialogs.h"

CDialogTemplate MakeDrawToolTemplate()
{
    using K = TDialogControl;
    const DWORD tool = BS_PUSHLIKE | WS_TABSTOP;
    return {IDD_DRAWTOOL, L"", 39, 118, L"MS Shell Dlg", 8,
            {
                {K::AutoRadioButton, L"", IDC_DRAW_SELECT, 3, 3, 20, 20, tool | WS_GROUP},
                {K::AutoRadioButton, L"", IDC_DRAW_LINE, 3, 23, 20, 20, tool},
                {K::AutoRadioButton, L"", IDC_DRAW_RECT, 3, 43, 20, 20, tool},
                {K::AutoRadioButton, L"", IDC_DRAW_CIRCLE, 3, 63, 20, 20, tool},
                {K::PushButton, L"Objects", IDC_DRAW_OBJECTS, 3, 101, 33, 14, WS_GROUP},
            }};
}
