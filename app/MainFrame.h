#pragma once
// The main window: the toolbar with the data tools, the status bar with the coordinate and
// material panes, the remembered window rectangle, and the tool windows that the toolbar
// opens (the contrast and time-gain pop-ups, at most one of each). It is the hub of the
// program's notifications: it takes what the view and the tool windows send or post to it,
// rewrites its panes and broadcasts the tools' changes and the drawing events to its
// descendants; its own broadcasts reach neither itself nor its owned windows.

#include "FrameWnd.h"
#include "SliderDialog.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "TraceViewDlg.h"

#include <memory>

class CProjectSettings;

class CDrawToolDlg;
class BackgroundRemovalDlg;
class CVelocitySettingsDlg;
class CProject;

class CMainFrame : public CFrameWnd
{
public:
    CMainFrame();
    ~CMainFrame() override;

    CToolBar& GetToolBar() { return m_wndToolBar; }
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }
    // Null while the pop-up does not exist.
    CSliderDialog* GetContrastDlg() const { return m_pContrastDlg.get(); }
    CSliderDialog* GetTimeGainDlg() const { return m_pTimeGainDlg.get(); }
    CDrawToolDlg* GetDrawToolDlg() const { return m_pDrawToolDlg.get(); }
    CTraceViewDlg* GetTraceViewDlg() const { return m_pTraceViewDlg.get(); }

    // Pane 0: the cross-hair (bSet) or the hover position in the project's units.
    void UpdateCoordinatePane(bool bSet);
    // Pane 2: the project's material and velocity.
    void UpdateMaterialPane();
    // WM_DATA_CHANGED to the descendants, and to the trace view window for the codes that
    // change what it draws (recomputed data, a new zero level).
    void BroadcastDataChanged(WPARAM wParam, LPARAM lParam);

protected:
    bool PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT pCreate) override;
    void OnClose() override;
    void OnDestroy() override;
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) override;

private:
    // The active document's project while one is loaded, else null.
    CProject* GetProject() const;

    void OnToolbarContrast();
    void OnToolbarTimeGain();
    void OnToolbarTraceView();
    void OnToolbarDrawTool();
    void OnToolbarObjects();
    void OnToolbarEmData();
    void OnToolbarVelocity();
    void OnToolbarBKGRRemoval();
    void OnUpdateToolbar(CCmdUI* pCmdUI);

    LRESULT OnCursorMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnValueChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnDataChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnToolClosed(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawingEvent(WPARAM wParam, LPARAM lParam);

    // Activates the pop-up, or makes it at its remembered place (configuration key nPosKey).
    void OpenSliderDialog(std::unique_ptr<CSliderDialog>& pDlg, UINT nNotifyID, const wchar_t* pszTitle, int nMax,
                          int nPos, UINT nPosKey);
    // After the pop-up's window is gone: its place is remembered and the object deleted.
    void ForgetSliderDialog(std::unique_ptr<CSliderDialog>& pDlg, UINT nPosKey);
    // Open pop-ups show the bound project's contrast and time gain.
    void ShowProjectInPopups();
    // The visibility button's icon from the drawing-object manager's mode.
    void SetObjectsIcon();
    // After the drawing tool window is gone: drawing mode off in the views, the object deleted.
    void ForgetDrawTool();
    // The trace view window takes the project's cross-hair and zero level, then the message.
    void ForwardToTraceView(WPARAM wParam, LPARAM lParam);
    // Broadcast to the descendants with the frame's id.
    void Broadcast(UINT message, LPARAM lParam);
    // The display values a modal tool may keep on OK; the views render them from the matrix,
    // new or not, only when told.
    struct CDisplayValues
    {
        explicit CDisplayValues(const CProjectSettings& s);
        int32_t m_iContrast;
        int32_t m_iTimeGain;
        int32_t m_iAperture;
    };
    // The views are told of each display value that differs from before the tool ran.
    void BroadcastDisplayChanges(const CDisplayValues& before, const CProjectSettings& s);

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    std::unique_ptr<CSliderDialog> m_pContrastDlg;
    std::unique_ptr<CSliderDialog> m_pTimeGainDlg;
    std::unique_ptr<CDrawToolDlg> m_pDrawToolDlg;
    std::unique_ptr<CTraceViewDlg> m_pTraceViewDlg;
    CVelocitySettingsDlg* m_pVelocityDlg = nullptr; // while it runs
    BackgroundRemovalDlg* m_pBkgrRemovalDlg = nullptr; // while it runs
};
