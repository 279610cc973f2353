#pragma once
// The migration summation written out trace by trace and sample by sample over a CMigration's
// table, and the running-mean removal with one running sum per sample: the yardsticks for the
// production loops in the tests and the benchmark.

#include "Migration.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

inline void ReferenceMigrate(const CMigration& migration, const float* pData, float* pOutput, int traces,
                             int samples, int zeroLevel)
{
    std::fill_n(pOutput, static_cast<size_t>(traces) * samples, 0.0f);
    for (int a = 0; a < traces; ++a) {
        for (int s = std::max(zeroLevel, 0); s < samples; ++s) {
            const int64_t w = migration.GetAperture(s);
            const int64_t first = std::max<int64_t>(0, a - w);
            const int64_t last = std::min<int64_t>(traces - 1, a + w);
            float sum = 0;
            for (int64_t t = first; t <= last; ++t) {
                const uint32_t time = migration.GetTravelTime(s, static_cast<int32_t>(std::llabs(t - a)));
                if (time < static_cast<uint32_t>(samples) && std::llabs(int64_t(time) - s) < 120)
                    sum += pData[static_cast<size_t>(t) * samples + time];
            }
            pOutput[static_cast<size_t>(a) * samples + s] = sum / static_cast<float>(last - first + 1);
        }
    }
}

// Each of traces x samples values less the mean of the same sample over the traces within
// min(traces - 1, width) / 2 of it, the window cut at both ends of the section.
inline void ReferenceRemoveRunningMean(float* pData, int traces, int samples, int width)
{
    if (traces <= 0 || samples <= 0)
        return;
    const int h = std::max(std::min(traces - 1, width) / 2, 0);
    const std::vector<float> input(pData, pData + static_cast<size_t>(traces) * samples);
    const auto at = [&](int t, int s) { return input[static_cast<size_t>(t) * samples + s]; };
    for (int s = 0; s < samples; ++s) {
        double sum = 0;
        for (int t = 0; t <= h; ++t)
            sum += at(t, s);
        for (int a = 0; a < traces; ++a) {
            const int first = std::max(0, a - h), last = std::min(traces - 1, a + h);
            pData[static_cast<size_t>(a) * samples + s] = static_cast<float>(at(a, s) - sum / (last - first + 1));
            if (a + h + 1 < traces)
                sum += at(a + h + 1, s);
            if (a - h >= 0)
                sum -= at(a - h, s);
        }
    }
}
