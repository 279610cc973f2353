#pragma once
// The ids of the program's resources and of its own commands.

#include "Types.h"

enum : UINT {
    IDR_MAINFRAME = 128,     // menu, accelerators, icon, document string
    IDB_LOGO = 129,          // the main view's logo
    IDD_ABOUTBOX = 100,
    IDD_TEXTDIALOG = 131,    // the save prompt
    IDC_ABOUT_TEXT = 227,    // name and version in the About box
    IDS_SAVE_CHANGED = 107,  // "Save changed project %1"
    IDD_SLIDER_DIALOG = 105, // the contrast and time-gain pop-up
    IDC_SLIDER_TRACKBAR = 1002,
    IDC_SLIDER_VALUE = 1003,

    ID_FILE_IMPORT = 243,
    ID_OPTIONS = 32773,
    ID_FILTER_OPTIONS = 32774,
    ID_ZERO_LEVEL_OPTIONS = 32776,
};
