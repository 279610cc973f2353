#include "ConfigTab1Dlg.h"

#include "ResourceIds.h"

#include "Cfg.h"

CConfigTab1Dlg::CConfigTab1Dlg() : CDialog(IDD_CONFIG_TAB1)
{
    AttachDlgItem(IDC_LAYOUT_SIMPLE, m_simple);
    AttachDlgItem(IDC_LAYOUT_WIDE, m_wide);
    AttachDlgItem(IDC_LAYOUT_PROJECTION, m_projection);
    AttachDlgItem(IDC_REMEMBER_WINDOW, m_rememberWindow);
    AttachDlgItem(IDC_USE_MOUSE_WHEEL, m_useMouseWheel);
    MapCommand(IDC_LAYOUT_SIMPLE, [this] { m_nLayout = 0; }, BN_CLICKED);
    MapCommand(IDC_LAYOUT_WIDE, [this] { m_nLayout = 1; }, BN_CLICKED);
    MapCommand(IDC_LAYOUT_PROJECTION, [this] { m_nLayout = 2; }, BN_CLICKED);
}

void CConfigTab1Dlg::LoadSettings()
{
    m_nLayout = g_cfg.m_nLayout;
    m_simple.SetCheck(m_nLayout == 0 ? BST_CHECKED : BST_UNCHECKED);
    m_wide.SetCheck(m_nLayout == 1 ? BST_CHECKED : BST_UNCHECKED);
    m_projection.SetCheck(m_nLayout == 2 ? BST_CHECKED : BST_UNCHECKED);
    m_rememberWindow.SetCheck(g_cfg.m_bRememberWindow ? BST_CHECKED : BST_UNCHECKED);
    m_useMouseWheel.SetCheck(g_cfg.m_bUseMouseWheel ? BST_CHECKED : BST_UNCHECKED);
    m_bLoaded = true;
}

bool CConfigTab1Dlg::Apply()
{
    const bool bChanged = m_nLayout != g_cfg.m_nLayout;
    g_cfg.m_nLayout = m_nLayout;
    g_cfg.m_bRememberWindow = m_rememberWindow.GetCheck() == BST_CHECKED;
    g_cfg.m_bUseMouseWheel = m_useMouseWheel.GetCheck() == BST_CHECKED;
    return bChanged;
}
