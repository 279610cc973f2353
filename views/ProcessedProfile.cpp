#include "ProcessedProfile.h"

#include "Matrix.h"
#include "MessageLog.h"
#include "Project.h"

#include <algorithm>
#include <cstring>
#include <new>

bool CProcessedProfile::CSource::operator==(const CSource& other) const
{
    return pProject == other.pProject && pMatrix == other.pMatrix && bAlongX == other.bAlongX && line == other.line &&
           positions == other.positions && samples == other.samples && length == other.length;
}

bool CProcessedProfile::TakeInput(const C3DMatrix& matrix, bool bAlongX, uint32_t line, int positions, int samples,
                                  int length)
{
    const size_t values = size_t(positions) * size_t(length);
    bool bSame = m_input.size() == values;
    if (!bSame)
        m_input.assign(values, 0.0f);
    for (int t = 0; t < positions; ++t) {
        const float* trace = bAlongX ? matrix.GetHorzTrace(line, uint32_t(t)) : matrix.GetVertTrace(line, uint32_t(t));
        float* kept = m_input.data() + ptrdiff_t(t) * length;
        // Bit for bit, so that a NaN compares equal to itself and -0 differs from +0.
        if (bSame && std::memcmp(kept, trace, size_t(samples) * sizeof(float)) == 0)
            continue;
        bSame = false;
        std::copy(trace, trace + samples, kept);
    }
    return bSame;
}

void CProcessedProfile::Release()
{
    m_pMigration.reset();
    std::vector<float>().swap(m_input);
    std::vector<float>().swap(m_meanRemoved);
    std::vector<float>().swap(m_migrated);
    m_nInputId = m_nMeanId = m_nMeanFrom = m_nMigratedId = m_nMigratedFrom = m_nOutputId = 0;
    m_pOutput = nullptr;
}

bool CProcessedProfile::Update(const CProject& project, const C3DMatrix& matrix, bool bAlongX, uint32_t line,
                               int positions, int samples, int length)
{
    const CProcessingParams& params = project.m_settings.m_params;
    const int32_t tableSamples = project.m_settings.m_iSamples;
    const CSource source{&project, &matrix, bAlongX, line, positions, samples, length};
    try {
        if (!m_pMigration || m_pMigration->GetProject() != &project || m_pMigration->GetTraceCount() != positions ||
            m_pMigration->GetSampleCount() != tableSamples)
            m_pMigration = std::make_unique<CMigration>(&project, positions);
        // Everything of the input is compared, also when the source changed.
        const bool bSameInput = TakeInput(matrix, bAlongX, line, positions, samples, length);
        if (!bSameInput || !(source == m_source) || m_nInputId == 0)
            m_nInputId = ++m_nLastId;
        m_source = source;
        if (params.m_bDelMeanOn)
            m_meanRemoved.resize(m_input.size());
        if (params.m_bMigration)
            m_migrated.resize(size_t(length) * m_pMigration->GetRowStride());
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "CProcessedProfile::Update(): out of memory for %d traces.", positions);
        Release();
        return false;
    }
    CMigration& migration = *m_pMigration;

    const float* pOutput = m_input.data();
    uint64_t outputId = m_nInputId;
    m_nTraceStep = length;
    m_nSampleStride = 1;
    const int32_t halfWidth = migration.GetRunningMeanHalfWidth();
    if (halfWidth >= 0) {
        if (m_nMeanFrom != outputId || m_nMeanHalfWidth != halfWidth) {
            migration.RemoveRunningMean(pOutput, m_meanRemoved.data());
            m_nMeanFrom = outputId;
            m_nMeanHalfWidth = halfWidth;
            m_nMeanId = ++m_nLastId;
        }
        pOutput = m_meanRemoved.data();
        outputId = m_nMeanId;
    }
    if (params.m_bMigration) {
        // The travel-time table serves only the migration; a new one on the same input lets
        // the migration keep its copy of it.
        const bool bNewTable = !migration.IsTableCurrent();
        if (bNewTable)
            migration.BuildTable();
        if (bNewTable || m_nMigratedFrom != outputId) {
            migration.MigrateToRows(pOutput, m_migrated.data(), m_nMigratedFrom == outputId);
            m_nMigratedFrom = outputId;
            m_nMigratedId = ++m_nLastId;
        }
        pOutput = m_migrated.data();
        outputId = m_nMigratedId;
        m_nTraceStep = 1;
        m_nSampleStride = migration.GetRowStride();
    }
    m_pOutput = pOutput;
    m_nOutputId = outputId;
    return true;
}
