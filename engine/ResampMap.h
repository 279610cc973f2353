#pragma once
// Resample maps: every target sample of a resampling of n source samples onto m target samples
// tied to the source sample at or before it and its distance past that sample. Built once per
// size change and reused for every trace; ResampleTrace interpolates linearly through a map.

#include <cstddef>
#include <cstdint>
#include <vector>

struct CResampMap
{
    // m + 1 entries each (empty for m = 0); entry m closes the map.
    std::vector<uint32_t> m_index;  // source sample at or before each target sample
    std::vector<float> m_fraction;  // distance past the index sample, 0 <= f < 1
    int32_t m_iFirst = 0;           // first interpolated target sample
    int32_t m_iEnd = 0;             // one past the last interpolated target sample, m - 1
    float m_fStep = 0.0f;           // source samples per target sample
    uint32_t m_nSourceCount = 0;
    uint32_t m_nTargetCount = 0;    // m

    // first .. end - 1 cut to the entries present and to targets below limit.
    void GetInterpolatedRange(size_t limit, size_t& first, size_t& end) const;
};

// n source samples onto m targets: step n / m; the closing entry is n - 1.
void CreateResampleMap(CResampMap& map, int n, int m);
// Source samples 0 .. last onto m targets: step last / m; entries m - 1 and m are last.
void CreateResampleMapOffset(CResampMap& map, int last, int m);
// Source samples 0 .. last onto m targets with the first and the last target on the first and
// the last source sample: step last / (m - 1), 0 for m = 1; entries m - 1 and m are last.
void CreateResampleMapRange(CResampMap& map, int last, int m);

// The source position that a target sample stands for: its index plus fraction; targets
// before the first or past the last continue the map's line by its step. 0 for an empty map.
float MapTargetToSource(const CResampMap& map, int target);
// The target sample whose source position lies nearest, the inverse of MapTargetToSource:
// every target's own position gives the target back. Positions outside the map give targets
// outside it (at most 10^6 away); 0 for a map without a step or a NaN position.
int MapSourceToTarget(const CResampMap& map, double source);

// Fills target samples 0 .. m - 1 (at most targetCount) by linear interpolation of the source;
// samples outside first .. end - 1 are 0, so the last one always is. Reads no source sample
// past min(map source count, sourceCount) - 1; with no source samples every target is 0.
// source and target must not overlap.
void ResampleTrace(const CResampMap& map, const float* source, size_t sourceCount, float* target,
                   size_t targetCount);
