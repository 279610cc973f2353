#include "ExtSliderCtrl.h"

#include "TruncToInt.h"

#include "DC.h"
#include "Messages.h"
#include "SignalRoutines.h"
#include "Values.h"

namespace {
constexpr UINT kStaticID = 65535;
constexpr UINT kNoID = UINT(-1);
constexpr int kDefaultPositions = 10000;
} // namespace

bool CExtSliderCtrl::CEncapEdit::GetBoundText(int value, std::wstring& text) const
{
    const float fValue = float(value);
    if (fValue >= m_fMin && fValue <= m_fMax)
        return false;
    text = FromAnsi(FormatReal(fValue < m_fMin ? m_fMin : m_fMax, 0));
    return true;
}

CExtSliderCtrl::CExtSliderCtrl()
{
    auto onScroll = [this](WPARAM wParam, LPARAM) {
        const UINT code = GetScrollParamCode(wParam);
        m_nCurPos = code == TB_THUMBPOSITION || code == TB_THUMBTRACK ? GetScrollParamPos(wParam) : m_trackbar.GetPos();
        UpdateValue(SOURCE_TRACKBAR);
        return LRESULT(0);
    };
    MapMessage(WM_HSCROLL, onScroll);
    MapMessage(WM_VSCROLL, onScroll);
    MapMessage(WM_SETFONT, [this](WPARAM wParam, LPARAM) {
        CFont* pFont = reinterpret_cast<CFont*>(wParam);
        for (CWnd* pChild : {static_cast<CWnd*>(&m_frame), static_cast<CWnd*>(&m_edit), static_cast<CWnd*>(&m_topLabel),
                             static_cast<CWnd*>(&m_bottomLabel), static_cast<CWnd*>(&m_captionLabel)})
            pChild->SetFont(pFont, true);
        return LRESULT(0);
    });
}

CExtSliderCtrl::~CExtSliderCtrl()
{
    // The handlers above need the whole object.
    DestroyWindow();
}

bool CExtSliderCtrl::Create(CWnd* pParent, const CRect& rect, int nOrientation, bool bSelection, UINT nID)
{
    m_nOrientation = nOrientation;
    if (!CWnd::Create(L"", WS_CHILD | WS_VISIBLE, rect, pParent, nID))
        return false;
    DWORD trackbarStyle = WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS;
    if (bSelection)
        trackbarStyle |= TBS_ENABLESELRANGE;
    if (IsVertical())
        trackbarStyle |= TBS_VERT | TBS_BOTH;
    const CRect client(0, 0, rect.Width(), rect.Height());
    if (!m_frame.Create(L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, client, this, kNoID) ||
        !m_captionLabel.Create(L"Not set", WS_CHILD, CRect(5, 18, 25, 36), this, kStaticID) ||
        !m_trackbar.Create(L"", trackbarStyle, CRect(), this, kNoID))
        return false;
    m_trackbar.SetRange(0, kDefaultPositions, false);
    m_trackbar.ClearTics();
    {
        CClientDC dc(this);
        m_textExtent = dc.GetTextExtent(L"8000");
    }
    const DWORD editStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_CENTER | ES_READONLY;
    if (!m_edit.Create(L"", editStyle, CRect(), this, 0) ||
        !m_topLabel.Create(FormatValue(m_fMax), WS_CHILD | WS_VISIBLE, CRect(), this, kStaticID) ||
        !m_bottomLabel.Create(FormatValue(m_fMin), WS_CHILD | WS_VISIBLE, CRect(), this, kStaticID))
        return false;
    if (m_nOrientation == ORIENT_HORIZONTAL) {
        m_topLabel.ShowWindow(SW_HIDE);
        m_bottomLabel.ShowWindow(SW_HIDE);
    }
    LayoutChildren(rect.Width(), rect.Height());
    m_fValue = 0.0f;
    UpdateValue(SOURCE_VALUE);
    return true;
}

void CExtSliderCtrl::SetCaption(const std::wstring& text)
{
    if (m_bCaptionInFrame) {
        m_frame.SetWindowText(text);
        return;
    }
    m_captionLabel.SetWindowText(text);
    CClientDC dc(&m_captionLabel);
    const CSize extent = dc.GetTextExtent(text);
    const CRect rect = ChildRect(m_captionLabel);
    m_captionLabel.MoveWindow(rect.left, rect.top, extent.cx - 5, rect.Height(), true);
}

float CExtSliderCtrl::Clamp(float fValue) const
{
    return LimitFloat(fValue, m_fMin, m_fMax);
}

int CExtSliderCtrl::PositionCount(float fStep) const
{
    return std::max(0, TruncToInt((m_fMax - m_fMin) / fStep));
}

int CExtSliderCtrl::ValueToPosition(float fValue) const
{
    // An empty range or an empty trackbar has one place only.
    const float range = m_fMax - m_fMin;
    if (range == 0.0f)
        return 0;
    return TruncToInt((fValue - m_fMin) / range * float(m_nMaxPos - m_nMinPos));
}

float CExtSliderCtrl::PositionToValue(int nPos) const
{
    const int span = m_nMaxPos - m_nMinPos;
    if (span == 0)
        return m_fMin;
    const int x = m_bReversed ? m_nMaxPos - nPos : nPos;
    return float(x) / float(span) * (m_fMax - m_fMin) + m_fMin;
}

std::wstring CExtSliderCtrl::FormatValue(float fValue) const
{
    // A negative precision is no precision, as with "%.*f".
    return FromAnsi(FormatReal(fValue, m_nPrecision < 0 ? 6 : m_nPrecision));
}

bool CExtSliderCtrl::UpdateValue(int nSource)
{
    if (nSource == SOURCE_TRACKBAR) {
        if (m_nCurPos == m_nPrevPos)
            return false;
        m_fValue = PositionToValue(m_nCurPos);
        m_nPrevPos = m_nCurPos;
    } else if (nSource != SOURCE_VALUE) {
        return false;
    }
    m_fValue = Clamp(m_fValue);
    m_edit.SetWindowText(FormatValue(m_fValue));
    if (nSource != SOURCE_TRACKBAR) {
        const int pos = ValueToPosition(m_fValue);
        m_trackbar.SetPos(m_bReversed ? m_nMaxPos - pos : pos);
        m_trackbar.Invalidate();
    }
    if (!m_bSilent)
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_VALUE_CHANGED, WPARAM(GetDlgCtrlID()), FloatToParam(m_fValue));
    return true;
}

void CExtSliderCtrl::SetRange(float fMin, float fMax)
{
    m_fMin = fMin;
    m_fMax = fMax;
    m_fValue = Clamp(m_fValue);
    if (m_fStep != 0.0f) {
        m_nMinPos = 0;
        m_nMaxPos = PositionCount(m_fStep);
        m_trackbar.SetRange(m_nMinPos, m_nMaxPos, false);
    }
    // The selection band in the middle 60 %.
    const int span = m_nMaxPos - m_nMinPos;
    const int d = TruncToInt(span * 0.3);
    m_trackbar.SetSelection(m_nMinPos + span / 2 - d, m_nMinPos + span / 2 + d);
    UpdateValue(SOURCE_VALUE);
    UpdateLabels();
}

void CExtSliderCtrl::SetSelection(float fFrom, float fTo)
{
    const int from = ValueToPosition(Clamp(fFrom));
    const int to = ValueToPosition(Clamp(fTo));
    if (m_bReversed)
        m_trackbar.SetSelection(m_nMaxPos - to, m_nMaxPos - from);
    else
        m_trackbar.SetSelection(from, to);
    m_trackbar.Invalidate();
    m_trackbar.UpdateWindow();
}

void CExtSliderCtrl::SetStep(float fStep)
{
    // A step of 0 or less (or none at all) means no step.
    m_fStep = fStep > 0.0f ? fStep : 0.0f;
    m_nMinPos = 0;
    m_nMaxPos = m_fStep == 0.0f ? kDefaultPositions : PositionCount(m_fStep);
    m_trackbar.SetRange(m_nMinPos, m_nMaxPos, false);
}

void CExtSliderCtrl::SetReversed()
{
    if (!m_bReversed)
        return;
    m_bReversed = false;
    UpdateLabels();
    UpdateValue(SOURCE_VALUE);
}

void CExtSliderCtrl::UpdateLabels()
{
    const std::wstring maxText = FormatValue(m_fMax);
    const std::wstring minText = FormatValue(m_fMin);
    m_topLabel.SetWindowText(m_bReversed ? maxText : minText);
    m_bottomLabel.SetWindowText(m_bReversed ? minText : maxText);
}

CRect CExtSliderCtrl::ChildRect(const CWnd& child) const
{
    CRect rect;
    child.GetWindowRect(&rect);
    CPoint topLeft = rect.TopLeft();
    ScreenToClient(&topLeft);
    return CRect(topLeft, rect.Size());
}

void CExtSliderCtrl::OnSize(UINT, int cx, int cy)
{
    if (m_frame.GetSafeHwnd())
        LayoutChildren(cx, cy);
}

void CExtSliderCtrl::LayoutChildren(int cx, int cy)
{
    const int textWidth = m_textExtent.cx;
    const int textHeight = m_textExtent.cy;
    m_frame.MoveWindow(0, 0, cx, cy, true);
    const CRect caption = ChildRect(m_captionLabel);
    m_captionLabel.MoveWindow(5, 18, caption.Width(), caption.Height(), true);
    CRect track;
    if (IsVertical()) {
        track = CRect(1, 15, 1 + 41, 15 + cy - 18);
    } else {
        track = CRect(1, 15, cx - 9, 15 + 35);
        if (m_bCaptionBeside)
            track.left += 5 + caption.Width();
        if (m_bEditBeside)
            track.right -= textWidth + 7;
    }
    m_trackbar.MoveWindow(&track, true);
    const int boxHeight = textHeight + 7;
    m_edit.MoveWindow(track.right + 1, (track.top + track.bottom) / 2 - boxHeight / 2, textWidth + 7, boxHeight, true);
    m_topLabel.MoveWindow(track.right + 1, track.top + 6, textWidth, textHeight, true);
    m_bottomLabel.MoveWindow(track.right + 1, track.bottom - textHeight - 6, textWidth, textHeight, true);
}
