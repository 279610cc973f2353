#pragma once
// One radar trace drawn as a vertical wiggle line: depth downwards, amplitude sideways around
// a dashed centre line, with up to two horizontal marker lines that the user drags with the
// mouse. The zero level dialog embeds it: it fills the samples, the gain and the first marker
// and reads the marker back when the view reports WM_VALUE_CHANGED. The view renders into an
// off-screen surface at every paint and copies it to the window; a layout table places it.

#include "Containable.h"
#include "MemDC.h"
#include "Wnd.h"

#include "GdiObjects.h"

#include <cstdint>
#include <vector>

class CTraceView : public CWnd, public ICContainable
{
public:
    enum : int { ID_TRACE_VIEW = 211 };
    // Indices of m_lines. The aperture entry has no value of its own: its visible flag shows
    // the band of m_iAperture samples around LineDepth. Only the first two can be dragged.
    enum TLine : int { LineZeroLevel = 0, LineDepth = 1, LineAperture = 2, LineSpare = 3, LineCount = 4 };
    // A line lies under the pointer when fewer rows than this away.
    static constexpr int kHitDistance = 5;

    struct CTraceLine
    {
        float m_fValue = 0.0f; // sample position
        bool m_bVisible = false;
        CPen* m_pPen = nullptr; // not owned; a line without a pen is not drawn
    };

    CTraceView();
    ~CTraceView() override;

    // A child of pParent over its whole client area, id 211; an earlier creation is released.
    bool Create(CWnd* pParent);
    // Destroys the window, its surface and its pens; the samples stay.
    void Release();
    bool IsCreated() const { return m_bCreated; }

    // The trace becomes count zeros, which the owner fills through GetSamples.
    float* SetSampleCount(int count);
    float* GetSamples() { return m_samples.data(); }
    const float* GetSamples() const { return m_samples.data(); }
    int GetSampleCount() const { return m_iNTraces; }

    // Draws the image into the surface.
    void Render();
    // Within kHitDistance rows of the first or the depth line, when visible.
    bool HitTestLine(CPoint point) const;

    const CRect& GetDrawRect() const { return m_rect; }
    const Tovrik::CMemDC& GetSurface() const { return m_surface; }
    bool IsDragging() const { return m_bDragging; }
    int GetDraggedLine() const { return m_nDraggedLine; }
    bool IsOverLine() const { return m_bOverLine; }

    // ICContainable
    CSize GetSize() const override;
    CSize GetMinSize() const override { return {10, 10}; }
    void SetRect(const CRect& rect) override;
    void Show(bool bShow) override;
    int GetID() const override { return GetDlgCtrlID(); }

    CTraceLine m_lines[LineCount];
    float m_fGain = 1.0f;     // amplitude gain
    int32_t m_iAperture = 1;  // width of the aperture band, in samples

protected:
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnEraseBkgnd(CDC* pDC) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;

private:
    // Rows per sample down the drawing rectangle, and samples per row; 0 when either side has
    // fewer than two.
    float PixelsPerSample() const;
    float SamplesPerPixel() const;
    // The row of a line's value.
    int LineRow(int index) const;
    void DrawTrace(float k, float a, int c);
    // The drawing rectangle and the surface take the window's size.
    void FollowSize(int width, int height);
    void EndDrag();
    // The cursor of the drag or hover state.
    void UpdateCursor();

    bool m_bCreated = false;
    CRect m_rect; // (0, 0, width, height)
    Tovrik::CMemDC m_surface;
    std::vector<float> m_samples;
    int32_t m_iNTraces = 0; // samples in the trace
    int m_nDraggedLine = 0;
    bool m_bOverLine = false;
    CPoint m_ptLast;
    bool m_bDragging = false;
    int m_nDragCursor;
    CBrush m_brush;
    CPen m_centrePen;
    CPen m_linePens[2];
};
