#include "TopViewCtrl.h"

#include "TruncToInt.h"
#include "ViewCtrlRulers.h"
#include "WindowClasses.h"

#include "DC.h"
#include "Messages.h"

#include "MessageLog.h"
#include "Project.h"

#include <algorithm>

CTopViewCtrl::CTopViewCtrl()
{
    RegisterWindowClass(kTopViewCtrlClass);
    MapMessage(WM_CURSOR_MOVED, [this](WPARAM wParam, LPARAM lParam) { return OnCursorMoved(wParam, lParam); });
    MapMessage(WM_DATA_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnDataChanged(wParam, lParam); });
}

CTopViewCtrl::~CTopViewCtrl()
{
    m_dataView.ReleaseBuffers();
    m_xRuler.Release();
    m_yRuler.Release();
    if (GetSafeHwnd())
        DestroyWindow();
}

bool CTopViewCtrl::Create(CWnd* pParent, UINT nID)
{
    if (!pParent || GetSafeHwnd())
        return false;
    CRect rect;
    pParent->GetClientRect(&rect);
    if (!CWnd::Create(L"", WS_CHILD | WS_VISIBLE, rect, pParent, nID) || !m_dataView.Create(this)) {
        g_messageLog.Log(LOG_ERROR, "CTopViewCtrl::Create: window not created.");
        if (GetSafeHwnd())
            DestroyWindow();
        return false;
    }
    m_dataView.Render();
    m_xRuler.Init(false);
    m_yRuler.Init(false);
    RecalcLayout(SCREEN_FONT_HEIGHT);
    m_bCreated = true;
    return true;
}

void CTopViewCtrl::SetProject(CProject* pProject, C3DMatrix* pMatrix)
{
    m_pProject = pProject;
    m_dataView.SetProject(pProject, pMatrix);
    UpdateRulers();
    m_bBound = pProject != nullptr;
    m_xRuler.SetBound(m_bBound);
    m_yRuler.SetBound(m_bBound);
    // The image area follows the grid's proportions once bound.
    if (!m_rcOuter.IsRectNull())
        SetRect(m_rcOuter);
}

void CTopViewCtrl::SetPrintForm()
{
    SetPrintOnly();
    m_dataView.m_bForPrinting = true;
}

void CTopViewCtrl::RecalcLayout(int nFontHeight)
{
    if (!GetSafeHwnd())
        return;
    const CProject* pProject = m_bBound ? m_pProject : nullptr;
    const int thickness = PrepareRulerFont(m_xRuler, *this, nFontHeight, RulerTitle(L" X %s", pProject));
    m_nRulerThickness = thickness;
    CRect client;
    GetClientRect(&client);
    LayOutRulers(m_xRuler, m_yRuler, client, thickness, 0, CRulerSettings::ALIGN_90, RulerTitle(L" Y %s", pProject));

    if (m_bBound)
        UpdateRulers();
}

void CTopViewCtrl::UpdateRulers()
{
    if (!m_pProject)
        return;
    const CProjectSettings& s = m_pProject->m_settings;
    const int scaleKind = RulerScaleKind(*m_pProject);
    // The sizes that the view maps its pixels onto, so that the ticks stand over the pixels
    // they name.
    const struct
    {
        CRuler& ruler;
        int positions;
        const wchar_t* title;
    } rulers[] = {{m_xRuler, s.m_iSizeX, L" X %s"}, {m_yRuler, s.m_iSizeY, L" Y %s"}};
    for (const auto& r : rulers) {
        CRulerSettings settings = r.ruler.GetSettings();
        settings.m_fRangeStart = 0.0f;
        settings.m_fRangeEnd = RulerPositionRange(r.positions, *m_pProject);
        settings.m_strTitle = RulerTitle(r.title, m_pProject);
        settings.m_nScaleKind = scaleKind;
        r.ruler.SetSettings(settings);
    }
}

void CTopViewCtrl::SetRect(const CRect& rect)
{
    if (!m_bCreated)
        return;
    const int width = std::max(rect.Width(), 0), height = std::max(rect.Height(), 0);
    CRect area(0, 0, width, height);
    if (m_bBound && m_pProject && width > 0 && height > 0) {
        const CProjectSettings& s = m_pProject->m_settings;
        if (s.m_iSizeX > 0 && s.m_iSizeY > 0) {
            const float aspect = float(s.m_iSizeX) / float(s.m_iSizeY);
            if (float(width) / float(height) >= aspect) {
                const int areaWidth = std::min(TruncToInt(double(float(height) * aspect)), width);
                const int left = (width - areaWidth) / 2;
                area = CRect(left, 0, left + areaWidth, height);
            } else {
                area = CRect(0, 0, width, std::min(TruncToInt(double(float(width) / aspect)), height));
            }
        }
    }
    const int thickness = m_nRulerThickness;
    PlaceRuler(m_xRuler, area.left, area.top, area.Width(), thickness);
    PlaceRuler(m_yRuler, area.left, area.top + thickness - 1, std::max(area.Height() - thickness + 1, 0), thickness);

    const CPoint viewCorner(area.left + thickness, area.top + thickness);
    m_dataView.Resize(CRect(viewCorner.x, viewCorner.y, std::max(area.right, viewCorner.x),
                            std::max(area.bottom, viewCorner.y)));

    m_rcImage = area;
    m_rcOuter = rect;
    MoveWindow(&rect, false);
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CTopViewCtrl::Show(bool bShow)
{
    ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    m_dataView.Show(bShow);
    m_xRuler.Enable(bShow);
    m_yRuler.Enable(bShow);
}

void CTopViewCtrl::Print(CDC* pDC)
{
    PrintAt(pDC, m_dataView.m_bForPrinting, [this](CDC& dc) {
        m_dataView.CopyImageTo(&dc);
        m_yRuler.Draw(&dc);
        m_xRuler.Draw(&dc);
    });
}

void CTopViewCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bCreated)
        return;
    m_yRuler.Draw(&dc);
    m_xRuler.Draw(&dc);
}

bool CTopViewCtrl::OnEraseBkgnd(CDC* pDC)
{
    if (!pDC)
        return false;
    if (pDC->IsPrinting() != m_dataView.m_bForPrinting)
        return true;
    CRect client;
    GetClientRect(&client);
    const CRect& area = m_rcImage;
    // Left and right of the area over the whole height, above and below it over its width.
    const CRect parts[] = {
        CRect(client.left, client.top, area.left, client.bottom),
        CRect(area.right, client.top, client.right, client.bottom),
        CRect(area.left, client.top, area.right, area.top),
        CRect(area.left, area.bottom, area.right, client.bottom),
    };
    CBrush brush;
    brush.CreateSolidBrush(COLOR_BTNFACE_VALUE);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    for (const CRect& part : parts)
        if (part.Width() > 0 && part.Height() > 0)
            pDC->PatBlt(part.left, part.top, part.Width(), part.Height(), PATCOPY);
    pDC->SelectObject(pOldBrush);
    return true;
}

LRESULT CTopViewCtrl::OnCursorMoved(WPARAM wParam, LPARAM lParam)
{
    if (!RelayViewNotice(wParam, lParam, CDataTopView::ID_VIEW) && HIWORD(uint64_t(lParam)) != 0)
        m_dataView.UpdateCursor();
    return 0;
}

LRESULT CTopViewCtrl::OnDataChanged(WPARAM wParam, LPARAM lParam)
{
    switch (GetCode(lParam)) {
    case DATA_THRESHOLD:
    case DATA_RECOMPUTED:
        m_dataView.SendMessage(WM_DATA_CHANGED, wParam, lParam);
        break;
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
