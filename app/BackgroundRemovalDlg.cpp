#include "BackgroundRemovalDlg.h"

#include "AutoContrast.h"
#include "ProfilePreview.h"

#include "Controls.h"
#include "GdiObjects.h"
#include "Matrix.h"
#include "MessageLog.h"
#include "Messages.h"
#include "Project.h"
#include "Services.h"
#include "TruncToInt.h"

#include <algorithm>
#include <cmath>

namespace {

enum : int {
    DIR_X_PROFILES = 1,
    DIR_Y_PROFILES = 2,
    MODE_PLAIN = CProfileDataSideView::DISPLAY_PLAIN,
    MODE_MIGRATION = CProfileDataSideView::DISPLAY_MIGRATION,
};

// Range of the running-mean window in traces.
constexpr int kWindowMin = 3;
constexpr int kWindowMax = 80;
// Pixels: the pop-up buttons' row, the band above the profile view, the time-gain button's
// offset from the contrast button.
constexpr int kPopupRowHeight = 30;
constexpr int kTopBandHeight = 30;
constexpr int kPopupButtonOffset = 35;

CFont* SliderFont()
{
    return static_cast<CFont*>(GetStockObject(ANSI_VAR_FONT));
}

} // namespace

BackgroundRemovalDlg::BackgroundRemovalDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_hParentWnd(pParent ? pParent->GetSafeHwnd() : nullptr),
      m_popups(*this, ID_SENDER_BKGR_REMOVAL)
{
    MapCommand(IDC_BR_CONTRAST, [this] { m_popups.OpenContrast(m_pProject ? m_pProject->m_settings.m_iContrast : 0); });
    MapCommand(IDC_BR_TIME_GAIN,
               [this] { m_popups.OpenTimeGain(m_pProject ? m_pProject->m_settings.m_params.m_iTimeGain : 0); });
    MapCommand(IDC_BR_X_PROFILES, [this] { SwitchDirection(DIR_X_PROFILES); });
    MapCommand(IDC_BR_Y_PROFILES, [this] { SwitchDirection(DIR_Y_PROFILES); });
    MapCommand(IDC_BR_MIGRATION_ON, [this] { SetViewMode(MODE_MIGRATION); });
    MapCommand(IDC_BR_MIGRATION_OFF, [this] { SetViewMode(MODE_PLAIN); });
    MapCommand(IDC_BR_REMOVAL_ON, [this] { SetRemoval(true); });
    MapCommand(IDC_BR_REMOVAL_OFF, [this] { SetRemoval(false); });
    MapMessage(WM_VALUE_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnValueChanged(wParam, lParam); });
    MapMessage(WM_TOOL_CLOSED, [this](WPARAM wParam, LPARAM) {
        m_popups.OnToolClosed(wParam);
        return LRESULT(0);
    });
    MapMessage(WM_CURSOR_MOVED, [](WPARAM, LPARAM) { return LRESULT(0); });
}

BackgroundRemovalDlg::~BackgroundRemovalDlg() = default;

void BackgroundRemovalDlg::SetData(CProject* pProject, C3DMatrix* pMatrix)
{
    m_pProject = pProject;
    m_pMatrix = pMatrix;
    if (!pProject || !pMatrix) {
        m_bBound = false;
        return;
    }
    m_settings = pProject->m_settings;
    m_fCursorX = pProject->m_fCursorX;
    m_fCursorY = pProject->m_fCursorY;
    m_fCursorDepth = pProject->m_fCursorDepth;
    m_bDataChanged = false;
    m_bBound = true;
    m_nProfileDir = DIR_X_PROFILES;
    CProcessingParams& params = pProject->m_settings.m_params;
    m_nViewMode = params.m_bMigration ? MODE_MIGRATION : MODE_PLAIN;
    params.m_iDelMean = std::clamp(params.m_iDelMean, kWindowMin, kWindowMax);
}

INT_PTR BackgroundRemovalDlg::DoModal()
{
    m_bModal = true;
    return CDialog::DoModal();
}

bool BackgroundRemovalDlg::OnInitDialog()
{
    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::OnInitDialog(): enter");
    CDialog::OnInitDialog();

    m_popups.SetButtonIcons(IDC_BR_CONTRAST, IDC_BR_TIME_GAIN);

    const CRect start(0, 0, 100, 100);
    m_windowSlider.Create(this, start, CExtSliderCtrl::ORIENT_VERTICAL, false, IDC_BR_WINDOW);
    m_windowSlider.SetStep(1.0f);
    m_windowSlider.SetRange(kWindowMin, kWindowMax);
    m_windowSlider.GetEdit().SetReadOnly(true);
    m_posSlider.m_nPrecision = m_nPositionDecimals;
    m_posSlider.Create(this, start, CExtSliderCtrl::ORIENT_HORIZONTAL, false, IDC_BR_POSITION);
    m_posSlider.SetReversed();

    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::OnInitDialog(): create m_dataView");
    m_dataView.Create(this, DIR_X_PROFILES, IDC_BR_PROFILE_VIEW);
    m_dataView.GetDataView().SetCrossHairShown(false);
    m_dataView.GetDataView().SetPainterEnabled(false);
    m_dataView.Show(true);

    for (CExtSliderCtrl* pSlider : {&m_windowSlider, &m_posSlider})
        pSlider->SendMessage(WM_SETFONT, WPARAM(SliderFont()), 0);
    m_windowSlider.SetCaption(L"Bkgr removal:");
    m_posSlider.SetCaption(L"Profile position:");

    BuildLayout();

    m_bInitialized = true;
    if (m_bBound) {
        RebuildPreview();
        UpdateInterface();
    }
    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::OnInitDialog(): return");
    return true;
}

void BackgroundRemovalDlg::BuildLayout()
{
    if (CWnd* pButton = GetDlgItem(IDC_BR_CONTRAST))
        m_popupButtons.AddControl(pButton, 0, 0, false);
    if (CWnd* pButton = GetDlgItem(IDC_BR_TIME_GAIN))
        m_popupButtons.AddControl(pButton, kPopupButtonOffset, 0, false);
    const CSize migration =
        AddDlgItems(*this, m_migrationGroup, {IDC_BR_MIGRATION_GROUP, IDC_BR_MIGRATION_ON, IDC_BR_MIGRATION_OFF});
    const CSize removal =
        AddDlgItems(*this, m_removalGroup, {IDC_BR_REMOVAL_GROUP, IDC_BR_REMOVAL_ON, IDC_BR_REMOVAL_OFF});
    const CSize direction =
        AddDlgItems(*this, m_directionGroup, {IDC_BR_DIRECTION_GROUP, IDC_BR_X_PROFILES, IDC_BR_Y_PROFILES});
    const CSize buttons = AddDlgItems(*this, m_okCancel, {IDOK, IDCANCEL});
    m_windowGroup.AddControl(&m_windowSlider);

    // The position slider takes the place of group 120, whose caption it carries itself.
    CRect positionRect;
    if (CWnd* pGroup = GetDlgItem(IDC_BR_POSITION_GROUP)) {
        pGroup->GetWindowRect(&positionRect);
        pGroup->ShowWindow(SW_HIDE);
    }
    CRect sliderRect;
    m_posSlider.GetWindowRect(&sliderRect);
    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::OnInitDialog(): posSlider size: (%d,%d)", sliderRect.Width(),
                     sliderRect.Height());
    m_posSlider.MoveWindow(0, 0, positionRect.Width(), positionRect.Height(), false);
    m_positionGroup.AddControl(&m_posSlider);
    const CSize position(positionRect.Width(), positionRect.Height());
    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::OnInitDialog(): (after assingment) secPosGroupSize: (%d,%d)",
                     position.cx, position.cy);

    const int leftWidth = std::max({migration.cx, removal.cx, direction.cx, m_popupButtons.GetMinSize().cx});
    m_leftTable.SetSize(1, 5, CLayoutTable::ORIENT_COLUMNS);
    m_leftTable.Add(0, 0, leftWidth, kPopupRowHeight, smFixed, smFixed, &m_popupButtons, ckGroup);
    m_leftTable.Add(0, 1, leftWidth, migration.cy, smFixed, smFixed, &m_migrationGroup, ckGroup);
    m_leftTable.Add(0, 2, leftWidth, removal.cy, smFixed, smFixed, &m_removalGroup, ckGroup);
    m_leftTable.Add(0, 3, leftWidth, 100, smFixed, smPercent, &m_windowGroup, ckGroup);
    m_leftTable.Add(0, 4, leftWidth, direction.cy, smFixed, smFixed, &m_directionGroup, ckGroup);
    m_leftTable.CalcMinSize();

    m_rightTable.SetSize(2, 4, CLayoutTable::ORIENT_ROWS);
    m_rightTable.Add(0, 0, 100, kTopBandHeight, smPercent, smFixed, nullptr, ckSpace);
    m_rightTable.Add(0, 1, 100, 100, smPercent, smPercent, &m_dataView, ckView);
    m_rightTable.Add(0, 2, 100, position.cy, smPercent, smFixed, &m_positionGroup, ckGroup);
    m_rightTable.Add(0, 3, 100, buttons.cy, smPercent, smFixed, nullptr, ckSpace);
    m_rightTable.Add(1, 3, buttons.cx, buttons.cy, smFixed, smFixed, &m_okCancel, ckGroup);
    m_rightTable.CalcMinSize();

    BuildTopTable(m_topTable, m_leftTable, m_rightTable);

    if (m_nClientWidth <= 0 || m_nClientHeight <= 0) {
        CRect client;
        GetClientRect(&client);
        m_nClientWidth = client.Width();
        m_nClientHeight = client.Height();
    }
    m_topTable.Layout(CRect(0, 0, m_nClientWidth, m_nClientHeight), nullptr);
    m_bLaidOut = true;
}

void BackgroundRemovalDlg::RebuildPreview()
{
    if (!m_pProject || !m_pMatrix)
        return;
    {
        CWaitCursor wait;
        if (!CalculatePreviewMatrix(*m_pProject, *m_pMatrix))
            g_messageLog.Log(LOG_ERROR, "BackgroundRemovalDlg::RebuildPreview(): the matrix could not be computed.");
    }

    const float autoGain = m_pProject->m_settings.m_fAutoGain;
    if (autoGain == 0.0f)
        AutoContrastFactorCalc();
    else
        m_fContrastFactor = autoGain;
    m_dataView.GetProfileView().m_fGainFactor = PreviewGain(m_fContrastFactor);
}

void BackgroundRemovalDlg::AutoContrastFactorCalc()
{
    ::AutoContrastFactorCalc(*m_pProject, *m_pMatrix, m_fContrastFactor);
}

void BackgroundRemovalDlg::UpdateInterface()
{
    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::UpdateInterface(): enter");
    CProfileDataSideView& view = m_dataView.GetProfileView();
    if (m_nViewMode != 0 && view.m_nDisplayMode != m_nViewMode) {
        view.m_nDisplayMode = m_nViewMode;
        view.InvalidateImage();
    }
    m_dataView.SetData(m_pProject, m_pMatrix);
    CheckRadioButton(IDC_BR_MIGRATION_ON, IDC_BR_MIGRATION_OFF,
                     m_nViewMode == MODE_MIGRATION ? IDC_BR_MIGRATION_ON : IDC_BR_MIGRATION_OFF);

    const CProcessingParams& params = m_pProject->m_settings.m_params;
    if (!params.m_bDelMeanOn) {
        CheckRadioButton(IDC_BR_REMOVAL_ON, IDC_BR_REMOVAL_OFF, IDC_BR_REMOVAL_OFF);
        BroadcastData(DATA_RECOMPUTED, 0);
        m_windowSlider.EnableWindow(false);
    } else {
        CheckRadioButton(IDC_BR_REMOVAL_ON, IDC_BR_REMOVAL_OFF, IDC_BR_REMOVAL_ON);
        m_windowSlider.EnableWindow(true);
        BroadcastData(DATA_RECOMPUTED, TruncToInt(m_windowSlider.m_fValue));
    }
    m_windowSlider.m_bSilent = true;
    m_windowSlider.m_fValue = float(std::clamp(params.m_iDelMean, kWindowMin, kWindowMax));
    m_windowSlider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    m_windowSlider.m_bSilent = false;

    CheckRadioButton(IDC_BR_X_PROFILES, IDC_BR_Y_PROFILES,
                     m_nProfileDir == DIR_X_PROFILES ? IDC_BR_X_PROFILES : IDC_BR_Y_PROFILES);
    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::UpdateInterface(): call UpdateSide()");
    UpdateSide();
    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::UpdateInterface(): return");
}

void BackgroundRemovalDlg::UpdateSide()
{
    g_messageLog.Log(LOG_DEBUG, "BackgroundRemovalDlg::UpdateSide(): profileDir: %u", unsigned(m_nProfileDir));
    m_dataView.SetDirection(m_nProfileDir);

    const CProjectSettings& s = m_pProject->m_settings;
    const int traces = m_nProfileDir == DIR_X_PROFILES ? s.m_iSizeY : s.m_iSizeX;
    float extent = float(std::max(traces, 0) * s.m_dResolution);
    if (!std::isfinite(extent) || extent < 0)
        extent = 0;
    float step = float(s.m_iProfileSpacing * s.m_dResolution);
    if (!std::isfinite(step) || step < 0)
        step = 0;

    m_posSlider.m_bSilent = true;
    m_posSlider.SetRange(0.0f, extent);
    m_posSlider.SetStep(step);
    float& remembered = m_fPosition[m_nProfileDir - 1];
    remembered = std::clamp(remembered, 0.0f, extent);
    m_posSlider.m_fValue = remembered;
    m_posSlider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    m_posSlider.m_bSilent = false;
    ShowProfileAt(m_posSlider.m_fValue);

    m_posSlider.Invalidate();
    m_dataView.Invalidate();
    m_dataView.RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void BackgroundRemovalDlg::ShowProfileAt(float fPosition)
{
    const CProjectSettings& s = m_pProject->m_settings;
    const double step = s.m_iProfileSpacing * s.m_dResolution;
    const double line = step > 0 ? std::floor(double(fPosition) / step + 0.5) : 0.0;
    // SetProfileLine keeps the line within the lines there are.
    m_dataView.SetProfileLine(line >= 0 && line < double(INT32_MAX) ? int(line) : 0);
}

void BackgroundRemovalDlg::SetViewMode(int nMode)
{
    if (!m_bBound || m_nViewMode == nMode)
        return;
    m_pProject->m_settings.m_params.m_bMigration = nMode == MODE_MIGRATION;
    m_nViewMode = nMode;
    CProfileDataSideView& view = m_dataView.GetProfileView();
    if (view.m_nDisplayMode != nMode) {
        view.m_nDisplayMode = nMode;
        view.InvalidateImage();
    }
}

void BackgroundRemovalDlg::SetRemoval(bool bOn)
{
    if (!m_bBound)
        return;
    m_pProject->m_settings.m_params.m_bDelMeanOn = bOn;
    if (bOn) {
        m_windowSlider.EnableWindow(true);
        BroadcastData(DATA_RECOMPUTED, TruncToInt(m_windowSlider.m_fValue));
    } else {
        BroadcastData(DATA_RECOMPUTED, 0);
        m_windowSlider.EnableWindow(false);
    }
}

void BackgroundRemovalDlg::SwitchDirection(int nDirection)
{
    if (!m_bBound || m_nProfileDir == nDirection)
        return;
    m_fPosition[m_nProfileDir - 1] = m_posSlider.m_fValue;
    m_nProfileDir = nDirection;
    UpdateSide();
}

LRESULT BackgroundRemovalDlg::OnValueChanged(WPARAM wParam, LPARAM lParam)
{
    if (!m_bBound || !m_bInitialized || wParam < WPARAM(ID_SENDER_CONTRAST) || wParam > WPARAM(IDC_BR_WINDOW))
        return 0;
    CProjectSettings& s = m_pProject->m_settings;
    if (m_popups.OnValueChanged(wParam, s))
        return 0;
    switch (int(wParam)) {
    case IDC_BR_POSITION: ShowProfileAt(ParamToFloat(lParam)); break;
    case IDC_BR_WINDOW:
        if (s.m_params.m_bDelMeanOn) {
            s.m_params.m_iDelMean = TruncToInt(ParamToFloat(lParam));
            BroadcastData(DATA_RECOMPUTED, s.m_params.m_iDelMean);
        }
        break;
    default: break;
    }
    return 0;
}

void BackgroundRemovalDlg::BroadcastData(WORD code, int value)
{
    SendMessageToDescendants(WM_DATA_CHANGED, WPARAM(ID_SENDER_BKGR_REMOVAL), MakeCodeParam(code, value));
}

void BackgroundRemovalDlg::StoreSettings(bool bKeep)
{
    if (!m_bBound)
        return;
    CProjectSettings& s = m_pProject->m_settings;
    const CProcessingParams& now = s.m_params;
    const CProcessingParams& before = m_settings.m_params;
    m_bDataChanged = now.m_bDelMeanOn != before.m_bDelMeanOn || now.m_iDelMean != before.m_iDelMean ||
                     now.m_bMigration != before.m_bMigration ||
                     AutoGainChangesMatrix(now.m_bMigration, m_settings.m_fAutoGain, m_fContrastFactor);
    if (!bKeep)
        s = m_settings;
    s.m_fAutoGain = m_fContrastFactor;
    // The preview's cross-hair is the project's; the main views were told of none of its moves.
    m_pProject->m_fCursorX = m_fCursorX;
    m_pProject->m_fCursorY = m_fCursorY;
    m_pProject->m_fCursorDepth = m_fCursorDepth;
    s.m_iDepthIndex = m_settings.m_iDepthIndex;
}

void BackgroundRemovalDlg::CloseDialog(bool bOk)
{
    StoreSettings(bOk);
    m_popups.Close();
    if (m_bModal)
        EndDialog(bOk ? IDOK : IDCANCEL);
    else
        DestroyWindow();
}

void BackgroundRemovalDlg::OnOK()
{
    if (HasFocus(IDOK))
        CloseDialog(true);
}

void BackgroundRemovalDlg::OnCancel()
{
    if (HasFocus(IDCANCEL))
        CloseDialog(false);
}

void BackgroundRemovalDlg::OnClose()
{
    CloseDialog(false);
}

void BackgroundRemovalDlg::OnSize(UINT, int cx, int cy)
{
    m_nClientWidth = cx;
    m_nClientHeight = cy;
    if (m_bLaidOut)
        m_topTable.Layout(CRect(0, 0, cx, cy), nullptr);
    Invalidate();
}

void BackgroundRemovalDlg::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    pInfo->ptMinTrackSize.x = MIN_TRACK_WIDTH;
    pInfo->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
}

void BackgroundRemovalDlg::PostNcDestroy()
{
    if (CWnd* pParent = m_bModal ? nullptr : FromHandle(m_hParentWnd))
        pParent->PostMessage(WM_TOOL_CLOSED, ID_SENDER_BKGR_REMOVAL, 0);
}
