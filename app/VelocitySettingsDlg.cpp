#include "VelocitySettingsDlg.h"

#include "AutoContrast.h"
#include "Controls.h"
#include "DC.h"
#include "GdiObjects.h"
#include "ProfilePreview.h"
#include "Messages.h"
#include "ResourceIds.h"
#include "TruncToInt.h"

#include "Cfg.h"
#include "Matrix.h"
#include "MessageLog.h"
#include "Project.h"
#include "Units.h"
#include "Values.h"

#include <algorithm>
#include <cmath>

namespace {
// Velocity range of the slider in metres per microsecond, before the unit factor.
constexpr double kMinVelocity = 33.0;
constexpr double kMaxVelocity = 300.0;
constexpr int kDepthDecimals = 3;
constexpr int kPositionDecimals = 2;
// Height of the horizontal position slider: its trackbar starts 15 pixels down and is 35 high.
constexpr int kPositionSliderHeight = 56;

float Clamp(float value, float low, float high)
{
    return std::max(low, std::min(value, high));
}
} // namespace

CVelocitySettingsDlg::CVelocitySettingsDlg(CWnd* pParent)
    : CDialog(IDD_VELOCITY_SETTINGS, pParent), m_popups(*this, NOTIFY_ID)
{
    MapCommand(IDC_VS_NO_OPERATION, [this] { SetOperation(OPERATION_NONE); });
    MapCommand(IDC_VS_MIGRATION, [this] { SetOperation(OPERATION_MIGRATION); });
    MapCommand(IDC_VS_HYPERBOLAS, [this] { SetOperation(OPERATION_HYPERBOLAS); });
    MapCommand(IDC_VS_X_PROFILES, [this] { SetDirection(DIRECTION_X); });
    MapCommand(IDC_VS_Y_PROFILES, [this] { SetDirection(DIRECTION_Y); });
    MapCommand(IDC_VS_MATERIAL, [this] { UpdateSelectionBand(); }, CBN_SELCHANGE);
    MapCommand(IDC_VS_CONTRAST, [this] {
        if (m_pProject)
            m_popups.OpenContrast(m_pProject->m_settings.m_iContrast);
    });
    MapCommand(IDC_VS_TIME_GAIN, [this] {
        if (m_pProject)
            m_popups.OpenTimeGain(m_pProject->m_settings.m_params.m_iTimeGain);
    });
    MapMessage(WM_VALUE_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnValueChanged(wParam, lParam); });
    MapMessage(WM_CURSOR_MOVED, [this](WPARAM wParam, LPARAM lParam) { return OnCursorMoved(wParam, lParam); });
    MapMessage(WM_TOOL_CLOSED, [this](WPARAM wParam, LPARAM) {
        m_popups.OnToolClosed(wParam);
        return LRESULT(0);
    });
}

CVelocitySettingsDlg::~CVelocitySettingsDlg() = default;

void CVelocitySettingsDlg::SetData(CProject* pProject, C3DMatrix* pMatrix)
{
    if (!pProject || !pMatrix)
        return;
    m_pProject = pProject;
    m_pMatrix = pMatrix;
    m_saved = pProject->m_settings;
    m_fSavedCursorX = pProject->m_fCursorX;
    m_fSavedCursorY = pProject->m_fCursorY;
    m_fSavedCursorDepth = pProject->m_fCursorDepth;
    m_bDataChanged = false;
    m_nDirection = DIRECTION_X;
    m_bInitialized = true;
    m_iOperation = pProject->m_settings.m_params.m_bMigration ? OPERATION_MIGRATION : OPERATION_NONE;
}

INT_PTR CVelocitySettingsDlg::DoModal()
{
    m_bModal = true;
    return CDialog::DoModal();
}

double CVelocitySettingsDlg::UnitFactor() const
{
    return m_pProject ? GetUnitFactor(m_pProject->m_settings.m_units) : 1.0;
}

int CVelocitySettingsDlg::WholeVelocity(float fSliderValue) const
{
    return TruncToInt(fSliderValue / UnitFactor() + 0.5);
}

CComboBox* CVelocitySettingsDlg::GetMaterialCombo() const
{
    return dynamic_cast<CComboBox*>(GetDlgItem(IDC_VS_MATERIAL));
}

const CMaterial* CVelocitySettingsDlg::GetSelectedMaterial() const
{
    const CComboBox* pCombo = GetMaterialCombo();
    if (!pCombo)
        return nullptr;
    const int selected = pCombo->GetCurSel();
    return selected == CB_ERR ? nullptr : static_cast<const CMaterial*>(pCombo->GetItemDataPtr(selected));
}

bool CVelocitySettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hNotifyWnd = GetParent() ? GetParent()->GetSafeHwnd() : nullptr;
    m_popups.SetButtonIcons(IDC_VS_CONTRAST, IDC_VS_TIME_GAIN);

    CFont* pFont = static_cast<CFont*>(GetStockObject(ANSI_VAR_FONT));
    const CRect place(0, 0, 100, 100);
    if (m_velocitySlider.Create(this, place, CExtSliderCtrl::ORIENT_VERTICAL, true, IDC_VS_VELOCITY)) {
        m_velocitySlider.SetFont(pFont, false);
        m_velocitySlider.SetCaption(L"Velocity:");
        m_velocitySlider.m_nPrecision = 0;
    }
    if (m_positionSlider.Create(this, place, CExtSliderCtrl::ORIENT_HORIZONTAL, false, IDC_VS_POSITION)) {
        m_positionSlider.SetFont(pFont, false);
        m_positionSlider.SetCaption(L"Profile position:");
        m_positionSlider.m_nPrecision = kPositionDecimals;
        m_positionSlider.SetReversed();
    }
    if (m_profileCtrl.Create(this, m_nDirection, IDC_VS_PROFILE_VIEW)) {
        m_profileCtrl.ShowWindow(SW_SHOW);
        CProfileDataSideView& view = m_profileCtrl.GetProfileView();
        view.SetPositionLineMovable(true);
        view.SetPainterEnabled(false);
    }
    const double factor = UnitFactor();
    m_velocitySlider.SetRange(float(std::floor(kMinVelocity * factor)), float(std::floor(kMaxVelocity * factor)));

    BuildLayout();
    CRect client;
    GetClientRect(&client);
    m_clientSize = client.Size();
    m_topTable.Layout(CRect(CPoint(0, 0), m_clientSize), nullptr);

    m_bReady = true;
    if (m_bInitialized) {
        InitPreview();
        FillMaterialCombo();
        UpdateProfileView();
    }
    Invalidate();
    return true;
}

void CVelocitySettingsDlg::BuildLayout()
{
    const CSize popups = AddDlgItems(*this, m_popupGroup, {IDC_VS_CONTRAST, IDC_VS_TIME_GAIN});
    const CSize operation = AddDlgItems(
        *this, m_operationGroup, {IDC_VS_OPERATION_GROUP, IDC_VS_NO_OPERATION, IDC_VS_MIGRATION, IDC_VS_HYPERBOLAS});
    const CSize direction =
        AddDlgItems(*this, m_directionGroup, {IDC_VS_DIRECTION_GROUP, IDC_VS_X_PROFILES, IDC_VS_Y_PROFILES});
    const CSize material =
        AddDlgItems(*this, m_materialGroup, {IDC_VS_MATERIAL_LABEL, IDC_VS_MATERIAL, IDC_VS_VELOCITY_UNIT});
    const CSize depth = AddDlgItems(*this, m_depthGroup, {IDC_VS_DEPTH_GROUP, IDC_VS_DEPTH, IDC_VS_DEPTH_UNIT});
    const CSize buttons = AddDlgItems(*this, m_buttonGroup, {IDOK, IDCANCEL});
    m_velocityGroup.AddControl(&m_velocitySlider);
    m_positionGroup.AddControl(&m_positionSlider);

    // Left: pop-up buttons, operation, the velocity slider over the free height, direction.
    const int leftWidth = std::max({popups.cx, operation.cx, direction.cx});
    m_leftTable.SetSize(1, 4, CLayoutTable::ORIENT_ROWS);
    m_leftTable.Add(0, 0, leftWidth, popups.cy, smFixed, smFixed, &m_popupGroup, ckGroup);
    m_leftTable.Add(0, 1, leftWidth, operation.cy, smFixed, smFixed, &m_operationGroup, ckGroup);
    m_leftTable.Add(0, 2, leftWidth, 100, smFixed, smPercent, &m_velocityGroup, ckGroup);
    m_leftTable.Add(0, 3, leftWidth, direction.cy, smFixed, smFixed, &m_directionGroup, ckGroup);
    m_leftTable.CalcMinSize();

    // Right: the material row over the profile view, which takes all free room, over the depth
    // and position groups, and the buttons at the bottom right.
    const int bottomHeight = std::max(depth.cy, kPositionSliderHeight);
    m_rightTable.SetSize(2, 4, CLayoutTable::ORIENT_ROWS);
    m_rightTable.Add(0, 0, material.cx, material.cy, smFixed, smFixed, &m_materialGroup, ckGroup);
    m_rightTable.Add(0, 1, 100, 100, smPercent, smPercent, &m_profileCtrl, ckView);
    m_rightTable.Add(0, 2, depth.cx, bottomHeight, smFixed, smFixed, &m_depthGroup, ckGroup);
    m_rightTable.Add(1, 2, 100, bottomHeight, smPercent, smFixed, &m_positionGroup, ckGroup);
    m_rightTable.Add(0, 3, 100, buttons.cy, smPercent, smFixed, nullptr, ckSpace);
    m_rightTable.Add(1, 3, buttons.cx, buttons.cy, smFixed, smFixed, &m_buttonGroup, ckGroup);
    m_rightTable.CalcMinSize();

    BuildTopTable(m_topTable, m_leftTable, m_rightTable);
    m_bLayoutBuilt = true;
}

void CVelocitySettingsDlg::InitPreview()
{
    CalculatePreviewMatrix(*m_pProject, *m_pMatrix);

    if (m_pProject->m_settings.m_fAutoGain == 0.0f) {
        g_messageLog.Log(LOG_DEBUG, "CVelocitySettingsDlg::AutoContrastFactorCalc(): enter");
        AutoContrastFactorCalc(*m_pProject, *m_pMatrix, m_fContrastFactor);
        g_messageLog.Log(LOG_DEBUG, "CVelocitySettingsDlg::AutoContrastFactorCalc(): return");
    } else {
        m_fContrastFactor = m_pProject->m_settings.m_fAutoGain;
    }
    m_profileCtrl.GetProfileView().m_fGainFactor = PreviewGain(m_fContrastFactor);
}

void CVelocitySettingsDlg::FillMaterialCombo()
{
    CComboBox* pCombo = GetMaterialCombo();
    if (!pCombo)
        return;
    const double factor = UnitFactor();
    CClientDC dc(pCombo);
    if (pCombo->GetFont())
        dc.SelectObject(pCombo->GetFont());
    int widest = 0;
    for (const CMaterial& material : g_cfg.m_materials)
        widest = std::max(widest, int(dc.GetTextExtent(material.m_strName).cx));
    const int spaceWidth = std::max(1, int(dc.GetTextExtent(L" ").cx));
    for (CMaterial& material : g_cfg.m_materials) {
        const int shortfall = widest - int(dc.GetTextExtent(material.m_strName).cx);
        const int spaces = 10 + int(std::lround(double(shortfall) / spaceWidth));
        const std::wstring text = material.m_strName + std::wstring(size_t(spaces), L' ') + L"[" +
                                  std::to_wstring(TruncToInt(material.m_iMinVelocity * factor)) + L":" +
                                  std::to_wstring(TruncToInt(material.m_iMaxVelocity * factor)) + L"]";
        const int index = pCombo->AddString(text);
        pCombo->SetItemDataPtr(index, &material);
    }
    // By the material itself: names may repeat or begin alike.
    for (int i = 0; i < pCombo->GetCount(); ++i)
        if (pCombo->GetItemDataPtr(i) == m_pProject->m_settings.m_pMaterial)
            pCombo->SetCurSel(i);
}

void CVelocitySettingsDlg::UpdateSelectionBand()
{
    const CMaterial* pMaterial = GetSelectedMaterial();
    if (!pMaterial || !m_velocitySlider.GetSafeHwnd())
        return;
    const double factor = UnitFactor();
    m_velocitySlider.SetSelection(float(pMaterial->m_iMinVelocity * factor), float(pMaterial->m_iMaxVelocity * factor));
}

void CVelocitySettingsDlg::UpdateProfileView()
{
    CProfileDataSideView& view = m_profileCtrl.GetProfileView();
    if (view.m_nDisplayMode != m_iOperation) {
        view.m_nDisplayMode = m_iOperation;
        view.InvalidateImage();
    }
    m_profileCtrl.SetData(m_pProject, m_pMatrix);
    m_profileCtrl.Show(true);

    const CProjectSettings& s = m_pProject->m_settings;
    const std::wstring unit = GetUnitLabel(s.m_units, false);
    if (CWnd* pUnit = GetDlgItem(IDC_VS_VELOCITY_UNIT))
        pUnit->SetWindowText(unit + L"/\u00b5s");
    UpdateSelectionBand();
    m_velocitySlider.m_fValue = float(s.m_dVelocity * UnitFactor());
    m_velocitySlider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    if (CWnd* pUnit = GetDlgItem(IDC_VS_DEPTH_UNIT))
        pUnit->SetWindowText(unit);
    UpdateDepthText();

    CheckRadioButton(IDC_VS_NO_OPERATION, IDC_VS_HYPERBOLAS, IDC_VS_NO_OPERATION + m_iOperation - OPERATION_NONE);
    view.SetCrossHairShown(m_iOperation == OPERATION_HYPERBOLAS);
    CheckRadioButton(IDC_VS_X_PROFILES, IDC_VS_Y_PROFILES,
                     m_nDirection == DIRECTION_X ? IDC_VS_X_PROFILES : IDC_VS_Y_PROFILES);
    LoadProfile();
}

void CVelocitySettingsDlg::LoadProfile()
{
    m_profileCtrl.SetDirection(m_nDirection);
    const CProjectSettings& s = m_pProject->m_settings;
    const double factor = UnitFactor();
    const float length = float((m_nDirection == DIRECTION_X ? s.m_iSizeY : s.m_iSizeX) * s.m_dResolution * factor);
    const float step = float(s.m_iProfileSpacing * s.m_dResolution * factor);
    m_positionSlider.m_bSilent = true;
    m_positionSlider.SetStep(step);
    m_positionSlider.SetRange(0.0f, length);
    m_positionSlider.m_bSilent = false;
    // Reported, which selects the line.
    m_positionSlider.m_fValue = Clamp(m_fPositions[m_nDirection - 1], 0.0f, std::max(length, 0.0f));
    m_positionSlider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    m_positionSlider.Invalidate();
    m_profileCtrl.Invalidate();
}

void CVelocitySettingsDlg::UpdateDepthText()
{
    CWnd* pDepth = GetDlgItem(IDC_VS_DEPTH);
    if (!pDepth || !m_pProject)
        return;
    const double depth = m_pProject->m_settings.SampleToDepth(m_pProject->m_fCursorDepth) * UnitFactor();
    pDepth->SetWindowText(FromAnsi(FormatReal(depth, kDepthDecimals)));
}

void CVelocitySettingsDlg::SetOperation(int nOperation)
{
    if (!m_pProject || nOperation == m_iOperation)
        return;
    m_iOperation = nOperation;
    m_pProject->m_settings.m_params.m_bMigration = nOperation == OPERATION_MIGRATION;
    CProfileDataSideView& view = m_profileCtrl.GetProfileView();
    view.SetCrossHairShown(nOperation == OPERATION_HYPERBOLAS);
    if (view.m_nDisplayMode != nOperation) {
        view.m_nDisplayMode = nOperation;
        view.InvalidateImage();
    }
}

void CVelocitySettingsDlg::SetDirection(int nDirection)
{
    if (!m_pProject || nDirection == m_nDirection)
        return;
    m_fPositions[m_nDirection - 1] = m_positionSlider.m_fValue;
    m_nDirection = nDirection;
    LoadProfile();
}

void CVelocitySettingsDlg::Broadcast(WORD code, int value)
{
    SendMessageToDescendants(WM_DATA_CHANGED, NOTIFY_ID, MakeCodeParam(code, value));
}

LRESULT CVelocitySettingsDlg::OnValueChanged(WPARAM wParam, LPARAM lParam)
{
    if (!m_bInitialized || !m_bReady)
        return 0;
    CProjectSettings& s = m_pProject->m_settings;
    if (m_popups.OnValueChanged(wParam, s))
        return 0;
    switch (wParam) {
    case IDC_VS_VELOCITY: {
        const int velocity = WholeVelocity(ParamToFloat(lParam));
        s.m_dVelocity = velocity;
        // In feet the slider stops between whole metres per microsecond: its box shows the one taken.
        m_velocitySlider.GetEdit().SetWindowText(FromAnsi(FormatReal(velocity * UnitFactor(), 0)));
        UpdateDepthText();
        m_profileCtrl.SendMessage(WM_DATA_CHANGED, NOTIFY_ID, MakeCodeParam(DATA_VELOCITY, velocity));
        Broadcast(DATA_RECOMPUTED, velocity);
        break;
    }
    case IDC_VS_POSITION: {
        // The nearest line; the control keeps it within the lines there are.
        const float step = m_positionSlider.m_fStep;
        const float value = ParamToFloat(lParam);
        m_profileCtrl.SetProfileLine(step > 0.0f ? TruncToInt(value / step + 0.5) : m_positionSlider.GetSliderPos());
        break;
    }
    default: break;
    }
    return 0;
}

LRESULT CVelocitySettingsDlg::OnCursorMoved(WPARAM, LPARAM lParam)
{
    if (!m_bInitialized || !m_bReady || !IsCursorSet(lParam))
        return 0;
    UpdateDepthText();
    if (m_iOperation == OPERATION_HYPERBOLAS)
        Broadcast(DATA_RECOMPUTED, 0);
    return 0;
}

void CVelocitySettingsDlg::RestoreSettings(bool bOk)
{
    if (!m_pProject)
        return;
    CProjectSettings& s = m_pProject->m_settings;
    // The preview's aperture is no change of the user's.
    s.m_params.m_iAperture = m_saved.m_params.m_iAperture;
    const CMaterial* pSelected = GetSelectedMaterial();
    m_bDataChanged = s.m_dVelocity != m_saved.m_dVelocity || pSelected != s.m_pMaterial ||
                     s.m_params != m_saved.m_params || s.m_iContrast != m_saved.m_iContrast ||
                     AutoGainChangesMatrix(s.m_params.m_bMigration, m_saved.m_fAutoGain, m_fContrastFactor);
    g_messageLog.Log(LOG_DEBUG, "CVelocitySettingsDlg::RestoreSettings(): data changed: %s",
                     m_bDataChanged ? "true" : "false");
    if (bOk) {
        g_messageLog.Log(LOG_DEBUG, "CVelocitySettingsDlg::RestoreSettings(): OK button");
        s.m_params.m_bMigration = m_iOperation == OPERATION_MIGRATION;
        s.m_dVelocity = WholeVelocity(m_velocitySlider.m_fValue);
        s.m_pMaterial = pSelected;
    } else {
        g_messageLog.Log(LOG_DEBUG, "CVelocitySettingsDlg::RestoreSettings(): CANCEL button");
        s = m_saved;
    }
    s.m_fAutoGain = m_fContrastFactor;
    m_pProject->m_fCursorX = m_fSavedCursorX;
    m_pProject->m_fCursorY = m_fSavedCursorY;
    m_pProject->m_fCursorDepth = m_fSavedCursorDepth;
    s.m_iDepthIndex = TruncToInt(m_fSavedCursorDepth);
}

void CVelocitySettingsDlg::OnOK()
{
    if (!HasFocus(IDOK))
        return;
    if (const CMaterial* pMaterial = GetSelectedMaterial(); pMaterial && m_pProject) {
        const int velocity = TruncToInt(m_pProject->m_settings.m_dVelocity);
        if (velocity < pMaterial->m_iMinVelocity || velocity > pMaterial->m_iMaxVelocity) {
            MessageBox(L"Current velocity value is out of range. Change velocity or select another material range.");
            return;
        }
    }
    RestoreSettings(true);
    m_popups.Close();
    if (m_bModal)
        EndDialog(IDOK);
    else
        DestroyWindow();
}

void CVelocitySettingsDlg::CancelDialog()
{
    RestoreSettings(false);
    m_popups.Close();
    if (m_bModal)
        EndDialog(IDCANCEL);
    else
        DestroyWindow();
}

void CVelocitySettingsDlg::OnCancel()
{
    if (HasFocus(IDCANCEL))
        CancelDialog();
}

void CVelocitySettingsDlg::OnClose()
{
    CancelDialog();
}

void CVelocitySettingsDlg::OnSize(UINT, int cx, int cy)
{
    m_clientSize = CSize(cx, cy);
    if (m_bLayoutBuilt)
        m_topTable.Layout(CRect(0, 0, cx, cy), nullptr);
    Invalidate();
}

bool CVelocitySettingsDlg::OnEraseBkgnd(CDC* pDC)
{
    CDialog::OnEraseBkgnd(pDC);
    return true;
}

void CVelocitySettingsDlg::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    pInfo->ptMinTrackSize = {300, 360};
}

void CVelocitySettingsDlg::PostNcDestroy()
{
    if (CWnd* pParent = FromHandle(m_hNotifyWnd))
        pParent->PostMessage(WM_TOOL_CLOSED, NOTIFY_ID, 0);
}
