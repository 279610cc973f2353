// Dialog templates, in dialog units, in the dialog font "MS Shell Dlg" 8.

#include "Controls.h"
#include "QuarvelResources.h"
#include "ResourceIds.h"
#include "dialogs/BackgroundRemovalDialogs.h"
#include "dialogs/ConfigDialogs.h"
#include "dialogs/DrawingDialogs.h"
#include "dialogs/FilterVelocityDialogs.h"
#include "dialogs/ImportDialogs.h"
#include "dialogs/ZeroLevelDialogs.h"

std::vector<CDialogTemplate> MakeDialogTemplates()
{
    using K = TDialogControl;
    return {
        MakeFilterOptionTemplate(), MakeVelocitySettingsTemplate(),
        MakeBackgroundRemovalTemplate(),
        MakeConfigTemplate(), MakeConfigTab1Template(), MakeConfigTab2Template(), MakeConfigTab3Template(),
        MakeZeroLevelTemplate(), MakeTraceViewTemplate(),
        MakeImportTemplate(), MakeImportPageTemplate(),
        MakeDrawToolTemplate(), MakeDrawObjectListTemplate(),
        {IDD_ABOUTBOX, L"quarvel", 180, 62, L"MS Shell Dlg", 8,
         {
             {K::LText, L"", IDC_ABOUT_TEXT, 12, 10, 156, 9},
             {K::LText, L"Ground-penetrating radar surveys in 3D.", -1, 12, 22, 156, 9},
             {K::DefPushButton, L"OK", IDOK, 123, 41, 50, 14},
         }},
        {IDD_TEXTDIALOG, L"Dialog", 186, 66, L"MS Shell Dlg", 8,
         {
             {K::LText, L"Settings has been changed.", -1, 12, 10, 162, 9},
             {K::LText, L"Do you want to save settings?", -1, 12, 22, 162, 9},
             {K::DefPushButton, L"Yes", IDOK, 12, 44, 50, 14},
             {K::PushButton, L"No", IDNO, 68, 44, 50, 14},
             {K::PushButton, L"Cancel", IDCANCEL, 124, 44, 50, 14},
         }},
        {IDD_SLIDER_DIALOG, L"Dialog", 195, 36, L"MS Shell Dlg", 8,
         {
             {K::Trackbar, L"", IDC_SLIDER_TRACKBAR, 3, 2, 188, 15, WS_TABSTOP | TBS_BOTH | TBS_NOTICKS},
             {K::Edit, L"", IDC_SLIDER_VALUE, 75, 17, 40, 14,
              WS_BORDER | WS_TABSTOP | ES_READONLY | ES_CENTER | ES_AUTOHSCROLL},
         }},
    };
}
