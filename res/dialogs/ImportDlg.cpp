// The import dialog: source and project folders, the project name, the profile pages in a tab
// control and the distance between profiles; and the page with its profile list and buttons.

#include "ImportDialogs.h"

#include "Controls.h"
#include "ResourceIds.h"

CDialogTemplate MakeImportTemplate()
{
    using K = TDialogControl;
    return {IDD_IMPORT, L"Import RD3 files", 386, 304, L"MS Shell Dlg", 8,
            {
                {K::LText, L"Import folder:", -1, 7, 10, 60, 9},
                {K::Edit, L"", IDC_IMPORT_SOURCE, 70, 7, 284, 14, WS_BORDER | ES_READONLY | ES_AUTOHSCROLL},
                {K::PushButton, L"", IDC_IMPORT_BROWSE_SOURCE, 359, 5, 20, 18, WS_TABSTOP},
                {K::LText, L"Project folder:", -1, 7, 32, 60, 9},
                {K::Edit, L"", IDC_IMPORT_PROJECT_FOLDER, 70, 29, 284, 14, WS_BORDER | ES_READONLY | ES_AUTOHSCROLL},
                {K::PushButton, L"", IDC_IMPORT_BROWSE_PROJECT, 359, 27, 20, 18, WS_TABSTOP},
                {K::LText, L"Project name:", -1, 7, 54, 60, 9},
                {K::Edit, L"", IDC_IMPORT_NAME, 70, 51, 150, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
                {K::TabControl, L"", IDC_IMPORT_TABS, 7, 70, 149, 227, WS_TABSTOP},
                {K::LText, L"Profile distance:", -1, 170, 74, 70, 9},
                {K::Edit, L"", IDC_IMPORT_DISTANCE, 170, 86, 60, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
                {K::LText, L"m", -1, 234, 89, 10, 9},
                {K::DefPushButton, L"OK", IDOK, 329, 263, 50, 14, WS_TABSTOP},
                {K::PushButton, L"Cancel", IDCANCEL, 329, 283, 50, 14, WS_TABSTOP},
            }};
}

CDialogTemplate MakeImportPageTemplate()
{
    using K = TDialogControl;
    CDialogTemplate page{IDD_IMPORT_PAGE, L"", 137, 213, L"MS Shell Dlg", 8,
                         {
                             {K::ListView, L"", IDC_PROFILE_LIST, 4, 4, 105, 205,
                              WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS},
                             {K::PushButton, L"", IDC_PROFILE_LOAD, 113, 4, 20, 18, WS_TABSTOP},
                             {K::PushButton, L"", IDC_PROFILE_REMOVE, 113, 26, 20, 18, WS_TABSTOP},
                             {K::PushButton, L"", IDC_PROFILE_UP, 113, 48, 20, 18, WS_TABSTOP},
                             {K::PushButton, L"", IDC_PROFILE_DOWN, 113, 70, 20, 18, WS_TABSTOP},
                         }};
    page.style = WS_CHILD;
    return page;
}
