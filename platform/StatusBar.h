#pragma once
// The frame's status bar: a row of panes, one per indicator id, each as wide as the text of
// its id in the string table; a pane with SBPS_STRETCH takes the width that is left. The
// idle update pass asks each indicator's update handler (a disabled pane shows no text).
// While the mouse is over a menu item or a toolbar button, its status prompt is shown over
// the panes; the panes come back unchanged when it goes.

#include "ControlBar.h"

#include <vector>

class QLabel;

// Pane styles.
enum : UINT { SBPS_NORMAL = 0x0000, SBPS_NOBORDERS = 0x0100, SBPS_DISABLED = 0x04000000, SBPS_STRETCH = 0x08000000 };
// The status bar's own id among the frame's children (View > Status Bar has the same number).
enum : UINT { AFX_IDW_STATUS_BAR = 0xE801 };

class CStatusBar : public CControlBar
{
public:
    // At the bottom of the frame pParentWnd.
    bool Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id, sized by and showing its string; false when an id has no string.
    bool SetIndicators(const UINT* pIDArray, int nIDCount);

    int GetCount() const { return int(m_panes.size()); }
    // -1 when no pane has the id.
    int CommandToIndex(UINT nID) const;
    UINT GetItemID(int nIndex) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    // cxWidth is the width of the pane's text; a stretching pane is at least that wide.
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    bool SetPaneText(int nIndex, const std::wstring& text, bool bUpdate = true);
    std::wstring GetPaneText(int nIndex) const;
    // Shown in the bar (while no prompt covers the panes).
    bool IsPaneShown(int nIndex) const;
    // The width the pane has on the screen now, frame included.
    int GetPaneWidth(int nIndex) const;
    // The prompt shown over the panes, empty when the panes show.
    std::wstring GetMessageText() const;

    void OnUpdateCmdUI(CCmdTarget* pTarget, bool bDisableIfNoHndler) override;

protected:
    QWidget* CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget) override;

private:
    struct CPane
    {
        UINT nID;
        UINT nStyle;
        int cxText;
        std::wstring text;
        QLabel* pLabel;
    };
    // Label text, width and stretch from the pane's state.
    void ApplyPane(const CPane& pane) const;
    void Clear();

    std::vector<CPane> m_panes;
};
