#include "ProfileDataSideView.h"

#include "TruncToInt.h"

#include "Cfg.h"
#include "Matrix.h"
#include "Project.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

bool SameMap(const CResampMap& a, const CResampMap& b)
{
    return a.m_index == b.m_index && a.m_fraction == b.m_fraction && a.m_iFirst == b.m_iFirst && a.m_iEnd == b.m_iEnd &&
           a.m_fStep == b.m_fStep && a.m_nSourceCount == b.m_nSourceCount && a.m_nTargetCount == b.m_nTargetCount;
}

} // namespace

bool CProfileDataSideView::CRenderInputs::operator==(const CRenderInputs& other) const
{
    // Floats by value: a NaN never matches, so such an image is rendered afresh.
    return generation == other.generation && rect == other.rect && size == other.size && weight == other.weight &&
           contrast == other.contrast && SameMap(columns, other.columns) && SameMap(rows, other.rows) &&
           gain == other.gain && palette == other.palette && bWrap == other.bWrap;
}

CProfileDataSideView::~CProfileDataSideView() = default;

void CProfileDataSideView::Render(const CRect& rect)
{
    if (!IsShown())
        return;
    RenderProfile(rect);
    if (m_nDisplayMode == DISPLAY_HYPERBOLAS && m_image.IsValid())
        DrawHyperbolas(rect);
    ComposeObjects();
}

void CProfileDataSideView::RenderProfile(const CRect& rect)
{
    if (!IsShown())
        return;
    const bool bAlongX = GetDirection() == DIRECTION_X;
    const int lines = GetLineCount();
    const CProjectSettings* pSettings = m_pProject ? &m_pProject->m_settings : nullptr;
    const uint32_t perLine = m_pMatrix ? (bAlongX ? m_pMatrix->m_nNX : m_pMatrix->m_nNY) : 0;
    const int positions = pSettings ? std::min(std::max(bAlongX ? pSettings->m_iSizeX : pSettings->m_iSizeY, 0), int(perLine)) : 0;
    const int samples = pSettings && m_pMatrix ? std::max(std::min(pSettings->m_iSamples, int(m_pMatrix->m_nSamples)), 0) : 0;
    if (!IsBound() || !m_pMatrix || !m_pMatrix->IsInitialized() || lines < 1 || m_nSectionLine < 0 || positions < 1 ||
        samples < 1) {
        RenderEmpty(rect);
        return;
    }
    const uint32_t line = uint32_t(std::min(m_nSectionLine, lines - 1));
    // The migration takes traces of the settings' length; what the matrix lacks reads 0.
    const int length = std::max(pSettings->m_iSamples, samples);
    if (!m_processed.Update(*m_pProject, *m_pMatrix, bAlongX, line, positions, samples, length)) {
        RenderEmpty(rect);
        return;
    }

    const bool bMigration = pSettings->m_params.m_bMigration;
    CSection section;
    section.m_rect = rect;
    section.m_fWeightA = bMigration ? m_fGainFactor : 1.0f;
    section.m_fWeightB = 0.0f;
    section.m_nFirstColumn = 0;
    section.m_nEndColumn = rect.Width();

    CRenderInputs inputs;
    inputs.generation = m_processed.GetGeneration();
    inputs.rect = rect;
    inputs.size = CSize(m_image.GetWidth(), m_image.GetHeight());
    inputs.weight = section.m_fWeightA;
    inputs.contrast = pSettings->m_iContrast;
    inputs.columns = m_columnMap;
    inputs.rows = m_depthMap;
    inputs.gain = m_gain;
    inputs.palette = g_cfg.m_curColors;
    inputs.bWrap = g_cfg.m_bPaletteWrap;
    const size_t bytes = size_t(m_image.GetStride()) * size_t(inputs.size.cy);
    // Kept only when the render writes every pixel of the image.
    const bool bWhole = m_image.GetBits() && rect == CRect(CPoint(0, 0), inputs.size) &&
                        int64_t(m_columnMap.m_nTargetCount) >= inputs.size.cx &&
                        int64_t(m_depthMap.m_nTargetCount) >= inputs.size.cy && m_gain.size() >= size_t(inputs.size.cy);
    if (bWhole && m_keptPixels.size() == bytes && inputs == m_keptInputs) {
        std::copy(m_keptPixels.begin(), m_keptPixels.end(), m_image.GetBits());
        m_image.SetValid(true);
        return;
    }

    section.m_tracesA.resize(size_t(positions));
    for (int t = 0; t < positions; ++t)
        section.m_tracesA[size_t(t)] = m_processed.GetTrace(t);
    section.m_tracesB = section.m_tracesA;
    section.m_nSampleStride = m_processed.GetSampleStride();
    RenderSection(section);
    m_image.SetValid(true);
    if (!bWhole) {
        std::vector<uint8_t>().swap(m_keptPixels);
        return;
    }
    try {
        m_keptPixels.assign(m_image.GetBits(), m_image.GetBits() + bytes);
        m_keptInputs = std::move(inputs);
    } catch (const std::bad_alloc&) {
        // Only the next render's shortcut is lost.
        std::vector<uint8_t>().swap(m_keptPixels);
    }
}

std::vector<CPoint> CProfileDataSideView::HyperbolaPoints(const CRect& rect, int offset) const
{
    std::vector<CPoint> points;
    if (!m_pProject)
        return points;
    const CProjectSettings& s = m_pProject->m_settings;
    // Metres per sample of two-way travel; without it there is no curve.
    const double perSample = double(s.m_antenna.m_iFrequencySteps) * s.m_dSystemCalibration * s.m_dVelocity;
    const double columnStep = m_columnMap.m_fStep, rowStep = m_depthMap.m_fStep;
    const int width = std::min(rect.Width(), int(m_columnMap.m_nTargetCount));
    const int height = rect.Height();
    if (!(perSample > 0) || !(s.m_dResolution > 0) || !(columnStep > 0) || !(rowStep > 0) || width <= 0 || height <= 0)
        return points;

    const double x0 = GetDirection() == DIRECTION_X ? m_pProject->m_fCursorX : m_pProject->m_fCursorY;
    const double d0 = s.SampleToDepth(m_pProject->m_fCursorDepth);
    const CProjectSettings bottom = s;
    const double d1 = bottom.SampleToDepth(float(bottom.m_iSamples));
    const double h = d1 > d0 ? std::sqrt(d1 * d1 - d0 * d0) / s.m_dResolution / columnStep : 0.0;
    const int first = std::clamp(TruncToInt(x0 / columnStep - h), 0, width);
    const int end = std::clamp(TruncToInt(x0 / columnStep + h + 2.0), 0, width);
    points.reserve(size_t(std::max(end - first, 0)));
    for (int q = first; q < end; ++q) {
        const double p = double(m_columnMap.m_index[size_t(q)]) + m_columnMap.m_fraction[size_t(q)];
        const double lateral = std::fabs(x0 - p) * s.m_dResolution;
        const double slant = std::sqrt(lateral * lateral + d0 * d0);
        // Just outside the view at most, so that a curve leaving it is cut by the clipping.
        const int row = std::clamp(TruncToInt(s.DepthToSample(slant) / rowStep), -1, height);
        points.emplace_back(q, row + offset);
    }
    return points;
}

void CProfileDataSideView::DrawHyperbolas(const CRect& rect)
{
    struct CCurve
    {
        int offset;
        int width;
        COLORREF colour;
    };
    // A black hyperbola with white edges.
    static const CCurve kCurves[] = {{-2, 1, RGB(255, 255, 255)}, {0, 2, RGB(0, 0, 0)}, {2, 1, RGB(255, 255, 255)}};
    for (const CCurve& curve : kCurves) {
        const std::vector<CPoint> points = HyperbolaPoints(rect, curve.offset);
        if (points.size() < 2)
            continue;
        CPen pen(PS_SOLID, curve.width, curve.colour);
        CPen* pOld = m_image.SelectObject(&pen);
        m_image.Polyline(points.data(), int(points.size()));
        m_image.SelectObject(pOld);
    }
}
