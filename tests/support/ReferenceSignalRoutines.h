#pragma once
// The band pass written out sample by sample as its rules state, one running sum per pass: the
// yardstick for the single-trace and the packed band pass in the tests.

#include "SignalRoutines.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// Centred running mean over halfWidth samples either side of every sample, cut at both ends of
// the trace and divided by the samples in the window; highPass writes the sample less the mean.
inline void ReferenceCentredMean(const std::vector<float>& in, float* out, unsigned halfWidth, bool highPass)
{
    const int64_t n = static_cast<int64_t>(in.size());
    const int64_t h = halfWidth;
    double sum = 0;
    for (int64_t j = 0; j <= std::min(h, n - 1); ++j)
        sum += in[size_t(j)];
    for (int64_t i = 0; i < n; ++i) {
        const int64_t first = std::max<int64_t>(0, i - h), last = std::min(n - 1, i + h);
        // A window of one sample is that sample.
        const float mean = h == 0 ? in[size_t(i)] : static_cast<float>(sum / static_cast<double>(last - first + 1));
        out[i] = highPass ? in[size_t(i)] - mean : mean;
        const bool bEnters = i + h + 1 < n, bLeaves = i - h >= 0;
        if (bEnters && bLeaves)
            sum += static_cast<double>(in[size_t(i + h + 1)]) - static_cast<double>(in[size_t(i - h)]);
        else if (bEnters)
            sum += in[size_t(i + h + 1)];
        else if (bLeaves)
            sum -= in[size_t(i - h)];
    }
}

// FirBandPass of n samples from source into target. Disabled on a trace of at most 11 samples
// it writes nothing.
inline void ReferenceFirBandPass(const float* source, float* target, int n, bool enabled, unsigned high,
                                 unsigned low)
{
    if (n <= 0)
        return;
    const std::vector<float> in(source, source + n);
    if (!enabled) {
        const int half = n / 2;
        if (half <= 5)
            return;
        double sum = 0;
        for (int i = half; i < half + (half - 5); ++i)
            sum += in[size_t(i)];
        const float mean = static_cast<float>(sum / (half - 5));
        for (int i = 0; i < n; ++i) {
            const float value = in[size_t(i)] - mean;
            target[i] = CompareFloat(value, -1.0f) < 0 ? -1.0f : CompareFloat(value, 1.0f) > 0 ? 1.0f : value;
        }
        return;
    }
    std::vector<float> highPassed(in.size());
    ReferenceCentredMean(in, highPassed.data(), high / 2, true);
    ReferenceCentredMean(highPassed, target, low / 2, false);
}
