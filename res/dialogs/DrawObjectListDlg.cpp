// The object list: the drawing objects in a report list on the left, their display options,
// removal and visibility buttons on the right.

#include "Controls.h"
#include "ResourceIds.h"
#include "dialogs/DrawingDialogs.h"

CDialogTemplate MakeDrawObjectListTemplate()
{
    using K = TDialogControl;
    return {IDD_OBJECTLIST, L"Object list", 315, 183, L"MS Shell Dlg", 8,
            {
                {K::ListView, L"", IDC_OBJECT_LIST, 7, 7, 202, 169, WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS},
                {K::GroupBox, L"Drawing object options:", -1, 216, 7, 92, 42},
                {K::AutoCheckBox, L"With frame", IDC_OBJECT_FRAME, 223, 19, 80, 10},
                {K::AutoCheckBox, L"Use blending", IDC_OBJECT_BLENDING, 223, 33, 80, 10},
                {K::GroupBox, L"Remove items:", -1, 216, 55, 92, 34},
                {K::PushButton, L"Selected", IDC_REMOVE_SELECTED, 223, 68, 38, 14},
                {K::PushButton, L"All", IDC_REMOVE_ALL, 265, 68, 38, 14},
                {K::GroupBox, L"Hide / Show", -1, 216, 95, 92, 34},
                {K::PushButton, L"Show all", IDC_SHOW_ALL, 223, 108, 38, 14},
                {K::PushButton, L"Hide all", IDC_HIDE_ALL, 265, 108, 38, 14},
                {K::DefPushButton, L"Close", IDOK, 258, 162, 50, 14},
            }};
}
