#pragma once
// The background removal dialog: one profile of the open project, computed from the
// document's matrix with migration and background removal switched off, previewed with
// migration and the running-mean removal as the user switches them, with the removal's
// window, the profile direction and position, and contrast and time gain in their own
// pop-ups. The settings change live; the undo copy puts them back on Cancel, and the caller
// rebuilds the matrix, or reads it back from its cache, after the dialog ends.

#include "Container.h"
#include "Dialog.h"
#include "ExtSliderCtrl.h"
#include "LayoutTable.h"
#include "ProfileSideViewCtrl.h"
#include "ProjectSettings.h"
#include "ResourceIds.h"
#include "SliderPopupPair.h"

class C3DMatrix;
class CProject;

class BackgroundRemovalDlg : public CDialog
{
public:
    enum : UINT { IDD = IDD_BKGR_REMOVAL };
    // Minimum tracking size in pixels.
    enum : int { MIN_TRACK_WIDTH = 300, MIN_TRACK_HEIGHT = 360 };

    explicit BackgroundRemovalDlg(CWnd* pParent);
    ~BackgroundRemovalDlg() override;

    // Binds the project and the matrix (not owned) and keeps the undo copy of the settings
    // and the cross-hair, which OK and Cancel both put back.
    void SetData(CProject* pProject, C3DMatrix* pMatrix);
    INT_PTR DoModal() override;

    // The migration, the removal switch or its window differ from the undo copy; read by the
    // caller after the dialog ended.
    bool m_bDataChanged = false;

    CProfileSideViewCtrl& GetDataView() { return m_dataView; }
    CExtSliderCtrl& GetWindowSlider() { return m_windowSlider; }
    CExtSliderCtrl& GetPositionSlider() { return m_posSlider; }
    // Null while closed.
    CSliderDialog* GetContrastDlg() const { return m_popups.GetContrastDlg(); }
    CSliderDialog* GetTimeGainDlg() const { return m_popups.GetTimeGainDlg(); }
    // 1 X-profiles, 2 Y-profiles.
    int GetProfileDir() const { return m_nProfileDir; }
    float GetContrastFactor() const { return m_fContrastFactor; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) override;
    void PostNcDestroy() override;

private:
    void BuildLayout();
    void RebuildPreview();
    void AutoContrastFactorCalc();
    void UpdateInterface();
    void UpdateSide();
    // Shows the profile line nearest to a position in metres along the lines' spacing.
    void ShowProfileAt(float fPosition);
    void SetViewMode(int nMode);
    void SetRemoval(bool bOn);
    void SwitchDirection(int nDirection);
    void StoreSettings(bool bKeep);
    void CloseDialog(bool bOk);
    void BroadcastData(WORD code, int value);
    LRESULT OnValueChanged(WPARAM wParam, LPARAM lParam);

    HWND m_hParentWnd; // a parent gone meanwhile is told nothing
    CExtSliderCtrl m_windowSlider;
    CExtSliderCtrl m_posSlider;
    CProfileSideViewCtrl m_dataView;

    // Left column, right part and the whole client area.
    CLayoutTable m_leftTable;
    CLayoutTable m_rightTable;
    CLayoutTable m_topTable;
    CContainer m_popupButtons;
    CContainer m_migrationGroup;
    CContainer m_removalGroup;
    CContainer m_windowGroup;
    CContainer m_directionGroup;
    CContainer m_positionGroup;
    CContainer m_okCancel;
    bool m_bLaidOut = false;

    CSliderPopupPair m_popups;

    // Metres along the profile axis, for X-profiles and Y-profiles.
    float m_fPosition[2] = {0.0f, 0.0f};
    bool m_bBound = false;
    bool m_bInitialized = false;
    bool m_bModal = false;
    int m_nPositionDecimals = 2;

    CProject* m_pProject = nullptr;
    C3DMatrix* m_pMatrix = nullptr;
    CProjectSettings m_settings; // the undo copy
    float m_fCursorX = 0.0f;
    float m_fCursorY = 0.0f;
    float m_fCursorDepth = 0.0f;

    int m_nProfileDir = 1;
    int m_nViewMode = 1; // the profile view's modes: 1 plain, 2 migration
    float m_fContrastFactor = 0.0f;
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
};
