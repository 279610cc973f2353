#include "ProcessedProfile.h"

#include "Matrix.h"
#include "MessageLog.h"
#include "Project.h"

#include <algorithm>
#include <cstring>
#include <new>

bool CProcessedProfile::CKey::operator==(const CKey& other) const
{
    return pProject == other.pProject && pMatrix == other.pMatrix && bAlongX == other.bAlongX && line == other.line &&
           positions == other.positions && samples == other.samples && length == other.length &&
           meanHalfWidth == other.meanHalfWidth && bMigration == other.bMigration;
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

bool CProcessedProfile::Update(const CProject& project, const C3DMatrix& matrix, bool bAlongX, uint32_t line,
                               int positions, int samples, int length)
{
    const int32_t tableSamples = project.m_settings.m_iSamples;
    bool bSameInput = false;
    try {
        if (!m_pMigration || m_pMigration->GetProject() != &project || m_pMigration->GetTraceCount() != positions ||
            m_pMigration->GetSampleCount() != tableSamples)
            m_pMigration = std::make_unique<CMigration>(&project, positions);
        // Everything of the input is compared, also when something else changed.
        bSameInput = TakeInput(matrix, bAlongX, line, positions, samples, length);
        m_traces.resize(m_input.size());
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "CProcessedProfile::Update(): out of memory for %d traces.", positions);
        std::vector<float>().swap(m_input);
        std::vector<float>().swap(m_traces);
        m_pMigration.reset();
        m_bProcessed = false;
        return false;
    }
    CMigration& migration = *m_pMigration;
    CKey key;
    key.pProject = &project;
    key.pMatrix = &matrix;
    key.bAlongX = bAlongX;
    key.line = line;
    key.positions = positions;
    key.samples = samples;
    key.length = length;
    key.meanHalfWidth = migration.GetRunningMeanHalfWidth();
    key.bMigration = project.m_settings.m_params.m_bMigration;
    const bool bTableCurrent = !key.bMigration || migration.IsTableCurrent();
    if (m_bProcessed && bSameInput && bTableCurrent && key == m_key)
        return true;

    m_key = key;
    m_nLength = length;
    m_bProcessed = true;
    ++m_nGeneration;
    std::copy(m_input.begin(), m_input.end(), m_traces.begin());
    // Unallocated (logged) when the section is too large: the traces stay as they are.
    if (migration.GetSampleCount() != tableSamples)
        return true;
    // The travel-time table serves only the migration.
    if (!bTableCurrent)
        migration.BuildTable();
    migration.RemoveRunningMean(m_traces.data());
    migration.Migrate(m_traces.data());
    return true;
}
