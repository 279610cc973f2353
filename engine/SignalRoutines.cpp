#include "SignalRoutines.h"

#include "KernelChoice.h"
#include "MessageLog.h"
#include "ResampMap.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <new>
#include <vector>

namespace {

// High-passed trace of the band pass, and the band-passed trace of the first-arrival pick.
// Both grow to the largest call and are reused.
thread_local std::vector<float> t_bandPassScratch;
thread_local std::vector<float> t_arrivalScratch;

float* GrowScratch(std::vector<float>& buffer, size_t count)
{
    try {
        if (buffer.size() < count)
            buffer.resize(count);
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "Signal routines: out of memory for %zu samples", count);
        return nullptr;
    }
    return buffer.data();
}

// A double narrowed to float; finite values beyond the float range become the largest float.
float NarrowToFloat(double value)
{
    return static_cast<float>(std::clamp(value, -double{FLT_MAX}, double{FLT_MAX}));
}

// Centred running mean over halfWidth samples either side, the window cut at both ends and the
// mean taken over the samples actually in it. HighPass writes the sample less the mean.
template <bool HighPass>
void CentredMean(const float* in, float* out, int64_t n, unsigned halfWidth)
{
    const int64_t h = std::min<int64_t>(halfWidth, n - 1);
    if (h == 0) {
        for (int64_t i = 0; i < n; ++i)
            out[i] = HighPass ? in[i] - in[i] : in[i];
        return;
    }
    double sum = 0.0;
    for (int64_t i = 0; i <= h; ++i)
        sum += in[i];
    int64_t count = h + 1;
    const auto emit = [&](int64_t i) {
        const float mean = static_cast<float>(sum / static_cast<double>(count));
        out[i] = HighPass ? in[i] - mean : mean;
    };
    // Moving on from sample i, sample i + h + 1 enters while i < n - h - 1 and sample i - h
    // leaves once i >= h.
    const int64_t growEnd = std::min(h, n - h - 1);
    const int64_t shrinkStart = std::max(h, n - h - 1);
    int64_t i = 0;
    for (; i < growEnd; ++i) {
        emit(i);
        sum += in[i + h + 1];
        ++count;
    }
    if (h < n - h - 1) {
        for (; i < shrinkStart; ++i) {
            emit(i);
            sum += static_cast<double>(in[i + h + 1]) - static_cast<double>(in[i - h]);
        }
    } else {
        // The window holds the whole trace.
        for (; i < shrinkStart; ++i)
            emit(i);
    }
    for (; i < n; ++i) {
        emit(i);
        sum -= in[i - h];
        --count;
    }
}

// The centred running means of CentredMean on several traces at once: in and out hold the
// traces interleaved, value i of every trace side by side in one Vector. Every lane takes the
// same operations in the same order as CentredMean, so the results are the same bits.
template <typename Vector, typename Wide, bool HighPass>
__attribute__((always_inline)) inline void EmitPackedMean(const Vector* in, Vector* out, int64_t i, const Wide& sum,
                                                          int64_t count)
{
    const Vector mean = __builtin_convertvector(sum / static_cast<double>(count), Vector);
    out[i] = HighPass ? in[i] - mean : mean;
}

template <typename Vector, typename Wide, bool HighPass>
__attribute__((always_inline)) inline void PackedCentredMean(const Vector* in, Vector* out, int64_t n,
                                                             unsigned halfWidth)
{
    const int64_t h = std::min<int64_t>(halfWidth, n - 1);
    if (h == 0) {
        for (int64_t i = 0; i < n; ++i)
            out[i] = HighPass ? in[i] - in[i] : in[i];
        return;
    }
    Wide sum{};
    for (int64_t i = 0; i <= h; ++i)
        sum += __builtin_convertvector(in[i], Wide);
    int64_t count = h + 1;
    const int64_t growEnd = std::min(h, n - h - 1);
    const int64_t shrinkStart = std::max(h, n - h - 1);
    int64_t i = 0;
    for (; i < growEnd; ++i) {
        EmitPackedMean<Vector, Wide, HighPass>(in, out, i, sum, count);
        sum += __builtin_convertvector(in[i + h + 1], Wide);
        ++count;
    }
    if (h < n - h - 1) {
        for (; i < shrinkStart; ++i) {
            EmitPackedMean<Vector, Wide, HighPass>(in, out, i, sum, count);
            sum += __builtin_convertvector(in[i + h + 1], Wide) - __builtin_convertvector(in[i - h], Wide);
        }
    } else {
        for (; i < shrinkStart; ++i)
            EmitPackedMean<Vector, Wide, HighPass>(in, out, i, sum, count);
    }
    for (; i < n; ++i) {
        EmitPackedMean<Vector, Wide, HighPass>(in, out, i, sum, count);
        sum -= __builtin_convertvector(in[i - h], Wide);
        --count;
    }
}

// Traces banded together by the packed band pass.
constexpr size_t kPackedTraces = 4;
typedef float PackedFloats __attribute__((vector_size(kPackedTraces * sizeof(float))));
typedef double PackedDoubles __attribute__((vector_size(kPackedTraces * sizeof(double))));

// The enabled band pass of kPackedTraces traces of n samples, each in place.
__attribute__((always_inline)) inline void PackedBandPass(float* traces, int64_t n, unsigned high, unsigned low,
                                                          PackedFloats* interleaved, PackedFloats* highPassed)
{
    for (int64_t i = 0; i < n; ++i)
        for (size_t k = 0; k < kPackedTraces; ++k)
            interleaved[i][k] = traces[k * size_t(n) + size_t(i)];
    PackedCentredMean<PackedFloats, PackedDoubles, true>(interleaved, highPassed, n, high / 2);
    PackedCentredMean<PackedFloats, PackedDoubles, false>(highPassed, interleaved, n, low / 2);
    for (size_t k = 0; k < kPackedTraces; ++k)
        for (int64_t i = 0; i < n; ++i)
            traces[k * size_t(n) + size_t(i)] = interleaved[i][k];
}

void PackedBandPassBaseline(float* traces, int64_t n, unsigned high, unsigned low, PackedFloats* interleaved,
                            PackedFloats* highPassed)
{
    PackedBandPass(traces, n, high, low, interleaved, highPassed);
}

#ifdef QUARVEL_X86_KERNELS
__attribute__((target("avx2"))) void PackedBandPassAvx2(float* traces, int64_t n, unsigned high, unsigned low,
                                                        PackedFloats* interleaved, PackedFloats* highPassed)
{
    PackedBandPass(traces, n, high, low, interleaved, highPassed);
}
#endif

using PackedBandPassKernel = void (*)(float*, int64_t, unsigned, unsigned, PackedFloats*, PackedFloats*);

CKernelChoice<PackedBandPassKernel>& BandPassKernels()
{
#ifdef QUARVEL_X86_KERNELS
    static CKernelChoice<PackedBandPassKernel> s_choice{{"avx2", PackedBandPassAvx2},
                                                        {"sse2", PackedBandPassBaseline}};
#else
    static CKernelChoice<PackedBandPassKernel> s_choice{{"generic", PackedBandPassBaseline}};
#endif
    return s_choice;
}

thread_local std::vector<PackedFloats> t_packedScratch;

} // namespace

void ComputeTimeGain(float* gain, size_t gainLength, const CResampMap& map, int linear,
                     int exponent, int start, int gainLevel, double scale)
{
    if (!gain)
        return;
    if (gainLevel == 0) {
        std::fill(gain, gain + gainLength, 1.0f);
        return;
    }
    size_t first = 0;
    size_t end = 0;
    map.GetInterpolatedRange(gainLength, first, end);

    std::fill(gain, gain + first, 1.0f);
    const double level = static_cast<double>(gainLevel) * scale;
    const float a = NarrowToFloat(exponent * level / 255.0);
    const float b = NarrowToFloat(linear * level / 255.0);
    const float startPosition = static_cast<float>(start);
    for (size_t k = first; k < end; ++k) {
        float t = static_cast<float>(map.m_index[k]) + map.m_fraction[k] - startPosition;
        if (t < 0.0f)
            t = 0.0f;
        const float g = std::exp(std::min(t * a, 10.0f)) + t * b;
        gain[k] = g > 1.0f ? g : 1.0f;
    }
    std::fill(gain + end, gain + std::max(end, std::min<size_t>(gainLength, map.m_nTargetCount)), 1.0f);
}

void FirBandPass(const float* source, float* target, int n, bool enabled, unsigned high,
                 unsigned low)
{
    if (!source || !target || n <= 0)
        return;
    const size_t count = static_cast<size_t>(n);
    if (!enabled) {
        const int half = n / 2;
        if (half <= 5) {
            if (source != target)
                std::copy(source, source + count, target);
            return;
        }
        double sum = 0.0;
        for (int i = half; i < 2 * half - 5; ++i)
            sum += source[i];
        const float mean = static_cast<float>(sum / (half - 5));
        // CompareFloat(value, -1) < 0 and CompareFloat(value, 1) > 0 (NaN included) as one
        // comparison each, so that the loop vectorises.
        for (size_t i = 0; i < count; ++i) {
            const float value = source[i] - mean;
            const double exact = value;
            target[i] = exact <= -1.0 - 0.0001 ? -1.0f : !(exact < 1.0 + 0.0001) ? 1.0f : value;
        }
        return;
    }
    float* highPassed = GrowScratch(t_bandPassScratch, count);
    if (!highPassed) {
        if (source != target)
            std::copy(source, source + count, target);
        return;
    }
    CentredMean<true>(source, highPassed, n, high / 2);
    CentredMean<false>(highPassed, target, n, low / 2);
}

int FindFirstArrival(const float* trace, int n)
{
    if (!trace || n <= 0)
        return 0;
    float* filtered = GrowScratch(t_arrivalScratch, static_cast<size_t>(n));
    if (!filtered)
        return 0;
    FirBandPass(trace, filtered, n, true, 25, 5);

    float maximum = 0.0f;
    float minimum = 0.0f;
    for (int i = 0; i < n; ++i) {
        maximum = std::max(maximum, filtered[i]);
        minimum = std::min(minimum, filtered[i]);
    }
    const float upper = maximum / 3;
    const float lower = minimum / 3;
    for (int i = 0; i < n; ++i)
        if (filtered[i] >= upper || filtered[i] <= lower)
            return i;
    return 0;
}

void FirBandPassTraces(float* traces, size_t count, int n, bool enabled, unsigned high, unsigned low)
{
    if (!traces || n <= 0)
        return;
    const size_t samples = static_cast<size_t>(n);
    size_t done = 0;
    if (enabled && count >= kPackedTraces) {
        const PackedBandPassKernel kernel = BandPassKernels().Get();
        try {
            if (t_packedScratch.size() < 2 * samples)
                t_packedScratch.resize(2 * samples);
        } catch (const std::bad_alloc&) {
            g_messageLog.Log(LOG_ERROR, "Signal routines: out of memory for %zu samples", 2 * samples);
            std::vector<PackedFloats>().swap(t_packedScratch);
        }
        if (!t_packedScratch.empty()) {
            for (; done + kPackedTraces <= count; done += kPackedTraces)
                kernel(traces + done * samples, n, high, low, t_packedScratch.data(),
                       t_packedScratch.data() + samples);
        }
    }
    for (; done < count; ++done)
        FirBandPass(traces + done * samples, traces + done * samples, n, enabled, high, low);
}

const char* GetBandPassKernelName()
{
    return BandPassKernels().GetName();
}

bool SelectBandPassKernel(const char* name)
{
    return BandPassKernels().Select(name);
}
