#pragma once
// The zero level dialog: one recorded trace of the project, band-passed, in a trace view whose
// red line the user drags to the sample that counts as depth 0. The trace is picked by line and
// position in either direction; the gain, a typed value and an automatic value from the first
// arrivals of the first X line help. The dialog writes nothing into the project: after OK the
// caller reads GetZeroLevel.

#include "Container.h"
#include "Dialog.h"
#include "ExtSliderCtrl.h"
#include "LayoutTable.h"
#include "NumericEdit.h"
#include "ResourceIds.h"
#include "TraceView.h"

#include <cstdint>

class CProject;
class CSliderCtrl;

class CZeroLevelDlg : public CDialog
{
public:
    enum : UINT { IDD = IDD_ZERO_LEVEL };
    enum : int { DIRECTION_X = 1, DIRECTION_Y = 2 };
    // Samples as read are scaled by this into -1 .. 1.
    static constexpr float kSampleScale = 3.051851e-5f;

    explicit CZeroLevelDlg(CWnd* pParent = nullptr);

    // Binds the project; once the controls exist, also shows its zero level and the first
    // trace of the first X line.
    void SetData(CProject* pProject);
    // The zero-level line's sample, within the trace.
    float GetZeroLevel() const;

    // The trace of the sliders' line and position, filtered, into the trace view.
    void ShowTrace();
    // The automatic zero level of the project (FindZeroLevel), as the matrix computes it.
    void OnRestoreZeroLevel();
    void SetDirection(int nDirection);

    int GetDirection() const { return m_nDirection; }
    CTraceView& GetTraceView() { return m_traceView; }
    CNumericEdit& GetZeroLevelEdit() { return m_zeroLevelEdit; }
    CExtSliderCtrl& GetLineSlider() { return m_lineSlider; }
    CExtSliderCtrl& GetTraceSlider() { return m_traceSlider; }
    CSliderCtrl* GetGainSlider() const;

protected:
    bool OnInitDialog() override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) override;

private:
    // Ranges and values of both sliders for the current direction; the direction left keeps
    // its line and trace.
    void UpdateSection();
    void CreateSlider(CExtSliderCtrl& slider, UINT nID, const wchar_t* pszCaption, const CRect& rect);
    void BuildLayout();
    bool HasProject() const;
    LRESULT OnValueChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnGainScroll(WPARAM wParam);
    // Reads trace nTrace of the selected line into samples as floats; false when short.
    bool ReadTrace(int32_t nTrace, float* pSamples);
    void ShowZeroLevel(int nSample);

    CProject* m_pProject = nullptr;
    bool m_bCreated = false;
    int m_nDirection = DIRECTION_X;
    // Last line and trace shown in each direction (index direction - 1).
    int m_nLine[2] = {0, 0};
    int m_nTrace[2] = {0, 0};
    // Control notifications are ignored while set.
    bool m_bBusy = false;

    CExtSliderCtrl m_lineSlider;
    CExtSliderCtrl m_traceSlider;
    CNumericEdit m_zeroLevelEdit;
    CTraceView m_traceView;
    CContainer m_zeroGroup;
    CContainer m_positionGroup;
    CContainer m_gainGroup;
    CContainer m_buttons;
    CLayoutTable m_table;
    bool m_bLayoutBuilt = false;
};
