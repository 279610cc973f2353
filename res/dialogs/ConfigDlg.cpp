// The settings dialog: a tab control over its pages, and the pages, which are child dialogs
// without caption of the tab control's display size.

#include "ConfigDialogs.h"

#include "Controls.h"
#include "ResourceIds.h"

#include <utility>

namespace {
// A page at the tab control's display size.
CDialogTemplate MakePage(UINT nID, std::vector<CDialogItem> items)
{
    CDialogTemplate page{nID, L"", 252, 147, L"MS Shell Dlg", 8, std::move(items)};
    page.style = WS_CHILD;
    return page;
}
} // namespace

CDialogTemplate MakeConfigTemplate()
{
    using K = TDialogControl;
    return {IDD_CONFIG, L"Dialog", 266, 180, L"MS Shell Dlg", 8,
            {
                {K::TabControl, L"", IDC_CONFIG_TABS, 7, 7, 252, 147},
                {K::DefPushButton, L"OK", IDOK, 155, 159, 50, 14},
                {K::PushButton, L"Cancel", IDCANCEL, 209, 159, 50, 14},
            }};
}

CDialogTemplate MakeConfigTab1Template()
{
    using K = TDialogControl;
    return MakePage(IDD_CONFIG_TAB1,
                    {
                        {K::GroupBox, L"Layouts", -1, 7, 7, 238, 50},
                        {K::AutoRadioButton, L"Simple Layout", IDC_LAYOUT_SIMPLE, 15, 19, 120, 10,
                         WS_GROUP | WS_TABSTOP},
                        {K::AutoRadioButton, L"Wide layout", IDC_LAYOUT_WIDE, 15, 31, 120, 10},
                        {K::AutoRadioButton, L"Projection layout", IDC_LAYOUT_PROJECTION, 15, 43, 120, 10,
                         0, WS_VISIBLE},
                        {K::GroupBox, L"Window", -1, 7, 62, 238, 28, WS_GROUP},
                        {K::AutoCheckBox, L"Remember window size", IDC_REMEMBER_WINDOW, 15, 74, 120, 10},
                        {K::GroupBox, L"Mouse Control", -1, 7, 95, 238, 28},
                        {K::AutoCheckBox, L"Use wheel for depth", IDC_USE_MOUSE_WHEEL, 15, 107, 120, 10},
                    });
}

CDialogTemplate MakeConfigTab2Template()
{
    using K = TDialogControl;
    return MakePage(IDD_CONFIG_TAB2,
                    {
                        {K::LText, L"Palette:", -1, 7, 10, 40, 9},
                        {K::ComboBox, L"", IDC_PALETTE_NAMES, 50, 7, 120, 14, CBS_DROPDOWNLIST | CBS_SORT},
                        {K::AutoCheckBox, L"Use current palette for all projects", IDC_PALETTE_ALL, 7, 30, 200, 10},
                        // The editor's place and size; the page draws it there.
                        {K::LText, L"", IDC_PALETTE_FRAME, 7, 59, 238, 24, 0, WS_VISIBLE},
                        {K::PushButton, L"Interpolate", IDC_PALETTE_INTERPOLATE, 7, 90, 60, 14},
                    });
}

CDialogTemplate MakeConfigTab3Template()
{
    using K = TDialogControl;
    return MakePage(IDD_CONFIG_TAB3,
                    {
                        {K::GroupBox, L"Units", -1, 7, 7, 238, 50},
                        {K::AutoCheckBox, L"Use current units for all projects", IDC_UNITS_ALL, 15, 19, 200, 10},
                        {K::ComboBox, L"", IDC_UNITS_NAMES, 15, 35, 120, 14, CBS_DROPDOWNLIST | CBS_SORT},
                    });
}
