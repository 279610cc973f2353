#include "ReferenceSignalRoutines.h"
#include "ResampMap.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Every instruction set a packed kernel may be built for.
const char* const kKernels[] = {"sse2", "avx2", "avx512f", "generic"};

// Deterministic test signal in -1 .. 1.
std::vector<float> Wiggle(int n)
{
    std::vector<float> trace(n);
    for (int i = 0; i < n; ++i)
        trace[i] = static_cast<float>(0.6 * std::sin(i * 0.37) + 0.3 * std::cos(i * 2.1 + 1.0));
    return trace;
}

// Centred mean of x over [i - h, i + h] cut to the trace, summed afresh for every sample.
std::vector<double> DirectMean(const std::vector<double>& x, int h)
{
    const int n = static_cast<int>(x.size());
    std::vector<double> mean(n);
    for (int i = 0; i < n; ++i) {
        const int lo = std::max(0, i - h);
        const int hi = std::min(n - 1, i + h);
        double sum = 0.0;
        for (int j = lo; j <= hi; ++j)
            sum += x[j];
        mean[i] = sum / (hi - lo + 1);
    }
    return mean;
}

std::vector<double> DirectBandPass(const std::vector<float>& trace, int high, int low)
{
    const std::vector<double> x(trace.begin(), trace.end());
    const std::vector<double> mean = DirectMean(x, high / 2);
    std::vector<double> highPassed(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        highPassed[i] = x[i] - mean[i];
    return DirectMean(highPassed, low / 2);
}

} // namespace

TEST(SignalRoutines, CompareFloatUsesAFixedTolerance)
{
    const struct { float a, b; int expected; } cases[] = {
        {1.0f, 1.0f, 0},         {1.0f, 1.00005f, 0},  {-1.00005f, -1.0f, 0},
        {1.0f, 1.0002f, -1},     {1.0002f, 1.0f, 1},   {-2.0f, -1.0f, -1},
        {0.0f, -0.0f, 0},        {kNaN, 0.0f, 1},      {0.0f, kNaN, 1},
        {1e30f, 1e30f, 0},       {-1e30f, 1e30f, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareFloat(c.a, c.b), c.expected) << c.a << " vs " << c.b;
}

TEST(SignalRoutines, ComputeTimeGainFollowsTheGainCurve)
{
    CResampMap map;
    CreateResampleMapRange(map, 9, 10);
    const struct { int linear, exponent, start, level; double scale; } cases[] = {
        {1000, 7, 2, 30, 0.001}, {100, 1000, 0, 255, 0.01}, {3000, 1, 5, 1, 1.0},
        {0, 1000, 0, 255, 1.0}, // exponent capped: e^10 from the first sample past start
    };
    for (const auto& c : cases) {
        std::vector<float> gain(10, -1.0f);
        ComputeTimeGain(gain.data(), gain.size(), map, c.linear, c.exponent, c.start, c.level,
                        c.scale);
        const double a = c.exponent * c.level * c.scale / 255;
        const double b = c.linear * c.level * c.scale / 255;
        for (int k = 0; k < 9; ++k) {
            const double t = std::max(0.0, k + 0.001 - c.start);
            const double g = std::max(1.0, std::exp(std::min(t * a, 10.0)) + t * b);
            EXPECT_NEAR(gain[k], g, g * 1e-5) << "linear " << c.linear << " at " << k;
        }
        EXPECT_EQ(gain[9], 1.0f);
    }
    std::vector<float> gain(10);
    ComputeTimeGain(gain.data(), gain.size(), map, 0, 1000, 0, 255, 1.0);
    EXPECT_NEAR(gain[1], 22026.4658, 0.01);
}

TEST(SignalRoutines, ComputeTimeGainYieldsOnesWithoutGain)
{
    CResampMap map;
    CreateResampleMapRange(map, 9, 10);
    // A gain array longer than the map: with gain level 0 all of it is 1, otherwise the map's
    // ten target samples and nothing after them.
    const struct { const char* name; int start, level; double scale; size_t ones; } cases[] = {
        {"gain level 0", 0, 0, 1.0, 14},
        {"start beyond every position", 100, 30, 1.0, 10},
        {"negative gain level", 0, -30, 1.0, 10},
        {"NaN scale", 0, 30, std::nan(""), 10},
    };
    for (const auto& c : cases) {
        std::vector<float> gain(14, -1.0f);
        ComputeTimeGain(gain.data(), gain.size(), map, 1000, 7, c.start, c.level, c.scale);
        std::vector<float> expected(14, -1.0f);
        std::fill_n(expected.begin(), c.ones, 1.0f);
        EXPECT_EQ(gain, expected) << c.name;
    }
}

TEST(SignalRoutines, ComputeTimeGainWritesAtMostTheGainArray)
{
    CResampMap map;
    CreateResampleMapRange(map, 99, 100);
    std::vector<float> gain(8, -1.0f);
    for (int level : {0, 30}) {
        ComputeTimeGain(gain.data(), 5, map, 1000, 7, 0, level, 1.0);
        EXPECT_GE(gain[4], 1.0f);
        EXPECT_EQ(gain[5], -1.0f);
    }
    ComputeTimeGain(nullptr, 5, map, 1000, 7, 0, 30, 1.0);
    const std::vector<float> before = gain;
    CResampMap empty;
    ComputeTimeGain(gain.data(), gain.size(), empty, 1000, 7, 0, 30, 1.0);
    EXPECT_EQ(gain, before);
}

TEST(SignalRoutines, FirBandPassEnabledMatchesTheDirectRunningMeans)
{
    // Windows inside the trace, wider than it, one-sample windows, traces past 2048 samples.
    const struct { int n; unsigned high, low; } cases[] = {
        {3000, 25, 5}, {64, 25, 5}, {64, 25, 4}, {512, 50, 20}, {10, 50, 20},
        {7, 10, 1},    {2, 10, 3},  {1, 25, 5},  {300, 11, 0}, {5, 4, 4}, {25, 25, 5},
    };
    for (const auto& c : cases) {
        const std::vector<float> source = Wiggle(c.n);
        std::vector<float> target(c.n, 9.0f);
        FirBandPass(source.data(), target.data(), c.n, true, c.high, c.low);
        const std::vector<double> expected = DirectBandPass(source, c.high, c.low);
        for (int i = 0; i < c.n; ++i)
            ASSERT_NEAR(target[i], expected[i], 1e-5)
                << "n " << c.n << " high " << c.high << " low " << c.low << " at " << i;

        std::vector<float> inPlace = source;
        FirBandPass(inPlace.data(), inPlace.data(), c.n, true, c.high, c.low);
        EXPECT_EQ(inPlace, target);
    }
}

TEST(SignalRoutines, FirBandPassTracesGivesTheSameBitsAsOneTraceAtATime)
{
    // Whole packs and remainders, windows inside and wider than the trace, one-sample windows,
    // the disabled filter, and values of very different sizes and infinite ones, with every
    // packed kernel this processor has. (Of two NaN operands the processor passes on one by
    // operand order, which the compiler may choose.)
    const struct { size_t traces; int n; bool enabled; unsigned high, low; } cases[] = {
        {9, 512, true, 25, 5}, {4, 64, true, 25, 4}, {5, 10, true, 50, 20}, {7, 3, true, 10, 3},
        {4, 1, true, 25, 5},   {6, 300, true, 1, 0}, {3, 512, true, 25, 5}, {8, 40, false, 25, 5},
    };
    const std::string usual = GetBandPassKernelName();
    for (const char* kernel : kKernels) {
        if (!SelectBandPassKernel(kernel))
            continue;  // not on this processor
        for (const auto& c : cases) {
            std::vector<float> traces = Wiggle(static_cast<int>(c.traces) * c.n);
            for (size_t i = 0; i < traces.size(); i += 13)
                traces[i] *= 1e6f;
            if (traces.size() > 40) {
                traces[17] = INFINITY;
                traces[35] = -INFINITY;
            }
            std::vector<float> expected = traces;
            for (size_t t = 0; t < c.traces; ++t)
                FirBandPass(&expected[t * c.n], &expected[t * c.n], c.n, c.enabled, c.high, c.low);
            FirBandPassTraces(traces.data(), c.traces, c.n, c.enabled, c.high, c.low);
            ASSERT_EQ(std::memcmp(traces.data(), expected.data(), traces.size() * sizeof(float)), 0)
                << kernel << ": " << c.traces << " traces of " << c.n << ", high " << c.high << ", low " << c.low;
        }
    }
    EXPECT_TRUE(SelectBandPassKernel(usual.c_str()));
}

TEST(SignalRoutines, FirBandPassEqualsTheLiteralRunningMeansBitForBitWithEveryKernel)
{
    // As above, with finite values: the running sums of the rules on one trace at a time, and
    // the packed band pass of every kernel this processor has on the same traces.
    const struct { size_t traces; int n; bool enabled; unsigned high, low; } cases[] = {
        {9, 512, true, 25, 5}, {4, 64, true, 25, 4}, {5, 10, true, 50, 20}, {7, 3, true, 10, 3},
        {4, 1, true, 25, 5},   {6, 300, true, 1, 0}, {5, 2100, true, 50, 20}, {8, 40, false, 25, 5},
        {4, 11, false, 25, 5}, {5, 12, false, 25, 5}, {4, 25, true, 25, 5},
    };
    const std::string usual = GetBandPassKernelName();
    int kernels = 0;
    for (const char* kernel : kKernels) {
        if (!SelectBandPassKernel(kernel))
            continue;
        ++kernels;
        EXPECT_STREQ(GetBandPassKernelName(), kernel);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << kernel << ": " << c.traces << " traces of " << c.n << ", enabled "
                                            << c.enabled << ", high " << c.high << ", low " << c.low);
            std::vector<float> traces = Wiggle(static_cast<int>(c.traces) * c.n);
            for (size_t i = 0; i < traces.size(); i += 13)
                traces[i] *= i % 2 ? 1e6f : 1e-7f;
            std::vector<float> expected = traces;
            for (size_t t = 0; t < c.traces; ++t)
                ReferenceFirBandPass(&expected[t * c.n], &expected[t * c.n], c.n, c.enabled, c.high, c.low);
            std::vector<float> single = traces;
            for (size_t t = 0; t < c.traces; ++t)
                FirBandPass(&single[t * c.n], &single[t * c.n], c.n, c.enabled, c.high, c.low);
            FirBandPassTraces(traces.data(), c.traces, c.n, c.enabled, c.high, c.low);
            for (size_t i = 0; i < traces.size(); ++i) {
                ASSERT_EQ(std::memcmp(&single[i], &expected[i], sizeof(float)), 0)
                    << "one trace, value " << i << ": " << single[i] << " instead of " << expected[i];
                ASSERT_EQ(std::memcmp(&traces[i], &expected[i], sizeof(float)), 0)
                    << "packed, value " << i << ": " << traces[i] << " instead of " << expected[i];
            }
        }
    }
    EXPECT_GE(kernels, 1);
    EXPECT_FALSE(SelectBandPassKernel("mmx"));
    EXPECT_TRUE(SelectBandPassKernel(usual.c_str()));
}

TEST(SignalRoutines, FirBandPassWindowOfOneRemovesEverything)
{
    std::vector<float> source = Wiggle(50);
    source[3] = 1e30f;
    std::vector<float> target(50, 9.0f);
    FirBandPass(source.data(), target.data(), 50, true, 1, 5);
    EXPECT_EQ(target, std::vector<float>(50, 0.0f));
}

TEST(SignalRoutines, FirBandPassDisabledRemovesTheSecondHalfMeanAndClips)
{
    // n / 2 = 10: the mean of samples 10 .. 14 is 0.5.
    std::vector<float> source(20, 0.0f);
    std::fill(source.begin() + 10, source.begin() + 15, 0.5f);
    source[0] = 2.0f;       // 1.5: clipped
    source[1] = 1.50004f;   // 1.00004: within the tolerance, kept
    source[2] = -0.50005f;  // -1.00005: kept
    source[3] = -3.0f;      // clipped
    source[4] = 0.7f;
    source[5] = kNaN;
    std::vector<float> target(20, 9.0f);
    FirBandPass(source.data(), target.data(), 20, false, 25, 5);
    EXPECT_FLOAT_EQ(target[0], 1.0f);
    EXPECT_NEAR(target[1], 1.00004f, 1e-6);
    EXPECT_NEAR(target[2], -1.00005f, 1e-6);
    EXPECT_FLOAT_EQ(target[3], -1.0f);
    EXPECT_NEAR(target[4], 0.2f, 1e-6);
    EXPECT_FLOAT_EQ(target[5], 1.0f);
    for (int i = 10; i < 15; ++i)
        EXPECT_FLOAT_EQ(target[i], 0.0f);
    for (int i = 15; i < 20; ++i)
        EXPECT_FLOAT_EQ(target[i], -0.5f);

    std::vector<float> inPlace = source;
    FirBandPass(inPlace.data(), inPlace.data(), 20, false, 25, 5);
    EXPECT_EQ(inPlace, target);
}

TEST(SignalRoutines, FirBandPassDisabledClipsExactlyByCompareFloat)
{
    // Values within a few hundred steps of the clip limits and of 1, in the first half of a trace
    // whose mean window is 0.
    std::vector<float> values = {kNaN, std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity()};
    for (float base : {-1.0001f, 1.0001f, -1.0f, 1.0f}) {
        float up = base;
        float down = base;
        for (int step = 0; step < 300; ++step) {
            values.push_back(up);
            values.push_back(down);
            up = std::nextafter(up, 10.0f);
            down = std::nextafter(down, -10.0f);
        }
    }
    std::vector<float> source(2 * values.size(), 0.0f);
    std::copy(values.begin(), values.end(), source.begin());
    std::vector<float> target(source.size());
    FirBandPass(source.data(), target.data(), static_cast<int>(source.size()), false, 25, 5);
    for (size_t i = 0; i < values.size(); ++i) {
        float expected = values[i];
        if (CompareFloat(expected, -1.0f) < 0)
            expected = -1.0f;
        else if (CompareFloat(expected, 1.0f) > 0)
            expected = 1.0f;
        ASSERT_EQ(target[i], expected) << std::hexfloat << values[i];
    }
}

TEST(SignalRoutines, FirBandPassDisabledOnShortTracesCopies)
{
    for (int n : {1, 10, 11}) {
        const std::vector<float> source = Wiggle(n);
        std::vector<float> target(n, 9.0f);
        FirBandPass(source.data(), target.data(), n, false, 25, 5);
        EXPECT_EQ(target, source) << n;
        std::vector<float> inPlace = source;
        FirBandPass(inPlace.data(), inPlace.data(), n, false, 25, 5);
        EXPECT_EQ(inPlace, source) << n;
    }
}

TEST(SignalRoutines, FirBandPassIgnoresEmptyInput)
{
    const std::vector<float> source = Wiggle(20);
    std::vector<float> target(20, 9.0f);
    for (bool enabled : {false, true}) {
        FirBandPass(source.data(), target.data(), 0, enabled, 25, 5);
        FirBandPass(source.data(), target.data(), -7, enabled, 25, 5);
        FirBandPass(nullptr, target.data(), 20, enabled, 25, 5);
        FirBandPass(source.data(), nullptr, 20, enabled, 25, 5);
    }
    EXPECT_EQ(target, std::vector<float>(20, 9.0f));
}

TEST(SignalRoutines, FindFirstArrivalPicksTheFirstThirdOfThePeak)
{
    // A spike at 100: high passed it is 0.96 there and -0.04 within 12 samples; low passed over
    // 5 samples the peak is 0.16 and sample 87 the first to reach -0.016, past -0.04 / 3.
    std::vector<float> nan(64, kNaN);
    const struct { const char* name; int n; int spikeAt; float spike; int expected; } cases[] = {
        {"positive spike", 200, 100, 1.0f, 87},
        {"negative spike", 200, 100, -1.0f, 87},
        {"all zero", 200, -1, 0.0f, 0},
    };
    for (const auto& c : cases) {
        std::vector<float> trace(c.n, 0.0f);
        if (c.spikeAt >= 0)
            trace[c.spikeAt] = c.spike;
        EXPECT_EQ(FindFirstArrival(trace.data(), c.n), c.expected) << c.name;
    }
    EXPECT_EQ(FindFirstArrival(nan.data(), 64), 0);
    EXPECT_EQ(FindFirstArrival(nan.data(), 0), 0);
    EXPECT_EQ(FindFirstArrival(nan.data(), -1), 0);
    EXPECT_EQ(FindFirstArrival(nullptr, 64), 0);
}
