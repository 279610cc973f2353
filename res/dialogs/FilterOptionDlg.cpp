// The filter options dialog: the FIR switch, the groups and the labels; the numeric edits are
// made by the dialog beside their labels, with the labels' ids. The labels are right-aligned
// and wide enough for the dialog font, their right edges where the edits begin.

#include "FilterVelocityDialogs.h"

#include "Controls.h"
#include "ResourceIds.h"

CDialogTemplate MakeFilterOptionTemplate()
{
    using K = TDialogControl;
    return {IDD_FILTER_OPTIONS, L"Filter Option", 188, 164, L"MS Shell Dlg", 8,
            {
                {K::AutoCheckBox, L"Enable FIR filter", IDC_FO_FIR_ON, 10, 10, 72, 10},
                {K::GroupBox, L"FIR filters", IDC_FO_FIR_GROUP, 7, 23, 174, 34},
                {K::RText, L"Low Pass:", IDC_FO_FIR_LOW, 10, 37, 37, 8},
                {K::RText, L"High Pass:", IDC_FO_FIR_HIGH, 90, 37, 42, 8},
                {K::GroupBox, L"Time gain filter", -1, 7, 65, 111, 68},
                {K::RText, L"Start sample:", IDC_FO_TG_START, 20, 80, 48, 8},
                {K::RText, L"Linear gain:", IDC_FO_TG_LINEAR, 16, 98, 52, 8},
                {K::RText, L"Exponential gain:", IDC_FO_TG_EXPONENT, 8, 116, 60, 8},
                {K::PushButton, L"Cancel", IDCANCEL, 72, 143, 50, 14},
                {K::DefPushButton, L"OK", IDOK, 131, 143, 50, 14},
            }};
}
