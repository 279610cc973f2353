#include "ConfigTab2Dlg.h"

#include "PaletteDraw.h"
#include "ResourceIds.h"

#include "Cfg.h"

CConfigTab2Dlg::CConfigTab2Dlg() : CDialog(IDD_CONFIG_TAB2), m_pEditor(std::make_unique<CPaletteDraw>(this))
{
    AttachDlgItem(IDC_PALETTE_NAMES, m_palettes);
    AttachDlgItem(IDC_PALETTE_ALL, m_paletteAll);
    MapCommand(IDC_PALETTE_INTERPOLATE, [this] { OnInterpolate(); }, BN_CLICKED);
    MapCommand(IDC_PALETTE_NAMES, [this] { OnPaletteChosen(); }, CBN_SELCHANGE);
}

CConfigTab2Dlg::~CConfigTab2Dlg() = default;

void CConfigTab2Dlg::LoadSettings()
{
    CRect frame;
    if (const CWnd* pFrame = GetDlgItem(IDC_PALETTE_FRAME)) {
        pFrame->GetWindowRect(&frame);
        CPoint topLeft(frame.left, frame.top);
        ScreenToClient(&topLeft);
        frame.OffsetRect(topLeft.x - frame.left, topLeft.y - frame.top);
    }
    m_pEditor->AllocateMaps(frame);
    m_pEditor->Draw();

    for (const std::wstring& name : g_cfg.m_paletteNames)
        m_palettes.AddString(name);
    int selected = 0;
    for (int i = 0; i < m_palettes.GetCount(); ++i)
        if (m_palettes.GetLBText(i) == m_pEditor->m_strName) {
            selected = i;
            break;
        }
    m_palettes.SetCurSel(selected);

    m_userColors = g_cfg.m_userColors;
    m_paletteAll.SetCheck(g_cfg.m_bPaletteAll ? BST_CHECKED : BST_UNCHECKED);
}

bool CConfigTab2Dlg::Apply()
{
    if (m_pEditor->m_strName == PALETTE_USER_DEFINED)
        g_cfg.SetUserPalette(m_pEditor->m_palette);
    else
        g_cfg.SelectPalette(m_pEditor->m_strName);
    g_cfg.m_bPaletteAll = m_paletteAll.GetCheck() == BST_CHECKED;
    return m_bModified;
}

void CConfigTab2Dlg::OnPaint()
{
    CPaintDC dc(this);
    const CRect& rect = m_pEditor->m_rect;
    if (m_pEditor->IsCreated())
        dc.BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), m_pEditor.get(), 0, 0, SRCCOPY);
}

void CConfigTab2Dlg::OnLButtonDown(UINT, CPoint point)
{
    m_nMouseState = 1;
    m_ptDown = point;
}

void CConfigTab2Dlg::OnLButtonUp(UINT, CPoint)
{
    if (m_nMouseState != 1)
        return;
    m_nMouseState = 2;
    bool bColorChanged = false;
    if (!m_pEditor->OnClick(m_ptDown, bColorChanged))
        return;
    m_bModified |= bColorChanged;
    // Only a colour that really changed makes the palette the user's own.
    if (bColorChanged) {
        SelectUserDefined();
        m_pEditor->m_strName = PALETTE_USER_DEFINED;
    }
    Invalidate();
}

void CConfigTab2Dlg::OnInterpolate()
{
    const TPaletteTable before = m_pEditor->m_palette;
    if (!m_pEditor->Interpolate())
        return;
    m_bModified = true;
    if (m_pEditor->m_palette != before && m_pEditor->m_strName != PALETTE_USER_DEFINED) {
        m_pEditor->m_strName = PALETTE_USER_DEFINED;
        SelectUserDefined();
    }
    Invalidate();
}

void CConfigTab2Dlg::SelectUserDefined()
{
    for (int i = 0; i < m_palettes.GetCount(); ++i)
        if (m_palettes.GetLBText(i) == PALETTE_USER_DEFINED) {
            m_palettes.SetCurSel(i);
            return;
        }
}

void CConfigTab2Dlg::OnPaletteChosen()
{
    m_bModified = true;
    if (m_pEditor->m_strName == PALETTE_USER_DEFINED)
        m_userColors = m_pEditor->m_palette;
    const std::wstring chosen = m_palettes.GetLBText(m_palettes.GetCurSel());
    if (chosen == PALETTE_USER_DEFINED)
        m_pEditor->m_palette = m_userColors;
    else
        g_cfg.GetPaletteColors(chosen, m_pEditor->m_palette);
    m_pEditor->Draw();
    m_pEditor->m_strName = chosen;
    Invalidate();
}
