#pragma once
// The program's resource tables (menu, accelerators, dialog templates, strings, bitmaps,
// icons, toolbar) and the Qt resources behind them.

#include "Resources.h"

// The tables, built once; hand them to AfxSetResourceSet.
const CResourceSet& GetQuarvelResources();
// Makes the embedded images (the logo) known to Qt; call once the QApplication exists.
void InitQuarvelQtResources();

// The parts of the set, one file each.
std::vector<CMenuResource> MakeMenus();
std::vector<CAcceleratorResource> MakeAccelerators();
std::vector<CDialogTemplate> MakeDialogTemplates();
std::vector<CStringEntry> MakeStringTable();
std::vector<CToolBarResource> MakeToolBars();
