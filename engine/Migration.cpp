#include "Migration.h"

#include "KernelChoice.h"
#include "MessageLog.h"
#include "Project.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Values of one section: the largest line a project can hold (2^30 bytes of 16-bit samples).
constexpr uint64_t kMaxSectionValues = uint64_t(1) << 29;
// Side of the square tiles in which a section is transposed.
constexpr size_t kTile = 16;

// Truncation toward zero that saturates: NaN and values from 2^32 on give the largest value,
// so that such a travel time is never used.
uint32_t SaturateToUint32(float value)
{
    if (!(value < 4294967296.0f))
        return UINT32_MAX;
    if (!(value > 0.0f))
        return 0;
    return static_cast<uint32_t>(value);
}

// Sample at which a scatterer z2 (squared) trace spacings deep is seen from d traces away: the
// path from the transmitter h trace spacings on one side and back to the receiver h on the
// other, times toSamples, below the zero level offset.
uint32_t TravelTime(float d, float h, float z2, float toSamples, float offset)
{
    const float plus = d + h;
    const float minus = d - h;
    const float path = std::sqrt(plus * plus + z2) + std::sqrt(minus * minus + z2);
    return SaturateToUint32(path * toSamples + offset);
}

// The travel times of offsets 0 .. width - 1 into row: where the processor has them, four at a
// time in packed single precision, whose square roots round as the scalar ones do.
void FillTravelTimes(uint32_t* row, size_t width, float h, float z2, float toSamples, float offset)
{
    size_t d = 0;
#ifdef __SSE2__
    const __m128 halfSeparation = _mm_set1_ps(h), depth2 = _mm_set1_ps(z2);
    const __m128 scale = _mm_set1_ps(toSamples), zero = _mm_set1_ps(offset);
    for (; d + 4 <= width; d += 4) {
        const int first = static_cast<int>(d);
        const __m128 offsets = _mm_cvtepi32_ps(_mm_setr_epi32(first, first + 1, first + 2, first + 3));
        const __m128 plus = _mm_add_ps(offsets, halfSeparation);
        const __m128 minus = _mm_sub_ps(offsets, halfSeparation);
        const __m128 path = _mm_add_ps(_mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(plus, plus), depth2)),
                                       _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(minus, minus), depth2)));
        float times[4];
        _mm_storeu_ps(times, _mm_add_ps(_mm_mul_ps(path, scale), zero));
        for (size_t k = 0; k < 4; ++k)
            row[d + k] = SaturateToUint32(times[k]);
    }
#endif
    for (; d < width; ++d)
        row[d] = TravelTime(static_cast<float>(d), h, z2, toSamples, offset);
}

// A double narrowed to float: values beyond the float range become infinite, NaN stays NaN.
float ToFloat(double value)
{
    if (std::isnan(value))
        return NAN;
    if (value > double{FLT_MAX})
        return INFINITY;
    if (value < -double{FLT_MAX})
        return -INFINITY;
    return static_cast<float>(value);
}

template <typename T>
bool Resize(std::vector<T>& buffer, uint64_t count, const char* step)
{
    try {
        if (buffer.size() != count)
            buffer.assign(static_cast<size_t>(count), T());
        return true;
    } catch (const std::bad_alloc&) {
        std::vector<T>().swap(buffer);
        g_messageLog.Log(LOG_ERROR, "CMigration::%s(): out of memory for %llu values.", step,
                         static_cast<unsigned long long>(count));
        return false;
    }
}

// Larger of the largest value and the absolute smallest of count values step apart, both
// taken with 0.
float PeakOf(const float* pValues, size_t count, size_t step)
{
    float high = 0, low = 0;
    for (size_t i = 0; i < count; ++i) {
        high = std::max(high, pValues[i * step]);
        low = std::min(low, pValues[i * step]);
    }
    return std::max(high, -low);
}

// One step of the running mean, sample by sample: out = in less the sums' means over count
// traces, then the sums take the entering trace and give up the leaving one. A trace that does
// not enter or leave is a row of +0.0: the sums are never -0.0 (they start at +0.0), so adding
// or taking +0.0 leaves them as they are. Packed as wide as the build.
struct CMeanStep
{
    const float* in;
    const float* entering;
    const float* leaving;
    double count;
    size_t ns;
    double* sums;
    float* out;
};

__attribute__((always_inline)) inline void StepMeansLoop(const CMeanStep& step)
{
    const float* in = step.in;
    const float* entering = step.entering;
    const float* leaving = step.leaving;
    double* sums = step.sums;
    float* out = step.out;
    const double count = step.count;
    for (size_t s = 0; s < step.ns; ++s) {
        const double sum = sums[s];
        out[s] = static_cast<float>(in[s] - sum / count);
        sums[s] = (sum + entering[s]) - leaving[s];
    }
}

void StepMeansBaseline(const CMeanStep& step)
{
    StepMeansLoop(step);
}

#ifdef QUARVEL_X86_KERNELS
__attribute__((target("avx2"))) void StepMeansAvx2(const CMeanStep& step)
{
    StepMeansLoop(step);
}

__attribute__((target("avx512f"))) void StepMeansAvx512(const CMeanStep& step)
{
    StepMeansLoop(step);
}
#endif

using StepMeansKernel = void (*)(const CMeanStep&);

CKernelChoice<StepMeansKernel>& MeanKernels()
{
#ifdef QUARVEL_X86_KERNELS
    static CKernelChoice<StepMeansKernel> s_choice{
        {"avx512f", StepMeansAvx512}, {"avx2", StepMeansAvx2}, {"sse2", StepMeansBaseline}};
#else
    static CKernelChoice<StepMeansKernel> s_choice{{"generic", StepMeansBaseline}};
#endif
    return s_choice;
}

// dst[c * dstStride + r] = src[r * srcStride + c] for rows x cols values: in tiles so that both
// sides stay in cache, and within them in 4 x 4 blocks of packed shuffles.
void Transpose(const float* src, size_t srcStride, float* dst, size_t dstStride, size_t rows, size_t cols)
{
    typedef float Quad __attribute__((vector_size(4 * sizeof(float))));
    for (size_t r0 = 0; r0 < rows; r0 += kTile) {
        const size_t r1 = std::min(rows, r0 + kTile);
        for (size_t c0 = 0; c0 < cols; c0 += kTile) {
            const size_t c1 = std::min(cols, c0 + kTile);
            size_t r = r0;
            for (; r + 4 <= r1; r += 4) {
                size_t c = c0;
                for (; c + 4 <= c1; c += 4) {
                    Quad in[4];
                    for (size_t k = 0; k < 4; ++k)
                        std::memcpy(&in[k], src + (r + k) * srcStride + c, sizeof(Quad));
                    const Quad low01 = __builtin_shufflevector(in[0], in[1], 0, 4, 1, 5);
                    const Quad high01 = __builtin_shufflevector(in[0], in[1], 2, 6, 3, 7);
                    const Quad low23 = __builtin_shufflevector(in[2], in[3], 0, 4, 1, 5);
                    const Quad high23 = __builtin_shufflevector(in[2], in[3], 2, 6, 3, 7);
                    const Quad out[4] = {__builtin_shufflevector(low01, low23, 0, 1, 4, 5),
                                         __builtin_shufflevector(low01, low23, 2, 3, 6, 7),
                                         __builtin_shufflevector(high01, high23, 0, 1, 4, 5),
                                         __builtin_shufflevector(high01, high23, 2, 3, 6, 7)};
                    for (size_t k = 0; k < 4; ++k)
                        std::memcpy(dst + (c + k) * dstStride + r, &out[k], sizeof(Quad));
                }
                for (; c < c1; ++c)
                    for (size_t k = 0; k < 4; ++k)
                        dst[c * dstStride + r + k] = src[(r + k) * srcStride + c];
            }
            for (; r < r1; ++r)
                for (size_t c = c0; c < c1; ++c)
                    dst[c * dstStride + r] = src[r * srcStride + c];
        }
    }
}

// The summation of one output sample for every trace, in blocks of output traces held in
// registers. Each source row is padded with +0.0 on both sides, so a block adds every source of
// the sample without testing the window's ends: adding +0.0 leaves every sum as it was (a sum
// that starts at +0.0 is never -0.0). The sums are thus the same, bit for bit, as the literal
// loop over the window in ascending trace order.
struct CSampleSum
{
    const float* const* sources; // per source in order of addition, the value for output trace 0
    size_t sourceCount;
    const float* divisors;       // per output trace, padded to whole blocks
    float* row;                  // output, padded to whole blocks
    size_t traces;
};

template <int Lanes, int Registers>
__attribute__((always_inline)) inline void SumBlocks(const CSampleSum& sum)
{
    typedef float Vector __attribute__((vector_size(Lanes * sizeof(float))));
    constexpr size_t kBlock = size_t(Lanes) * Registers;
    for (size_t a0 = 0; a0 < sum.traces; a0 += kBlock) {
        Vector acc[Registers];
        for (int r = 0; r < Registers; ++r)
            acc[r] = Vector{};
        for (size_t k = 0; k < sum.sourceCount; ++k) {
            const float* in = sum.sources[k] + a0;
            for (int r = 0; r < Registers; ++r) {
                Vector value;
                std::memcpy(&value, in + r * Lanes, sizeof(Vector));
                acc[r] += value;
            }
        }
        for (int r = 0; r < Registers; ++r) {
            Vector divisor;
            std::memcpy(&divisor, sum.divisors + a0 + r * Lanes, sizeof(Vector));
            const Vector mean = acc[r] / divisor;
            std::memcpy(sum.row + a0 + r * Lanes, &mean, sizeof(Vector));
        }
    }
}

// Output traces per block of the widest kernel: the padding that every kernel may run over.
constexpr size_t kMaxBlock = 64;

void SumBaseline(const CSampleSum& sum)
{
    SumBlocks<4, 8>(sum);
}

#ifdef QUARVEL_X86_KERNELS
__attribute__((target("avx2"))) void SumAvx2(const CSampleSum& sum)
{
    SumBlocks<8, 8>(sum);
}

__attribute__((target("avx512f"))) void SumAvx512(const CSampleSum& sum)
{
    SumBlocks<16, 4>(sum);
}
#endif

using SumKernel = void (*)(const CSampleSum&);

CKernelChoice<SumKernel>& SumKernels()
{
#ifdef QUARVEL_X86_KERNELS
    static CKernelChoice<SumKernel> s_choice{{"avx512f", SumAvx512}, {"avx2", SumAvx2}, {"sse2", SumBaseline}};
#else
    static CKernelChoice<SumKernel> s_choice{{"generic", SumBaseline}};
#endif
    return s_choice;
}

} // namespace

const char* CMigration::GetKernelName()
{
    return SumKernels().GetName();
}

bool CMigration::SelectKernel(const char* name)
{
    return SumKernels().Select(name);
}

const char* CMigration::GetMeanKernelName()
{
    return MeanKernels().GetName();
}

bool CMigration::SelectMeanKernel(const char* name)
{
    return MeanKernels().Select(name);
}

CMigration::CMigration(const CProject* pProject, int32_t traceCount)
    : m_pProject(pProject), m_nTraces(std::max(traceCount, 0))
{
    Alloc();
}

bool CMigration::Alloc()
{
    m_bTableBuilt = false;
    m_bSourcesListed = false;
    m_nSamples = 0;
    std::vector<uint32_t>().swap(m_table);
    std::vector<uint32_t>().swap(m_aperture);
    const int32_t samples = m_pProject ? m_pProject->m_settings.m_iSamples : 0;
    if (samples <= 0 || m_nTraces <= 0)
        return true;
    const uint64_t entries = uint64_t(samples) * uint64_t(m_nTraces);
    if (entries > kMaxSectionValues) {
        g_messageLog.Log(LOG_ERROR, "CMigration::Alloc(): a section of %d traces x %d samples is too large.",
                         m_nTraces, samples);
        return false;
    }
    if (!Resize(m_table, entries, "Alloc") || !Resize(m_aperture, uint64_t(samples), "Alloc")) {
        std::vector<uint32_t>().swap(m_table);
        return false;
    }
    m_nSamples = samples;
    return true;
}

int32_t CMigration::ZeroLevel() const
{
    return std::max(m_pProject->m_settings.m_iZeroLevel, 0);
}

bool CMigration::CTableInputs::operator==(const CTableInputs& other) const
{
    return samples == other.samples && zeroLevel == other.zeroLevel && frequencySteps == other.frequencySteps &&
           systemCalibration == other.systemCalibration && velocity == other.velocity &&
           resolution == other.resolution && separation == other.separation;
}

CMigration::CTableInputs CMigration::TableInputs() const
{
    CTableInputs inputs;
    if (!m_pProject)
        return inputs;
    const CProjectSettings& settings = m_pProject->m_settings;
    CAntennaSettings antenna;
    settings.GetAntennaSettings(antenna);
    inputs.samples = settings.m_iSamples;
    inputs.zeroLevel = ZeroLevel();
    inputs.frequencySteps = antenna.m_iFrequencySteps;
    inputs.systemCalibration = settings.m_dSystemCalibration;
    inputs.velocity = settings.m_dVelocity;
    inputs.resolution = settings.m_dResolution;
    inputs.separation = antenna.m_dSeparation;
    return inputs;
}

bool CMigration::IsTableCurrent() const
{
    // NaN values never compare equal: such a table is built again.
    return m_bTableBuilt && m_pProject && m_tableInputs == TableInputs();
}

uint32_t CMigration::ComputeTravelTime(int32_t sample, int32_t offset) const
{
    const float j = static_cast<float>(sample - m_nTableZeroLevel);
    return TravelTime(static_cast<float>(offset), m_fHalfSeparation, j * j * m_fDepthStep2, m_fToSamples,
                      static_cast<float>(m_nTableZeroLevel));
}

uint32_t CMigration::GetTravelTime(int32_t sample, int32_t offset) const
{
    const size_t row = static_cast<size_t>(sample);
    if (m_bTableBuilt && sample >= m_nTableZeroLevel &&
        int64_t{offset} > std::min<int64_t>(m_aperture[row], m_nTraces - 1))
        return ComputeTravelTime(sample, offset);
    return m_table[row * static_cast<size_t>(m_nTraces) + static_cast<size_t>(offset)];
}

void CMigration::BuildTable()
{
    ClearUpperVectorState();
    m_bTableBuilt = true;
    m_bSourcesListed = false;
    // No row is filled until the scale is known.
    m_nTableZeroLevel = INT32_MAX;
    if (!m_pProject || !IsAllocated())
        return;
    m_tableInputs = TableInputs();
    m_tableInputs.samples = m_nSamples;
    const CProjectSettings& settings = m_pProject->m_settings;
    CAntennaSettings antenna;
    settings.GetAntennaSettings(antenna);
    const int32_t zl = ZeroLevel();
    if (zl >= m_nSamples)
        return;
    const int32_t depthSamples = m_nSamples - zl;
    const size_t traces = static_cast<size_t>(m_nTraces);

    // Depth of one sample and half the antenna separation, in trace spacings.
    const double steps = antenna.m_iFrequencySteps > 0 ? antenna.m_iFrequencySteps : 1;
    const double timeVelocity = settings.m_dSystemCalibration * settings.m_dVelocity;
    const float dz = timeVelocity > 0 && settings.m_dResolution > 0
                         ? ToFloat(steps * timeVelocity / settings.m_dResolution * 0.5)
                         : 0.0f;
    const float dz2 = dz * dz;
    const float toSamples = 0.5f / dz;
    m_nTableZeroLevel = zl;
    if (!(dz > 0) || !std::isfinite(dz2) || !std::isfinite(toSamples)) {
        // No usable depth scale: every travel time lies past the trace, so nothing is summed.
        m_fHalfSeparation = 0;
        m_fDepthStep2 = 0;
        m_fToSamples = NAN;
        for (int32_t s = zl; s < m_nSamples; ++s)
            m_table[static_cast<size_t>(s) * traces] = UINT32_MAX;
        std::fill(m_aperture.begin() + zl, m_aperture.end(), 0u);
        return;
    }
    float h = ToFloat(antenna.m_dSeparation) / ToFloat(settings.m_dResolution) * 0.5f;
    if (!std::isfinite(h))
        h = 0;
    m_fHalfSeparation = h;
    m_fDepthStep2 = dz2;
    m_fToSamples = toSamples;

    const float radius = static_cast<float>(depthSamples) * static_cast<float>(depthSamples) * dz2;
    for (int32_t j = 0; j < depthSamples; ++j) {
        const float z2 = static_cast<float>(j) * static_cast<float>(j) * dz2;
        const uint32_t aperture = SaturateToUint32(std::sqrt(radius - z2));
        m_aperture[static_cast<size_t>(zl + j)] = aperture;
        // The offsets Migrate reads; the others are computed when asked for.
        const size_t width = std::min<size_t>(aperture, traces - 1) + 1;
        FillTravelTimes(&m_table[static_cast<size_t>(zl + j) * traces], width, h, z2, toSamples,
                        static_cast<float>(zl));
    }
}

bool CMigration::ReserveWork(const char* step)
{
    const uint64_t values = uint64_t(m_nSamples) * uint64_t(m_nTraces);
    return Resize(m_work, values, step);
}

int32_t CMigration::GetRunningMeanHalfWidth() const
{
    if (!m_pProject || !m_pProject->m_settings.m_params.m_bDelMeanOn)
        return -1;
    const int64_t nt = m_nTraces;
    return static_cast<int32_t>(
        std::max<int64_t>(std::min<int64_t>(nt - 1, m_pProject->m_settings.m_params.m_iDelMean) / 2, 0));
}

bool CMigration::IsRunningMeanReady(const float* pData) const
{
    if (!m_pProject || !pData || !m_pProject->m_settings.m_params.m_bDelMeanOn || m_nTraces <= 0)
        return false;
    if (m_nSamples <= 0 || m_nSamples != m_pProject->m_settings.m_iSamples) {
        g_messageLog.Log(LOG_ERROR, "CMigration::RemoveRunningMean(): the section is not allocated.");
        return false;
    }
    return true;
}

void CMigration::RemoveRunningMean(float* pData)
{
    // The running sums need the input of traces that are already replaced.
    if (!IsRunningMeanReady(pData) || !ReserveWork("RemoveRunningMean"))
        return;
    std::memcpy(m_work.data(), pData, m_work.size() * sizeof(float));
    SubtractRunningMean(m_work.data(), pData);
}

void CMigration::RemoveRunningMean(const float* pInput, float* pOutput)
{
    if (!IsRunningMeanReady(pInput) || !SubtractRunningMean(pInput, pOutput))
        std::copy_n(pInput, size_t(std::max(m_nTraces, 0)) * size_t(std::max(m_nSamples, 0)), pOutput);
}

bool CMigration::SubtractRunningMean(const float* input, float* pOutput)
{
    ClearUpperVectorState();
    const size_t ns = static_cast<size_t>(m_nSamples);
    const int64_t nt = m_nTraces;
    if (!Resize(m_sums, ns, "RemoveRunningMean") || !Resize(m_zeros, ns, "RemoveRunningMean"))
        return false;
    const int64_t h = GetRunningMeanHalfWidth();
    double* sums = m_sums.data();
    std::fill_n(sums, ns, 0.0);
    for (int64_t t = 0; t <= h; ++t) {
        const float* trace = input + static_cast<size_t>(t) * ns;
        for (size_t s = 0; s < ns; ++s)
            sums[s] += trace[s];
    }
    const StepMeansKernel stepMeans = MeanKernels().Get();
    const float* none = m_zeros.data();
    for (int64_t a = 0; a < nt; ++a) {
        CMeanStep step;
        step.in = input + static_cast<size_t>(a) * ns;
        step.entering = a + h + 1 < nt ? input + static_cast<size_t>(a + h + 1) * ns : none;
        step.leaving = a - h >= 0 ? input + static_cast<size_t>(a - h) * ns : none;
        step.count = static_cast<double>(std::min(nt - 1, a + h) - std::max<int64_t>(0, a - h) + 1);
        step.ns = ns;
        step.sums = sums;
        step.out = pOutput + static_cast<size_t>(a) * ns;
        stepMeans(step);
    }
    return true;
}

float CMigration::FindInputPeak(const float* pData, int32_t zeroLevel) const
{
    const int32_t ns = m_nSamples;
    if (zeroLevel >= ns)
        return 0;
    const int32_t q = (ns - zeroLevel) / 4;
    const int32_t probes[] = {0, zeroLevel + 1, zeroLevel + q, zeroLevel + 2 * q, zeroLevel + 3 * q};
    for (int32_t t = 0; t < m_nTraces; ++t) {
        const float* trace = pData + static_cast<size_t>(t) * static_cast<size_t>(ns);
        const bool bEmpty = std::all_of(std::begin(probes), std::end(probes),
                                        [&](int32_t i) { return i >= ns || trace[i] == 0.0f; });
        if (!bEmpty)
            return PeakOf(trace + zeroLevel, static_cast<size_t>(ns - zeroLevel), 1);
    }
    return 0;
}

// The sources of each output sample, for every trace a the input of the traces t of its window
// at the travel time from t, in ascending t. The travel time depends only on |t - a|, so each
// offset is one padded input row shifted by it: the traces before a farthest first, then a
// itself, then the traces after a nearest first.
bool CMigration::ListSources()
{
    if (m_bSourcesListed)
        return true;
    const size_t nt = static_cast<size_t>(m_nTraces);
    const size_t ns = static_cast<size_t>(m_nSamples);
    const size_t first = FirstMigratedSample();
    size_t total = 0;
    for (size_t s = first; s < ns; ++s)
        total += 2 * std::min<size_t>(m_aperture[s], nt - 1) + 1;
    try {
        m_sourceStart.assign(ns + 1, 0);
        m_sourceList.resize(total);
        m_rowOfOffset.resize(m_nPadding + 1);
    } catch (const std::bad_alloc&) {
        std::vector<const float*>().swap(m_sourceList);
        g_messageLog.Log(LOG_ERROR, "CMigration::Migrate(): out of memory for %zu sources.", total);
        return false;
    }
    const float** rows = m_rowOfOffset.data();
    const float** sources = m_sourceList.data();
    size_t count = 0;
    for (size_t s = first; s < ns; ++s) {
        const uint32_t* times = &m_table[s * nt];
        const size_t w = std::min<size_t>(m_aperture[s], nt - 1);
        // The padded input row seen from each offset, null where the travel time is out of reach.
        for (size_t d = 0; d <= w; ++d) {
            const uint32_t t = times[d];
            const bool bUsed = t < ns && (t > s ? t - s : s - t) < MAX_TIME_SHIFT;
            rows[d] = bUsed ? &m_padded[static_cast<size_t>(t) * m_nPaddedStride + m_nPadding] : nullptr;
        }
        m_sourceStart[s] = count;
        for (size_t d = w; d >= 1; --d)
            if (rows[d])
                sources[count++] = rows[d] - d;
        if (rows[0])
            sources[count++] = rows[0];
        for (size_t d = 1; d <= w; ++d)
            if (rows[d])
                sources[count++] = rows[d] + d;
        m_sourceStart[s + 1] = count;
    }
    m_bSourcesListed = true;
    return true;
}

// Output sample `sample` of every trace into pRow: the mean over each trace's window of its
// sources, summed in the listed order.
void CMigration::SumSample(int32_t sample, float* pRow)
{
    const size_t nt = static_cast<size_t>(m_nTraces);
    const size_t w = std::min<size_t>(m_aperture[static_cast<size_t>(sample)], nt - 1);
    const size_t begin = m_sourceStart[static_cast<size_t>(sample)];
    const size_t count = m_sourceStart[static_cast<size_t>(sample) + 1] - begin;
    const float* const* sources = m_sourceList.data() + begin;

    // The divisor counts every trace of the window, also those that gave nothing.
    float* divisors = m_divisors.data();
    if (w != m_nDivisorWidth) {
        m_nDivisorWidth = w;
        const int64_t last = m_nTraces - 1;
        const int64_t width = static_cast<int64_t>(w);
        // Traces from `inner` to `outer` have the whole window; the window is cut before and
        // after them.
        const int64_t inner = std::min(width, last + 1);
        const int64_t outer = std::max(inner, last - width + 1);
        const auto cutWindow = [&](int64_t a) {
            divisors[a] = static_cast<float>(std::min(last, a + width) - std::max<int64_t>(0, a - width) + 1);
        };
        for (int64_t a = 0; a < inner; ++a)
            cutWindow(a);
        std::fill(divisors + inner, divisors + outer, static_cast<float>(2 * width + 1));
        for (int64_t a = outer; a <= last; ++a)
            cutWindow(a);
    }
    SumKernels().Get()({sources, count, divisors, pRow, nt});
}

void CMigration::Migrate(float* pData)
{
    MigrateInto(pData, pData);
}

void CMigration::Migrate(const float* pInput, float* pOutput)
{
    if (!MigrateInto(pInput, pOutput))
        std::copy_n(pInput, size_t(std::max(m_nTraces, 0)) * size_t(std::max(m_nSamples, 0)), pOutput);
}

size_t CMigration::GetRowStride() const
{
    return static_cast<size_t>(m_nTraces) + kMaxBlock;
}

size_t CMigration::FirstMigratedSample() const
{
    return std::min(static_cast<size_t>(ZeroLevel()), static_cast<size_t>(m_nSamples));
}

bool CMigration::PrepareMigration(const float* pInput, bool bSameInput)
{
    ClearUpperVectorState();
    // The rows hold the last input only until this call has copied its own.
    const bool bInputKept = bSameInput && m_bPaddedInput;
    m_bPaddedInput = false;
    if (!m_pProject || !pInput || !m_pProject->m_settings.m_params.m_bMigration || m_nTraces <= 0)
        return false;
    if (!m_bTableBuilt || !IsAllocated() || m_nSamples != m_pProject->m_settings.m_iSamples) {
        g_messageLog.Log(LOG_ERROR, "CMigration::Migrate(): no travel-time table for the section.");
        return false;
    }
    const size_t ns = static_cast<size_t>(m_nSamples);
    const size_t nt = static_cast<size_t>(m_nTraces);
    // The widest window any output sample sums over, cut to the section.
    uint32_t widest = 0;
    for (size_t s = FirstMigratedSample(); s < ns; ++s)
        widest = std::max(widest, m_aperture[s]);
    const size_t padding = std::max(std::min<size_t>(widest, nt - 1), m_nPadding);
    const size_t blocks = GetRowStride();
    bool bLayoutKept = false;
    if (!ReservePadded(padding, bLayoutKept) || !Resize(m_rows, uint64_t(kTile) * blocks, "Migrate") ||
        !Resize(m_divisors, blocks, "Migrate") || !ListSources())
        return false;
    m_nDivisorWidth = SIZE_MAX;
    // Outputs past the last trace are computed and dropped; they divide by 1.
    std::fill(m_divisors.begin() + static_cast<ptrdiff_t>(nt), m_divisors.end(), 1.0f);
    m_fInputPeak = FindInputPeak(pInput, ZeroLevel());

    // Sample-major copy between the rows' padding; the input is read only here.
    if (!bInputKept || !bLayoutKept)
        Transpose(pInput, ns, m_padded.data() + m_nPadding, m_nPaddedStride, nt, ns);
    m_bPaddedInput = true;
    return true;
}

void CMigration::SetOutputPeak(float peak)
{
    m_fOutputPeak = peak == 0.0f ? 1.0f : peak;
}

bool CMigration::MigrateInto(const float* pInput, float* pOutput)
{
    if (!PrepareMigration(pInput, false))
        return false;
    const size_t ns = static_cast<size_t>(m_nSamples);
    const size_t nt = static_cast<size_t>(m_nTraces);
    const size_t first = FirstMigratedSample();
    const size_t blocks = GetRowStride();
    for (size_t a = 0; a < nt; ++a)
        std::fill_n(pOutput + a * ns, first, 0.0f);
    // A tile of output samples, sample-major, then copied back trace by trace.
    float* rows = m_rows.data();
    for (size_t s0 = first; s0 < ns; s0 += kTile) {
        const size_t s1 = std::min(ns, s0 + kTile);
        for (size_t s = s0; s < s1; ++s)
            SumSample(static_cast<int32_t>(s), rows + (s - s0) * blocks);
        Transpose(rows, blocks, pOutput + s0, ns, s1 - s0, nt);
    }
    SetOutputPeak(PeakOf(pOutput, ns, 1));
    return true;
}

void CMigration::MigrateToRows(const float* pInput, float* pRows, bool bSameInput)
{
    const size_t ns = static_cast<size_t>(std::max(m_nSamples, 0));
    const size_t stride = GetRowStride();
    if (!PrepareMigration(pInput, bSameInput)) {
        if (pInput)
            Transpose(pInput, ns, pRows, stride, static_cast<size_t>(m_nTraces), ns);
        return;
    }
    const size_t first = FirstMigratedSample();
    std::fill_n(pRows, first * stride, 0.0f);
    for (size_t s = first; s < ns; ++s)
        SumSample(static_cast<int32_t>(s), pRows + s * stride);
    SetOutputPeak(PeakOf(pRows, ns, stride));
}

bool CMigration::ReservePadded(size_t padding, bool& bKept)
{
    // The padding on both sides stays +0.0: only the middle of a row is ever written.
    const size_t traces = static_cast<size_t>(m_nTraces);
    const size_t stride = 2 * padding + traces + kMaxBlock;
    const size_t values = static_cast<size_t>(m_nSamples) * stride;
    bKept = padding == m_nPadding && stride == m_nPaddedStride && m_padded.size() == values;
    if (bKept)
        return true;
    // The listed sources point into the rows.
    m_bSourcesListed = false;
    m_nPadding = padding;
    m_nPaddedStride = stride;
    try {
        // The memory of a wider earlier layout is kept: a new aperture zeroes its padding only.
        m_padded.resize(values);
    } catch (const std::bad_alloc&) {
        std::vector<float>().swap(m_padded);
        m_nPaddedStride = 0;
        g_messageLog.Log(LOG_ERROR, "CMigration::Migrate(): out of memory for %llu values.",
                         static_cast<unsigned long long>(values));
        return false;
    }
    for (size_t s = 0; s < static_cast<size_t>(m_nSamples); ++s) {
        float* row = m_padded.data() + s * stride;
        std::fill_n(row, padding, 0.0f);
        std::fill(row + padding + traces, row + stride, 0.0f);
    }
    return true;
}
