#pragma once
// The profile view's image the plain way: every trace of the line copied from the matrix, the
// running mean removed and the line migrated with the written-out loops over a table built
// afresh, then rendered column by column. The yardstick for the view's kept processing.

#include "ReferenceMigration.h"
#include "ReferenceSectionImage.h"

#include "Matrix.h"
#include "Migration.h"
#include "Project.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

struct CReferenceProfile
{
    const CResampMap* pColumnMap = nullptr;
    const CResampMap* pDepthMap = nullptr;
    const std::vector<float>* pGain = nullptr;
    bool bAlongX = true;
    int line = 0;
    float gainFactor = 0.0f; // applies with migration
    int width = 0;
    int height = 0;
};

// Colours (0x00BBGGRR) row by row, width x height.
inline std::vector<uint32_t> ReferenceProfileImage(const CProject& project, const C3DMatrix& matrix,
                                                   const CReferenceProfile& p, const std::array<uint32_t, 256>& palette,
                                                   bool bWrap)
{
    const CProjectSettings& s = project.m_settings;
    const int perLine = int(p.bAlongX ? matrix.m_nNX : matrix.m_nNY);
    const int positions = std::min(std::max(p.bAlongX ? s.m_iSizeX : s.m_iSizeY, 0), perLine);
    const int samples = std::max(std::min(s.m_iSamples, int(matrix.m_nSamples)), 0);
    const int length = std::max(s.m_iSamples, samples);
    std::vector<float> traces(size_t(positions) * size_t(length), 0.0f);
    for (int t = 0; t < positions; ++t) {
        const float* trace = p.bAlongX ? matrix.GetHorzTrace(uint32_t(p.line), uint32_t(t))
                                       : matrix.GetVertTrace(uint32_t(p.line), uint32_t(t));
        std::copy(trace, trace + samples, traces.begin() + ptrdiff_t(t) * length);
    }
    const CProcessingParams& params = s.m_params;
    if (params.m_bDelMeanOn)
        ReferenceRemoveRunningMean(traces.data(), positions, length, params.m_iDelMean);
    if (params.m_bMigration) {
        CMigration table(&project, positions);
        table.BuildTable();
        std::vector<float> migrated(traces.size());
        ReferenceMigrate(table, traces.data(), migrated.data(), positions, length, s.m_iZeroLevel);
        traces.swap(migrated);
    }

    CReferenceSection section;
    section.pColumnMap = p.pColumnMap;
    section.pDepthMap = p.pDepthMap;
    section.pGain = p.pGain;
    for (int t = 0; t < positions; ++t)
        section.tracesA.push_back(traces.data() + ptrdiff_t(t) * length);
    section.tracesB = section.tracesA;
    section.weightA = params.m_bMigration ? p.gainFactor : 1.0f;
    section.samples = samples;
    section.contrast = s.m_iContrast;
    section.width = p.width;
    section.height = p.height;
    return ReferenceSectionImage(section, palette, bWrap);
}
