#pragma once
// The trace view tool window: the trace of the computed volume at the cross-hair, bilinearly
// interpolated from the four neighbouring traces of the X lines and the four of the Y lines
// (the mean of both), drawn beside those eight neighbours. Grey lines show the zero level and
// the centre, green lines the cross-hair depth and the slice band.
// The main frame creates it (at most one), writes the matrix, the cross-hair and the zero
// level into it and redraws it; after its window is gone it posts WM_TOOL_CLOSED (108) to the
// frame, which deletes it.

#include "Dialog.h"
#include "Messages.h"
#include "ResourceIds.h"

#include <array>
#include <cstdint>
#include <vector>

class C3DMatrix;
class CProject;
class CSliderCtrl;

class CTraceViewDlg : public CDialog
{
public:
    enum : UINT { IDD = IDD_TRACE_VIEW };
    // The eight neighbours in drawing order: T(N, x), T(N, x+1), T(N+1, x), T(N+1, x+1) of the
    // X lines, then U(M, y), U(M, y+1), U(M+1, y), U(M+1, y+1) of the Y lines.
    using CNeighbours = std::array<const float*, 8>;

    explicit CTraceViewDlg(CWnd* pParent);

    // Stores the slice thickness and redraws at once.
    void SetAperture(int nSamples);
    // The project's cross-hair; with bSettings also its zero level and slice thickness.
    void TakeFromProject(const CProject& project, bool bSettings);
    // Only while the matrix is initialised for an open project.
    bool CanDraw() const;
    // The interpolated trace at (m_fX, m_fY) into result and its neighbours; x and y may be
    // pulled back inside the grid. False when nothing can be drawn.
    bool InterpolateTrace(std::vector<float>& result, CNeighbours& neighbours);
    // The interpolated trace and the eight neighbours laid out in rect.
    void DrawInterpolatedTrace(CDC* pDC, const CRect& rect);
    // One cell: white ground, grey zero-level and centre lines, the trace, green depth and band.
    void DrawTrace(CDC* pDC, const CRect& rect, const float* pSamples);
    // The rectangle that the traces fill, beside and above the trackbar.
    CRect GetDrawRect() const;
    CSliderCtrl* GetGainSlider() const { return m_pGain; }

    const UINT m_nID = ID_SENDER_TRACE_VIEW;
    C3DMatrix* m_pMatrix = nullptr;
    float m_fX = 0.0f;      // cross-hair, in traces
    float m_fY = 0.0f;
    float m_fDepth = 0.0f;  // cross-hair depth, in samples
    int m_iZeroLevel = 0;   // sample index
    int m_iAperture = 1;    // width of the depth band, in samples

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnClose() override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) override;
    void PostNcDestroy() override;

private:
    LRESULT OnDataChanged(LPARAM lParam);
    // Invalidate, erase and paint now.
    void Redraw();
    // The trackbar at the client area's bottom-left corner.
    void PlaceGainSlider();
    int GetSampleCount() const;

    CWnd* m_pNotifyWnd;
    HWND m_hNotifyWnd = nullptr; // a parent gone meanwhile is told nothing
    CSliderCtrl* m_pGain = nullptr;
};
