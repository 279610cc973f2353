// The filter options dialog: the FIR switch, the groups and the labels; the numeric edits are
// made by the dialog beside their labels, with the labels' ids.

#include "FilterVelocityDialogs.h"

#include "Controls.h"
#include "ResourceIds.h"

CDialogTemplate MakeFilterOptionTemplate()
{
    using K = TDialogControl;
    return {IDD_FILTER_OPTIONS, L"Filter Option", 188, 164, L"MS Shell Dlg", 8,
            {
                {K::AutoCheckBox, L"Enable FIR filter", IDC_FO_FIR_ON, 10, 10, 67, 10},
                {K::GroupBox, L"FIR filters", IDC_FO_FIR_GROUP, 7, 23, 174, 34},
                {K::LText, L"Low Pass:", IDC_FO_FIR_LOW, 14, 37, 33, 8},
                {K::LText, L"High Pass:", IDC_FO_FIR_HIGH, 98, 37, 34, 8},
                {K::GroupBox, L"Time gain filter", -1, 7, 65, 111, 68},
                {K::LText, L"Start sample:", IDC_FO_TG_START, 24, 80, 44, 8},
                {K::LText, L"Linear gain:", IDC_FO_TG_LINEAR, 30, 98, 38, 8},
                {K::LText, L"Exponential gain:", IDC_FO_TG_EXPONENT, 12, 116, 56, 8},
                {K::PushButton, L"Cancel", IDCANCEL, 72, 143, 50, 14},
                {K::DefPushButton, L"OK", IDOK, 131, 143, 50, 14},
            }};
}
