#pragma once
// A vertical section through the 3D data matrix: the traces of one gridded profile line, or a
// blend of two neighbouring lines, side by side with depth downwards, coloured through the
// palette. Direction 1 is the section along X at the cross-hair's Y, direction 2 the section
// along Y at its X. The vertical line of the cross-hair marks the position along the section,
// the horizontal one the depth, with the slice-thickness band around it; the depth line never
// goes above the row of the zero level. Binding, painter, notifications and printing work as
// in the depth-slice view.

#include "DataView.h"
#include "PaletteLookup.h"

#include "ResampMap.h"

#include <cstdint>
#include <vector>

class CDataSideView : public CDataView
{
public:
    enum TDirection : int32_t { DIRECTION_X = 1, DIRECTION_Y = 2 };

    // What RenderSection draws: two lines' traces (one per grid position along the section,
    // each of the project's samples), blended with their weights, into columns first .. end - 1.
    // Sample i of a trace is the trace's value i * m_nSampleStride.
    class CSection
    {
    public:
        CRect m_rect;
        std::vector<const float*> m_tracesA;
        std::vector<const float*> m_tracesB;
        size_t m_nSampleStride = 1;
        float m_fWeightA = 1.0f;
        float m_fWeightB = 0.0f;
        int32_t m_nFirstColumn = 0;
        int32_t m_nEndColumn = 0;
    };

    CDataSideView();
    ~CDataSideView() override;

    virtual void Render(const CRect& rect);
    virtual void RenderSection(const CSection& section);
    virtual CSize GetSize() const;
    virtual CSize GetMinSize() const { return CSize(50, 50); }
    virtual void Show(bool bShow);

    // Makes the window over the parent's client area, hidden, with the surfaces for it.
    bool Create(CWnd* pParent, int nID, int nDirection);
    // Binds the project and matrix (not owned); a null project unbinds.
    void SetData(CProject* pProject, C3DMatrix* pMatrix);
    // A new direction: the next update takes the section afresh.
    void SetDirection(int nDirection);

    void UpdateResampMaps(const CRect& rect);
    void UpdateGain();
    void UpdateThickness();
    // Takes the project's cross-hair: a new section renders again, moved lines are redrawn.
    void UpdateFromSettings(bool bForce);
    // Resizes the view and moves its window to the rectangle, without repainting.
    void Resize(const CRect& rect);
    // Clears the image-valid flag and invalidates the window.
    void InvalidateImage();
    // Printing path: draws onto the context at the view's place in its parent.
    void CopyImageTo(CDC* pDC);
    // VK_UP and VK_DOWN move the depth line; the main view passes its keys here too.
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;

    void PixelToPosition(CPoint point, float& x, float& y) const override;
    float PixelToDepth(CPoint point) const override;
    bool TakeCursorPoint(CPoint point, bool bSet) override;

    int GetDirection() const { return m_nDirection; }
    // The first of the two blended lines; -1 before the first update, or an empty section.
    int GetSectionLine() const { return m_nSectionLine; }
    float GetSectionFraction() const { return m_fSectionFraction; }
    // Stores the line shown, limited to the lines there are; a negative one shows nothing.
    void SetSectionLine(int nLine);
    // Lines of the matrix across this direction (0 until bound).
    int GetLineCount() const;

    bool IsShown() const { return m_bShown; }
    bool IsPositionLineMovable() const { return m_bPositionLineMovable; }
    void SetPositionLineMovable(bool bMovable);
    bool IsCrossHairShown() const { return m_bCrossHairShown; }
    void SetCrossHairShown(bool bShown);
    bool IsPainterEnabled() const { return m_bPainterEnabled; }
    void SetPainterEnabled(bool bEnabled);

    int GetZeroLevelRow() const { return m_nZeroLevelRow; }
    int GetUpperBandOffset() const { return m_nUpperBand; }
    int GetLowerBandOffset() const { return m_nLowerBand; }
    const CResampMap& GetColumnMap() const { return m_columnMap; }
    const CResampMap& GetDepthMap() const { return m_depthMap; }
    const std::vector<float>& GetGain() const { return m_gain; }

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    bool OnMouseWheel(UINT nFlags, short zDelta, CPoint point) override;
    LRESULT OnDataChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawingEvent(WPARAM wParam, LPARAM lParam);

    // Without data: the client rectangle framed, with one diagonal.
    void RenderEmpty(const CRect& rect);

    CResampMap m_columnMap; // client pixels across onto the grid positions along the section
    CResampMap m_depthMap;  // client pixel rows onto samples
    std::vector<float> m_gain; // per pixel row
    int32_t m_nSectionLine = -1;
    float m_fSectionFraction = 0.0f;

private:
    bool HasData() const;
    // Grid positions along the section (at least 1 once bound).
    int GetPositionCount() const;
    // The sample under a pixel row, with its fraction.
    float RowToSample(int row) const;
    // The pixel row of a depth in samples, never above the row where the samples reach it.
    int SampleToRow(float sample) const;
    // The pixel column of a grid position along the section, inside the view.
    int PositionToColumn(float position) const;
    // The cross-hair's position along the section (bound only).
    float GetAlongCursor() const;
    void CreatePainter();
    void SetDrawingMode(bool bOn);
    void MoveDepthLine(int row);
    // The slots of the traces that the columns first .. end - 1 blend, each trace once, with
    // their sources (line B's after line A's when bBlend), and m_columns; false when the
    // memory is not there.
    bool MapColumnTraces(const CSection& section, int first, int end, int traces, bool bBlend);
    // The samples of the slots' traces that the depth map reads, sample after sample of them:
    // the traces' own values when they lie so already, else a copy in m_slotSamples; false
    // when the memory is not there.
    bool GatherSlotSamples(int samples, int height, size_t sampleStride);
    // Pixel row r of every slot's trace, as ResampleTrace gives it.
    void ResampleSlotRow(int r, float* row) const;

    // A pixel column: the slots of its two traces and their weights.
    struct CColumn
    {
        uint32_t m_nLeft;
        uint32_t m_nRight;
        float m_fLeft;
        float m_fRight;
    };

    bool m_bShown = false;
    bool m_bPainterEnabled = true;
    int32_t m_nDirection = DIRECTION_X;
    float m_fCursorX = -1.0f;
    float m_fCursorY = -1.0f;
    float m_fCursorDepth = -1.0f;
    int32_t m_nZeroLevelRow = 0;
    int32_t m_nUpperBand = 0; // rows from the depth line to the band lines
    int32_t m_nLowerBand = 0;
    bool m_bPositionLineMovable = true;
    bool m_bCrossHairShown = true;
    // Scratch of the render: each grid position's slot (-1 unused), each slot's grid position,
    // the slots' traces, their samples from m_nSampleLow on (m_pSlotRows, rows of
    // m_nSlotRowStride, in m_slotSamples when copied), zeros for a trace not there, the
    // last sample there is, the depth map's interpolated rows, one resampled row of the slots,
    // the rendered columns.
    std::vector<int32_t> m_traceSlots;
    std::vector<int32_t> m_slotTraces;
    std::vector<const float*> m_slotSources;
    std::vector<float> m_slotSamples;
    const float* m_pSlotRows = nullptr;
    size_t m_nSlotRowStride = 0;
    std::vector<float> m_zeroTrace;
    int32_t m_nSampleLow = 0;
    int32_t m_nSampleLast = 0;
    int32_t m_nResampFirst = 0;
    int32_t m_nResampEnd = 0;
    std::vector<float> m_slotRow;
    std::vector<CColumn> m_columns;
    CPaletteLookup m_paletteLookup;
};
