#include "ZeroLevelDlg.h"

#include "Controls.h"
#include "DC.h"
#include "GdiObjects.h"
#include "Messages.h"
#include "TruncToInt.h"

#include "MessageLog.h"
#include "Project.h"
#include "SignalRoutines.h"
#include "ZeroLevel.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Band pass of the shown trace: on, 25 samples high, 5 low.
constexpr unsigned kBandHigh = 25;
constexpr unsigned kBandLow = 5;
// Signal gain trackbar position that shows the trace at gain 1.
constexpr int kUnitGainPos = 6;
// Height of a slider in caption-label mode: the trackbar starts 15 px down and is 35 px high.
constexpr int kSliderHeight = 50;

CFont* DialogControlFont()
{
    return static_cast<CFont*>(GetStockObject(ANSI_VAR_FONT));
}

// A control's rectangle in its parent's client coordinates.
CRect ChildRect(CWnd* pParent, CWnd* pChild)
{
    CRect rect;
    if (!pChild)
        return rect;
    pChild->GetWindowRect(&rect);
    CPoint corner = rect.TopLeft();
    pParent->ScreenToClient(&corner);
    return CRect(corner, rect.Size());
}
} // namespace

CZeroLevelDlg::CZeroLevelDlg(CWnd* pParent) : CDialog(IDD, pParent)
{
    MapMessage(WM_VALUE_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnValueChanged(wParam, lParam); });
    MapMessage(WM_HSCROLL, [this](WPARAM wParam, LPARAM) { return OnGainScroll(wParam); });
    MapCommand(IDC_ZL_X_SECTION, [this] { SetDirection(DIRECTION_X); });
    MapCommand(IDC_ZL_Y_SECTION, [this] { SetDirection(DIRECTION_Y); });
    MapCommand(IDC_ZL_RESTORE, [this] { OnRestoreZeroLevel(); });
}

CSliderCtrl* CZeroLevelDlg::GetGainSlider() const
{
    return dynamic_cast<CSliderCtrl*>(GetDlgItem(IDC_ZL_GAIN));
}

bool CZeroLevelDlg::HasProject() const
{
    return m_pProject && m_pProject->IsOpen();
}

void CZeroLevelDlg::CreateSlider(CExtSliderCtrl& slider, UINT nID, const wchar_t* pszCaption, const CRect& rect)
{
    // Caption-label mode: the caption at the left, the trackbar right of it, nothing else.
    slider.m_bCaptionInFrame = false;
    slider.m_bEditBeside = false;
    slider.m_bCaptionBeside = true;
    slider.Create(this, CRect(0, 0, 100, 28), CExtSliderCtrl::ORIENT_HORIZONTAL, false, nID);
    slider.SendMessage(WM_SETFONT, WPARAM(DialogControlFont()), 0);
    slider.SetCaption(pszCaption);
    slider.GetFrame().ShowWindow(SW_HIDE);
    slider.GetTopLabel().ShowWindow(SW_HIDE);
    slider.GetBottomLabel().ShowWindow(SW_HIDE);
    slider.GetEdit().ShowWindow(SW_HIDE);
    slider.GetCaptionLabel().ShowWindow(SW_SHOW);
    slider.SetReversed();
    slider.MoveWindow(&rect);
}

bool CZeroLevelDlg::OnInitDialog()
{
    if (CSliderCtrl* pGain = GetGainSlider()) {
        pGain->SetRange(0, 100);
        pGain->SetPos(kUnitGainPos);
    }
    m_bBusy = true;
    // The sliders stand in the "Trace position" group below its radio buttons.
    const CRect group = ChildRect(this, GetDlgItem(IDC_ZL_POSITION_GROUP));
    const CRect radio = ChildRect(this, GetDlgItem(IDC_ZL_X_SECTION));
    const CRect line(group.left + 6, radio.bottom + 6, group.right - 6, radio.bottom + 6 + kSliderHeight);
    CreateSlider(m_lineSlider, IDC_ZL_LINE, L"Profile", line);
    CRect trace = line;
    trace.OffsetRect(0, kSliderHeight);
    CreateSlider(m_traceSlider, IDC_ZL_TRACE, L"Trace", trace);

    m_zeroLevelEdit.Create(CRect(22, 34, 22 + 160, 34 + 18), this, IDC_ZL_ZERO_LEVEL);
    m_zeroLevelEdit.SendMessage(WM_SETFONT, WPARAM(DialogControlFont()), 0);
    m_zeroLevelEdit.SetRange(0, 0);
    m_zeroLevelEdit.SetLabel(L"Zero level:", 55);
    m_zeroLevelEdit.SetUnit(L"samples");

    m_traceView.Create(this);
    BuildLayout();
    m_bCreated = true;
    if (m_pProject)
        SetData(m_pProject);
    m_bBusy = false;
    RedrawWindow();
    return true;
}

void CZeroLevelDlg::BuildLayout()
{
    const auto fill = [this](CContainer& container, std::initializer_list<CWnd*> controls) {
        for (CWnd* pControl : controls)
            if (pControl)
                container.AddControl(pControl, 0, 0, false);
        return container.CalcBoundingRect().Size();
    };
    const CSize sizes[] = {
        fill(m_zeroGroup, {GetDlgItem(IDC_ZL_GROUP), &m_zeroLevelEdit, GetDlgItem(IDC_ZL_RESTORE)}),
        fill(m_positionGroup, {GetDlgItem(IDC_ZL_POSITION_GROUP), GetDlgItem(IDC_ZL_X_SECTION),
                               GetDlgItem(IDC_ZL_Y_SECTION), &m_lineSlider, &m_traceSlider}),
        fill(m_gainGroup, {GetDlgItem(IDC_ZL_GAIN_GROUP), GetDlgItem(IDC_ZL_GAIN)}),
        fill(m_buttons, {GetDlgItem(IDOK), GetDlgItem(IDCANCEL)}),
    };
    CContainer* groups[] = {&m_zeroGroup, &m_positionGroup, &m_gainGroup, &m_buttons};
    int width = 0;
    for (const CSize& size : sizes)
        width = std::max(width, int(size.cx));
    m_table.SetSize(2, 4, CLayoutTable::ORIENT_COLUMNS);
    for (int r = 0; r < 4; ++r)
        m_table.Add(0, r, width, int(sizes[r].cy), smFixed, smFixed, groups[r], ckGroup);
    m_table.Add(1, 0, 100, 100, smPercent, smPercent, &m_traceView, ckView);
    m_table.CalcMinSize();
    m_bLayoutBuilt = true;
    CRect client;
    GetClientRect(&client);
    m_table.Layout(client, nullptr);
}

void CZeroLevelDlg::SetData(CProject* pProject)
{
    m_pProject = pProject;
    if (!m_bCreated || !HasProject())
        return;
    const bool bWasBusy = m_bBusy;
    m_bBusy = true;
    const CProjectSettings& s = m_pProject->m_settings;
    const int samples = std::max(s.m_iSamples, 0);
    m_zeroLevelEdit.SetRange(0, std::max(samples - 1, 0));
    m_zeroLevelEdit.SetPos(s.m_iZeroLevel);
    m_traceView.SetSampleCount(samples);
    ShowZeroLevel(s.m_iZeroLevel);
    CheckRadioButton(IDC_ZL_X_SECTION, IDC_ZL_Y_SECTION, IDC_ZL_X_SECTION);
    m_nDirection = DIRECTION_X;
    m_nLine[0] = m_nLine[1] = m_nTrace[0] = m_nTrace[1] = 0;
    for (CExtSliderCtrl* pSlider : {&m_lineSlider, &m_traceSlider}) {
        pSlider->SetStep(1.0f);
        pSlider->m_fValue = 0.0f;
        pSlider->UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    }
    UpdateSection();
    ShowTrace();
    m_bBusy = bWasBusy;
}

float CZeroLevelDlg::GetZeroLevel() const
{
    const float value = m_traceView.m_lines[CTraceView::LineZeroLevel].m_fValue;
    if (!std::isfinite(value))
        return 0.0f;
    const int last = std::max(m_traceView.GetSampleCount() - 1, 0);
    return std::clamp(value, 0.0f, float(last));
}

void CZeroLevelDlg::ShowZeroLevel(int nSample)
{
    CTraceView::CTraceLine& line = m_traceView.m_lines[CTraceView::LineZeroLevel];
    line.m_fValue = float(nSample);
    line.m_bVisible = true;
    m_traceView.Invalidate();
}

void CZeroLevelDlg::UpdateSection()
{
    if (!HasProject())
        return;
    const bool bWasBusy = m_bBusy;
    m_bBusy = true;
    const int left = m_nDirection == DIRECTION_X ? 1 : 0; // index of the direction left
    m_nLine[left] = TruncToInt(m_lineSlider.m_fValue);
    m_nTrace[left] = TruncToInt(m_traceSlider.m_fValue);

    const CProjectSettings& s = m_pProject->m_settings;
    const int index = m_nDirection - 1;
    const bool bX = m_nDirection == DIRECTION_X;
    const int lastLine = std::max((bX ? s.GetYLineCount() : s.GetXLineCount()) - 1, 0);
    const int lastTrace = std::max((bX ? s.m_iSizeX : s.m_iSizeY) - 1, 0);
    m_lineSlider.SetRange(0, lastLine);
    m_lineSlider.m_fValue = float(std::clamp(m_nLine[index], 0, lastLine));
    m_lineSlider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    m_traceSlider.SetRange(0, lastTrace);
    m_traceSlider.m_fValue = float(std::clamp(m_nTrace[index], 0, lastTrace));
    m_traceSlider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
    m_bBusy = bWasBusy;
}

void CZeroLevelDlg::SetDirection(int nDirection)
{
    CheckRadioButton(IDC_ZL_X_SECTION, IDC_ZL_Y_SECTION,
                     nDirection == DIRECTION_X ? IDC_ZL_X_SECTION : IDC_ZL_Y_SECTION);
    if (nDirection == m_nDirection)
        return;
    m_nDirection = nDirection;
    UpdateSection();
    ShowTrace();
}

bool CZeroLevelDlg::ReadTrace(int32_t nTrace, float* pSamples)
{
    // The trace as stored, in a buffer of its own length.
    const int samples = std::max(m_pProject->m_settings.m_iSamples, 0);
    std::vector<int16_t> raw(size_t(samples), 0);
    const bool bRead = m_pProject->ReadTrace(nTrace, raw.data());
    for (int i = 0; i < samples; ++i)
        pSamples[i] = float(raw[size_t(i)]) * kSampleScale;
    return bRead;
}

void CZeroLevelDlg::ShowTrace()
{
    if (!HasProject() || !m_bCreated)
        return;
    const int line = TruncToInt(m_lineSlider.m_fValue);
    const int trace = TruncToInt(m_traceSlider.m_fValue);
    if (m_nDirection == DIRECTION_X)
        m_pProject->SelectYProfile(line);
    else
        m_pProject->SelectXProfile(line);
    const int samples = std::max(m_pProject->m_settings.m_iSamples, 0);
    if (m_traceView.GetSampleCount() != samples)
        m_traceView.SetSampleCount(samples);
    float* pSamples = m_traceView.GetSamples();
    if (!ReadTrace(trace, pSamples))
        g_messageLog.Log(LOG_FILE_ERROR, "CZeroLevelDlg::ShowTrace(): trace %d of line %d is short.", trace, line);
    std::vector<float> filtered(size_t(samples), 0.0f);
    FirBandPass(pSamples, filtered.data(), samples, true, kBandHigh, kBandLow);
    std::copy(filtered.begin(), filtered.end(), pSamples);
    m_traceView.Invalidate();
}

void CZeroLevelDlg::OnRestoreZeroLevel()
{
    if (!HasProject())
        return;
    // The level the matrix computes; without a first arrival to average nothing changes.
    int32_t zero = 0;
    if (!FindZeroLevel(*m_pProject, zero))
        return;
    const bool bWasBusy = m_bBusy;
    m_bBusy = true;
    m_zeroLevelEdit.SetPos(zero);
    ShowZeroLevel(zero);
    m_bBusy = bWasBusy;
}

LRESULT CZeroLevelDlg::OnValueChanged(WPARAM wParam, LPARAM)
{
    if (m_bBusy || wParam < IDC_ZL_TRACE_VIEW || wParam > IDC_ZL_TRACE)
        return 0;
    switch (wParam) {
    case IDC_ZL_TRACE_VIEW:
        m_zeroLevelEdit.SetPos(TruncToInt(m_traceView.m_lines[CTraceView::LineZeroLevel].m_fValue + 0.5f));
        break;
    case IDC_ZL_ZERO_LEVEL: ShowZeroLevel(m_zeroLevelEdit.GetPos()); break;
    case IDC_ZL_LINE:
    case IDC_ZL_TRACE: ShowTrace(); break;
    default: break;
    }
    return 0;
}

LRESULT CZeroLevelDlg::OnGainScroll(WPARAM wParam)
{
    CSliderCtrl* pGain = GetGainSlider();
    if (m_bBusy || !pGain)
        return 0;
    const UINT code = GetScrollParamCode(wParam);
    const int pos = code == TB_THUMBPOSITION || code == TB_THUMBTRACK ? GetScrollParamPos(wParam) : pGain->GetPos();
    m_traceView.m_fGain = float(pos) / float(kUnitGainPos);
    m_traceView.Invalidate();
    return 0;
}

void CZeroLevelDlg::OnSize(UINT, int cx, int cy)
{
    if (m_bLayoutBuilt)
        m_table.Layout(CRect(0, 0, cx, cy), nullptr);
    Invalidate();
}

void CZeroLevelDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_bLayoutBuilt)
        m_table.UpdateControls(&dc);
}

void CZeroLevelDlg::OnGetMinMaxInfo(MINMAXINFO* pInfo)
{
    pInfo->ptMinTrackSize = {270, 370};
}
