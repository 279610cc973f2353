#include "NumericEdit.h"

#include "DC.h"
#include "Messages.h"
#include "Values.h"

#include <algorithm>

namespace {
constexpr int kSpinWidth = 16;
constexpr UINT kStaticID = 65535;
constexpr int kUnitWidth = 40;
} // namespace

bool CNumericEdit::CEncapEdit::GetBoundText(int value, std::wstring& text) const
{
    if (value >= m_nMin && value <= m_nMax)
        return false;
    text = std::to_wstring(value < m_nMin ? m_nMin : m_nMax);
    return true;
}

CNumericEdit::CNumericEdit()
{
    MapMessage(WM_VSCROLL, [this](WPARAM wParam, LPARAM lParam) {
        if (reinterpret_cast<HWND>(lParam) == m_spin.GetSafeHwnd())
            ReportIfChanged(GetScrollParamPos(wParam));
        return LRESULT(0);
    });
    MapMessage(WM_EDIT_ENTER, [this](WPARAM, LPARAM) {
        ReportIfChanged(GetPos());
        if (m_edit.GetWindowText().empty())
            m_edit.SetWindowText(L"0");
        m_spin.SetFocus();
        return LRESULT(0);
    });
    MapMessage(WM_EDIT_RESYNC, [this](WPARAM, LPARAM) {
        m_nLastValue = GetPos();
        return LRESULT(0);
    });
    MapMessage(WM_SETFONT, [this](WPARAM wParam, LPARAM) {
        CFont* pFont = reinterpret_cast<CFont*>(wParam);
        m_edit.SetFont(pFont, true);
        FitToText(m_pLabel.get(), pFont);
        FitToText(m_pUnit.get(), pFont);
        CRect client;
        GetClientRect(&client);
        RecalcLayout(client.Width(), client.Height());
        return LRESULT(0);
    });
}

CNumericEdit::~CNumericEdit()
{
    // The handlers above need the whole object.
    DestroyWindow();
}

bool CNumericEdit::Create(const CRect& rect, CWnd* pParent, UINT nID)
{
    if (!CWnd::Create(L"", WS_CHILD | WS_VISIBLE, rect, pParent, nID))
        return false;
    m_pLabel.reset();
    m_pUnit.reset();
    const DWORD editStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_NUMBER | (m_bRightAligned ? ES_RIGHT : ES_LEFT);
    const DWORD spinStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS;
    if (!m_edit.Create(L"", editStyle, CRect(0, 0, rect.Width(), rect.Height()), this, IDC_EDIT) ||
        !m_spin.Create(L"", spinStyle, CRect(0, 0, kSpinWidth, rect.Height()), this, IDC_SPIN))
        return false;
    m_spin.SetBuddy(&m_edit);
    SetRange(-900, 900);
    SetPos(0);
    RecalcLayout(rect.Width(), rect.Height());
    return true;
}

std::unique_ptr<CStatic> CNumericEdit::MakeStatic(const std::wstring& text, int nWidth)
{
    CRect edit;
    m_edit.GetWindowRect(&edit);
    CFont* pFont = m_edit.GetFont();
    // Never narrower than the text in the box's font, which a substitute font may set wider.
    if (pFont)
        nWidth = std::max(nWidth, int(TextExtent(text, pFont).cx));
    auto pStatic = std::make_unique<CStatic>();
    // One line: Qt would wrap a text of several words that is a fraction wider than its extent.
    if (!pStatic->Create(text, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, CRect(0, 2, nWidth, 2 + edit.Height() - 4),
                         this, kStaticID))
        return nullptr;
    if (pFont)
        pStatic->SetFont(pFont, true);
    return pStatic;
}

void CNumericEdit::SetLabel(const std::wstring& text, int nWidth)
{
    m_pLabel = MakeStatic(text, nWidth);
    CRect client;
    GetClientRect(&client);
    RecalcLayout(client.Width(), client.Height());
}

void CNumericEdit::SetUnit(const std::wstring& text)
{
    m_pUnit = MakeStatic(text, kUnitWidth);
    CRect client;
    GetClientRect(&client);
    RecalcLayout(client.Width(), client.Height());
}

void CNumericEdit::SetPos(int nValue)
{
    m_spin.SetPos(nValue);
}

int CNumericEdit::GetPos()
{
    bool bError = false;
    const int pos = m_spin.GetPos(&bError);
    return bError ? m_edit.NormaliseText() : pos;
}

void CNumericEdit::SetRange(int nMin, int nMax)
{
    const int current = m_spin.GetPos();
    m_spin.SetRange(nMin, nMax);
    m_edit.m_nMin = nMin;
    m_edit.m_nMax = nMax;
    if (current < nMin)
        SetPos(nMin);
    else if (current > nMax)
        SetPos(nMax);
}

void CNumericEdit::RecalcLayout(int cx, int cy)
{
    CRect label, spin, unit;
    if (m_pLabel)
        m_pLabel->GetClientRect(&label);
    if (m_pUnit)
        m_pUnit->GetClientRect(&unit);
    m_spin.GetClientRect(&spin);
    const int labelRoom = m_pLabel ? label.Width() + 5 : 0;
    int x = cx - spin.Width();
    if (m_pUnit)
        x -= unit.Width() + 5;
    const int editLeft = std::min(labelRoom, x);
    m_edit.MoveWindow(editLeft, 0, x - editLeft, cy, true);
    if (m_pLabel)
        m_pLabel->MoveWindow(0, 2, label.Width(), cy - 2, true);
    m_spin.MoveWindow(x, 0, spin.Width(), cy, true);
    if (m_pUnit)
        m_pUnit->MoveWindow(x + spin.Width() + 5, 2, unit.Width(), cy - 2, true);
}

void CNumericEdit::OnSize(UINT, int cx, int cy)
{
    if (m_edit.GetSafeHwnd())
        RecalcLayout(cx, cy);
}

void CNumericEdit::ReportIfChanged(int value)
{
    if (value == m_nLastValue)
        return;
    m_nLastValue = value;
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(WM_VALUE_CHANGED, WPARAM(GetDlgCtrlID()), LPARAM(value));
}

void CNumericEdit::FitToText(CStatic* pStatic, CFont* pFont)
{
    if (!pStatic)
        return;
    pStatic->SetFont(pFont, true);
    const CSize extent = TextExtent(pStatic->GetWindowText(), pFont);
    pStatic->MoveWindow(0, 0, extent.cx, extent.cy, true);
}

CSize CNumericEdit::TextExtent(const std::wstring& text, CFont* pFont)
{
    CClientDC dc(this);
    if (pFont)
        dc.SelectObject(pFont);
    return dc.GetTextExtent(text);
}
