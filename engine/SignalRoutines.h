#pragma once
// Routines on float traces shared by the matrix, the views and the dialogs: the time-gain curve,
// the band pass built from two centred running means, the first-arrival pick and the float
// comparison with a fixed tolerance. All run on the user-interface thread: the band pass keeps
// its intermediate trace in one scratch array that grows to the largest call.

#include <cmath>
#include <cstddef>

struct CResampMap;

// 0 when |a - b| < 0.0001, -1 when b > a, 1 otherwise (also for NaN).
inline int CompareFloat(float a, float b)
{
    if (std::fabs(static_cast<double>(a) - static_cast<double>(b)) < 0.0001)
        return 0;
    return b > a ? -1 : 1;
}

// value limited to low .. high, where CompareFloat finds it below low or above high.
inline float LimitFloat(float value, float low, float high)
{
    if (CompareFloat(value, low) < 0)
        return low;
    if (CompareFloat(value, high) > 0)
        return high;
    return value;
}

// Scale of the settings' time-gain level ("filter timegain") in every time-gain curve.
constexpr double TIME_GAIN_SCALE = 0.001;

// One gain factor per target sample of the map, at most gainLength of them. With a gain level
// of 0 every entry of the array is 1. Otherwise entries past the map's target count are left
// as they are, and, with t the source position of the sample less start (at
// least 0), a = exponent * gainLevel * scale / 255 and b = linear * gainLevel * scale / 255,
// the factor is exp(min(t * a, 10)) + t * b, at least 1; entries outside the map's
// interpolated samples are 1.
void ComputeTimeGain(float* gain, size_t gainLength, const CResampMap& map, int linear,
                     int exponent, int start, int gainLevel, double scale);

// Band pass of n samples from source into target (the same array or disjoint ones).
// Enabled: the sample less the centred running mean of high / 2 samples either side, then the
// centred running mean of low / 2 samples either side of that; windows are cut at the ends of
// the trace. Disabled: the mean of the n / 2 - 5 samples from n / 2 on is subtracted and the
// result clipped to -1 .. 1 by CompareFloat; for n / 2 <= 5 the source is copied.
void FirBandPass(const float* source, float* target, int n, bool enabled, unsigned high,
                 unsigned low);

// The band pass in place on count traces of n samples that follow each other; the results are
// those of FirBandPass on each trace, bit for bit. Several traces run at once in packed
// arithmetic.
void FirBandPassTraces(float* traces, size_t count, int n, bool enabled, unsigned high, unsigned low);

// The instruction set of the packed band pass in use: the widest this processor has ("avx2",
// "sse2"; "generic" off x86).
const char* GetBandPassKernelName();
// Uses the named packed band pass from now on; false, and no change, when there is none for
// that instruction set or the processor lacks it.
bool SelectBandPassKernel(const char* name);

// A 16-bit sample becomes a float by this factor (1/32767).
constexpr float kSampleToFloat = 3.051851e-5f;

// First sample of the band-passed trace (high 25, low 5) at or above a third of its maximum or
// at or below a third of its minimum (both taken with 0); 0 when there is none.
int FindFirstArrival(const float* trace, int n);
