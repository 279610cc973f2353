#include "Migration.h"

#include "MessageLog.h"
#include "Project.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>

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

// Larger of the largest value and the absolute smallest, both taken with 0.
float PeakOf(const float* pValues, size_t count)
{
    float high = 0, low = 0;
    for (size_t i = 0; i < count; ++i) {
        high = std::max(high, pValues[i]);
        low = std::min(low, pValues[i]);
    }
    return std::max(high, -low);
}

} // namespace

CMigration::CMigration(const CProject* pProject, int32_t traceCount)
    : m_pProject(pProject), m_nTraces(std::max(traceCount, 0))
{
    Alloc();
}

bool CMigration::Alloc()
{
    m_bTableBuilt = false;
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

void CMigration::BuildTable()
{
    m_bTableBuilt = true;
    if (!m_pProject || !IsAllocated())
        return;
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
    if (!(dz > 0) || !std::isfinite(dz2) || !std::isfinite(toSamples)) {
        // No usable depth scale: every travel time lies past the trace, so nothing is summed.
        std::fill(m_table.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(zl) * traces), m_table.end(),
                  UINT32_MAX);
        std::fill(m_aperture.begin() + zl, m_aperture.end(), 0u);
        return;
    }
    float h = ToFloat(antenna.m_dSeparation) / ToFloat(settings.m_dResolution) * 0.5f;
    if (!std::isfinite(h))
        h = 0;

    const float radius = static_cast<float>(depthSamples) * static_cast<float>(depthSamples) * dz2;
    const float offset = static_cast<float>(zl);
    for (int32_t j = 0; j < depthSamples; ++j) {
        const float z2 = static_cast<float>(j) * static_cast<float>(j) * dz2;
        uint32_t* row = &m_table[static_cast<size_t>(zl + j) * traces];
        for (size_t d = 0; d < traces; ++d) {
            const float plus = static_cast<float>(d) + h;
            const float minus = static_cast<float>(d) - h;
            const float path = std::sqrt(plus * plus + z2) + std::sqrt(minus * minus + z2);
            row[d] = SaturateToUint32(path * toSamples + offset);
        }
        m_aperture[static_cast<size_t>(zl + j)] = SaturateToUint32(std::sqrt(radius - z2));
    }
}

bool CMigration::ReserveWork(const char* step)
{
    const uint64_t values = uint64_t(m_nSamples) * uint64_t(m_nTraces);
    return Resize(m_work, values, step);
}

void CMigration::RemoveRunningMean(float* pData)
{
    if (!m_pProject || !pData || !m_pProject->m_settings.m_params.m_bDelMeanOn || m_nTraces <= 0)
        return;
    if (m_nSamples <= 0 || m_nSamples != m_pProject->m_settings.m_iSamples) {
        g_messageLog.Log(LOG_ERROR, "CMigration::RemoveRunningMean(): the section is not allocated.");
        return;
    }
    const size_t ns = static_cast<size_t>(m_nSamples);
    const int64_t nt = m_nTraces;
    if (!ReserveWork("RemoveRunningMean") || !Resize(m_sums, ns, "RemoveRunningMean"))
        return;
    const int64_t h = std::max<int64_t>(std::min<int64_t>(nt - 1, m_pProject->m_settings.m_params.m_iDelMean) / 2, 0);

    // The running sums need the input of traces that are already replaced.
    float* input = m_work.data();
    std::memcpy(input, pData, ns * static_cast<size_t>(nt) * sizeof(float));
    double* sums = m_sums.data();
    std::fill_n(sums, ns, 0.0);
    for (int64_t t = 0; t <= h; ++t) {
        const float* trace = input + static_cast<size_t>(t) * ns;
        for (size_t s = 0; s < ns; ++s)
            sums[s] += trace[s];
    }
    for (int64_t a = 0; a < nt; ++a) {
        const double count = static_cast<double>(std::min(nt - 1, a + h) - std::max<int64_t>(0, a - h) + 1);
        const float* in = input + static_cast<size_t>(a) * ns;
        float* out = pData + static_cast<size_t>(a) * ns;
        for (size_t s = 0; s < ns; ++s)
            out[s] = static_cast<float>(in[s] - sums[s] / count);
        if (a + h + 1 < nt) {
            const float* entering = input + static_cast<size_t>(a + h + 1) * ns;
            for (size_t s = 0; s < ns; ++s)
                sums[s] += entering[s];
        }
        if (a - h >= 0) {
            const float* leaving = input + static_cast<size_t>(a - h) * ns;
            for (size_t s = 0; s < ns; ++s)
                sums[s] -= leaving[s];
        }
    }
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
            return PeakOf(trace + zeroLevel, static_cast<size_t>(ns - zeroLevel));
    }
    return 0;
}

// Output sample `sample` of every trace into pRow: for trace a the mean over the traces t of
// its window of the input at the travel time from t, summed in ascending t. The travel time
// depends only on |t - a|, so each offset adds one input row shifted by it.
void CMigration::SumSample(int32_t sample, float* pRow) const
{
    const size_t nt = static_cast<size_t>(m_nTraces);
    const uint32_t ns = static_cast<uint32_t>(m_nSamples);
    const uint32_t s = static_cast<uint32_t>(sample);
    const uint32_t* times = &m_table[static_cast<size_t>(sample) * nt];
    const size_t w = std::min<size_t>(m_aperture[static_cast<size_t>(sample)], nt - 1);
    std::fill_n(pRow, nt, 0.0f);
    auto source = [&](size_t d) -> const float* {
        const uint32_t t = times[d];
        if (t >= ns || (t > s ? t - s : s - t) >= MAX_TIME_SHIFT)
            return nullptr;
        return &m_work[static_cast<size_t>(t) * nt];
    };
    // Traces before a, farthest first.
    for (size_t d = w; d >= 1; --d) {
        if (const float* in = source(d)) {
            for (size_t a = d; a < nt; ++a)
                pRow[a] += in[a - d];
        }
    }
    if (const float* in = source(0)) {
        for (size_t a = 0; a < nt; ++a)
            pRow[a] += in[a];
    }
    // Traces after a, nearest first.
    for (size_t d = 1; d <= w; ++d) {
        if (const float* in = source(d)) {
            for (size_t a = 0; a + d < nt; ++a)
                pRow[a] += in[a + d];
        }
    }
    // The divisor counts every trace of the window, also those that gave nothing.
    const int32_t last = m_nTraces - 1;
    const int32_t width = static_cast<int32_t>(w);
    for (int32_t a = 0; a <= last; ++a) {
        const int32_t count = std::min(last, a + width) - std::max(0, a - width) + 1;
        pRow[a] /= static_cast<float>(count);
    }
}

void CMigration::Migrate(float* pData)
{
    if (!m_pProject || !pData || !m_pProject->m_settings.m_params.m_bMigration || m_nTraces <= 0)
        return;
    if (!m_bTableBuilt || !IsAllocated() || m_nSamples != m_pProject->m_settings.m_iSamples) {
        g_messageLog.Log(LOG_ERROR, "CMigration::Migrate(): no travel-time table for the section.");
        return;
    }
    const int32_t zl = ZeroLevel();
    const size_t ns = static_cast<size_t>(m_nSamples);
    const size_t nt = static_cast<size_t>(m_nTraces);
    if (!ReserveWork("Migrate") || !Resize(m_rows, uint64_t(kTile) * nt, "Migrate"))
        return;
    m_fInputPeak = FindInputPeak(pData, zl);

    // Sample-major copy, in tiles so that both sides stay in cache.
    float* work = m_work.data();
    for (size_t t0 = 0; t0 < nt; t0 += kTile) {
        const size_t t1 = std::min(nt, t0 + kTile);
        for (size_t s0 = 0; s0 < ns; s0 += kTile) {
            const size_t s1 = std::min(ns, s0 + kTile);
            for (size_t t = t0; t < t1; ++t)
                for (size_t s = s0; s < s1; ++s)
                    work[s * nt + t] = pData[t * ns + s];
        }
    }

    const size_t first = std::min(static_cast<size_t>(zl), ns);
    for (size_t a = 0; a < nt; ++a)
        std::fill_n(pData + a * ns, first, 0.0f);
    // A tile of output samples, sample-major, then copied back trace by trace.
    float* rows = m_rows.data();
    for (size_t s0 = first; s0 < ns; s0 += kTile) {
        const size_t s1 = std::min(ns, s0 + kTile);
        for (size_t s = s0; s < s1; ++s)
            SumSample(static_cast<int32_t>(s), rows + (s - s0) * nt);
        for (size_t a = 0; a < nt; ++a)
            for (size_t s = s0; s < s1; ++s)
                pData[a * ns + s] = rows[(s - s0) * nt + a];
    }

    const float peak = PeakOf(pData, ns);
    m_fOutputPeak = peak == 0.0f ? 1.0f : peak;
}
