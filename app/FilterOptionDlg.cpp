#include "FilterOptionDlg.h"

#include "Controls.h"
#include "GdiObjects.h"
#include "ResourceIds.h"

#include "MessageLog.h"
#include "Project.h"
#include "Values.h"

namespace {
// Size of a value edit before it is placed beside its label.
constexpr int kEditWidth = 50;
constexpr int kEditHeight = 18;
// The edits in the order they are made; OK checks them in kCheckOrder.
constexpr UINT kCreateOrder[] = {IDC_FO_FIR_HIGH, IDC_FO_FIR_LOW, IDC_FO_TG_START, IDC_FO_TG_LINEAR,
                                 IDC_FO_TG_EXPONENT};
constexpr UINT kCheckOrder[] = {IDC_FO_TG_START, IDC_FO_TG_LINEAR, IDC_FO_TG_EXPONENT, IDC_FO_FIR_LOW,
                                IDC_FO_FIR_HIGH};
// The start of the time gain ranges up to the project's samples; this many until one is bound.
constexpr int kDefaultSamples = 1000;

std::wstring LimitMessage(const wchar_t* pszName, bool bBelow, int limit)
{
    return std::wstring(pszName) + (bBelow ? L" value is below minimum value. Limit value is "
                                           : L" value is above maximum value. Limit value is ") +
           std::to_wstring(limit) + L".";
}

CRect ChildRectInParent(const CWnd& child, const CWnd& parent)
{
    CRect rect;
    child.GetWindowRect(&rect);
    CPoint topLeft = rect.TopLeft();
    parent.ScreenToClient(&topLeft);
    return CRect(topLeft, rect.Size());
}
} // namespace

CFilterOptionDlg::CFilterOptionDlg() : CDialog(IDD_FILTER_OPTIONS)
{
    const struct
    {
        UINT nID;
        int nMin;
        int nMax;
        const wchar_t* pszName;
    } ranges[] = {
        {IDC_FO_FIR_HIGH, 10, 50, L"FIR Hight pass"},
        {IDC_FO_FIR_LOW, 1, 20, L"FIR Low pass"},
        {IDC_FO_TG_START, 0, kDefaultSamples, L"Time gain start"},
        {IDC_FO_TG_LINEAR, 100, 3000, L"Linear time gain"},
        {IDC_FO_TG_EXPONENT, 1, 1000, L"Exp. time gain"},
    };
    for (size_t i = 0; i < m_values.size(); ++i) {
        m_values[i].nID = ranges[i].nID;
        m_values[i].nMin = ranges[i].nMin;
        m_values[i].nMax = ranges[i].nMax;
        m_values[i].pszName = ranges[i].pszName;
    }
    MapCommand(IDC_FO_FIR_ON, [this] { OnFirClicked(); });
}

CFilterOptionDlg::CValue& CFilterOptionDlg::Value(UINT nID)
{
    for (CValue& value : m_values)
        if (value.nID == nID)
            return value;
    return m_values.front();
}

CNumericEdit* CFilterOptionDlg::GetValueEdit(UINT nID)
{
    CValue& value = Value(nID);
    return value.nID == nID && value.edit.GetSafeHwnd() ? &value.edit : nullptr;
}

int CFilterOptionDlg::GetField(UINT nID) const
{
    const CProcessingParams& params = m_pProject->m_settings.m_params;
    switch (nID) {
    case IDC_FO_FIR_HIGH: return int(params.m_iFirHigh);
    case IDC_FO_FIR_LOW: return int(params.m_iFirLow);
    case IDC_FO_TG_START: return params.m_iTgStart;
    case IDC_FO_TG_LINEAR: return params.m_iTgLinear;
    default: return params.m_iTgExponent;
    }
}

void CFilterOptionDlg::SetField(UINT nID, int value)
{
    CProcessingParams& params = m_pProject->m_settings.m_params;
    switch (nID) {
    case IDC_FO_FIR_HIGH: params.m_iFirHigh = uint32_t(value); break;
    case IDC_FO_FIR_LOW: params.m_iFirLow = uint32_t(value); break;
    case IDC_FO_TG_START: params.m_iTgStart = value; break;
    case IDC_FO_TG_LINEAR: params.m_iTgLinear = value; break;
    default: params.m_iTgExponent = value; break;
    }
}

void CFilterOptionDlg::LoadSettings(CProject* pProject)
{
    if (!pProject)
        return;
    m_pProject = pProject;
    m_saved = pProject->m_settings;
    m_bBound = true;
    if (!m_bInitialized)
        return;
    CValue& start = Value(IDC_FO_TG_START);
    start.nMax = pProject->m_settings.m_iSamples;
    start.edit.SetRange(start.nMin, start.nMax);
    for (CValue& value : m_values)
        value.edit.SetPos(GetField(value.nID));
}

bool CFilterOptionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The labels first: the edits take their ids.
    for (CValue& value : m_values)
        value.pLabel = dynamic_cast<CStatic*>(GetDlgItem(int(value.nID)));
    CFont* pFont = static_cast<CFont*>(GetStockObject(ANSI_VAR_FONT));
    for (UINT nID : kCreateOrder) {
        CValue& value = Value(nID);
        if (!value.edit.Create(CRect(0, 0, kEditWidth, kEditHeight), this, nID)) {
            g_messageLog.Log(LOG_ERROR, "CFilterOptionDlg: the edit %u could not be created.", nID);
            continue;
        }
        value.edit.SetRange(value.nMin, value.nMax);
        value.edit.SetPos(0);
        value.edit.SetFont(pFont, false);
        if (value.pLabel) {
            const CRect label = ChildRectInParent(*value.pLabel, *this);
            value.edit.MoveWindow(label.right + 5, label.top - 2, kEditWidth, kEditHeight);
        }
    }
    m_bInitialized = true;
    if (m_bBound)
        LoadSettings(m_pProject);
    UpdateFirEnabling();
    return true;
}

void CFilterOptionDlg::UpdateFirEnabling()
{
    const bool bOn = m_pProject && m_pProject->m_settings.m_params.m_bFirOn;
    if (auto* pCheck = dynamic_cast<CButton*>(GetDlgItem(IDC_FO_FIR_ON)))
        pCheck->SetCheck(bOn ? BST_CHECKED : BST_UNCHECKED);
    if (CWnd* pGroup = GetDlgItem(IDC_FO_FIR_GROUP))
        pGroup->EnableWindow(bOn);
    for (UINT nID : {IDC_FO_FIR_LOW, IDC_FO_FIR_HIGH}) {
        CValue& value = Value(nID);
        if (value.pLabel)
            value.pLabel->EnableWindow(bOn);
        if (value.edit.GetSafeHwnd())
            value.edit.EnableWindow(bOn);
    }
}

void CFilterOptionDlg::OnFirClicked()
{
    if (!m_pProject)
        return;
    const auto* pCheck = dynamic_cast<CButton*>(GetDlgItem(IDC_FO_FIR_ON));
    if (!pCheck)
        return;
    m_pProject->m_settings.m_params.m_bFirOn = pCheck->GetCheck() == BST_CHECKED;
    UpdateFirEnabling();
}

bool CFilterOptionDlg::CheckValue(CValue& value)
{
    // The text as a signed number, so that a typed value the spin cannot hold is seen too; a
    // text that is no number (empty, or pasted) lies below every range.
    const std::wstring text = value.edit.GetEdit().GetWindowText();
    long long typed = 0;
    const bool bNumber = !text.empty() && CSpinButtonCtrl::ReadNumber(text, typed);
    if (bNumber && typed >= value.nMin && typed <= value.nMax)
        return true;
    const bool bBelow = !bNumber || typed < value.nMin;
    const int limit = bBelow ? value.nMin : value.nMax;
    value.edit.SetPos(limit);
    MessageBox(LimitMessage(value.pszName, bBelow, limit), std::wstring(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CFilterOptionDlg::OnOK()
{
    if (!HasFocus(IDOK))
        return;
    if (!m_pProject) {
        EndDialog(IDOK);
        return;
    }
    for (UINT nID : kCheckOrder)
        if (!CheckValue(Value(nID)))
            return;
    for (CValue& value : m_values)
        SetField(value.nID, ReadInt(ToAnsi(value.edit.GetEdit().GetWindowText())));

    const CProcessingParams& now = m_pProject->m_settings.m_params;
    const CProcessingParams& before = m_saved.m_params;
    m_bFirChanged = (now.m_bFirOn && (now.m_iFirHigh != before.m_iFirHigh || now.m_iFirLow != before.m_iFirLow)) ||
                    now.m_bFirOn != before.m_bFirOn;
    m_bTimeGainChanged = now.m_iTgStart != before.m_iTgStart || now.m_iTgLinear != before.m_iTgLinear ||
                         now.m_iTgExponent != before.m_iTgExponent;
    EndDialog(IDOK);
}

void CFilterOptionDlg::OnCancel()
{
    if (!HasFocus(IDCANCEL))
        return;
    if (m_pProject)
        m_pProject->m_settings = m_saved;
    EndDialog(IDCANCEL);
}
