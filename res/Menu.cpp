// Menu 128 of the main frame.

#include "QuarvelResources.h"
#include "ResourceIds.h"

namespace {
CMenuItem Command(const wchar_t* text, UINT nID)
{
    return {CMenuItem::ITEM_COMMAND, text, nID, {}};
}

CMenuItem Separator()
{
    return {CMenuItem::ITEM_SEPARATOR, L"", 0, {}};
}

CMenuItem Popup(const wchar_t* text, std::vector<CMenuItem> items)
{
    return {CMenuItem::ITEM_POPUP, text, 0, std::move(items)};
}
} // namespace

std::vector<CMenuResource> MakeMenus()
{
    return {{IDR_MAINFRAME,
             {
                 Popup(L"&File", {Command(L"&Open...\tCtrl+O", ID_FILE_OPEN), Command(L"&Save\tCtrl+S", ID_FILE_SAVE),
                                  Command(L"Import...", ID_FILE_IMPORT), Separator(),
                                  Command(L"&Print...\tCtrl+P", ID_FILE_PRINT),
                                  Command(L"Print Pre&view", ID_FILE_PRINT_PREVIEW),
                                  Command(L"P&rint Setup...", ID_FILE_PRINT_SETUP), Separator(),
                                  Command(L"Recent File", ID_FILE_MRU_FILE1), Separator(),
                                  Command(L"E&xit", ID_APP_EXIT)}),
                 Popup(L"&Edit", {Command(L"Cu&t\tCtrl+X", ID_EDIT_CUT), Command(L"&Copy\tCtrl+C", ID_EDIT_COPY),
                                  Command(L"&Paste\tCtrl+V", ID_EDIT_PASTE)}),
                 Popup(L"&View", {Command(L"&Toolbar", ID_VIEW_TOOLBAR), Command(L"&Status Bar", ID_VIEW_STATUS_BAR)}),
                 Popup(L"&Options", {Command(L"Options", ID_OPTIONS), Command(L"Filter Options", ID_FILTER_OPTIONS),
                                     Command(L"Zero Level Options", ID_ZERO_LEVEL_OPTIONS)}),
                 Popup(L"&Help", {Command(L"&About ...", ID_APP_ABOUT)}),
             }}};
}
