#include "ConfigTab3Dlg.h"

#include "ResourceIds.h"

#include "Cfg.h"

CConfigTab3Dlg::CConfigTab3Dlg() : CDialog(IDD_CONFIG_TAB3)
{
    AttachDlgItem(IDC_UNITS_ALL, m_unitsAll);
    AttachDlgItem(IDC_UNITS_NAMES, m_units);
    MapCommand(IDC_UNITS_NAMES, [this] { m_nSelected = m_units.GetCurSel(); }, CBN_SELCHANGE);
}

void CConfigTab3Dlg::LoadSettings()
{
    m_unitsAll.SetCheck(g_cfg.m_bUnitsAll ? BST_CHECKED : BST_UNCHECKED);
    for (const std::wstring& name : g_cfg.m_unitsNames)
        m_units.AddString(name);
    const size_t current = size_t(g_cfg.m_units);
    const std::wstring currentName = current < g_cfg.m_unitsNames.size() ? g_cfg.m_unitsNames[current] : std::wstring();
    m_nSelected = CB_ERR;
    for (int i = 0; i < m_units.GetCount(); ++i)
        if (m_units.GetLBText(i) == currentName) {
            m_nSelected = i;
            break;
        }
    m_units.SetCurSel(m_nSelected);
}

bool CConfigTab3Dlg::Apply()
{
    const std::wstring chosen = m_units.GetLBText(m_nSelected);
    int units = 0;
    for (size_t i = 0; i < g_cfg.m_unitsNames.size(); ++i)
        if (g_cfg.m_unitsNames[i] == chosen) {
            units = int(i);
            break;
        }
    const bool bAll = m_unitsAll.GetCheck() == BST_CHECKED;
    const bool bChanged = bAll != g_cfg.m_bUnitsAll || units != int(g_cfg.m_units);
    g_cfg.m_units = TUnits(units);
    g_cfg.m_bUnitsAll = bAll;
    return bChanged;
}
