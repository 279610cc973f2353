#include "SliderPopupPair.h"

#include "Controls.h"
#include "Messages.h"
#include "Resources.h"

#include "ProjectSettings.h"

namespace {
constexpr int kContrastMax = 100;
constexpr int kTimeGainMax = 255;
} // namespace

CSliderPopupPair::CSliderPopupPair(CDialog& owner, UINT nNotifyID) : m_owner(owner), m_nNotifyID(nNotifyID)
{
}

CSliderPopupPair::~CSliderPopupPair() = default;

void CSliderPopupPair::SetButtonIcons(UINT nContrastButton, UINT nTimeGainButton)
{
    if (auto* pButton = dynamic_cast<CButton*>(m_owner.GetDlgItem(int(nContrastButton))))
        pButton->SetIcon(AfxFindIcon(IDI_CONTRAST));
    if (auto* pButton = dynamic_cast<CButton*>(m_owner.GetDlgItem(int(nTimeGainButton))))
        pButton->SetIcon(AfxFindIcon(IDI_TIME_GAIN));
}

void CSliderPopupPair::OpenContrast(int nPos)
{
    Open(m_pContrastDlg, ID_SENDER_CONTRAST, L"Contrast:", kContrastMax, nPos);
}

void CSliderPopupPair::OpenTimeGain(int nPos)
{
    Open(m_pTimeGainDlg, ID_SENDER_TIME_GAIN, L"Time gain:", kTimeGainMax, nPos);
}

void CSliderPopupPair::Open(std::unique_ptr<CSliderDialog>& pPopup, UINT nSender, const wchar_t* pszCaption, int nMax,
                            int nPos)
{
    if (pPopup) {
        pPopup->SetActiveWindow();
        return;
    }
    std::unique_ptr<CSliderDialog> pNew = CSliderDialog::Make(nSender, &m_owner, pszCaption, nMax, nPos);
    if (!pNew)
        return;
    pNew->ShowWindow(SW_SHOW);
    pPopup = std::move(pNew);
}

bool CSliderPopupPair::OnValueChanged(WPARAM nSender, CProjectSettings& settings)
{
    if (nSender == ID_SENDER_CONTRAST) {
        if (m_pContrastDlg) {
            settings.m_iContrast = m_pContrastDlg->m_nPos;
            Broadcast(DATA_CONTRAST, settings.m_iContrast);
        }
        return true;
    }
    if (nSender == ID_SENDER_TIME_GAIN) {
        if (m_pTimeGainDlg) {
            settings.m_params.m_iTimeGain = m_pTimeGainDlg->m_nPos;
            Broadcast(DATA_TIME_GAIN, settings.m_params.m_iTimeGain);
        }
        return true;
    }
    return false;
}

void CSliderPopupPair::OnToolClosed(WPARAM nSender)
{
    if (nSender == ID_SENDER_CONTRAST)
        m_pContrastDlg.reset();
    else if (nSender == ID_SENDER_TIME_GAIN)
        m_pTimeGainDlg.reset();
}

void CSliderPopupPair::Close()
{
    m_pContrastDlg.reset();
    m_pTimeGainDlg.reset();
}

void CSliderPopupPair::Broadcast(WORD code, int value)
{
    m_owner.SendMessageToDescendants(WM_DATA_CHANGED, WPARAM(m_nNotifyID), MakeCodeParam(code, value));
}
