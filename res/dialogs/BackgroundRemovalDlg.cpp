// The background removal dialog: the pop-up buttons, the migration, background removal and
// direction groups and the buttons; the two sliders and the profile view are made by the
// dialog, which lays everything out in tables. The hidden group marks where the window
// slider stands, group 120 where the position slider stands.

#include "BackgroundRemovalDialogs.h"

#include "Controls.h"
#include "ResourceIds.h"

CDialogTemplate MakeBackgroundRemovalTemplate()
{
    using K = TDialogControl;
    return {IDD_BKGR_REMOVAL, L"Background Removal", 358, 326, L"MS Shell Dlg", 8,
            {
                {K::PushButton, L"", IDC_BR_CONTRAST, 7, 7, 20, 16},
                {K::PushButton, L"", IDC_BR_TIME_GAIN, 31, 7, 20, 16},
                {K::GroupBox, L"Migration", IDC_BR_MIGRATION_GROUP, 7, 28, 78, 38},
                {K::AutoRadioButton, L"On", IDC_BR_MIGRATION_ON, 13, 40, 60, 10, WS_GROUP | WS_TABSTOP},
                {K::AutoRadioButton, L"Off", IDC_BR_MIGRATION_OFF, 13, 52, 60, 10},
                {K::GroupBox, L"Bkgr Removal", IDC_BR_REMOVAL_GROUP, 7, 70, 78, 38},
                {K::AutoRadioButton, L"On", IDC_BR_REMOVAL_ON, 13, 82, 60, 10, WS_GROUP | WS_TABSTOP},
                {K::AutoRadioButton, L"Off", IDC_BR_REMOVAL_OFF, 13, 94, 60, 10},
                {K::GroupBox, L"Bkgr Removal", IDC_BR_WINDOW_GROUP, 7, 112, 78, 144, 0, WS_VISIBLE},
                {K::GroupBox, L"Profiles direction:", IDC_BR_DIRECTION_GROUP, 7, 262, 78, 38},
                {K::AutoRadioButton, L"X-Profiles", IDC_BR_X_PROFILES, 13, 274, 60, 10, WS_GROUP | WS_TABSTOP},
                {K::AutoRadioButton, L"Y-Profiles", IDC_BR_Y_PROFILES, 13, 286, 60, 10},
                {K::GroupBox, L"Profile position:", IDC_BR_POSITION_GROUP, 92, 262, 259, 38},
                {K::DefPushButton, L"OK", IDOK, 246, 305, 50, 14},
                {K::PushButton, L"Cancel", IDCANCEL, 301, 305, 50, 14},
            },
            WS_THICKFRAME};
}
