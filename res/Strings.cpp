// The string table: messages, the status prompts of the commands (before a line feed) with
// their tool tips (after it), and the texts that size the status-bar panes.

#include "QuarvelResources.h"
#include "ResourceIds.h"

std::vector<CStringEntry> MakeStringTable()
{
    std::vector<CStringEntry> strings = {
        {IDS_SAVE_CHANGED, L"Save changed project %1"},
        {IDS_X_SECTION, L"X-Section:"},
        {IDS_Y_SECTION, L"Y-Section:"},
        {IDS_MATERIAL, L"Material"},
        {IDS_VERTICAL, L"Vertical"},
        {IDS_HORIZONTAL, L"Horizontal"},
        {ID_INDICATOR_COORDINATES, L"x= 00.000 m  y= 00.000 m   z= 00.000 m"},
        {ID_INDICATOR_BLANK, L" "},
        {ID_INDICATOR_MATERIAL, L"Material:                                        "},
        {ID_FILE_OPEN, L"Open an existing document\nOpen"},
        {ID_FILE_SAVE, L"Save settings\nSave"},
        {ID_FILE_PRINT, L"Print the active document\nPrint"},
        {ID_FILE_PRINT_PREVIEW, L"Display full pages\nPrint Preview"},
        {ID_FILE_PRINT_SETUP, L"Change the printer and printing options\nPrint Setup"},
        {ID_APP_EXIT, L"Quit the application; prompts to save documents\nExit"},
        {ID_EDIT_CUT, L"Cut the selection and put it on the Clipboard\nCut"},
        {ID_EDIT_COPY, L"Time gain"},
        {ID_EDIT_PASTE, L"Insert Clipboard contents\nPaste"},
        {ID_VIEW_TOOLBAR, L"Show or hide the toolbar\nToggle ToolBar"},
        {ID_VIEW_STATUS_BAR, L"Show or hide the status bar\nToggle StatusBar"},
        {IDS_ABOUT_PROMPT, L"Display program information, version number and copyright\nAbout"},
        {ID_TOOLBAR_CONTRAST, L"Contrast settings\nContrast"},
        {ID_TOOLBAR_TIMEGAIN, L"time gain setting\nTime gain"},
        {ID_TOOLBAR_TRACEVIEW, L"trace view\nTrace view"},
        {ID_TOOLBAR_DRAWTOOL, L"Open drawing tool\nDrawing tool"},
        {ID_TOOLBAR_VELOCITY, L"velocity settings window\nVelocity settings"},
        {ID_TOOLBAR_BKGR, L"background removal\nBackground removal filter"},
        {ID_TOOLBAR_EMDATA, L"Toogle EM data\nToggle EM data view"},
    };
    for (UINT nID = ID_FILE_MRU_FILE1; nID <= ID_FILE_MRU_FILE16; ++nID)
        strings.push_back({nID, L"Open this document"});
    return strings;
}
