#pragma once
// The contrast and time-gain pop-ups of a dialog that previews a profile: modeless children
// of the dialog that live at most as long as it. Their positions go straight into the
// project's settings and are broadcast to the dialog's descendants as WM_DATA_CHANGED with
// the dialog's notify id.

#include "SliderDialog.h"

#include <memory>

class CButton;
class CProjectSettings;

class CSliderPopupPair
{
public:
    CSliderPopupPair(CDialog& owner, UINT nNotifyID);
    ~CSliderPopupPair();

    // Puts the pop-ups' icons on the owner's two buttons.
    void SetButtonIcons(UINT nContrastButton, UINT nTimeGainButton);
    // An open pop-up is brought to the front; a closed one is created at the position.
    void OpenContrast(int nPos);
    void OpenTimeGain(int nPos);
    // WM_VALUE_CHANGED from a pop-up: writes its position into the settings and broadcasts
    // it. False for any other sender.
    bool OnValueChanged(WPARAM nSender, CProjectSettings& settings);
    // WM_TOOL_CLOSED from a pop-up: deletes it.
    void OnToolClosed(WPARAM nSender);
    // Deleted with their windows: they tell nobody that they went.
    void Close();

    // Null while closed.
    CSliderDialog* GetContrastDlg() const { return m_pContrastDlg.get(); }
    CSliderDialog* GetTimeGainDlg() const { return m_pTimeGainDlg.get(); }

private:
    void Open(std::unique_ptr<CSliderDialog>& pPopup, UINT nSender, const wchar_t* pszCaption, int nMax, int nPos);
    void Broadcast(WORD code, int value);

    CDialog& m_owner;
    UINT m_nNotifyID;
    std::unique_ptr<CSliderDialog> m_pContrastDlg;
    std::unique_ptr<CSliderDialog> m_pTimeGainDlg;
};
