#include "ProfileDataSideView.h"

#include "TruncToInt.h"

#include "Matrix.h"
#include "MessageLog.h"
#include "Project.h"

#include <algorithm>
#include <cmath>
#include <new>

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
    try {
        m_traces.resize(size_t(positions) * size_t(length));
        if (!m_pMigration || m_pMigration->GetProject() != m_pProject || m_pMigration->GetTraceCount() != positions ||
            m_pMigration->GetSampleCount() != pSettings->m_iSamples)
            m_pMigration = std::make_unique<CMigration>(m_pProject, positions);
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "CProfileDataSideView: out of memory for %d traces.", positions);
        std::vector<float>().swap(m_traces);
        m_pMigration.reset();
        RenderEmpty(rect);
        return;
    }
    for (int t = 0; t < positions; ++t) {
        const float* trace = bAlongX ? m_pMatrix->GetHorzTrace(line, uint32_t(t)) : m_pMatrix->GetVertTrace(line, uint32_t(t));
        const auto begin = m_traces.begin() + ptrdiff_t(t) * length;
        std::copy(trace, trace + samples, begin);
        std::fill(begin + samples, begin + length, 0.0f);
    }

    const bool bMigration = pSettings->m_params.m_bMigration;
    CMigration& migration = *m_pMigration;
    // Unallocated (logged) when the section is too large.
    if (migration.GetSampleCount() == pSettings->m_iSamples) {
        // The travel-time table serves only the migration.
        if (bMigration && !migration.IsTableCurrent())
            migration.BuildTable();
        migration.RemoveRunningMean(m_traces.data());
        migration.Migrate(m_traces.data());
    }

    CSection section;
    section.m_rect = rect;
    section.m_fWeightA = bMigration ? m_fGainFactor : 1.0f;
    section.m_fWeightB = 0.0f;
    section.m_nFirstColumn = 0;
    section.m_nEndColumn = rect.Width();
    section.m_tracesA.resize(size_t(positions));
    for (int t = 0; t < positions; ++t)
        section.m_tracesA[size_t(t)] = m_traces.data() + ptrdiff_t(t) * length;
    section.m_tracesB = section.m_tracesA;
    RenderSection(section);
    m_image.SetValid(true);
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
