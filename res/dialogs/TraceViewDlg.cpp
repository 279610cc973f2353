// The trace view window: a resizable tool window with the amplitude trackbar at the bottom.

#include "ZeroLevelDialogs.h"

#include "Controls.h"
#include "ResourceIds.h"

CDialogTemplate MakeTraceViewTemplate()
{
    using K = TDialogControl;
    CDialogTemplate dialog{IDD_TRACE_VIEW, L"Trace view", 116, 214, L"MS Shell Dlg", 8,
                           {
                               {K::Trackbar, L"", IDC_TRACE_VIEW_GAIN, 7, 192, 100, 15, TBS_BOTH | TBS_NOTICKS},
                           }};
    dialog.style = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    return dialog;
}
