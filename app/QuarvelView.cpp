#include "QuarvelView.h"

#include "QuarvelDoc.h"
#include "ResourceIds.h"

#include "FrameWnd.h"
#include "Messages.h"
#include "Resources.h"

#include "Cfg.h"
#include "MessageLog.h"
#include "SignalRoutines.h"
#include "Units.h"
#include "Values.h"

#include <QCursor>
#include <charconv>
#include <cmath>
#include <cwctype>

namespace {
constexpr UINT kStaticID = 65535;

// Sizes of the panel controls, in pixels.
constexpr int kGroupHeight = 80;
constexpr int kCoordinateGroupWidth = 280;
constexpr int kDirectionGroupWidth = 100;
constexpr int kTopViewGroupWidth = 330;
constexpr int kRowHeight = 18;
// The section labels reach to 2 pixels before their edits: the substitute for the stock
// variable font sets "X-Section:" a few pixels wider than 50.
constexpr int kLabelWidth = 58;
constexpr int kDepthLabelWidth = 40;
constexpr int kEditWidth = 50;
constexpr int kUnitWidth = 20;
// Wide enough for the indicator, its spacing and "X-Profiles" in the substitute font.
constexpr int kRadioWidth = 80;
constexpr int kRadioHeight = 20;

// "%.2f" whatever the process locale.
std::wstring FormatCoordinate(double value)
{
    return FromAnsi(FormatReal(value, 2));
}

// The decimal number at the start of the text (blanks skipped), whatever the process locale;
// false when the text does not start with one.
bool ReadDecimal(const std::wstring& text, double& value)
{
    std::string narrow;
    for (wchar_t c : text) {
        if (narrow.empty() && std::iswspace(wint_t(c)))
            continue;
        if (c > 0x7F)
            break;
        narrow += char(c);
    }
    const char* pBegin = narrow.c_str();
    if (!narrow.empty() && narrow[0] == '+')
        ++pBegin;
    return std::from_chars(pBegin, narrow.c_str() + narrow.size(), value).ec == std::errc();
}

CFont* PanelFont()
{
    return static_cast<CFont*>(GetStockObject(ANSI_VAR_FONT));
}
} // namespace

CQuarvelView::CQuarvelView()
{
    m_crBackground = COLOR_BTNFACE_VALUE;
    RegisterDefaultUnitNames();
    MapMessage(WM_CURSOR_MOVED, [this](WPARAM wParam, LPARAM lParam) { return OnCursorMoved(wParam, lParam); });
    MapMessage(WM_VALUE_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnValueChanged(wParam, lParam); });
    MapMessage(WM_LAYOUT_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnLayoutChanged(wParam, lParam); });
    MapMessage(WM_DATA_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnDataChanged(wParam, lParam); });
    MapCommand(IDC_X_PROFILES, [this] { OnProfileDirection(CViewLayout::SECTION_X); });
    MapCommand(IDC_Y_PROFILES, [this] { OnProfileDirection(CViewLayout::SECTION_Y); });
    g_messageLog.Log(LOG_LOG, "create QuarvelView()");
}

CQuarvelDoc* CQuarvelView::GetDocument() const
{
    return dynamic_cast<CQuarvelDoc*>(CView::GetDocument());
}

CProject* CQuarvelView::GetProject() const
{
    CQuarvelDoc* pDoc = GetDocument();
    return m_bBound && pDoc && pDoc->IsProjectLoaded() ? &pDoc->m_project : nullptr;
}

CEncapEdit& CQuarvelView::GetCoordinateEdit(UINT nID)
{
    return nID == IDC_EDIT_X ? m_editX : nID == IDC_EDIT_Y ? m_editY : m_editDepth;
}

CStatic& CQuarvelView::GetUnitLabel(UINT nID)
{
    return nID == IDC_EDIT_X ? m_unitX : nID == IDC_EDIT_Y ? m_unitY : m_unitDepth;
}

CNumericEdit& CQuarvelView::GetParameterEdit(UINT nID)
{
    return nID == IDC_ANGLE ? m_editAngle : nID == IDC_APERTURE ? m_editAperture : m_editThreshold;
}

void CQuarvelView::OnInitialUpdate()
{
    if (!m_bInitialized) {
        g_messageLog.Log(LOG_LOG, "Initialize QuarvelView.");
        CreateChildren();
        WriteUnitLabels();
        m_layout.Build();
        if (m_logo.LoadBitmap(IDB_LOGO)) {
            m_logoDC.CreateCompatibleDC(nullptr);
            m_logoDC.SelectObject(&m_logo);
        }
        m_bInitialized = true;
        SelectConfiguredGroup();
        m_layout.HideGroup();
        m_bLogoMode = true;
    } else if (GetDocument() && GetDocument()->IsProjectLoaded()) {
        BindProject();
    }
    Invalidate();
}

void CQuarvelView::OnUpdate(CView*, LPARAM lHint, void*)
{
    if (lHint == CQuarvelDoc::HINT_PROJECT_CLOSED && m_bInitialized)
        UnbindProject();
    Invalidate();
}

void CQuarvelView::CreateChildren()
{
    m_wndXSection.Create(this, CDataSideView::DIRECTION_X, IDC_X_SECTION);
    m_wndTopView.Create(this, IDC_TOP_VIEW);
    m_wndYSection.Create(this, CDataSideView::DIRECTION_Y, IDC_Y_SECTION);
    CreateCoordinatePanel();
    CreateTopViewPanel();
    m_layout.Create(&m_wndXSection, &m_wndYSection, &m_wndTopView);
}

void CQuarvelView::CreateCoordinatePanel()
{
    CContainer& coordinates = m_layout.GetPane(CViewLayout::GROUP_SIMPLE, CViewLayout::PANE_COORDINATES);
    CContainer& coordinatesWide = m_layout.GetPane(CViewLayout::GROUP_WIDE, CViewLayout::PANE_COORDINATES);
    CContainer& direction = m_layout.GetPane(CViewLayout::GROUP_SIMPLE, CViewLayout::PANE_PROFILE_DIRECTION);
    auto place = [this](CWnd& wnd, const std::wstring& text, DWORD dwStyle, int x, int y, int cx, int cy, UINT nID,
                        std::initializer_list<CContainer*> panes) {
        wnd.Create(text, WS_CHILD | WS_VISIBLE | dwStyle, CRect(x, y, x + cx, y + cy), this, nID);
        wnd.SetFont(PanelFont(), false);
        for (CContainer* pPane : panes)
            pPane->AddControl(&wnd, x, y, false);
    };
    const DWORD editStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
    m_editX.m_iMode = m_editY.m_iMode = m_editDepth.m_iMode = CEncapEdit::MODE_DECIMAL;
    place(m_grpCoordinates, L"Coordinate:", BS_GROUPBOX, 0, 0, kCoordinateGroupWidth, kGroupHeight, kStaticID,
          {&coordinates, &coordinatesWide});
    place(m_lblXSection, AfxLoadString(IDS_X_SECTION), SS_LEFT, 6, 22, kLabelWidth, kRowHeight, kStaticID,
          {&coordinates, &coordinatesWide});
    place(m_editX, L"", editStyle, 66, 20, kEditWidth, kRowHeight, IDC_EDIT_X, {&coordinates, &coordinatesWide});
    place(m_unitX, L"", SS_LEFT, 126, 22, kUnitWidth, kRowHeight, kStaticID, {&coordinates, &coordinatesWide});
    place(m_lblYSection, AfxLoadString(IDS_Y_SECTION), SS_LEFT, 6, 52, kLabelWidth, kRowHeight, kStaticID,
          {&coordinates, &coordinatesWide});
    place(m_editY, L"", editStyle, 66, 50, kEditWidth, kRowHeight, IDC_EDIT_Y, {&coordinates, &coordinatesWide});
    place(m_unitY, L"", SS_LEFT, 126, 52, kUnitWidth, kRowHeight, kStaticID, {&coordinates, &coordinatesWide});
    place(m_lblDepth, L"Depth:", SS_LEFT, 155, 22, kDepthLabelWidth, kRowHeight, kStaticID,
          {&coordinates, &coordinatesWide});
    place(m_editDepth, L"", editStyle, 195, 20, kEditWidth, kRowHeight, IDC_EDIT_DEPTH,
          {&coordinates, &coordinatesWide});
    place(m_unitDepth, L"", SS_LEFT, 255, 22, kUnitWidth, kRowHeight, kStaticID, {&coordinates, &coordinatesWide});

    place(m_grpProfileDirection, L"Profile direction:", BS_GROUPBOX, 0, 0, kDirectionGroupWidth, kGroupHeight,
          kStaticID, {&direction});
    place(m_radioXProfiles, L"X-Profiles", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 6, 20, kRadioWidth,
          kRadioHeight, IDC_X_PROFILES, {&direction});
    place(m_radioYProfiles, L"Y-Profiles", BS_AUTORADIOBUTTON, 6, 50, kRadioWidth, kRadioHeight, IDC_Y_PROFILES,
          {&direction});
}

void CQuarvelView::CreateTopViewPanel()
{
    CContainer& pane = m_layout.GetPane(CViewLayout::GROUP_SIMPLE, CViewLayout::PANE_TOP_VIEW);
    CContainer& paneWide = m_layout.GetPane(CViewLayout::GROUP_WIDE, CViewLayout::PANE_TOP_VIEW);
    m_grpTopView.Create(L"Top view parameters:", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX,
                        CRect(0, 0, kTopViewGroupWidth, kGroupHeight), this, kStaticID);
    m_grpTopView.SetFont(PanelFont(), false);
    pane.AddControl(&m_grpTopView, 0, 0, false);
    paneWide.AddControl(&m_grpTopView, 0, 0, false);
    struct CParameter
    {
        CNumericEdit* pEdit;
        UINT nID;
        const wchar_t* pszLabel;
        int nLabelWidth;
        int x;
        int nWidth;
        int nMin;
        int nMax;
    };
    const CParameter parameters[] = {
        {&m_editAngle, IDC_ANGLE, L"Angle:", 35, 10, 90, -45, 45},
        {&m_editAperture, IDC_APERTURE, L"Aperture:", 45, 108, 90, 1, 40},
        {&m_editThreshold, IDC_THRESHOLD, L"Threshold:", 55, 206, 110, -255, 255},
    };
    constexpr int y = 20;
    for (const CParameter& p : parameters) {
        p.pEdit->Create(CRect(p.x, y, p.x + p.nWidth, y + kRowHeight), this, p.nID);
        p.pEdit->SendMessage(WM_SETFONT, WPARAM(PanelFont()), 0);
        p.pEdit->SetLabel(p.pszLabel, p.nLabelWidth);
        p.pEdit->SetRange(p.nMin, p.nMax);
        pane.AddControl(p.pEdit, p.x, y, false);
        paneWide.AddControl(p.pEdit, p.x, y, false);
    }
}

void CQuarvelView::BindProject()
{
    CQuarvelDoc* pDoc = GetDocument();
    CProject& project = pDoc->m_project;
    CProjectSettings& s = project.m_settings;
    m_bLogoMode = false;
    m_bBound = true;
    // The views are shown at their sizes first, so that binding puts each cross-hair on the
    // project's cursor rather than on a place scaled up from an empty window.
    SelectConfiguredGroup();
    m_layout.SetSplit(s.m_iSizeX, s.m_iSizeY);
    m_wndXSection.SetData(&project, &pDoc->m_matrix);
    m_wndYSection.SetData(&project, &pDoc->m_matrix);
    m_wndTopView.SetProject(&project, &pDoc->m_matrix);
    m_iProfileDirection = 0;
    CheckRadioButton(IDC_X_PROFILES, IDC_Y_PROFILES, IDC_X_PROFILES);

    // The threshold's range comes first, so that its position is not limited by the old one.
    SetThresholdRange();
    m_editAngle.SetPos(s.m_iAngle);
    m_editAperture.SetPos(s.m_params.m_iAperture);
    m_editThreshold.SetPos(s.m_params.m_iThreshold);
    WriteCoordinateTexts();

    PostToFrame(WM_CURSOR_MOVED, 0);
    PostToFrame(WM_DATA_CHANGED, MakeCodeParam(DATA_PROJECT_BOUND, 0));

    if (!g_cfg.m_bUnitsAll && s.m_units != g_cfg.m_units)
        g_cfg.m_units = s.m_units;
    WriteUnitLabels();
}

void CQuarvelView::UnbindProject()
{
    // The matrix is about to be freed: nothing may read through the old pointers.
    m_wndXSection.SetData(nullptr, nullptr);
    m_wndYSection.SetData(nullptr, nullptr);
    m_wndTopView.SetProject(nullptr, nullptr);
    m_layout.HideGroup();
    m_bBound = false;
    m_bLogoMode = true;
    // The frame's tools and the trace view window follow the binding: to no project now.
    PostToFrame(WM_DATA_CHANGED, MakeCodeParam(DATA_PROJECT_BOUND, 0));
}

void CQuarvelView::SetThresholdRange()
{
    CProject* pProject = GetProject();
    if (!pProject)
        return;
    CProcessingParams& params = pProject->m_settings.m_params;
    if (params.m_iAperture >= 2) {
        m_editThreshold.SetRange(0, 255);
        if (params.m_iThreshold < 0) {
            params.m_iThreshold = 0;
            m_editThreshold.SetPos(0);
        }
    } else {
        m_editThreshold.SetRange(-255, 255);
    }
}

void CQuarvelView::WriteCoordinateTexts()
{
    const CProject* pProject = GetProject();
    if (!pProject)
        return;
    const CProjectSettings& s = pProject->m_settings;
    const double factor = GetUnitFactor(s.m_units);
    const double scale = factor * s.m_dResolution;
    m_editX.SetWindowText(FormatCoordinate(pProject->m_fCursorX * scale));
    m_editY.SetWindowText(FormatCoordinate(pProject->m_fCursorY * scale));
    m_editDepth.SetWindowText(FormatCoordinate(s.SampleToDepth(pProject->m_fCursorDepth) * factor));
}

void CQuarvelView::WriteUnitLabels()
{
    const CProject* pProject = GetProject();
    const TUnits units = g_cfg.m_bUnitsAll || !pProject ? g_cfg.m_units : pProject->m_settings.m_units;
    const std::wstring label = ::GetUnitLabel(units, false);
    m_unitX.SetWindowText(label);
    m_unitY.SetWindowText(label);
    m_unitDepth.SetWindowText(label);
}

void CQuarvelView::SelectConfiguredGroup()
{
    CClientDC dc(this);
    m_layout.SelectGroup(g_cfg.m_nLayout, &dc);
}

void CQuarvelView::Relayout()
{
    CRect client;
    GetClientRect(&client);
    if (client.Width() == 0 || !m_layout.IsBuilt())
        return;
    CClientDC dc(this);
    m_layout.Layout(client, &dc);
}

void CQuarvelView::OnSize(UINT, int, int)
{
    Relayout();
}

void CQuarvelView::OnDraw(CDC* pDC)
{
    if (!m_bLogoMode || !m_logo.IsCreated())
        return;
    CRect client;
    GetClientRect(&client);
    const CSize size = m_logo.GetSize();
    pDC->BitBlt((client.Width() - size.cx) / 2, (client.Height() - size.cy) / 2, size.cx, size.cy, &m_logoDC, 0, 0,
                SRCCOPY);
}

void CQuarvelView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!GetProject() || !m_layout.GetCurrentGrid())
        return;
    const QPoint global = QCursor::pos();
    CPoint point(global.x(), global.y());
    ScreenToClient(&point);
    const ICContainable* pObject = m_layout.GetCurrentGrid()->HitTest(point);
    if (!pObject)
        return;
    if (pObject->GetID() == IDC_X_SECTION)
        m_wndXSection.GetDataView().OnKeyDown(nChar, nRepCnt, nFlags);
    else if (pObject->GetID() == IDC_Y_SECTION)
        m_wndYSection.GetDataView().OnKeyDown(nChar, nRepCnt, nFlags);
}

void CQuarvelView::OnProfileDirection(int nDirection)
{
    if (m_iProfileDirection == nDirection)
        return;
    m_iProfileDirection = nDirection;
    m_layout.SetMode(nDirection);
    Invalidate(true);
}

void CQuarvelView::PostToFrame(UINT message, LPARAM lParam)
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->PostMessage(message, WPARAM(GetDlgCtrlID()), lParam);
}

LRESULT CQuarvelView::OnCursorMoved(WPARAM wParam, LPARAM lParam)
{
    const WPARAM ownID = WPARAM(GetDlgCtrlID());
    if (wParam == ownID)
        return 0;
    if (IsCursorSet(lParam)) {
        WriteCoordinateTexts();
        PostToFrame(WM_CURSOR_MOVED, lParam);
        SendMessageToDescendants(WM_CURSOR_MOVED, ownID, lParam);
    } else {
        PostToFrame(WM_CURSOR_MOVED, lParam);
    }
    return 0;
}

bool CQuarvelView::TakeTypedPosition(UINT nID)
{
    CProject& project = *GetProject();
    const CProjectSettings& s = project.m_settings;
    double typed = 0.0;
    if (!ReadDecimal(GetCoordinateEdit(nID).GetWindowText(), typed)) {
        g_messageLog.Log(LOG_INFO, "CQuarvelView: the typed position is no number; the cross-hair stays.");
        return false;
    }
    const float value = float(typed / (GetUnitFactor(s.m_units) * s.m_dResolution));
    if (std::isnan(value)) {
        g_messageLog.Log(LOG_INFO, "CQuarvelView: the typed position gives no trace; the cross-hair stays.");
        return false;
    }
    const bool bX = nID == IDC_EDIT_X;
    const int size = s.m_iGridMode == 2 ? (bX ? s.m_iGridSizeX : s.m_iGridSizeY) : (bX ? s.m_iSizeX : s.m_iSizeY);
    const float limited = LimitFloat(value, 0.0f, float(std::max(size - 1, 0)));
    (bX ? project.m_fCursorX : project.m_fCursorY) = limited;
    return true;
}

bool CQuarvelView::TakeTypedDepth()
{
    CProject& project = *GetProject();
    CProjectSettings& s = project.m_settings;
    double typed = 0.0;
    if (!ReadDecimal(m_editDepth.GetWindowText(), typed)) {
        g_messageLog.Log(LOG_INFO, "CQuarvelView: the typed depth is no number; the depth stays.");
        return false;
    }
    const double sample = s.DepthToSample(typed / GetUnitFactor(s.m_units));
    if (!std::isfinite(sample)) {
        g_messageLog.Log(LOG_INFO, "CQuarvelView: the typed depth gives no sample; the depth stays.");
        return false;
    }
    const float limited = LimitFloat(float(sample), float(s.m_iZeroLevel), float(std::max(s.m_iSamples - 1, 0)));
    project.m_fCursorDepth = limited;
    s.m_iDepthIndex = int32_t(limited);
    return true;
}

LRESULT CQuarvelView::OnValueChanged(WPARAM wParam, LPARAM lParam)
{
    CProject* pProject = GetProject();
    if (!pProject)
        return 0;
    CProjectSettings& s = pProject->m_settings;
    const WPARAM ownID = WPARAM(GetDlgCtrlID());
    const int value = int(int32_t(uint64_t(lParam)));
    switch (wParam) {
    case IDC_EDIT_X:
    case IDC_EDIT_Y:
    case IDC_EDIT_DEPTH: {
        const bool bTaken = wParam == IDC_EDIT_DEPTH ? TakeTypedDepth() : TakeTypedPosition(UINT(wParam));
        if (bTaken)
            OnCursorMoved(wParam, MakeCursorParam(int(ownID), true));
        else
            WriteCoordinateTexts();
        break;
    }
    case IDC_ANGLE:
        s.m_iAngle = value;
        SendMessageToDescendants(WM_DATA_CHANGED, ownID, MakeCodeParam(DATA_ANGLE, value));
        break;
    case IDC_APERTURE: {
        const int old = s.m_params.m_iAperture;
        s.m_params.m_iAperture = value;
        if (value == 1 || old == 1)
            SetThresholdRange();
        const LPARAM code = MakeCodeParam(DATA_THICKNESS, value);
        SendMessageToDescendants(WM_DATA_CHANGED, ownID, code);
        PostToFrame(WM_DATA_CHANGED, code);
        break;
    }
    case IDC_THRESHOLD:
        s.m_params.m_iThreshold = value;
        m_wndTopView.SendMessage(WM_DATA_CHANGED, ownID, MakeCodeParam(DATA_THRESHOLD, value));
        break;
    default: break;
    }
    return 0;
}

LRESULT CQuarvelView::OnLayoutChanged(WPARAM, LPARAM lParam)
{
    if (GetCode(lParam) == LAYOUT_APPLY && !m_bLogoMode && m_bInitialized) {
        SelectConfiguredGroup();
        Relayout();
        Invalidate(true);
    }
    return 0;
}

LRESULT CQuarvelView::OnDataChanged(WPARAM, LPARAM lParam)
{
    // A unit change while no project is bound is left for the next binding.
    if (GetCode(lParam) == DATA_UNITS && GetProject()) {
        WriteCoordinateTexts();
        WriteUnitLabels();
    }
    return 0;
}
