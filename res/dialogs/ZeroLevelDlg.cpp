// The zero level dialog: the groups of the left column; the sliders, the zero-level box and
// the trace view are made by the dialog.

#include "ZeroLevelDialogs.h"

#include "Controls.h"
#include "ResourceIds.h"

CDialogTemplate MakeZeroLevelTemplate()
{
    using K = TDialogControl;
    return {IDD_ZERO_LEVEL, L"Zero level settings", 357, 247, L"MS Shell Dlg", 8,
            {
                {K::GroupBox, L"Zero level", IDC_ZL_GROUP, 7, 7, 125, 58},
                {K::PushButton, L"Restore zero level", IDC_ZL_RESTORE, 15, 42, 80, 14, WS_TABSTOP},
                {K::GroupBox, L"Trace position", IDC_ZL_POSITION_GROUP, 7, 70, 125, 100},
                {K::AutoRadioButton, L"X-Section", IDC_ZL_X_SECTION, 15, 83, 50, 10, WS_GROUP | WS_TABSTOP},
                {K::AutoRadioButton, L"Y-Section", IDC_ZL_Y_SECTION, 72, 83, 50, 10},
                {K::GroupBox, L"Signal gain", IDC_ZL_GAIN_GROUP, 7, 175, 125, 40},
                {K::Trackbar, L"", IDC_ZL_GAIN, 12, 188, 115, 20, WS_TABSTOP},
                {K::DefPushButton, L"OK", IDOK, 7, 226, 55, 14, WS_TABSTOP},
                {K::PushButton, L"Cancel", IDCANCEL, 77, 226, 55, 14, WS_TABSTOP},
            }};
}
