#pragma once
// Templates of the zero level dialog (213) and of the trace view window (107).

#include "Resources.h"

CDialogTemplate MakeZeroLevelTemplate();
CDialogTemplate MakeTraceViewTemplate();
