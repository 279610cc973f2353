#pragma once
// Template of the background removal dialog (151).

#include "Resources.h"

CDialogTemplate MakeBackgroundRemovalTemplate();
