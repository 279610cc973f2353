#include "DataTopView.h"

#include "WindowClasses.h"

#include "Messages.h"

#include "Cfg.h"
#include "DrawingManager.h"
#include "KernelChoice.h"
#include "Matrix.h"
#include "MessageLog.h"
#include "Project.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The shift rounding of the angled blend: away from zero from 0.4999 on, nothing near 0.
int RoundShift(float v)
{
    if (std::fabs(v) < 0.0001f)
        return 0;
    const double r = v > 0 ? std::floor(double(v) + 0.5001) : -std::floor(-double(v) + 0.5001);
    return int(std::clamp(r, -1e9, 1e9));
}

// A float that may be huge or NaN as an int inside [low, high], truncated.
int TruncClamped(double value, int low, int high)
{
    if (!(value >= low))
        return low;
    if (value >= high)
        return high;
    return int(value);
}

template <typename T>
bool Reallocate(std::vector<T>& array, size_t count, T value)
{
    try {
        array.assign(count, value);
        return true;
    } catch (const std::bad_alloc&) {
        array.clear();
        g_messageLog.Log(LOG_ERROR, "CDataTopView: out of memory for %zu values.", count);
        return false;
    }
}

// Columns begin .. end - 1 of the pixels' grid columns, all between the same two vertical lines.
struct CLineRun
{
    size_t begin, end;
    int32_t lineA, lineB;
};

// Grid row values of an unshifted row: the vertical lines' blend of the row's values at each
// run's two lines, plus the horizontal lines' blend of lineA and lineB, column by column.
__attribute__((always_inline)) inline void BlendRowLoop(const float* vertRow, const CLineRun* runs, size_t runCount,
                                                        const float* fractions, const float* lineA, const float* lineB,
                                                        float g, float* values)
{
    for (size_t r = 0; r < runCount; ++r) {
        const CLineRun& run = runs[r];
        const float a = vertRow[run.lineA], b = vertRow[run.lineB];
        for (size_t c = run.begin; c < run.end; ++c)
            values[c] = (b * fractions[c] + a * (1.0f - fractions[c])) + (lineB[c] * g + lineA[c] * (1.0f - g));
    }
}

// One pixel row: the blend of its two grid rows into rowValues, then each pixel's value between
// its two grid columns, times the scale.
__attribute__((always_inline)) inline void PixelRowLoop(const float* row0, const float* row1, float fy, size_t n,
                                                        float* rowValues, const int32_t* low, const int32_t* high,
                                                        const float* fx, float scale, int width, float* values)
{
    for (size_t c = 0; c < n; ++c)
        rowValues[c] = row0[c] * (1.0f - fy) + row1[c] * fy;
    for (int q = 0; q < width; ++q) {
        const float f = fx[q];
        values[q] = (rowValues[high[q]] * f + rowValues[low[q]] * (1.0f - f)) * scale;
    }
}

void BlendRowBaseline(const float* vertRow, const CLineRun* runs, size_t runCount, const float* fractions,
                      const float* lineA, const float* lineB, float g, float* values)
{
    BlendRowLoop(vertRow, runs, runCount, fractions, lineA, lineB, g, values);
}

void PixelRowBaseline(const float* row0, const float* row1, float fy, size_t n, float* rowValues, const int32_t* low,
                      const int32_t* high, const float* fx, float scale, int width, float* values)
{
    PixelRowLoop(row0, row1, fy, n, rowValues, low, high, fx, scale, width, values);
}

#ifdef QUARVEL_X86_KERNELS
// The same loops in the wider encoding. Besides their width they keep the pixel pass at its
// speed after library routines that leave the upper halves of the vector registers in use,
// which slows the older encoding down several times on this processor family.
__attribute__((target("avx2"))) void BlendRowAvx2(const float* vertRow, const CLineRun* runs, size_t runCount,
                                                  const float* fractions, const float* lineA, const float* lineB,
                                                  float g, float* values)
{
    BlendRowLoop(vertRow, runs, runCount, fractions, lineA, lineB, g, values);
}

__attribute__((target("avx2"))) void PixelRowAvx2(const float* row0, const float* row1, float fy, size_t n,
                                                  float* rowValues, const int32_t* low, const int32_t* high,
                                                  const float* fx, float scale, int width, float* values)
{
    PixelRowLoop(row0, row1, fy, n, rowValues, low, high, fx, scale, width, values);
}
#endif

struct CSliceKernels
{
    decltype(&BlendRowBaseline) blendRow;
    decltype(&PixelRowBaseline) pixelRow;
};

CKernelChoice<CSliceKernels>& SliceKernels()
{
#ifdef QUARVEL_X86_KERNELS
    static CKernelChoice<CSliceKernels> s_choice{{"avx2", {BlendRowAvx2, PixelRowAvx2}},
                                                 {"sse2", {BlendRowBaseline, PixelRowBaseline}}};
#else
    static CKernelChoice<CSliceKernels> s_choice{{"generic", {BlendRowBaseline, PixelRowBaseline}}};
#endif
    return s_choice;
}

} // namespace

// ---------------------------------------------------------------------------------------------

void CEMResampMap::Create(int lines, int spacing, int halfLag, int cells)
{
    Clear();
    if (lines < 1 || cells < 1)
        return;
    struct CEntry
    {
        int64_t position;
        int32_t row;
    };
    std::vector<CEntry> entries;
    entries.reserve(size_t(lines) * 2);
    for (int n = 0; n < lines; ++n) {
        entries.push_back({int64_t(n) * spacing - halfLag, 2 * n});
        entries.push_back({int64_t(n) * spacing + halfLag, 2 * n + 1});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CEntry& a, const CEntry& b) { return a.position < b.position; });

    m_row.assign(size_t(cells), 0);
    m_fraction.assign(size_t(cells), 0.0f);
    const size_t last = entries.size() - 1;
    const int32_t lastRow = int32_t(entries.size()) - 2; // row + 1 stays inside the EM rows
    size_t k = 0;
    for (int j = 0; j < cells; ++j) {
        // Pairs of length 0 and pairs that end at or before the cell are passed over; cells
        // past the last entry stay with the last pair.
        while (k + 1 < last && j >= entries[k + 1].position)
            ++k;
        const int64_t lower = entries[k].position;
        const int64_t length = entries[k + 1].position - lower;
        // The first pair counts its cells from cell 0.
        const int64_t start = std::max<int64_t>(lower, 0);
        const float f = length > 0 ? float(double(j - start) / double(length)) : 0.0f;
        m_row[size_t(j)] = std::min(entries[k].row, lastRow);
        m_fraction[size_t(j)] = std::clamp(f, 0.0f, 1.0f);
    }
}

void CEMResampMap::Clear()
{
    m_row.clear();
    m_row.shrink_to_fit();
    m_fraction.clear();
    m_fraction.shrink_to_fit();
}

// ---------------------------------------------------------------------------------------------

CDataTopView::CDataTopView()
{
    RegisterWindowClass(kDataTopViewClass);
    MapMessage(WM_DATA_CHANGED, [this](WPARAM wParam, LPARAM lParam) { return OnDataChanged(wParam, lParam); });
    MapMessage(WM_DRAWING_EVENT, [this](WPARAM wParam, LPARAM lParam) { return OnDrawingEvent(wParam, lParam); });
}

CDataTopView::~CDataTopView()
{
    if (GetSafeHwnd())
        DestroyWindow();
    ReleaseBuffers();
}

void CDataTopView::Show(bool bShow)
{
    ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

bool CDataTopView::Create(CWnd* pParent)
{
    ReleaseBuffers();
    if (!pParent)
        return false;
    m_bCreated = true;
    CRect rect;
    pParent->GetClientRect(&rect);
    const int width = std::max(rect.Width(), 0), height = std::max(rect.Height(), 0);
    CreateImage(width, height);
    // Red horizontal, blue vertical line.
    m_crossHair.Create(this, this, width, height, RGB(255, 0, 0), RGB(0, 0, 255));
    m_crossHair.SetHidden(m_bDrawingMode);
    if (GetSafeHwnd())
        DestroyWindow();
    if (!CWnd::Create(L"", WS_CHILD | WS_VISIBLE, rect, pParent, ID_VIEW)) {
        g_messageLog.Log(LOG_ERROR, "CDataTopView::Create: window not created.");
        m_bCreated = false;
        return false;
    }
    Show(false);
    m_painter.Create(this, this, CDataViewPainter::MODE_TOP, width, height);
    return true;
}

void CDataTopView::ReleaseBuffers()
{
    m_image.Release();
    m_backgroundBrush.DeleteObject();
    m_framePen.DeleteObject();
    m_crossHair.Release();
    for (CResampMap* pMap : {&m_sampleMap, &m_columnMap, &m_rowMap, &m_pixelColumnMap, &m_pixelRowMap})
        *pMap = CResampMap();
    m_emMapX.Clear();
    m_emMapY.Clear();
    for (std::vector<float>* pArray : {&m_weights, &m_vertImage, &m_horzImage, &m_horzColumns, &m_gridRows[0], &m_gridRows[1], &m_rowValues, &m_pixelValues}) {
        pArray->clear();
        pArray->shrink_to_fit();
    }
    for (std::vector<int32_t>* pArray : {&m_gridColumns, &m_pixelColumnLow, &m_pixelColumnHigh}) {
        pArray->clear();
        pArray->shrink_to_fit();
    }
}

void CDataTopView::SetProject(CProject* pProject, C3DMatrix* pMatrix)
{
    if (!pProject) {
        // Without a project nothing may read through the old pointers.
        m_pProject = nullptr;
        m_pMatrix = nullptr;
        m_bBound = false;
        m_painter.ClearObjects();
        m_image.SetValid(false);
        return;
    }
    m_pProject = pProject;
    m_bBound = true;
    // The painter's list still points at the objects of the project before, which are gone: it
    // lets go of them before anything measures or composes them, and takes the objects that came
    // with this one once it has the new grid.
    if (m_bCreated)
        m_painter.ClearObjects();
    // The new project's cross-hair and depth are taken over whatever they are.
    m_fCursorX = m_fCursorY = -1.0f;
    m_fSliceDepth = -1.0f;
    const CProjectSettings& s = pProject->m_settings;
    const int samples = std::max(s.m_iSamples, 0);
    CreateResampleMap(m_sampleMap, samples, samples);

    UpdateResampMaps(ClientRect());
    m_pMatrix = pMatrix;

    m_nVertLines = std::max(s.GetXLineCount(), 1);
    m_nHorzLines = std::max(s.GetYLineCount(), 1);
    g_messageLog.Log(LOG_DEBUG, "CDataTopView::SetProject: vertical lines: %d", m_nVertLines);
    g_messageLog.Log(LOG_DEBUG, "CDataTopView::SetProject: horizontal lines: %d", m_nHorzLines);

    const int columns = std::max(s.m_iGridSizeX, 0), rows = std::max(s.m_iGridSizeY, 0);
    CreateResampleMapRange(m_columnMap, m_nVertLines - 1, columns);
    CreateResampleMapRange(m_rowMap, m_nHorzLines - 1, rows);

    if (s.m_bHasEmData) {
        const double lag = 0.5 * s.m_antenna.m_dEmLagDistance / s.m_dResolution;
        const int halfLag = std::isfinite(lag) ? TruncClamped(lag, 0, 1 << 24) : 0;
        m_emMapX.Create(m_nVertLines, s.m_iProfileSpacing, halfLag, columns);
        m_emMapY.Create(m_nHorzLines, s.m_iProfileSpacing, halfLag, rows);
    } else {
        m_emMapX.Clear();
        m_emMapY.Clear();
    }

    Reallocate(m_weights, size_t(samples), 1.0f);
    UpdateWeights();
    m_image.SetValid(false);

    if (!Reallocate(m_vertImage, size_t(m_nVertLines) * size_t(rows), 0.0f) ||
        !Reallocate(m_horzImage, size_t(m_nHorzLines) * size_t(columns), 0.0f))
        m_bBound = false;

    if (m_bCreated) {
        m_painter.SetGridSize(s.m_iSizeX, s.m_iSizeY, s.m_iSamples);
        m_painter.RebuildObjects();
        m_painter.SetDepthRange(pProject->m_fCursorDepth, false);
    }
    UpdateCursor();
}

void CDataTopView::UpdateResampMaps(const CRect& rect)
{
    if (!m_pProject)
        return;
    const CProjectSettings& s = m_pProject->m_settings;
    // The first and the last pixel on the first and the last grid column (row), as the
    // painter places the objects.
    CreateResampleMapRange(m_pixelColumnMap, std::max(s.m_iSizeX - 1, 0), std::max(rect.Width(), 0));
    CreateResampleMapRange(m_pixelRowMap, std::max(s.m_iSizeY - 1, 0), std::max(rect.Height(), 0));
    g_messageLog.Log(LOG_DEBUG, "CDataTopView::UpdateResampMaps");
}

void CDataTopView::Resize(const CRect& rect)
{
    if (!m_bCreated)
        return;
    const int oldWidth = m_image.GetWidth(), oldHeight = m_image.GetHeight();
    const int width = std::max(rect.Width(), 0), height = std::max(rect.Height(), 0);
    if (width != oldWidth || height != oldHeight) {
        m_image.Resize(width, height);
        if (m_bBound)
            UpdateResampMaps(CRect(0, 0, width, height));
        m_crossHair.Resize(width, height);
        // A bound view marks the cursor itself, also when it had no size to scale from.
        if (m_bBound)
            m_crossHair.SetPosition(CursorPixel());
        m_image.SetValid(false);
        m_painter.SetSize(width, height);
    }
    MoveWindow(&rect, false);
}

void CDataTopView::UpdateWeights()
{
    if (!m_pProject || m_weights.empty())
        return;
    const CProcessingParams& p = m_pProject->m_settings.m_params;
    ComputeTimeGain(m_weights.data(), m_weights.size(), m_sampleMap, p.m_iTgLinear, p.m_iTgExponent,
                    p.m_iTgStart, p.m_iTimeGain, TIME_GAIN_SCALE);
}

void CDataTopView::UpdateCursor()
{
    if (!m_bBound || !m_pProject)
        return;
    const CProject& project = *m_pProject;
    if (std::fabs(project.m_fCursorX - m_fCursorX) >= 0.0001f || std::fabs(project.m_fCursorY - m_fCursorY) >= 0.0001f) {
        m_fCursorX = project.m_fCursorX;
        m_fCursorY = project.m_fCursorY;
        m_crossHair.MoveTo(CursorPixel());
    }
    if (project.m_fCursorDepth != m_fSliceDepth) {
        m_fSliceDepth = project.m_fCursorDepth;
        // The paint that follows renders the slice again and composes over it.
        if (m_bCreated)
            m_painter.SetDepthRange(m_fSliceDepth, false);
        m_image.SetValid(false);
        if (GetSafeHwnd())
            Invalidate();
    }
}

// ---------------------------------------------------------------------------------------------
// Rendering

const char* CDataTopView::GetKernelName()
{
    return SliceKernels().GetName();
}

bool CDataTopView::SelectKernel(const char* name)
{
    return SliceKernels().Select(name);
}

bool CDataTopView::HasEmImage() const
{
    return m_pProject->m_bEmOverlay && m_pProject->m_settings.m_bHasEmData && m_pMatrix->m_bHasEm &&
           m_emMapX.Size() > 0 && m_emMapY.Size() > 0;
}

void CDataTopView::Render()
{
    if (!m_bCreated)
        return;
    const CRect rect(0, 0, m_image.GetWidth(), m_image.GetHeight());
    if (m_bBound && m_pProject && m_pMatrix && m_pMatrix->IsInitialized()) {
        if (HasEmImage())
            RenderEm(rect);
        else
            RenderSlice(rect);
    } else {
        RenderEmpty(rect);
    }
    ComposeObjects();
}

void CDataTopView::BuildThresholdPalette(int threshold, TPaletteTable& palette)
{
    const int t = std::clamp(threshold, -255, 255);
    int a, b;
    uint32_t low, high;
    if (t > 0) {
        a = std::min(t + 128, 220);
        b = std::min(t + 163, 255);
        low = RGB(0, 0, 0);
        high = RGB(255, 0, 0);
    } else {
        a = std::max(0, t + 93);
        b = std::max(t + 128, 35);
        low = RGB(0, 0, 255);
        high = RGB(0, 0, 0);
    }
    for (int i = 0; i < 256; ++i)
        palette[size_t(i)] = i <= a ? low : i >= b ? high : 0;
    FillPaletteHsv(palette, a, b);
}

void CDataTopView::CopyLineImages()
{
    const CProjectSettings& s = m_pProject->m_settings;
    const size_t rows = size_t(std::max(s.m_iGridSizeY, 0)), columns = size_t(std::max(s.m_iGridSizeX, 0));
    // Line after line into the image; bTranspose puts the lines of one position side by side.
    const auto copySet = [](std::vector<float>& image, size_t lines, size_t perLine, const float* pSource,
                            size_t sourceLines, size_t sourcePerLine, bool bTranspose) {
        std::fill(image.begin(), image.end(), 0.0f);
        if (!pSource)
            return;
        const size_t n = std::min(perLine, sourcePerLine);
        for (size_t line = 0; line < std::min(lines, sourceLines); ++line) {
            const float* source = pSource + line * sourcePerLine;
            if (bTranspose)
                for (size_t k = 0; k < n; ++k)
                    image[k * lines + line] = source[k];
            else
                std::copy_n(source, n, image.data() + line * perLine);
        }
    };
    copySet(m_vertImage, size_t(m_nVertLines), rows, m_pMatrix->GetVertSlice(), m_pMatrix->m_nVertLines,
            m_pMatrix->m_nNY, true);
    copySet(m_horzImage, size_t(m_nHorzLines), columns, m_pMatrix->GetHorzSlice(), m_pMatrix->m_nHorzLines,
            m_pMatrix->m_nNX, false);
}

int CDataTopView::MapPixelColumns(int width)
{
    const int columns = m_pProject->m_settings.m_iGridSizeX;
    width = std::clamp(std::min(width, int(m_pixelColumnMap.m_nTargetCount)), 0,
                       std::max(int(m_pixelColumnMap.m_index.size()) - 1, 0));
    m_gridColumns.clear();
    if (columns < 1)
        return 0;
    m_pixelColumnLow.resize(size_t(width));
    m_pixelColumnHigh.resize(size_t(width));
    // The map's columns do not decrease from pixel to pixel: a column is the last one taken, the
    // one before it, or new.
    const auto slot = [this](int32_t x) {
        for (size_t k = m_gridColumns.size(); k-- > 0;) {
            if (m_gridColumns[k] == x)
                return int32_t(k);
            if (m_gridColumns[k] < x)
                break;
        }
        m_gridColumns.push_back(x);
        return int32_t(m_gridColumns.size() - 1);
    };
    for (int q = 0; q < width; ++q) {
        const int32_t x = std::min(int32_t(m_pixelColumnMap.m_index[size_t(q)]), int32_t(columns - 1));
        m_pixelColumnLow[size_t(q)] = slot(x);
        m_pixelColumnHigh[size_t(q)] = slot(std::min(x + 1, int32_t(columns - 1)));
    }
    return width;
}

template <typename TBuildRow, typename TColourRow>
void CDataTopView::RenderPixels(const CRect& rect, int width, float scale, TBuildRow buildRow, TColourRow colourRow)
{
    const int rows = m_pProject->m_settings.m_iGridSizeY;
    uint8_t* pBits = m_image.GetBits();
    const int height = std::clamp(std::min({rect.Height(), m_image.GetHeight(), int(m_pixelRowMap.m_nTargetCount)}), 0,
                                  std::max(int(m_pixelRowMap.m_index.size()) - 1, 0));
    if (!pBits || width < 1 || rows < 1 || m_gridColumns.empty())
        return;
    const int stride = m_image.GetStride();
    const size_t n = m_gridColumns.size();
    for (std::vector<float>& values : m_gridRows)
        values.resize(n);
    m_gridRowIds[0] = m_gridRowIds[1] = -1;
    m_rowValues.resize(n);
    m_pixelValues.resize(size_t(width));
    // Grid row y, built unless one of the two buffers holds it, never into the one that holds keep.
    const auto gridRow = [this, &buildRow](int32_t y, int32_t keep) -> const float* {
        for (int b = 0; b < 2; ++b)
            if (m_gridRowIds[b] == y)
                return m_gridRows[b].data();
        const int b = m_gridRowIds[0] == keep ? 1 : 0;
        m_gridRowIds[b] = y;
        buildRow(y, m_gridRows[b].data());
        return m_gridRows[b].data();
    };
    const float* fx = m_pixelColumnMap.m_fraction.data();
    const int32_t* low = m_pixelColumnLow.data();
    const int32_t* high = m_pixelColumnHigh.data();
    float* rowValues = m_rowValues.data();
    float* pixelValues = m_pixelValues.data();
    const auto pixelRow = SliceKernels().Get().pixelRow;
    for (int p = 0; p < height; ++p) {
        const int32_t y = std::min(int32_t(m_pixelRowMap.m_index[size_t(p)]), int32_t(rows - 1));
        const int32_t y1 = y < rows - 1 ? y + 1 : y;
        const float fy = m_pixelRowMap.m_fraction[size_t(p)];
        const float* row0 = gridRow(y, y1);
        const float* row1 = gridRow(y1, y);
        pixelRow(row0, row1, fy, n, rowValues, low, high, fx, scale, width, pixelValues);
        // Buffer row p is window row height - 1 - p: pixel rows count from the bottom.
        colourRow(pixelValues, width, reinterpret_cast<uint32_t*>(pBits + ptrdiff_t(p) * stride));
    }
}

void CDataTopView::RenderSlice(const CRect& rect)
{
    const CProjectSettings& s = m_pProject->m_settings;
    const int columns = s.m_iGridSizeX, rows = s.m_iGridSizeY;
    const float weight = s.m_iDepthIndex >= 0 && size_t(s.m_iDepthIndex) < m_weights.size()
                             ? m_weights[size_t(s.m_iDepthIndex)] : 1.0f;
    const float contrast = float(0.3 * std::pow(1.11, s.m_iContrast));

    m_pMatrix->ExtractSlice();
    CopyLineImages();

    const int threshold = std::clamp(s.m_params.m_iThreshold, -255, 255);
    if (threshold != 0 && threshold != m_nPaletteThreshold) {
        BuildThresholdPalette(threshold, m_thresholdPalette);
        m_nPaletteThreshold = threshold;
    }

    const float shift = float(std::tan(s.m_iAngle * kPi / 180.0) * s.m_iProfileSpacing);
    const int vertLines = m_nVertLines, horzLines = m_nHorzLines;
    const bool bMaps = columns > 0 && rows > 0 && int(m_columnMap.m_index.size()) > columns - 1 &&
                       int(m_rowMap.m_index.size()) > rows - 1;
    const int width = MapPixelColumns(std::min(rect.Width(), m_image.GetWidth()));
    const size_t n = m_gridColumns.size();
    // Pixels read every grid column, each once in order: the horizontal lines are read as they are.
    bool bAllColumns = int(n) == columns;
    for (size_t c = 0; c < n && bAllColumns; ++c)
        bAllColumns = m_gridColumns[c] == int32_t(c);
    // The horizontal lines at the grid columns that pixels read, line after line, for the rows
    // whose lines are not shifted.
    const float* horzColumns = m_horzImage.data();
    if (!bAllColumns && bMaps) {
        m_horzColumns.resize(size_t(horzLines) * n);
        for (size_t j = 0; j < size_t(horzLines); ++j) {
            const float* line = m_horzImage.data() + j * size_t(columns);
            float* out = m_horzColumns.data() + j * n;
            for (size_t c = 0; c < n; ++c)
                out[c] = line[m_gridColumns[c]];
        }
        horzColumns = m_horzColumns.data();
    }

    // Per grid column that pixels read: its two vertical lines, the blend between them and the
    // shift of each along its line.
    struct CColumnBlend
    {
        int32_t lineA, lineB;
        float f;
        int32_t shiftA, shiftB;
    };
    std::vector<CColumnBlend> blends(n);
    bool bColumnsShifted = false;
    for (size_t c = 0; c < blends.size() && bMaps; ++c) {
        const int x = m_gridColumns[c];
        const int i = std::min(int(m_columnMap.m_index[size_t(x)]), vertLines - 1);
        const float f = m_columnMap.m_fraction[size_t(x)];
        blends[c] = {i, std::min(i + 1, vertLines - 1), f, RoundShift(-f * shift), RoundShift((1.0f - f) * shift)};
        bColumnsShifted = bColumnsShifted || blends[c].shiftA != 0 || blends[c].shiftB != 0;
    }
    // Without shifts a grid row reads two values of its vertical-line row per run of columns
    // between the same two lines: the columns' fractions side by side.
    std::vector<CLineRun> runs;
    std::vector<float> fractions;
    if (!bColumnsShifted) {
        fractions.resize(n);
        for (size_t c = 0; c < n; ++c) {
            const CColumnBlend& blend = blends[c];
            fractions[c] = blend.f;
            if (runs.empty() || runs.back().lineA != blend.lineA || runs.back().lineB != blend.lineB)
                runs.push_back({c, c, blend.lineA, blend.lineB});
            runs.back().end = c + 1;
        }
    }
    const auto blendRow = SliceKernels().Get().blendRow;
    // Grid row y of the slice: the vertical lines' blend, then the horizontal lines' added.
    const auto buildRow = [&](int32_t y, float* values) {
        if (!bMaps) {
            std::fill_n(values, n, 0.0f);
            return;
        }
        const float* vert = m_vertImage.data();
        const int j = std::min(int(m_rowMap.m_index[size_t(y)]), horzLines - 1);
        const int j1 = std::min(j + 1, horzLines - 1);
        const float g = m_rowMap.m_fraction[size_t(y)];
        const int shiftA = RoundShift(g * shift), shiftB = RoundShift(-(1.0f - g) * shift);
        if (!bColumnsShifted && shiftA == 0 && shiftB == 0) {
            // Both blends in one pass, run by run.
            blendRow(vert + size_t(y) * size_t(vertLines), runs.data(), runs.size(), fractions.data(),
                     horzColumns + size_t(j) * n, horzColumns + size_t(j1) * n, g, values);
            return;
        }
        for (size_t c = 0; c < n; ++c) {
            const CColumnBlend& blend = blends[c];
            const int64_t ya = int64_t(y) + blend.shiftA, yb = int64_t(y) + blend.shiftB;
            const float a = ya >= 0 && ya < rows ? vert[size_t(ya) * size_t(vertLines) + size_t(blend.lineA)] : 0.0f;
            const float b = yb >= 0 && yb < rows ? vert[size_t(yb) * size_t(vertLines) + size_t(blend.lineB)] : 0.0f;
            values[c] = b * blend.f + a * (1.0f - blend.f);
        }
        if (shiftA == 0 && shiftB == 0) {
            const float* lineA = horzColumns + size_t(j) * n;
            const float* lineB = horzColumns + size_t(j1) * n;
            for (size_t c = 0; c < n; ++c)
                values[c] += lineB[c] * g + lineA[c] * (1.0f - g);
            return;
        }
        const float* lineA = m_horzImage.data() + size_t(j) * size_t(columns);
        const float* lineB = m_horzImage.data() + size_t(j1) * size_t(columns);
        for (size_t c = 0; c < n; ++c) {
            const int64_t x = m_gridColumns[c], xa = x + shiftA, xb = x + shiftB;
            const float a = xa >= 0 && xa < columns ? lineA[xa] : 0.0f;
            const float b = xb >= 0 && xb < columns ? lineB[xb] : 0.0f;
            values[c] += b * g + a * (1.0f - g);
        }
    };

    m_paletteLookup.Update(threshold != 0 ? m_thresholdPalette : g_cfg.m_curColors, threshold == 0 && g_cfg.m_bPaletteWrap);
    RenderPixels(rect, width, weight * 0.5f * contrast, buildRow, [this](const float* values, int count, uint32_t* pixels) {
        m_paletteLookup.WordsOf(values, size_t(count), pixels);
    });
    m_image.SetValid(true);
}

void CDataTopView::RenderEm(const CRect& rect)
{
    const CProjectSettings& s = m_pProject->m_settings;
    const int columns = s.m_iGridSizeX, rows = s.m_iGridSizeY;
    const int vertRows = int(2 * m_pMatrix->m_nVertLines), horzRows = int(2 * m_pMatrix->m_nHorzLines);
    const int vertPerRow = int(m_pMatrix->m_nNY), horzPerRow = int(m_pMatrix->m_nNX);
    const float* e1 = vertRows > 0 ? m_pMatrix->GetVertEm(0) : nullptr;
    const float* e2 = horzRows > 0 ? m_pMatrix->GetHorzEm(0) : nullptr;
    // EM row k, value n of one direction; 0 outside the matrix's EM area.
    const auto value = [](const float* e, int emRows, int perRow, int k, int n) {
        return e && k >= 0 && k < emRows && n < perRow ? e[size_t(k) * size_t(perRow) + size_t(n)] : 0.0f;
    };
    const bool bMaps = columns > 0 && rows > 0 && m_emMapX.Size() >= columns && m_emMapY.Size() >= rows;
    const int width = MapPixelColumns(std::min(rect.Width(), m_image.GetWidth()));
    // Grid row y: the vertical lines' EM blend, then averaged with the horizontal lines' one.
    const auto buildRow = [&](int32_t y, float* values) {
        if (!bMaps) {
            std::fill_n(values, m_gridColumns.size(), 0.0f);
            return;
        }
        for (size_t c = 0; c < m_gridColumns.size(); ++c) {
            const int x = m_gridColumns[c];
            const int k = m_emMapX.Row(x);
            const float f = m_emMapX.Fraction(x);
            values[c] = value(e1, vertRows, vertPerRow, k + 1, y) * f + value(e1, vertRows, vertPerRow, k, y) * (1.0f - f);
        }
        const int k = m_emMapY.Row(y);
        const float f = m_emMapY.Fraction(y);
        for (size_t c = 0; c < m_gridColumns.size(); ++c) {
            const int x = m_gridColumns[c];
            values[c] = (value(e2, horzRows, horzPerRow, k + 1, x) * f + value(e2, horzRows, horzPerRow, k, x) * (1.0f - f) +
                         values[c]) * 0.5f;
        }
    };
    const TPaletteTable& palette = g_cfg.m_curColors;
    RenderPixels(rect, width, float(0.3 * std::pow(1.11, s.m_iContrast)) * 7.0f, buildRow,
                 [&palette](const float* values, int count, uint32_t* pixels) {
                     for (int q = 0; q < count; ++q) {
                         const size_t index = size_t(std::clamp(int(LimitFloat(values[q], 0.0f, 1.0f) * 255.0f), 0, 255));
                         pixels[q] = Tovrik::CMemDC::PixelOf(palette[index]);
                     }
                 });
    m_image.SetValid(true);
}

void CDataTopView::RenderEmpty(const CRect& rect)
{
    m_image.FillRect(&rect, &m_backgroundBrush);
    m_image.SelectObject(&m_framePen);
    m_image.SelectObject(&m_backgroundBrush);
    m_image.Rectangle(&rect);
    const int width = rect.Width(), height = rect.Height();
    m_image.MoveTo(0, 0);
    m_image.LineTo(width - 1, height - 1);
    m_image.MoveTo(width - 1, 0);
    m_image.LineTo(0, height - 1);
    m_image.SetValid(true);
}

// ---------------------------------------------------------------------------------------------
// Cross-hair

void CDataTopView::SetDrawingMode(bool bOn)
{
    m_bDrawingMode = bOn;
    m_crossHair.SetHidden(bOn);
}

// ---------------------------------------------------------------------------------------------
// Positions and notification

CPoint CDataTopView::CursorPixel() const
{
    const int width = m_image.GetWidth(), height = m_image.GetHeight();
    const int x = std::clamp(MapSourceToTarget(m_pixelColumnMap, m_pProject->m_fCursorX), 0, std::max(width - 1, 0));
    const int rows = std::clamp(MapSourceToTarget(m_pixelRowMap, m_pProject->m_fCursorY), 0, std::max(height - 1, 0));
    return CPoint(x, height - rows - 1);
}

void CDataTopView::PixelToPosition(CPoint point, float& x, float& y) const
{
    // Rows count upwards from the bottom of the window.
    x = MapTargetToSource(m_pixelColumnMap, point.x);
    y = MapTargetToSource(m_pixelRowMap, m_image.GetHeight() - point.y - 1);
}

float CDataTopView::PixelToDepth(CPoint) const
{
    return m_fSliceDepth;
}

bool CDataTopView::TakeCursorPoint(CPoint point, bool bSet)
{
    if (!m_bBound || !m_pProject)
        return false;
    const CProjectSettings& s = m_pProject->m_settings;
    float x, y;
    PixelToPosition(point, x, y);
    if (bSet) {
        // A line that stays on the cursor's pixel keeps the cursor's own position, so that
        // moving the other line alone never moves it.
        const CPoint cursor = CursorPixel();
        if (point.x == cursor.x)
            x = m_pProject->m_fCursorX;
        if (point.y == cursor.y)
            y = m_pProject->m_fCursorY;
    }
    // A captured mouse may lie outside the window: keep the position on the grid.
    x = std::clamp(x, 0.0f, float(std::max(s.m_iSizeX - 1, 0)));
    y = std::clamp(y, 0.0f, float(std::max(s.m_iSizeY - 1, 0)));
    if (bSet) {
        m_fCursorX = x;
        m_fCursorY = y;
        m_pProject->m_fCursorX = x;
        m_pProject->m_fCursorY = y;
    }
    m_pProject->m_fHoverX = x;
    m_pProject->m_fHoverY = y;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Messages

void CDataTopView::OnPaint()
{
    if (!m_bCreated || m_bForPrinting)
        return;
    CPaintDC dc(this);
    if (!m_image.IsValid())
        Render();
    DrawComposed(dc, CPoint(0, 0));
}

void CDataTopView::CopyImageTo(CDC* pDC)
{
    if (!m_bCreated || !pDC || pDC->IsPrinting() != m_bForPrinting)
        return;
    if (!m_image.IsValid())
        Render();
    DrawComposed(*pDC, OriginInParent());
}

void CDataTopView::OnLButtonDown(UINT, CPoint point)
{
    if (!m_bCreated)
        return;
    if (m_bDrawingMode) {
        if (m_bBound && m_painter.OnLButtonDown(point, m_pProject->m_fHoverX, m_pProject->m_fHoverY, m_fSliceDepth))
            Invalidate(false);
        return;
    }
    m_crossHair.OnLButtonDown(point);
}

void CDataTopView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bCreated || !m_crossHair.TrackMouse(point))
        return;
    if (!m_bDrawingMode) {
        m_crossHair.OnMouseMove(nFlags, point);
        return;
    }
    if (m_bBound && m_painter.OnMouseMove(nFlags, point, m_pProject->m_fHoverX, m_pProject->m_fHoverY, m_fSliceDepth))
        Invalidate(false);
    m_crossHair.NotifyParent(false);
    ShowCursor();
}

void CDataTopView::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bDrawingMode) {
        m_crossHair.OnLButtonUp();
        return;
    }
    if (m_bCreated && m_bBound && m_painter.OnLButtonUp(point, m_pProject->m_fHoverX, m_pProject->m_fHoverY, m_fSliceDepth))
        Invalidate(false);
}

bool CDataTopView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    if (!WheelMovesDepth())
        return false;
    CProjectSettings& s = m_pProject->m_settings;
    const int low = s.m_iZeroLevel, high = std::max(s.m_iSamples - 1, low);
    const int depth = TruncClamped(double(m_pProject->m_fCursorDepth) - zDelta / 120, low, high);
    m_pProject->m_fCursorDepth = float(depth);
    s.m_iDepthIndex = depth;
    m_crossHair.SendCursorMoved(true);
    Invalidate(false);
    return true;
}

LRESULT CDataTopView::OnDataChanged(WPARAM, LPARAM lParam)
{
    if (!m_bBound)
        return 0;
    switch (GetCode(lParam)) {
    case DATA_TIME_GAIN:
        UpdateWeights();
        [[fallthrough]];
    case DATA_CONTRAST:
    case DATA_THICKNESS:
    case DATA_ANGLE:
    case DATA_THRESHOLD:
    case DATA_RECOMPUTED:
    case DATA_EM_OVERLAY:
    case DATA_ZERO_LEVEL:
        m_image.SetValid(false);
        Invalidate(false);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CDataTopView::OnDrawingEvent(WPARAM wParam, LPARAM lParam)
{
    if (!TakeDrawingEvent(wParam, lParam))
        return 0;
    switch (GetCode(lParam)) {
    case DRAW_MODE_ON:
        SetDrawingMode(true);
        break;
    case DRAW_MODE_OFF:
        SetDrawingMode(false);
        m_painter.Reset();
        m_painter.SetDepthRange(m_pProject->m_fCursorDepth);
        break;
    case DRAW_VISIBILITY:
        m_painter.SetDepthRange(m_pProject->m_fCursorDepth);
        break;
    default:
        if (!ApplyDrawingEvent(lParam))
            return 0;
        break;
    }
    Invalidate(false);
    return 0;
}
