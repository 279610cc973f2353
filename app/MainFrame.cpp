#include "MainFrame.h"

#include "BackgroundRemovalDlg.h"
#include "DrawToolDlg.h"
#include "Messages.h"
#include "QuarvelApp.h"
#include "QuarvelDoc.h"
#include "ResourceIds.h"
#include "Services.h"
#include "SliderCtrl.h"
#include "TruncToInt.h"
#include "VelocitySettingsDlg.h"

#include "Cfg.h"
#include "DrawingManager.h"
#include "Material.h"
#include "MessageLog.h"
#include "Units.h"
#include "Values.h"

namespace {
// The status bar's panes: coordinates, a stretching blank, the material.
const UINT kIndicators[] = {ID_INDICATOR_COORDINATES, ID_INDICATOR_BLANK, ID_INDICATOR_MATERIAL};

// The toolbar commands that need a project.
const UINT kTools[] = {ID_TOOLBAR_CONTRAST, ID_TOOLBAR_TIMEGAIN, ID_TOOLBAR_TRACEVIEW, ID_TOOLBAR_DRAWTOOL,
                       ID_TOOLBAR_OBJECTS,  ID_TOOLBAR_VELOCITY, ID_TOOLBAR_BKGR,      ID_TOOLBAR_EMDATA};
} // namespace

CMainFrame::CMainFrame()
{
    MapCommand(ID_TOOLBAR_CONTRAST, [this] { OnToolbarContrast(); });
    MapCommand(ID_TOOLBAR_TIMEGAIN, [this] { OnToolbarTimeGain(); });
    MapCommand(ID_TOOLBAR_DRAWTOOL, [this] { OnToolbarDrawTool(); });
    MapCommand(ID_TOOLBAR_TRACEVIEW, [this] { OnToolbarTraceView(); });
    MapCommand(ID_TOOLBAR_OBJECTS, [this] { OnToolbarObjects(); });
    MapCommand(ID_TOOLBAR_EMDATA, [this] { OnToolbarEmData(); });
    MapCommand(ID_TOOLBAR_VELOCITY, [this] { OnToolbarVelocity(); });
    MapCommand(ID_TOOLBAR_BKGR, [this] { OnToolbarBKGRRemoval(); });
    for (UINT nID : kTools)
        MapUpdate(nID, [this](CCmdUI* pCmdUI) { OnUpdateToolbar(pCmdUI); });
    MapUpdate(ID_FILE_SAVE, [this](CCmdUI* pCmdUI) { OnUpdateToolbar(pCmdUI); });
    MapUpdate(ID_INDICATOR_COORDINATES, [](CCmdUI* pCmdUI) { pCmdUI->Enable(); });
    MapMessage(WM_CURSOR_MOVED, [this](WPARAM wParam, LPARAM lParam) { return OnCursorMoved(wParam, lParam); });
    MapMessage(WM_VALUE_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnValueChanged(wParam, lParam); });
    MapMessage(WM_DATA_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnDataChanged(wParam, lParam); });
    MapMessage(WM_TOOL_CLOSED, [this](WPARAM wParam, LPARAM lParam) { return OnToolClosed(wParam, lParam); });
    MapMessage(WM_DRAWING_EVENT, [this](WPARAM wParam, LPARAM lParam) { return OnDrawingEvent(wParam, lParam); });
    MapMessage(WM_LAYOUT_CHANGED, [](WPARAM, LPARAM) { return LRESULT(0); });
}

CMainFrame::~CMainFrame() = default;

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

int CMainFrame::OnCreate(LPCREATESTRUCT pCreate)
{
    if (CFrameWnd::OnCreate(pCreate) == -1) {
        g_messageLog.Log(LOG_ERROR, "Fail to create Frame Window.");
        return -1;
    }
    if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
        g_messageLog.Log(LOG_ERROR, "Fail to create toolbar.");
        return -1;
    }
    SetObjectsIcon();
    m_wndToolBar.SetButtonStyle(m_wndToolBar.CommandToIndex(ID_TOOLBAR_EMDATA), TBBS_CHECKBOX);
    if (!m_wndStatusBar.Create(this)) {
        g_messageLog.Log(LOG_ERROR, "Failed to create status bar.");
        return -1;
    }
    if (!m_wndStatusBar.SetIndicators(kIndicators, int(std::size(kIndicators)))) {
        g_messageLog.Log(LOG_ERROR, "Fail to set statusbar inidcators.");
        return -1;
    }
    UINT nID = 0, nStyle = 0;
    int cxWidth = 0;
    m_wndStatusBar.GetPaneInfo(1, nID, nStyle, cxWidth);
    m_wndStatusBar.SetPaneInfo(1, nID, nStyle | SBPS_STRETCH, cxWidth);
    return 0;
}

void CMainFrame::OnClose()
{
    CQuarvelApp* pApp = GetQuarvelApp();
    if (!pApp || pApp->ExitApplication())
        CFrameWnd::OnClose();
}

void CMainFrame::OnDestroy()
{
    // The owned pop-ups go with the frame; nobody is left to hear that they closed.
    m_pContrastDlg.reset();
    m_pTimeGainDlg.reset();
    m_pDrawToolDlg.reset();
    m_pTraceViewDlg.reset();
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    pInfo->ptMinTrackSize = {640, 250};
}

CProject* CMainFrame::GetProject() const
{
    auto* pDoc = dynamic_cast<CQuarvelDoc*>(GetActiveDocument());
    return pDoc && pDoc->IsProjectLoaded() ? &pDoc->m_project : nullptr;
}

void CMainFrame::UpdateCoordinatePane(bool bSet)
{
    const CProject* pProject = GetProject();
    if (!pProject)
        return;
    const CProjectSettings& settings = pProject->m_settings;
    const double factor = GetUnitFactor(settings.m_units);
    const double x = (bSet ? pProject->m_fCursorX : pProject->m_fHoverX) * settings.m_dResolution * factor;
    const double y = (bSet ? pProject->m_fCursorY : pProject->m_fHoverY) * settings.m_dResolution * factor;
    const double z = settings.SampleToDepth(bSet ? pProject->m_fCursorDepth : pProject->m_fHoverDepth) * factor;
    const std::wstring unit = GetUnitLabel(settings.m_units, false);
    m_wndStatusBar.SetPaneText(0, L"x= " + FromAnsi(FormatReal(x, 2)) + L" " + unit + L"  y= " + FromAnsi(FormatReal(y, 2)) +
                                      L" " + unit + L"  z= " + FromAnsi(FormatReal(z, 2)) + L" " + unit);
}

void CMainFrame::UpdateMaterialPane()
{
    const CProject* pProject = GetProject();
    if (!pProject)
        return;
    const CProjectSettings& settings = pProject->m_settings;
    const std::wstring name = settings.m_pMaterial ? settings.m_pMaterial->m_strName : std::wstring();
    const int velocity = TruncToInt(settings.m_dVelocity * GetUnitFactor(settings.m_units));
    m_wndStatusBar.SetPaneText(2, AfxLoadString(IDS_MATERIAL) + L": " + name + L" (" + std::to_wstring(velocity) + L" " +
                                      GetUnitLabel(settings.m_units, false) + L"/\u00b5s)");
}

void CMainFrame::SetObjectsIcon()
{
    UINT nIcon = IDI_OBJECTS_ALL;
    switch (g_drawingManager.GetVisibility()) {
    case Tovrik::CDrawingManager::VISIBLE_RANGE: nIcon = IDI_OBJECTS_RANGE; break;
    case Tovrik::CDrawingManager::VISIBLE_HIDE: nIcon = IDI_OBJECTS_HIDDEN; break;
    default: break;
    }
    m_wndToolBar.SetButtonImage(m_wndToolBar.CommandToIndex(ID_TOOLBAR_OBJECTS), AfxFindIcon(nIcon));
}

void CMainFrame::OnUpdateToolbar(CCmdUI* pCmdUI)
{
    const CProject* pProject = GetProject();
    if (!pProject) {
        pCmdUI->Enable(false);
        return;
    }
    switch (pCmdUI->m_nID) {
    case ID_TOOLBAR_EMDATA:
        pCmdUI->Enable(pProject->m_settings.m_bHasEmData);
        pCmdUI->SetCheck(pProject->m_settings.m_bHasEmData && pProject->m_bEmOverlay ? 1 : 0);
        break;
    case ID_TOOLBAR_OBJECTS:
        pCmdUI->Enable();
        SetObjectsIcon();
        break;
    default:
        pCmdUI->Enable();
        break;
    }
}

void CMainFrame::OpenSliderDialog(std::unique_ptr<CSliderDialog>& pDlg, UINT nNotifyID, const wchar_t* pszTitle,
                                  int nMax, int nPos, UINT nPosKey)
{
    if (pDlg) {
        pDlg->SetActiveWindow();
        return;
    }
    if (!GetProject())
        return;
    std::unique_ptr<CSliderDialog> pNew = CSliderDialog::Make(nNotifyID, this, pszTitle, nMax, nPos);
    if (!pNew)
        return;
    if (g_cfg.HasWinPos(nPosKey)) {
        const CCfg::CWinPos place = g_cfg.GetWinPos(nPosKey);
        CRect rect;
        pNew->GetWindowRect(&rect);
        pNew->MoveWindow(place.m_x, place.m_y, rect.Width(), rect.Height());
    }
    pNew->ShowWindow(SW_SHOW);
    pDlg = std::move(pNew);
}

void CMainFrame::ForgetSliderDialog(std::unique_ptr<CSliderDialog>& pDlg, UINT nPosKey)
{
    if (!pDlg)
        return;
    const CPoint place = pDlg->GetClosedPos();
    g_cfg.SetWinPos(nPosKey, place.x, place.y);
    pDlg.reset();
}

void CMainFrame::ShowProjectInPopups()
{
    const CProject* pProject = GetProject();
    if (!pProject)
        return;
    if (m_pContrastDlg)
        m_pContrastDlg->SetPos(pProject->m_settings.m_iContrast);
    if (m_pTimeGainDlg)
        m_pTimeGainDlg->SetPos(pProject->m_settings.m_params.m_iTimeGain);
}

void CMainFrame::OnToolbarContrast()
{
    const CProject* pProject = GetProject();
    OpenSliderDialog(m_pContrastDlg, ID_SENDER_CONTRAST, L"Contrast:", 100,
                     pProject ? pProject->m_settings.m_iContrast : 0, IDW_CONTRAST_POS);
}

void CMainFrame::OnToolbarTimeGain()
{
    const CProject* pProject = GetProject();
    OpenSliderDialog(m_pTimeGainDlg, ID_SENDER_TIME_GAIN, L"Time gain:", 255,
                     pProject ? pProject->m_settings.m_params.m_iTimeGain : 0, IDW_TIMEGAIN_POS);
}

void CMainFrame::OnToolbarTraceView()
{
    if (m_pTraceViewDlg) {
        m_pTraceViewDlg->SetActiveWindow();
        return;
    }
    const CProject* pProject = GetProject();
    if (!pProject)
        return;
    auto pNew = std::make_unique<CTraceViewDlg>(this);
    if (!pNew->Create(CTraceViewDlg::IDD, this)) {
        g_messageLog.Log(LOG_ERROR, "CMainFrame: the trace view window could not be created.");
        return;
    }
    auto* pDoc = dynamic_cast<CQuarvelDoc*>(GetActiveDocument());
    pNew->m_pMatrix = &pDoc->m_matrix;
    pNew->TakeFromProject(*pProject, true);
    pNew->Invalidate();
    pNew->ShowWindow(SW_SHOW);
    m_pTraceViewDlg = std::move(pNew);
}

void CMainFrame::OnToolbarDrawTool()
{
    if (m_pDrawToolDlg) {
        m_pDrawToolDlg->SetActiveWindow();
        return;
    }
    if (!GetProject())
        return;
    Broadcast(WM_DRAWING_EVENT, MakeCodeParam(DRAW_MODE_ON, 0));
    auto pNew = std::make_unique<CDrawToolDlg>(this);
    if (!pNew->Create(CDrawToolDlg::IDD, this)) {
        g_messageLog.Log(LOG_ERROR, "CMainFrame: the drawing tool window could not be created.");
        return;
    }
    pNew->ShowWindow(SW_SHOW);
    m_pDrawToolDlg = std::move(pNew);
    g_drawingManager.SetDrawingMode(true);
}

void CMainFrame::OnToolbarObjects()
{
    const int32_t next = (g_drawingManager.GetVisibility() + 1) % 3;
    g_drawingManager.SetVisibility(next);
    SetObjectsIcon();
    Broadcast(WM_DRAWING_EVENT, MakeCodeParam(DRAW_VISIBILITY, 0));
}

void CMainFrame::OnToolbarEmData()
{
    CProject* pProject = GetProject();
    if (!pProject || !pProject->m_settings.m_bHasEmData)
        return;
    pProject->m_bEmOverlay = !pProject->m_bEmOverlay;
    SendMessageToDescendants(WM_DATA_CHANGED, ID_SENDER_APPLICATION, MakeCodeParam(DATA_EM_OVERLAY, 0));
}

void CMainFrame::OnToolbarVelocity()
{
    if (m_pVelocityDlg)
        return;
    g_messageLog.Log(LOG_DEBUG, "OnToolbarVelocity(): enter.");
    auto* pDoc = dynamic_cast<CQuarvelDoc*>(GetActiveDocument());
    if (pDoc && pDoc->IsProjectLoaded()) {
        // The dialog previews on the matrix; the cache keeps it for an unchanged end.
        pDoc->m_matrix.Save();
        g_messageLog.Log(LOG_DEBUG, "OnToolbarVelocity(): new CVelocitySettingsDlg.");
        CVelocitySettingsDlg dialog(this);
        m_pVelocityDlg = &dialog;
        dialog.SetData(&pDoc->m_project, &pDoc->m_matrix);
        const CDisplayValues before(pDoc->m_project.m_settings);
        const INT_PTR result = dialog.DoModal();
        g_messageLog.Log(LOG_DEBUG, "OnToolbarVelocity(): m_pVelocityDlg->DoModal %d", int(result));
        if (result == IDOK) {
            CWaitCursor wait;
            if (dialog.m_bDataChanged) {
                g_messageLog.Log(LOG_DEBUG, "OnToolbarVelocity(): data chenced; rebuild data");
                pDoc->Recalculate();
                C3DMatrix::RemovePreCalcFiles(pDoc->m_project);
                Broadcast(WM_DATA_CHANGED, MakeCodeParam(DATA_RECOMPUTED, 0));
                Broadcast(WM_DATA_CHANGED,
                          MakeCodeParam(DATA_VELOCITY, TruncToInt(pDoc->m_project.m_settings.m_dVelocity)));
                UpdateMaterialPane();
            } else {
                g_messageLog.Log(LOG_DEBUG, "OnToolbarVelocity(): load prev. data");
                pDoc->m_matrix.Load();
            }
            BroadcastDisplayChanges(before, pDoc->m_project.m_settings);
        } else if (result == IDCANCEL || result == IDABORT) {
            g_messageLog.Log(LOG_DEBUG, "OnToolbarVelocity(): load prev. data");
            pDoc->m_matrix.Load();
        } else if (result == -1) {
            AfxMessageBox(L"Velocity settings dialog could not be opened.", MB_OK);
        }
        m_pVelocityDlg = nullptr;
    }
    g_messageLog.Log(LOG_DEBUG, "OnToolbarVelocity(): return");
}

void CMainFrame::OnToolbarBKGRRemoval()
{
    if (m_pBkgrRemovalDlg)
        return;
    g_messageLog.Log(LOG_DEBUG, "OnToolbarBKGRRemoval(): enter");
    auto* pDoc = dynamic_cast<CQuarvelDoc*>(GetActiveDocument());
    if (pDoc && pDoc->IsProjectLoaded()) {
        g_messageLog.Log(LOG_DEBUG, "OnToolbarBKGRRemoval(): save data");
        pDoc->m_matrix.Save();
        g_messageLog.Log(LOG_DEBUG, "OnToolbarBKGRRemoval(): new dlg");
        BackgroundRemovalDlg dialog(this);
        m_pBkgrRemovalDlg = &dialog;
        g_messageLog.Log(LOG_DEBUG, "OnToolbarBKGRRemoval(): set settings");
        dialog.SetData(&pDoc->m_project, &pDoc->m_matrix);
        const CDisplayValues before(pDoc->m_project.m_settings);
        const INT_PTR result = dialog.DoModal();
        g_messageLog.Log(LOG_DEBUG, "OnToolbarBKGRRemoval(): doModal() %d", int(result));
        if (result == IDOK && dialog.m_bDataChanged) {
            CWaitCursor wait;
            g_messageLog.Log(LOG_DEBUG, "OnToolbarBKGRRemoval(): rebuild");
            pDoc->Recalculate();
            C3DMatrix::RemovePreCalcFiles(pDoc->m_project);
            Broadcast(WM_DATA_CHANGED, MakeCodeParam(DATA_RECOMPUTED, 0));
            Broadcast(WM_DATA_CHANGED, MakeCodeParam(DATA_VELOCITY, TruncToInt(pDoc->m_project.m_settings.m_dVelocity)));
        } else if (result == IDOK || result == IDCANCEL || result == IDABORT) {
            CWaitCursor wait;
            g_messageLog.Log(LOG_DEBUG, "OnToolbarBKGRRemoval(): load old data");
            pDoc->m_matrix.Load();
        }
        if (result == IDOK)
            BroadcastDisplayChanges(before, pDoc->m_project.m_settings); else if (result == -1) {
            AfxMessageBox(L"Background Removal dialog could not be opened.!", MB_OK);
        }
        m_pBkgrRemovalDlg = nullptr;
    }
    g_messageLog.Log(LOG_DEBUG, "OnToolbarBKGRRemoval(): return");
}

CMainFrame::CDisplayValues::CDisplayValues(const CProjectSettings& s)
    : m_iContrast(s.m_iContrast), m_iTimeGain(s.m_params.m_iTimeGain), m_iAperture(s.m_params.m_iAperture)
{
}

void CMainFrame::BroadcastDisplayChanges(const CDisplayValues& before, const CProjectSettings& s)
{
    const CDisplayValues after(s);
    if (after.m_iContrast != before.m_iContrast)
        Broadcast(WM_DATA_CHANGED, MakeCodeParam(DATA_CONTRAST, after.m_iContrast));
    if (after.m_iTimeGain != before.m_iTimeGain)
        Broadcast(WM_DATA_CHANGED, MakeCodeParam(DATA_TIME_GAIN, after.m_iTimeGain));
    if (after.m_iAperture != before.m_iAperture)
        Broadcast(WM_DATA_CHANGED, MakeCodeParam(DATA_THICKNESS, after.m_iAperture));
}

void CMainFrame::Broadcast(UINT message, LPARAM lParam)
{
    if (message == WM_DATA_CHANGED)
        BroadcastDataChanged(FRAME_ID, lParam);
    else
        SendMessageToDescendants(message, FRAME_ID, lParam);
}

void CMainFrame::BroadcastDataChanged(WPARAM wParam, LPARAM lParam)
{
    SendMessageToDescendants(WM_DATA_CHANGED, wParam, lParam);
    const WORD code = GetCode(lParam);
    if (code == DATA_RECOMPUTED || code == DATA_ZERO_LEVEL)
        ForwardToTraceView(wParam, lParam);
}

void CMainFrame::ForwardToTraceView(WPARAM wParam, LPARAM lParam)
{
    const CProject* pProject = GetProject();
    if (!m_pTraceViewDlg)
        return;
    // A new project or zero level may have moved the cross-hair depth too.
    if (pProject)
        m_pTraceViewDlg->TakeFromProject(*pProject, true);
    m_pTraceViewDlg->SendMessage(WM_DATA_CHANGED, wParam, lParam);
}

LRESULT CMainFrame::OnCursorMoved(WPARAM, LPARAM lParam)
{
    UpdateCoordinatePane(IsCursorSet(lParam));
    const CProject* pProject = GetProject();
    if (IsCursorSet(lParam) && m_pTraceViewDlg && pProject) {
        m_pTraceViewDlg->TakeFromProject(*pProject, false);
        m_pTraceViewDlg->RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return 0;
}

LRESULT CMainFrame::OnValueChanged(WPARAM wParam, LPARAM)
{
    CProject* pProject = GetProject();
    if (!pProject)
        return 0;
    if (wParam == ID_SENDER_CONTRAST && m_pContrastDlg) {
        pProject->m_settings.m_iContrast = m_pContrastDlg->m_nPos;
        Broadcast(WM_DATA_CHANGED, MakeCodeParam(DATA_CONTRAST, m_pContrastDlg->m_nPos));
    } else if (wParam == ID_SENDER_TIME_GAIN && m_pTimeGainDlg) {
        pProject->m_settings.m_params.m_iTimeGain = m_pTimeGainDlg->m_nPos;
        Broadcast(WM_DATA_CHANGED, MakeCodeParam(DATA_TIME_GAIN, m_pTimeGainDlg->m_nPos));
    } else if (wParam == ID_SENDER_DRAW_TOOL && m_pDrawToolDlg) {
        g_drawingManager.SetBlendAlpha(m_pDrawToolDlg->GetOpacity());
        Broadcast(WM_DRAWING_EVENT, MakeCodeParam(DRAW_REDRAW_STYLE, 0));
    }
    return 0;
}

LRESULT CMainFrame::OnDataChanged(WPARAM, LPARAM lParam)
{
    switch (GetCode(lParam)) {
    case DATA_PROJECT_BOUND:
        UpdateMaterialPane();
        // The tools at once, as their update handlers have them.
        m_wndToolBar.OnUpdateCmdUI(this, true);
        ForwardToTraceView(FRAME_ID, lParam);
        ShowProjectInPopups();
        break;
    case DATA_THICKNESS:
        if (m_pTraceViewDlg)
            m_pTraceViewDlg->SetAperture(GetCodeValue(lParam));
        break;
    case DATA_VELOCITY: UpdateMaterialPane(); break;
    case DATA_UNITS:
        UpdateMaterialPane();
        UpdateCoordinatePane(true);
        break;
    default: break;
    }
    return 0;
}

LRESULT CMainFrame::OnToolClosed(WPARAM wParam, LPARAM)
{
    if (wParam == ID_SENDER_CONTRAST)
        ForgetSliderDialog(m_pContrastDlg, IDW_CONTRAST_POS);
    else if (wParam == ID_SENDER_TIME_GAIN)
        ForgetSliderDialog(m_pTimeGainDlg, IDW_TIMEGAIN_POS);
    else if (wParam == ID_SENDER_DRAW_TOOL)
        ForgetDrawTool();
    else if (wParam == ID_SENDER_TRACE_VIEW)
        m_pTraceViewDlg.reset();
    else if (wParam == ID_SENDER_VELOCITY)
        m_pVelocityDlg = nullptr;
    else if (wParam == ID_SENDER_BKGR_REMOVAL)
        m_pBkgrRemovalDlg = nullptr;
    return 0;
}

LRESULT CMainFrame::OnDrawingEvent(WPARAM wParam, LPARAM lParam)
{
    if (wParam == FRAME_ID)
        return 0;
    SendMessageToDescendants(WM_DRAWING_EVENT, wParam, lParam);
    if (m_pDrawToolDlg)
        m_pDrawToolDlg->SendMessage(WM_DRAWING_EVENT, wParam, lParam);
    return 0;
}

void CMainFrame::ForgetDrawTool()
{
    Broadcast(WM_DRAWING_EVENT, MakeCodeParam(DRAW_MODE_OFF, 0));
    m_pDrawToolDlg.reset();
    // Cut, copy and paste of drawing objects stay available once the tool has been open.
    g_drawingManager.SetDrawingMode(true);
}
