#pragma once
// Templates of the drawing tool window (168) and of its object list (170).

#include "Resources.h"

CDialogTemplate MakeDrawToolTemplate();
CDialogTemplate MakeDrawObjectListTemplate();
