#pragma once
// The migration summation written out trace by trace and sample by sample over a CMigration's
// table: the yardstick for the production loop in the tests and the benchmark.

#include "Migration.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

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
