#pragma once
// The depth slice of a trace set read the long way, every trace's value from its own samples:
// the yardstick for the matrix's slice extraction.

#include "Matrix.h"
#include "Project.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// One value per trace of a set at the settings' depth: the sample, or |max - min| over the
// thickness window; then AGC, the disabled band pass and the threshold along each line.
inline std::vector<float> ReferenceSetSlice(const C3DMatrix& matrix, const CProjectSettings& s, bool bVertical)
{
    const CProcessingParams& params = s.m_params;
    const uint32_t lines = bVertical ? matrix.m_nVertLines : matrix.m_nHorzLines;
    const uint32_t perLine = bVertical ? matrix.m_nNY : matrix.m_nNX;
    const int64_t ns = matrix.m_nSamples, depth = s.m_iDepthIndex, thickness = params.m_iAperture;
    std::vector<float> slice(size_t(lines) * perLine, 0.0f);
    for (uint32_t line = 0; line < lines; ++line)
        for (uint32_t t = 0; t < perLine; ++t) {
            const float* trace = bVertical ? matrix.GetVertTrace(line, t) : matrix.GetHorzTrace(line, t);
            float& value = slice[size_t(line) * perLine + t];
            if (depth < 0 || depth >= ns) {
                value = 0;
            } else if (thickness < 2) {
                value = trace[depth];
            } else {
                float high = 0, low = 0;
                for (int64_t k = std::max<int64_t>(0, depth - (thickness - 1) / 2);
                     k < std::min<int64_t>(ns, depth + thickness / 2); ++k) {
                    high = std::max(high, trace[k]);
                    low = std::min(low, trace[k]);
                }
                value = std::fabs(high - low);
            }
        }
    for (uint32_t line = 0; line < lines; ++line) {
        float* values = slice.data() + size_t(line) * perLine;
        if (params.m_bAgcOn) {
            // The running sum of |value| in double precision, as the matrix keeps it.
            const std::vector<float> input(values, values + perLine);
            const int64_t n = perLine, h = std::max(params.m_iAgcWindow, 0) / 2;
            double sum = 0;
            int64_t first = 0, end = 0;
            for (int64_t k = 0; k < n; ++k) {
                for (; end < std::min(n, k + h + 1); ++end)
                    sum += std::fabs(double(input[size_t(end)]));
                for (; first < std::max<int64_t>(0, k - h); ++first)
                    sum -= std::fabs(double(input[size_t(first)]));
                const double floor = k <= h ? 0.0005 : 0.005;
                values[k] = float(input[size_t(k)] * (params.m_iAgcScale * 0.05) /
                                  std::max(floor, sum / double(end - first)));
            }
        }
        FirBandPass(values, values, int(perLine), false, 0, 0);
        for (uint32_t t = 0; t < perLine; ++t)
            if ((params.m_iThreshold < 0 && values[t] > 0) || (params.m_iThreshold > 0 && values[t] < 0))
                values[t] = 0;
    }
    return slice;
}
