#pragma once
// Templates of the filter options dialog (179) and of the velocity settings dialog (109).

#include "Resources.h"

CDialogTemplate MakeFilterOptionTemplate();
CDialogTemplate MakeVelocitySettingsTemplate();
