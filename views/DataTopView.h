#pragma once
// The depth-slice window: one horizontal slice of the 3D data matrix (or the project's EM
// values) as a colour image through the palette, a movable cross-hair that marks the current
// X and Y position, and the project's drawing objects over it. It renders into its off-screen
// surface only when the image is invalid, reports cursor moves to its parent with
// WM_CURSOR_MOVED and relays its painter's drawing events to the main window.

#include "DataView.h"

#include "PaletteLookup.h"
#include "Palettes.h"
#include "ResampMap.h"

#include <cstdint>
#include <vector>

// Grid cells onto the EM rows of one direction's profile lines: every line has two EM rows,
// 2n at n x spacing - d and 2n + 1 at n x spacing + d, d being half the EM lag distance in
// traces. Each cell gets the lower EM row of the pair that encloses it and its fraction
// towards the upper one.
class CEMResampMap
{
public:
    // lines profile lines, spacing traces apart, onto cells grid cells.
    void Create(int lines, int spacing, int halfLag, int cells);
    void Clear();

    int Size() const { return int(m_row.size()); }
    // Both rows row and row + 1 lie inside the EM array, the fraction inside 0 .. 1.
    int Row(int cell) const { return m_row[size_t(cell)]; }
    float Fraction(int cell) const { return m_fraction[size_t(cell)]; }

private:
    std::vector<int32_t> m_row;
    std::vector<float> m_fraction;
};

class CDataTopView : public CDataView
{
public:
    // The view's own child id; the painter's drawing events come with ID_SENDER_PAINTER.
    enum : int { ID_VIEW = 123 };

    CDataTopView();
    ~CDataTopView() override;

    virtual CSize GetSize() const { return CSize(0, 0); }
    virtual CSize GetMinSize() const { return CSize(0, 0); }
    virtual void Show(bool bShow);

    // Makes the surface and the window over the parent's client area, hidden.
    bool Create(CWnd* pParent);
    // Binds the project and matrix (not owned); a null project only clears the pointer.
    void SetProject(CProject* pProject, C3DMatrix* pMatrix);
    void ReleaseBuffers();

    void UpdateResampMaps(const CRect& rect);
    void Resize(const CRect& rect);
    void UpdateWeights();
    // Takes the cross-hair position and the slice depth from the project.
    void UpdateCursor();

    void Render();
    void RenderSlice(const CRect& rect);
    void RenderEm(const CRect& rect);
    void RenderEmpty(const CRect& rect);

    // Printing path: draws onto the context at the view's place in its parent.
    void CopyImageTo(CDC* pDC);

    void PixelToPosition(CPoint point, float& x, float& y) const override;
    float PixelToDepth(CPoint point) const override;
    // The grid position under the pixel becomes the project's cross-hair and hover position
    // (bSet) or only its hover position.
    bool TakeCursorPoint(CPoint point, bool bSet) override;

    float GetSliceDepth() const { return m_fSliceDepth; }
    const std::vector<float>& GetWeights() const { return m_weights; }
    // The palette that the threshold T gives (T not 0).
    static void BuildThresholdPalette(int threshold, TPaletteTable& palette);
    // The instruction-set build of the pixel pass in use ("avx2", "sse2", "generic"), and the
    // choice of another one that the processor runs; every build gives the same pixels.
    static const char* GetKernelName();
    static bool SelectKernel(const char* name);

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    bool OnMouseWheel(UINT nFlags, short zDelta, CPoint point) override;
    LRESULT OnDataChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawingEvent(WPARAM wParam, LPARAM lParam);

private:
    // The EM values replace the radar slice while the project's switch is on and the matrix
    // has EM data.
    bool HasEmImage() const;
    // The pixel that shows the project's cross-hair position (bound only).
    CPoint CursorPixel() const;
    void SetDrawingMode(bool bOn);

    // Copies the matrix's two slice images, zero-filling what the matrix lacks.
    void CopyLineImages();
    // The grid columns that the first width pixel columns read, in m_gridColumns, and each
    // pixel column's two of them; the count of pixel columns that can be drawn.
    int MapPixelColumns(int width);
    // The pixel pass shared by the slice and the EM image: bilinear value through the pixel
    // maps, times the scale; colourRow(values, width, pixels) turns a row of them into surface
    // words. buildRow(y, values) fills grid row y at the grid columns of m_gridColumns; only the
    // rows that pixels read are built.
    template <typename TBuildRow, typename TColourRow>
    void RenderPixels(const CRect& rect, int width, float scale, TBuildRow buildRow, TColourRow colourRow);

    std::vector<float> m_weights;
    CResampMap m_sampleMap;
    CResampMap m_columnMap;
    CResampMap m_rowMap;
    CResampMap m_pixelColumnMap;
    CResampMap m_pixelRowMap;
    CEMResampMap m_emMapX; // grid columns onto the EM rows of the vertical lines
    CEMResampMap m_emMapY; // grid rows onto the EM rows of the horizontal lines
    int32_t m_nVertLines = 0;
    int32_t m_nHorzLines = 0;
    std::vector<float> m_vertImage; // grid rows x vertical lines: one grid row's lines side by side
    std::vector<float> m_horzImage; // horizontal lines x grid columns
    std::vector<float> m_horzColumns; // horizontal lines x the grid columns that pixels read
    // The project's cross-hair as last taken; -1 until then, so that binding takes any.
    float m_fCursorX = -1.0f;
    float m_fCursorY = -1.0f;
    float m_fSliceDepth = -1.0f;
    int32_t m_nPaletteThreshold = 0;
    TPaletteTable m_thresholdPalette{};
    CPaletteLookup m_paletteLookup;
    // Scratch of the pixel pass, at the pane's resolution: the grid columns that pixels read,
    // each pixel column's lower and upper one among them, two grid rows built at those columns
    // with the grid row each holds (-1 none), their blend for one pixel row and the scaled value
    // of each pixel of that row.
    std::vector<int32_t> m_gridColumns;
    std::vector<int32_t> m_pixelColumnLow;
    std::vector<int32_t> m_pixelColumnHigh;
    std::vector<float> m_gridRows[2];
    int32_t m_gridRowIds[2] = {-1, -1};
    std::vector<float> m_rowValues;
    std::vector<float> m_pixelValues;
};
