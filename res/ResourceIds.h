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

    // The drawing tool window and its object list.
    IDD_DRAWTOOL = 168,
    IDC_DRAW_SELECT = 161,     // the tool buttons: select and move, line, rectangle, circle
    IDC_DRAW_LINE = 162,
    IDC_DRAW_RECT = 163,
    IDC_DRAW_CIRCLE = 164,
    IDC_DRAW_OBJECTS = 167,    // opens the object list
    IDI_DRAW_SELECT = 157,     // the tool buttons' icons
    IDI_DRAW_LINE = 158,
    IDI_DRAW_RECT = 159,
    IDI_DRAW_CIRCLE = 160,
    IDD_OBJECTLIST = 170,
    IDC_OBJECT_LIST = 170,
    IDC_OBJECT_FRAME = 171,    // "With frame"
    IDC_OBJECT_BLENDING = 193, // "Use blending"
    IDC_REMOVE_SELECTED = 173,
    IDC_REMOVE_ALL = 174,
    IDC_SHOW_ALL = 207,
    IDC_HIDE_ALL = 208,

    ID_FILE_IMPORT = 243,
    ID_OPTIONS = 32773,
    ID_FILTER_OPTIONS = 32774,
    ID_ZERO_LEVEL_OPTIONS = 32776,

    // Zero level dialog.
    IDD_ZERO_LEVEL = 213,
    IDC_ZL_GROUP = 215,
    IDC_ZL_RESTORE = 214,
    IDC_ZL_GAIN = 219,
    IDC_ZL_GAIN_GROUP = 220,
    IDC_ZL_POSITION_GROUP = 212,
    IDC_ZL_X_SECTION = 129,
    IDC_ZL_Y_SECTION = 130,
    IDC_ZL_TRACE_VIEW = 211,
    IDC_ZL_ZERO_LEVEL = 218,
    IDC_ZL_LINE = 227,
    IDC_ZL_TRACE = 228,
    // Trace view window.
    IDD_TRACE_VIEW = 107,
    IDC_TRACE_VIEW_GAIN = 1004,

    // Settings dialog and its pages "Window", "Colours" and "Projects".
    IDD_CONFIG = 178,
    IDC_CONFIG_TABS = 195,
    IDD_CONFIG_TAB1 = 194,
    IDC_LAYOUT_SIMPLE = 197,
    IDC_LAYOUT_WIDE = 198,
    IDC_LAYOUT_PROJECTION = 199,
    IDC_REMEMBER_WINDOW = 206,
    IDC_USE_MOUSE_WHEEL = 226,
    IDD_CONFIG_TAB2 = 196,
    IDC_PALETTE_FRAME = 200,
    IDC_PALETTE_INTERPOLATE = 202,
    IDC_PALETTE_NAMES = 203,
    IDC_PALETTE_ALL = 205,
    IDD_CONFIG_TAB3 = 210,
    IDC_UNITS_ALL = 211,
    IDC_UNITS_NAMES = 212,

    // Import dialog (235) and its profile pages (242).
    IDD_IMPORT = 235,
    IDD_IMPORT_PAGE = 242,
    IDC_IMPORT_TABS = 236,
    IDC_IMPORT_BROWSE_SOURCE = 253,
    IDC_IMPORT_BROWSE_PROJECT = 254,
    IDC_IMPORT_SOURCE = 255,
    IDC_IMPORT_PROJECT_FOLDER = 256,
    IDC_IMPORT_DISTANCE = 257,
    IDC_IMPORT_NAME = 1005,
    IDC_PROFILE_LIST = 1044,
    IDC_PROFILE_LOAD = 249,
    IDC_PROFILE_REMOVE = 250,
    IDC_PROFILE_UP = 251,
    IDC_PROFILE_DOWN = 252,
    IDI_BROWSE_FOLDER = 244,
    IDI_PROFILE_REMOVE = 245,
    IDI_PROFILE_UP = 246,
    IDI_PROFILE_DOWN = 247,
    IDI_PROFILE_LOAD = 248,
    IDS_VERTICAL = 109,
    IDS_HORIZONTAL = 111,

    // Filter options dialog; its numeric edits take the ids of their labels.
    IDD_FILTER_OPTIONS = 179,
    IDC_FO_FIR_ON = 182,
    IDC_FO_FIR_GROUP = 192,
    IDC_FO_FIR_HIGH = 187,
    IDC_FO_FIR_LOW = 188,
    IDC_FO_TG_START = 189,
    IDC_FO_TG_LINEAR = 190,
    IDC_FO_TG_EXPONENT = 191,
    // Velocity settings dialog.
    IDD_VELOCITY_SETTINGS = 109,
    IDC_VS_CONTRAST = 115,
    IDC_VS_TIME_GAIN = 116,
    IDC_VS_OPERATION_GROUP = 111,
    IDC_VS_NO_OPERATION = 126,
    IDC_VS_MIGRATION = 127,
    IDC_VS_HYPERBOLAS = 128,
    IDC_VS_VELOCITY_GROUP = 112,
    IDC_VS_MATERIAL = 1010,
    IDC_VS_MATERIAL_LABEL = 122,
    IDC_VS_VELOCITY_UNIT = 123,
    IDC_VS_DIRECTION_GROUP = 117,
    IDC_VS_X_PROFILES = 129,
    IDC_VS_Y_PROFILES = 130,
    IDC_VS_DEPTH_GROUP = 118,
    IDC_VS_DEPTH = 1013,
    IDC_VS_DEPTH_UNIT = 119,
    IDC_VS_POSITION_GROUP = 120,
    IDC_VS_VELOCITY = 124,
    IDC_VS_POSITION = 125,
    IDC_VS_PROFILE_VIEW = 1020, // its section view is 1021
    // Background removal dialog.
    IDD_BKGR_REMOVAL = 151,
    IDC_BR_CONTRAST = 115,
    IDC_BR_TIME_GAIN = 116,
    IDC_BR_MIGRATION_GROUP = 152,
    IDC_BR_MIGRATION_ON = 147,
    IDC_BR_MIGRATION_OFF = 148,
    IDC_BR_REMOVAL_GROUP = 155,
    IDC_BR_REMOVAL_ON = 149,
    IDC_BR_REMOVAL_OFF = 150,
    IDC_BR_WINDOW_GROUP = 146,  // hidden: where the window slider stands
    IDC_BR_DIRECTION_GROUP = 117,
    IDC_BR_X_PROFILES = 129,
    IDC_BR_Y_PROFILES = 130,
    IDC_BR_POSITION_GROUP = 120,
    IDC_BR_WINDOW = 154,
    IDC_BR_POSITION = 125,
    IDC_BR_PROFILE_VIEW = 1024, // its section view is 1025
};
