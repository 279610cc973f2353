#pragma once
// The main window: placed at its remembered rectangle when that lies on the screen, else at
// half the screen's size; its close box runs the application's exit routine.

#include "FrameWnd.h"

class CMainFrame : public CFrameWnd
{
protected:
    bool PreCreateWindow(CREATESTRUCT& cs) override;
    void OnClose() override;
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) override;
};
