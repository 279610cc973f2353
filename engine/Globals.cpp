// The engine's objects that live for the whole run, defined together so that their order
// is fixed: the log is constructed first and destroyed last, after the configuration and the
// drawing-object manager that log into it.

#include "Cfg.h"
#include "DrawingManager.h"
#include "MessageLog.h"

CMessageLog g_messageLog;
CCfg g_cfg;
Tovrik::CDrawingManager g_drawingManager;
