#include "MainFrame.h"

#include "QuarvelApp.h"

#include "Cfg.h"

bool CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return false;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int x = g_cfg.m_windowPos[0], y = g_cfg.m_windowPos[1];
    const int width = g_cfg.m_windowSize[0], height = g_cfg.m_windowSize[1];
    // A window that ends exactly at the screen's edge fits; one of no size does not.
    if (g_cfg.m_bRememberWindow && x >= 0 && y >= 0 && width > 0 && height > 0 && x + width <= screenWidth &&
        y + height <= screenHeight) {
        cs.x = x;
        cs.y = y;
        cs.cx = width;
        cs.cy = height;
    } else {
        cs.cx = screenWidth / 2;
        cs.cy = screenHeight / 2;
    }
    return true;
}

void CMainFrame::OnClose()
{
    CQuarvelApp* pApp = GetQuarvelApp();
    if (!pApp || pApp->ExitApplication())
        CFrameWnd::OnClose();
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    pInfo->ptMinTrackSize = {640, 250};
}
