#include "AutoContrast.h"

#include "Cfg.h"
#include "Matrix.h"
#include "MessageLog.h"
#include "Migration.h"
#include "Project.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace {

double PositiveSum(const std::vector<float>& values)
{
    double sum = 0;
    for (float v : values)
        if (v > 0)
            sum += v;
    return sum;
}

// The first traces of the longer line set, one after the other; empty when the matrix holds
// no such traces.
std::vector<float> FirstTraces(const CProject& project, const C3DMatrix& matrix)
{
    const CProjectSettings& s = project.m_settings;
    const bool bHorizontal = s.m_iGridSizeX > s.m_iGridSizeY;
    const int gridSize = bHorizontal ? s.m_iGridSizeX : s.m_iGridSizeY;
    const uint32_t perLine = bHorizontal ? matrix.m_nNX : matrix.m_nNY;
    const uint32_t lines = bHorizontal ? matrix.m_nHorzLines : matrix.m_nVertLines;
    if (!matrix.IsInitialized() || lines == 0 || gridSize <= 0 || s.m_iSamples <= 0 ||
        static_cast<uint32_t>(s.m_iSamples) != matrix.m_nSamples)
        return {};
    const uint32_t count = std::min({static_cast<uint32_t>(gridSize), perLine,
                                     static_cast<uint32_t>(AUTO_CONTRAST_TRACES)});
    const size_t ns = matrix.m_nSamples;
    std::vector<float> buffer(size_t(count) * ns);
    for (uint32_t t = 0; t < count; ++t) {
        const float* trace = bHorizontal ? matrix.GetHorzTrace(0, t) : matrix.GetVertTrace(0, t);
        std::memcpy(buffer.data() + size_t(t) * ns, trace, ns * sizeof(float));
    }
    return buffer;
}

} // namespace

bool AutoContrastFactorCalc(CProject& project, const C3DMatrix& matrix, float& factor)
{
    if (!g_cfg.m_bAutoContrast)
        return false;
    std::vector<float> buffer;
    try {
        buffer = FirstTraces(project, matrix);
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "AutoContrastFactorCalc(): out of memory for the traces.");
    }
    if (buffer.empty()) {
        factor = 1.0f;
        return true;
    }
    const double before = PositiveSum(buffer);

    bool& bMigration = project.m_settings.m_params.m_bMigration;
    const bool bWasOn = bMigration;
    bMigration = true;
    CMigration migration(&project, static_cast<int32_t>(buffer.size() / matrix.m_nSamples));
    migration.BuildTable();
    migration.Migrate(buffer.data());
    bMigration = bWasOn;

    const double after = PositiveSum(buffer);
    const float quotient = static_cast<float>(before / after);
    factor = after != 0 && std::isfinite(quotient) ? quotient : 1.0f;
    return true;
}
