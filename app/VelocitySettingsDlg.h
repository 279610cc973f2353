#pragma once
// The velocity settings dialog: the soil velocity, the material whose velocity range applies,
// and whether the data are shown plain, migrated or with hyperbolas to fit the velocity to a
// diffraction. One profile of either direction is previewed in an embedded profile view that
// the dialog's changes reach at once (and nothing outside the dialog); the dialog has its own
// contrast and time-gain pop-ups. The preview changes the project's settings and computes the
// matrix without migration; OK keeps velocity, material and migration switch and Cancel puts
// the settings back as they were. The caller, which keeps the matrix in its cache meanwhile,
// reads m_bDataChanged to decide between computing the matrix again and reloading it. OK and
// Cancel act only from their own focused buttons; the close box always cancels.

#include "Container.h"
#include "Dialog.h"
#include "ExtSliderCtrl.h"
#include "LayoutTable.h"
#include "ProfileSideViewCtrl.h"
#include "SliderPopupPair.h"

#include "ProjectSettings.h"

class C3DMatrix;
class CComboBox;
class CMaterial;
class CProject;

class CVelocitySettingsDlg : public CDialog
{
public:
    enum TOperation : int { OPERATION_NONE = 1, OPERATION_MIGRATION = 2, OPERATION_HYPERBOLAS = 3 };
    enum : int { DIRECTION_X = 1, DIRECTION_Y = 2 };
    // The window's id in its WM_TOOL_CLOSED and in what it broadcasts to its descendants.
    enum : UINT { NOTIFY_ID = 110 };

    explicit CVelocitySettingsDlg(CWnd* pParent);
    ~CVelocitySettingsDlg() override;

    // Binds the project and matrix (not owned) and keeps their settings and cross-hair to put
    // back; the operation follows the project's migration switch.
    void SetData(CProject* pProject, C3DMatrix* pMatrix);
    INT_PTR DoModal() override;

    // Velocity, material, processing parameters or contrast differ from what SetData found.
    bool m_bDataChanged = false;
    int m_iOperation = OPERATION_NONE;
    // The gain of the migrated preview.
    float m_fContrastFactor = 0.0f;

    CExtSliderCtrl& GetVelocitySlider() { return m_velocitySlider; }
    CExtSliderCtrl& GetPositionSlider() { return m_positionSlider; }
    CProfileSideViewCtrl& GetProfileCtrl() { return m_profileCtrl; }
    CComboBox* GetMaterialCombo() const;
    // Null while the pop-up is closed.
    CSliderDialog* GetContrastDlg() const { return m_popups.GetContrastDlg(); }
    CSliderDialog* GetTimeGainDlg() const { return m_popups.GetTimeGainDlg(); }
    int GetDirection() const { return m_nDirection; }
    // The material of the combo's selection, null without one.
    const CMaterial* GetSelectedMaterial() const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnEraseBkgnd(CDC* pDC) override;
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) override;
    void PostNcDestroy() override;

private:
    // Factor from metres to the project's length unit.
    double UnitFactor() const;
    // The velocity in whole metres per microsecond for a value of the slider, which is in the
    // project's unit: what the preview uses and OK stores.
    int WholeVelocity(float fSliderValue) const;
    void BuildLayout();
    // The matrix without migration and background removal, and the preview's gain.
    void InitPreview();
    void FillMaterialCombo();
    void UpdateProfileView();
    // The profile of the current direction at its remembered position.
    void LoadProfile();
    void UpdateDepthText();
    void UpdateSelectionBand();
    void SetOperation(int nOperation);
    void SetDirection(int nDirection);
    // Keeps (OK) or puts back (Cancel) the settings and decides m_bDataChanged.
    void RestoreSettings(bool bOk);
    void CancelDialog();
    void Broadcast(WORD code, int value);

    LRESULT OnValueChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCursorMoved(WPARAM wParam, LPARAM lParam);

    CProject* m_pProject = nullptr;
    C3DMatrix* m_pMatrix = nullptr;
    HWND m_hNotifyWnd = nullptr; // the parent, told when the window is gone
    CProjectSettings m_saved;
    float m_fSavedCursorX = 0.0f;
    float m_fSavedCursorY = 0.0f;
    float m_fSavedCursorDepth = 0.0f;
    int m_nDirection = DIRECTION_X;
    float m_fPositions[2] = {0.0f, 0.0f}; // the position slider's value last used per direction
    bool m_bInitialized = false;          // SetData ran
    bool m_bReady = false;                // OnInitDialog ran
    bool m_bModal = false;

    CExtSliderCtrl m_velocitySlider;
    CExtSliderCtrl m_positionSlider;
    CProfileSideViewCtrl m_profileCtrl;
    CSliderPopupPair m_popups;

    CContainer m_popupGroup;
    CContainer m_operationGroup;
    CContainer m_velocityGroup;
    CContainer m_directionGroup;
    CContainer m_materialGroup;
    CContainer m_depthGroup;
    CContainer m_positionGroup;
    CContainer m_buttonGroup;
    CLayoutTable m_leftTable;
    CLayoutTable m_rightTable;
    CLayoutTable m_topTable;
    bool m_bLayoutBuilt = false;
    CSize m_clientSize;
};
