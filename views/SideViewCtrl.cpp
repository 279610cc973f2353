#include "SideViewCtrl.h"

#include "ViewCtrlRulers.h"
#include "WindowClasses.h"

#include "DC.h"
#include "Messages.h"

#include "MessageLog.h"
#include "Project.h"

#include <algorithm>
#include <cmath>

CSideViewCtrl::CSideViewCtrl() : m_pDataView(std::make_unique<CDataSideView>())
{
    RegisterWindowClass(kSideViewCtrlClass);
    MapMessage(WM_CURSOR_MOVED, [this](WPARAM wParam, LPARAM lParam) { return OnCursorMoved(wParam, lParam); });
    MapMessage(WM_DATA_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnDataChanged(wParam, lParam); });
}

CSideViewCtrl::~CSideViewCtrl()
{
    m_pDataView.reset();
    m_depthRuler.Release();
    m_positionRuler.Release();
    if (GetSafeHwnd())
        DestroyWindow();
}

std::unique_ptr<CDataSideView> CSideViewCtrl::ReplaceDataView(std::unique_ptr<CDataSideView> pView)
{
    m_pDataView.swap(pView);
    return pView;
}

bool CSideViewCtrl::Create(CWnd* pParent, int nDirection, UINT nID)
{
    if (!pParent || GetSafeHwnd())
        return false;
    m_nDirection = nDirection;
    CRect rect;
    pParent->GetClientRect(&rect);
    if (!CWnd::Create(L"", WS_CHILD | WS_VISIBLE, rect, pParent, nID)) {
        g_messageLog.Log(LOG_ERROR, "CSideViewCtrl::Create: window not created.");
        return false;
    }
    m_bShown = true;
    if (!m_pDataView->Create(this, int(nID) + 1, nDirection)) {
        DestroyWindow();
        return false;
    }
    m_positionRuler.Init(false);
    m_depthRuler.Init(true);
    RecalcLayout(SCREEN_FONT_HEIGHT);
    m_bCreated = true;
    return true;
}

void CSideViewCtrl::SetData(CProject* pProject, C3DMatrix* pMatrix)
{
    m_pProject = pProject;
    m_pDataView->SetData(pProject, pMatrix);
    m_positionRuler.SetBound(pProject != nullptr);
    m_depthRuler.SetBound(pProject != nullptr);
    UpdateRulers();
    if (GetSafeHwnd())
        Invalidate(true);
}

void CSideViewCtrl::SetDirection(int nDirection)
{
    m_nDirection = nDirection;
    UpdatePositionRuler();
    m_pDataView->SetDirection(nDirection);
    // The bar's colour changes with the direction.
    if (GetSafeHwnd())
        Invalidate(true);
}

void CSideViewCtrl::SetPrintForm()
{
    SetPrintOnly();
    m_pDataView->m_bForPrinting = true;
}

const wchar_t* CSideViewCtrl::PositionTitle() const
{
    return m_nDirection == CDataSideView::DIRECTION_Y ? L" Y %s" : L" X %s";
}

void CSideViewCtrl::RecalcLayout(int nFontHeight)
{
    if (!GetSafeHwnd())
        return;
    const int thickness = PrepareRulerFont(m_positionRuler, *this, nFontHeight, RulerTitle(PositionTitle(), m_pProject));
    m_nRulerThickness = thickness;
    CRect client;
    GetClientRect(&client);
    // The depth scale starts at the top of the section, below the position ruler and the bar.
    LayOutRulers(m_positionRuler, m_depthRuler, client, thickness, thickness + DIRECTION_BAR_HEIGHT,
                 CRulerSettings::ALIGN_270, RulerTitle(L" %s", m_pProject));

    if (m_pProject)
        UpdateRulers();
}

void CSideViewCtrl::UpdatePositionRuler()
{
    if (!m_pProject)
        return;
    const CProjectSettings& s = m_pProject->m_settings;
    // The positions that the view maps its columns onto, so that the ticks stand over the
    // columns they name.
    const int positions = m_nDirection == CDataSideView::DIRECTION_X   ? s.m_iSizeX
                          : m_nDirection == CDataSideView::DIRECTION_Y ? s.m_iSizeY
                                                                       : 2;
    CRulerSettings position = m_positionRuler.GetSettings();
    position.m_fRangeStart = 0.0f;
    position.m_fRangeEnd = RulerPositionRange(positions, *m_pProject);
    position.m_strTitle = RulerTitle(PositionTitle(), m_pProject);
    position.m_nScaleKind = RulerScaleKind(*m_pProject);
    m_positionRuler.SetSettings(position);
}

void CSideViewCtrl::UpdateRulers()
{
    if (!m_pProject)
        return;
    UpdatePositionRuler();
    const CProjectSettings& s = m_pProject->m_settings;
    // The depth of the last sample, which the view maps its bottom row onto.
    const double depth = s.m_iSamples > 0 ? s.SampleToDepth(float(s.m_iSamples - 1)) * GetUnitFactor(s.m_units) : 0.0;
    CRulerSettings settings = m_depthRuler.GetSettings();
    settings.m_fRangeStart = 0.0f;
    settings.m_fRangeEnd = std::isfinite(depth) ? float(std::clamp(depth, 0.0, 1e30)) : 0.0f;
    settings.m_strTitle = RulerTitle(L"%s ", m_pProject);
    settings.m_nScaleKind = RulerScaleKind(*m_pProject);
    m_depthRuler.SetSettings(settings);
    m_depthRuler.SetBound(true);
    const int steps = std::max(s.m_antenna.m_iFrequencySteps, 1);
    m_depthRuler.SetDepthParameters(s.m_iSamples, s.m_iZeroLevel, steps * s.m_dSystemCalibration, s.m_dVelocity,
                                    s.m_antenna.m_dSeparation);
    m_depthRuler.SetDirty();
}

void CSideViewCtrl::SetRect(const CRect& rect)
{
    if (!m_bCreated)
        return;
    m_rcOuter = rect;
    if (!m_bShown)
        return;
    const int width = std::max(rect.Width(), 0), height = std::max(rect.Height(), 0);
    const int thickness = m_nRulerThickness;
    PlaceRuler(m_positionRuler, 0, 0, width, thickness);
    PlaceRuler(m_depthRuler, 0, 0, height, thickness);

    const int viewTop = thickness + DIRECTION_BAR_HEIGHT;
    m_rcDirectionBar = CRect(thickness, thickness, std::max(width, thickness), viewTop);
    m_pDataView->Resize(CRect(thickness, viewTop, std::max(width, thickness), std::max(height, viewTop)));

    MoveWindow(&rect, false);
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CSideViewCtrl::Show(bool bShow)
{
    m_bShown = bShow;
    if (bShow)
        SetRect(m_rcOuter);
    ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    m_pDataView->Show(bShow);
    m_positionRuler.Enable(bShow);
    m_depthRuler.Enable(bShow);
}

void CSideViewCtrl::DrawDirectionBar(CDC& dc) const
{
    const COLORREF colour = m_nDirection == CDataSideView::DIRECTION_X ? RGB(255, 0, 0) : RGB(0, 0, 255);
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, colour);
    CBrush brush;
    brush.CreateSolidBrush(colour);
    CPen* pOldPen = dc.SelectObject(&pen);
    CBrush* pOldBrush = dc.SelectObject(&brush);
    dc.Rectangle(&m_rcDirectionBar);
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
}

void CSideViewCtrl::Print(CDC* pDC)
{
    PrintAt(pDC, m_pDataView->m_bForPrinting, [this](CDC& dc) {
        m_pDataView->CopyImageTo(&dc);
        m_depthRuler.Draw(&dc);
        m_positionRuler.Draw(&dc);
        DrawDirectionBar(dc);
    });
}

void CSideViewCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bCreated || m_pDataView->m_bForPrinting)
        return;
    m_depthRuler.Draw(&dc);
    m_positionRuler.Draw(&dc);
    DrawDirectionBar(dc);
}

bool CSideViewCtrl::OnEraseBkgnd(CDC*)
{
    return true;
}

LRESULT CSideViewCtrl::OnCursorMoved(WPARAM wParam, LPARAM lParam)
{
    if (wParam == WPARAM(GetDlgCtrlID()))
        return 0;
    if (!RelayViewNotice(wParam, lParam, m_pDataView->GetDlgCtrlID()) && IsCursorSet(lParam))
        m_pDataView->UpdateFromSettings(false);
    return 0;
}

LRESULT CSideViewCtrl::OnDataChanged(WPARAM, LPARAM lParam)
{
    if (!m_pProject)
        return 0;
    switch (GetCode(lParam)) {
    case DATA_VELOCITY:
    case DATA_UNITS:
    case DATA_ZERO_LEVEL:
        UpdateRulers();
        Invalidate(true);
        break;
    default:
        break;
    }
    return 0;
}
