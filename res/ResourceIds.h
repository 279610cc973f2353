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
    IDS_X_SECTION = 130,     // labels of the main view's coordinate panel
    IDS_Y_SECTION = 131,
    IDD_SLIDER_DIALOG = 105, // the contrast and time-gain pop-up
    IDC_SLIDER_TRACKBAR = 1002,
    IDC_SLIDER_VALUE = 1003,
    IDI_CONTRAST = 143,      // the dialogs' contrast pop-up button
    IDI_TIME_GAIN = 144,     // the dialogs' time-gain pop-up button

    // The main frame's toolbar commands (their strings: status prompt, line feed, tool tip).
    ID_TOOLBAR_CONTRAST = 106,
    ID_TOOLBAR_TIMEGAIN = 136,
    ID_TOOLBAR_TRACEVIEW = 108,
    ID_TOOLBAR_DRAWTOOL = 156,
    ID_TOOLBAR_OBJECTS = 232,  // drawing-object visibility
    ID_TOOLBAR_VELOCITY = 110,
    ID_TOOLBAR_BKGR = 145,     // background removal
    ID_TOOLBAR_EMDATA = 204,
    // The visibility button's icons: all objects, the depth range only, none.
    IDI_OBJECTS_ALL = 137,
    IDI_OBJECTS_RANGE = 236,
    IDI_OBJECTS_HIDDEN = 235,
    // Status-bar panes; each string sizes its pane.
    ID_INDICATOR_COORDINATES = 133,
    ID_INDICATOR_BLANK = 105,
    ID_INDICATOR_MATERIAL = 102,
    IDS_MATERIAL = 103,
    IDS_ABOUT_PROMPT = 57664,
    // Configuration keys of the remembered places of the contrast and time-gain pop-ups.
    IDW_CONTRAST_POS = 234,
    IDW_TIMEGAIN_POS = 235,

    ID_FILE_IMPORT = 243,
    ID_OPTIONS = 32773,
    ID_FILTER_OPTIONS = 32774,
    ID_ZERO_LEVEL_OPTIONS = 32776,
};
