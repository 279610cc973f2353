#pragma once
// The program's resources as data: menus, accelerator tables, dialog templates, the string
// table, bitmaps and icons (Qt resource paths). The program hands its tables to the layer once at
// start-up; the layer looks resources up by id as the framework does.

#include "Types.h"

#include <string>
#include <vector>

// One menu item: a command, a separator or a pop-up with its own items.
struct CMenuItem
{
    enum TKind { ITEM_COMMAND, ITEM_SEPARATOR, ITEM_POPUP };
    TKind kind = ITEM_COMMAND;
    std::wstring text; // "&Open...\tCtrl+O": mnemonic and the accelerator's name after a tab
    UINT nID = 0;
    std::vector<CMenuItem> items;
};

struct CMenuResource
{
    UINT nID;
    std::vector<CMenuItem> items; // the menu bar's pop-ups
};

enum : BYTE { FVIRTKEY = 0x01, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };

struct CAccelEntry
{
    BYTE fVirt; // FVIRTKEY with FSHIFT, FCONTROL, FALT
    WORD key;   // a virtual key
    UINT cmd;
};

struct CAcceleratorResource
{
    UINT nID;
    std::vector<CAccelEntry> entries;
};

// Control kinds of a dialog template.
enum class TDialogControl {
    LText,         // static text, left aligned
    CText,         // static text, centred
    RText,         // static text, right aligned
    PushButton,
    DefPushButton, // the button that Return presses
    GroupBox,
    AutoCheckBox,
    AutoRadioButton, // WS_GROUP on the first of a group
    Edit,          // single-line edit box
    Trackbar,
    ComboBox,      // CBS_DROPDOWNLIST, CBS_SORT
    ListView,      // LVS_ styles
    TabControl,
};

struct CDialogItem
{
    TDialogControl kind;
    std::wstring text;
    int nID;
    int x, y, cx, cy; // dialog units
    DWORD style = 0;  // the control's own styles besides WS_CHILD | WS_VISIBLE (ES_, TBS_, WS_BORDER ...)
    DWORD notStyle = 0; // default styles taken away, as "NOT WS_VISIBLE" of a hidden item
};

struct CDialogTemplate
{
    UINT nID;
    std::wstring caption;
    int cx, cy; // dialog units
    std::wstring fontName;
    int nPointSize;
    std::vector<CDialogItem> items;
    // Besides a caption and a system menu: WS_THICKFRAME (resizable, from the minimum tracking
    // size of WM_GETMINMAXINFO), WS_MINIMIZEBOX, WS_MAXIMIZEBOX. WS_CHILD makes a page without
    // caption inside its parent, shown only with WS_VISIBLE.
    DWORD style = 0;
};

struct CStringEntry
{
    UINT nID;
    std::wstring text;
};

struct CBitmapResource
{
    UINT nID;
    const char* path; // Qt resource path
};

struct CIconResource
{
    UINT nID;
    const char* path; // Qt resource path
};
// A loaded icon; null when there is none.
using HICON = const CIconResource*;

// A toolbar: its buttons' command ids in order, 0 for a separator, and one strip of images,
// cx x cy pixels each, one per button in button order.
struct CToolBarResource
{
    UINT nID;
    int cx, cy;
    const char* path; // Qt resource path of the strip
    std::vector<UINT> buttons;
};

struct CResourceSet
{
    std::vector<CMenuResource> menus;
    std::vector<CAcceleratorResource> accelerators;
    std::vector<CDialogTemplate> dialogs;
    std::vector<CStringEntry> strings;
    std::vector<CBitmapResource> bitmaps;
    std::vector<CIconResource> icons;
    std::vector<CToolBarResource> toolbars = {};
};

// The tables are not copied: they must live as long as the program uses them.
void AfxSetResourceSet(const CResourceSet* pResources);
const CMenuResource* AfxFindMenu(UINT nID);
const CAcceleratorResource* AfxFindAccelerators(UINT nID);
const CDialogTemplate* AfxFindDialogTemplate(UINT nID);
const CBitmapResource* AfxFindBitmap(UINT nID);
HICON AfxFindIcon(UINT nID);
const CToolBarResource* AfxFindToolBar(UINT nID);
// Empty when the string table has no such id.
std::wstring AfxLoadString(UINT nID);
// The string with %1 replaced by the argument.
std::wstring AfxFormatString1(UINT nID, const std::wstring& argument);
