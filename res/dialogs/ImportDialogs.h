#pragma once
// Templates of the import dialog (235) and of its profile pages (242).

#include "Resources.h"

CDialogTemplate MakeImportTemplate();
CDialogTemplate MakeImportPageTemplate();
