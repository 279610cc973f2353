#pragma once
// A small modeless pop-up with one trackbar and a read-only box showing its whole-number
// position (dialog template 105). Every movement by the user is sent to the parent as
// WM_VALUE_CHANGED (the notify id, 0); the parent reads m_nPos. When the user closes it the
// window remembers its screen position and goes; afterwards WM_TOOL_CLOSED (the notify id, 0)
// is posted to the parent, which then deletes the object. Enter and Escape leave it open.

#include "Dialog.h"
#include "ResourceIds.h"

#include <memory>

class CEdit;
class CSliderCtrl;

class CSliderDialog : public CDialog
{
public:
    enum : UINT { IDD = IDD_SLIDER_DIALOG };

    CSliderDialog(UINT nNotifyID, CWnd* pParent);

    // A pop-up made over its owner with its caption, the range 1 .. nMax and the position,
    // not yet shown; null, with a log line, when the window cannot be made.
    static std::unique_ptr<CSliderDialog> Make(UINT nNotifyID, CWnd* pOwner, const wchar_t* pszCaption, int nMax,
                                               int nPos);

    // Moves the trackbar and shows the position; reports nothing.
    void SetPos(int nPos);
    // Null before the window exists.
    CSliderCtrl* GetSlider() const { return m_pSlider; }
    // The window's top-left corner on the screen when the user closed it; 0, 0 before.
    CPoint GetClosedPos() const { return {m_nLeft, m_nTop}; }
    UINT GetNotifyID() const { return m_nNotifyID; }

    int m_nPos = 0;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override;
    void PostNcDestroy() override;

private:
    LRESULT OnScroll(WPARAM wParam);

    UINT m_nNotifyID;
    CWnd* m_pNotifyWnd;
    HWND m_hNotifyWnd = nullptr; // a parent gone meanwhile is told nothing
    CSliderCtrl* m_pSlider = nullptr;
    CEdit* m_pEdit = nullptr;
    int m_nLeft = 0;
    int m_nTop = 0;
};
