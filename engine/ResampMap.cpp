#include "ResampMap.h"

#include "MessageLog.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

void MakeEmpty(CResampMap& map, int64_t sourceCount)
{
    map.m_index.clear();
    map.m_fraction.clear();
    map.m_iFirst = 0;
    map.m_iEnd = 0;
    map.m_fStep = 0.0f;
    map.m_nSourceCount = static_cast<uint32_t>(std::max<int64_t>(sourceCount, 0));
    map.m_nTargetCount = 0;
}

// Positions i * step + step / 1000 for i = 0 .. m - 1, in single precision; the bias keeps exact
// multiples from falling just below a whole sample. Entry m (and m - 1 when closeBoth is set)
// becomes closingIndex with fraction 0.
void BuildMap(CResampMap& map, float step, int64_t sourceCount, int m, uint32_t closingIndex,
              bool closeBoth)
{
    if (m <= 0) {
        MakeEmpty(map, sourceCount);
        return;
    }
    const size_t entries = static_cast<size_t>(m) + 1;
    try {
        map.m_index.assign(entries, 0);
        map.m_fraction.assign(entries, 0.0f);
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "Resample map: out of memory for %d samples", m);
        MakeEmpty(map, sourceCount);
        return;
    }
    map.m_iFirst = 0;
    map.m_nTargetCount = static_cast<uint32_t>(m);
    if (sourceCount <= 0) {
        // Nothing to interpolate from: every target sample resamples to 0.
        map.m_iEnd = 0;
        map.m_fStep = 0.0f;
        map.m_nSourceCount = 0;
        return;
    }
    const float bias = step / 1000.0f;
    for (int i = 0; i < m; ++i) {
        const float p = static_cast<float>(i) * step + bias;
        const float whole = std::floor(p);
        map.m_index[i] = static_cast<uint32_t>(whole);
        map.m_fraction[i] = p - whole;
    }
    map.m_index[m] = closingIndex;
    map.m_fraction[m] = 0.0f;
    if (closeBoth) {
        map.m_index[m - 1] = closingIndex;
        map.m_fraction[m - 1] = 0.0f;
    }
    map.m_iEnd = m - 1;
    map.m_fStep = step;
    map.m_nSourceCount = static_cast<uint32_t>(sourceCount);
}

} // namespace

void CResampMap::GetInterpolatedRange(size_t limit, size_t& first, size_t& end) const
{
    const size_t present = std::min({static_cast<size_t>(m_nTargetCount), m_index.size(),
                                     m_fraction.size(), limit});
    first = std::min(static_cast<size_t>(std::max<int32_t>(m_iFirst, 0)), present);
    end = std::clamp(static_cast<size_t>(std::max<int32_t>(m_iEnd, 0)), first, present);
}

void CreateResampleMap(CResampMap& map, int n, int m)
{
    const float step = m > 0 ? static_cast<float>(n) / static_cast<float>(m) : 0.0f;
    BuildMap(map, step, n, m, n > 0 ? static_cast<uint32_t>(n - 1) : 0, false);
}

void CreateResampleMapOffset(CResampMap& map, int last, int m)
{
    const float step = m > 0 ? static_cast<float>(last) / static_cast<float>(m) : 0.0f;
    BuildMap(map, step, int64_t{last} + 1, m, last > 0 ? static_cast<uint32_t>(last) : 0, true);
}

void CreateResampleMapRange(CResampMap& map, int last, int m)
{
    const float step = m > 1 ? static_cast<float>(last) / static_cast<float>(m - 1) : 0.0f;
    BuildMap(map, step, int64_t{last} + 1, m, last > 0 ? static_cast<uint32_t>(last) : 0, true);
}

float MapTargetToSource(const CResampMap& map, int target)
{
    const int m = int(std::min<size_t>({map.m_nTargetCount, map.m_index.size(), map.m_fraction.size()}));
    if (m <= 0)
        return 0.0f;
    const int inside = std::clamp(target, 0, m - 1);
    const float position = float(map.m_index[size_t(inside)]) + map.m_fraction[size_t(inside)];
    return target == inside ? position : position + float(target - inside) * map.m_fStep;
}

int MapSourceToTarget(const CResampMap& map, double source)
{
    const int m = int(std::min<size_t>({map.m_nTargetCount, map.m_index.size(), map.m_fraction.size()}));
    const double step = map.m_fStep;
    if (m <= 0 || !(step > 0) || std::isnan(source))
        return 0;
    constexpr double kFarthest = 1.0e6;
    const double first = MapTargetToSource(map, 0), last = MapTargetToSource(map, m - 1);
    if (source <= first)
        return -int(std::min(std::floor((first - source) / step + 0.5), kFarthest));
    if (source >= last)
        return m - 1 + int(std::min(std::floor((source - last) / step + 0.5), kFarthest));
    // Inside the map the positions rise with the targets: walk from the estimate to the nearest,
    // each target's distance taken once.
    int target = std::clamp(int(source / step + 0.5), 0, m - 1);
    const auto distance = [&](int t) { return std::fabs(double(MapTargetToSource(map, t)) - source); };
    double here = distance(target);
    while (target + 1 < m) {
        const double next = distance(target + 1);
        if (!(next < here))
            break;
        ++target;
        here = next;
    }
    while (target > 0) {
        const double previous = distance(target - 1);
        if (!(previous < here))
            break;
        --target;
        here = previous;
    }
    return target;
}

void ResampleTrace(const CResampMap& map, const float* source, size_t sourceCount, float* target,
                   size_t targetCount)
{
    if (!target)
        return;
    const size_t count = std::min<size_t>(map.m_nTargetCount, targetCount);
    size_t first = 0;
    size_t end = 0;
    map.GetInterpolatedRange(count, first, end);
    const size_t available = source ? std::min<size_t>(map.m_nSourceCount, sourceCount) : 0;
    if (available == 0)
        end = first;

    std::fill(target, target + first, 0.0f);
    const size_t lastSample = available - 1;
    const uint32_t* index = map.m_index.data();
    const float* fraction = map.m_fraction.data();
    for (size_t k = first; k < end; ++k) {
        const size_t i0 = std::min<size_t>(index[k], lastSample);
        const size_t i1 = std::min<size_t>(size_t{index[k]} + 1, lastSample);
        const float f = fraction[k];
        target[k] = source[i1] * f + (1.0f - f) * source[i0];
    }
    std::fill(target + end, target + count, 0.0f);
}
