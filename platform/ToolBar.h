#pragma once
// The frame's toolbar: buttons and separators from a toolbar resource, each button with its
// image from the resource's strip, its tool tip (the text after the line feed of its
// command's string) and its status prompt (the text before it). A pressed button sends its
// command to the frame as a menu item does. Check buttons keep a pressed state; what the
// program sets (enabled, checked, image) notifies nobody.

#include "ControlBar.h"

#include <QImage>
#include <vector>

class QAction;

// Button styles.
enum : UINT { TBBS_BUTTON = 0x00, TBBS_SEPARATOR = 0x01, TBBS_CHECKBOX = 0x02 };
// The toolbar's own id among the frame's children (View > Toolbar has the same number).
enum : UINT { AFX_IDW_TOOLBAR = 0xE800 };

class CToolBar : public CControlBar
{
public:
    // Docked at the top of the frame pParentWnd.
    bool Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_TOOLBAR);
    // Replaces the buttons by those of the resource; false when it or its images are missing.
    bool LoadToolBar(UINT nIDResource);

    // Buttons and separators count alike.
    int GetCount() const { return int(m_buttons.size()); }
    // -1 when no button has the command.
    int CommandToIndex(UINT nID) const;
    UINT GetItemID(int nIndex) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    // The button's image from an icon, fitted to the button size; false without an icon.
    bool SetButtonImage(int nIndex, HICON hIcon);
    // The image the button shows now (a null image for a separator).
    QImage GetButtonImage(int nIndex) const;

    bool EnableButton(UINT nID, bool bEnable = true);
    bool CheckButton(UINT nID, bool bCheck = true);
    bool IsButtonEnabled(UINT nID) const;
    bool IsButtonChecked(UINT nID) const;
    std::wstring GetButtonToolTip(UINT nID) const;
    std::wstring GetButtonStatusPrompt(UINT nID) const;
    // As if the user pressed the button: nothing happens while it is disabled.
    void PressButton(UINT nID);

    void OnUpdateCmdUI(CCmdTarget* pTarget, bool bDisableIfNoHndler) override;

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    struct CButton
    {
        UINT nID;
        UINT nStyle;
        QAction* pAction;
        QImage image;
    };
    QAction* FindAction(UINT nID) const;
    void Clear();

    std::vector<CButton> m_buttons;
    int m_cxImage = 16;
    int m_cyImage = 15;
};
