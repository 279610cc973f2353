#pragma once
// Templates of the settings dialog (178) and of its pages "Window" (194), "Colours" (196) and
// "Projects" (210).

#include "Resources.h"

CDialogTemplate MakeConfigTemplate();
CDialogTemplate MakeConfigTab1Template();
CDialogTemplate MakeConfigTab2Template();
CDialogTemplate MakeConfigTab3Template();
