// The velocity settings dialog: the pop-up buttons, the operation, direction and depth groups,
// the material row and the buttons; the two sliders and the profile view are made by the
// dialog, which lays everything out in tables. The hidden groups mark where the sliders stand.

#include "FilterVelocityDialogs.h"

#include "Controls.h"
#include "ResourceIds.h"

CDialogTemplate MakeVelocitySettingsTemplate()
{
    using K = TDialogControl;
    return {IDD_VELOCITY_SETTINGS, L"Velocity Settings", 430, 326, L"MS Shell Dlg", 8,
            {
                {K::PushButton, L"", IDC_VS_CONTRAST, 7, 7, 20, 16},
                {K::PushButton, L"", IDC_VS_TIME_GAIN, 31, 7, 20, 16},
                {K::GroupBox, L"Operation", IDC_VS_OPERATION_GROUP, 7, 28, 78, 50},
                {K::AutoRadioButton, L"No operation", IDC_VS_NO_OPERATION, 13, 40, 68, 10, WS_GROUP | WS_TABSTOP},
                {K::AutoRadioButton, L"Migration", IDC_VS_MIGRATION, 13, 52, 68, 10},
                {K::AutoRadioButton, L"Hyperbola fitting", IDC_VS_HYPERBOLAS, 13, 64, 71, 10},
                {K::GroupBox, L"Velocity", IDC_VS_VELOCITY_GROUP, 7, 82, 78, 170, 0, WS_VISIBLE},
                {K::LText, L"Material type:", IDC_VS_MATERIAL_LABEL, 92, 9, 50, 8},
                {K::ComboBox, L"", IDC_VS_MATERIAL, 144, 7, 170, 14, CBS_DROPDOWNLIST | CBS_SORT},
                {K::LText, L"\u00b5s/m", IDC_VS_VELOCITY_UNIT, 318, 9, 40, 8},
                {K::GroupBox, L"Profiles direction:", IDC_VS_DIRECTION_GROUP, 7, 262, 78, 38},
                {K::AutoRadioButton, L"X-Profiles", IDC_VS_X_PROFILES, 13, 274, 60, 10, WS_GROUP | WS_TABSTOP},
                {K::AutoRadioButton, L"Y-Profiles", IDC_VS_Y_PROFILES, 13, 286, 60, 10},
                {K::GroupBox, L"Depth:", IDC_VS_DEPTH_GROUP, 92, 262, 72, 38},
                {K::Edit, L"", IDC_VS_DEPTH, 98, 276, 44, 13, WS_BORDER | ES_READONLY | ES_AUTOHSCROLL},
                {K::LText, L"m", IDC_VS_DEPTH_UNIT, 146, 278, 14, 8},
                {K::GroupBox, L"Profile position:", IDC_VS_POSITION_GROUP, 170, 262, 180, 38, 0, WS_VISIBLE},
                {K::PushButton, L"Ok", IDOK, 318, 305, 50, 14},
                {K::PushButton, L"Cancel", IDCANCEL, 373, 305, 50, 14},
            },
            WS_THICKFRAME};
}
