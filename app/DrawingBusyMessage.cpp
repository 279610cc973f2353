#include "DrawingBusyMessage.h"

#include "Services.h"

#include "DrawingManager.h"

void ShowDrawingBusyMessage()
{
    AfxMessageBox(g_drawingManager.GetTool() == Tovrik::CDrawingManager::TOOL_SELECT
                      ? L"You are currently moving an object.\nEnd this operation before removeing any objects."
                      : L"You are currently drawing a new object.\nEnd this operation before removeing any objects.",
                  MB_OK);
}
