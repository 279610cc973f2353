#include "Matrix.h"

#include "Crypto.h"
#include "FileIo.h"
#include "KernelChoice.h"
#include "Migration.h"
#include "MessageLog.h"
#include "Project.h"
#include "SignalRoutines.h"
#include "ZeroLevel.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

// A slice band spans this many depths (a cache line of floats), 3 % of a matrix of 512 samples.
constexpr int64_t kBandDepths = 16;

// At most this share of the machine's memory for the matrix: a damaged header must not
// make it allocate without bound.
uint64_t MemoryLimit()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return uint64_t(1) << 32;
    return uint64_t(pages) * uint64_t(pageSize) / 2;
}

int16_t ReadInt16(const uint8_t* bytes)
{
    return static_cast<int16_t>(uint16_t(bytes[0]) | uint16_t(bytes[1]) << 8);
}

size_t ClampIndex(int64_t index, size_t count)
{
    return static_cast<size_t>(std::clamp<int64_t>(index, 0, int64_t(count) - 1));
}

// Despiking, common offset and lagged placement of one line's EM values (four components
// per trace) into its two runs of n values.
void PlaceEmLine(float* em, size_t n, double lagDistance, double traceSpacing, bool bVertical, float* out)
{
    if (n == 0)
        return;
    auto differs = [](float a, float b) { return std::fabs(a - b) > 0.1f; };
    for (size_t c = 0; c < 4; ++c) {
        auto at = [&](int64_t k) -> float& { return em[4 * ClampIndex(k, n) + c]; };
        for (size_t k = 0; k < n; ++k) {
            const int64_t i = static_cast<int64_t>(k);
            float& value = at(i);
            if (k == 0) {
                if (differs(value, at(1)) && differs(value, at(2)))
                    value = at(1);
            } else if (k + 1 < n) {
                if (differs(value, at(i + 1)) && differs(value, at(i - 1)))
                    value = (at(i - 1) + at(i + 1)) * 0.5f;
            } else if (differs(value, at(i - 1))) {
                value = at(i - 1);
            }
        }
    }
    float offset = em[0];
    for (size_t k = 1; k < n; ++k)
        offset = std::min(offset, em[4 * k]);
    for (size_t k = 0; k < 4 * n; ++k)
        em[k] -= offset;

    const double lag = traceSpacing > 0 ? lagDistance / traceSpacing * 0.5 : 0.0;
    int64_t g = 0;
    if (lag > 0)
        g = lag >= double(n) ? int64_t(n) : static_cast<int64_t>(lag);
    for (size_t k = 0; k < n; ++k) {
        const int64_t i = static_cast<int64_t>(k);
        const float* back = em + 4 * ClampIndex(i - g, n);
        const float* ahead = em + 4 * ClampIndex(i + g, n);
        float first, second;
        if (i < g) {
            first = ahead[2];
            second = ahead[3];
        } else if (i < int64_t(n) - g) {
            first = (back[0] + ahead[2]) * 0.5f;
            second = (back[1] + ahead[3]) * 0.5f;
        } else {
            first = back[0];
            second = back[1];
        }
        out[bVertical ? k : n + k] = first;
        out[bVertical ? n + k : k] = second;
    }
}

// Automatic gain along one slice line; input is the unchanged line.
void GainSliceLine(float* line, size_t n, int window, int scale, std::vector<float>& input)
{
    input.assign(line, line + n);
    const int64_t h = std::max(window, 0) / 2;
    const double gain = scale * 0.05;
    double sum = 0;
    int64_t first = 0, end = 0; // window [first, end)
    for (int64_t k = 0; k < int64_t(n); ++k) {
        const int64_t wantFirst = std::max<int64_t>(0, k - h);
        const int64_t wantEnd = std::min<int64_t>(int64_t(n), k + h + 1);
        for (; end < wantEnd; ++end)
            sum += std::fabs(double(input[size_t(end)]));
        for (; first < wantFirst; ++first)
            sum -= std::fabs(double(input[size_t(first)]));
        const double mean = sum / double(end - first);
        const double floor = k <= h ? 0.0005 : 0.005;
        line[k] = static_cast<float>(input[size_t(k)] * gain / std::max(floor, mean));
    }
}

} // namespace

struct C3DMatrix::CSetRef
{
    CSampleBlock& data;
    std::vector<float*>& traces;
    std::vector<float>& em;
    std::vector<float>& slice;
    CSliceBand& band;
    uint32_t perLine;
    uint32_t readCount;
    uint32_t lines;
    uint32_t processed;
};

C3DMatrix::CSetRef C3DMatrix::Set(bool bVertical)
{
    if (bVertical)
        return {m_vertData, m_vertTraces, m_vertEm, m_vertSlice, m_vertBand, m_nNY, m_nVertReadCount, m_nVertLines, m_nVertLinesProcessed};
    return {m_horzData, m_horzTraces, m_horzEm, m_horzSlice, m_horzBand, m_nNX, m_nHorzReadCount, m_nHorzLines, m_nHorzLinesProcessed};
}

float* C3DMatrix::EditVertTrace(uint32_t line, uint32_t trace)
{
    DropSliceBands();
    return m_vertTraces[size_t(line) * m_nNY + trace];
}

float* C3DMatrix::EditHorzTrace(uint32_t line, uint32_t trace)
{
    DropSliceBands();
    return m_horzTraces[size_t(line) * m_nNX + trace];
}

void C3DMatrix::DropSliceBands()
{
    for (CSliceBand* band : {&m_vertBand, &m_horzBand}) {
        std::vector<float>().swap(band->values);
        band->first = band->end = 0;
    }
}

void C3DMatrix::Free()
{
    DropSliceBands();
    m_vertData.Free();
    m_horzData.Free();
    for (std::vector<float>* block : {&m_vertEm, &m_horzEm, &m_vertSlice, &m_horzSlice, &m_sliceLow})
        std::vector<float>().swap(*block);
    std::vector<float*>().swap(m_vertTraces);
    std::vector<float*>().swap(m_horzTraces);
    m_pProject = nullptr;
    m_nSamples = m_nNY = m_nNX = m_nSpacing = 0;
    m_nVertReadCount = m_nHorzReadCount = 0;
    m_nVertLines = m_nHorzLines = m_nVertLinesProcessed = m_nHorzLinesProcessed = 0;
    m_bHasEm = false;
    m_dTraceSpacing = 0;
    m_bInitialized = false;
}

bool C3DMatrix::Init(CProject* pProject)
{
    Free();
    if (!pProject)
        return false;
    const CProjectSettings& s = pProject->m_settings;
    if (s.m_iSamples <= 0 || s.m_iGridSizeX <= 0 || s.m_iGridSizeY <= 0 || s.m_iProfileSpacing <= 0 ||
        s.m_iSizeX <= 0 || s.m_iSizeY <= 0) {
        g_messageLog.Log(LOG_ERROR, "C3DMatrix::Init(): the project has no usable grid.");
        return false;
    }
    m_pProject = pProject;
    m_bHasEm = s.m_bHasEmData;
    m_nSamples = static_cast<uint32_t>(s.m_iSamples);
    m_nNY = static_cast<uint32_t>(s.m_iGridSizeY);
    m_nNX = static_cast<uint32_t>(s.m_iGridSizeX);
    m_nSpacing = static_cast<uint32_t>(s.m_iProfileSpacing);
    m_nVertReadCount = std::min(static_cast<uint32_t>(s.m_iSizeY), m_nNY);
    m_nHorzReadCount = std::min(static_cast<uint32_t>(s.m_iSizeX), m_nNX);
    m_nVertLines = (m_nNX - 1) / m_nSpacing + 1;
    m_nHorzLines = (m_nNY - 1) / m_nSpacing + 1;
    m_nVertLinesProcessed = std::min(static_cast<uint32_t>(std::max(s.GetXLineCount(), 0)), m_nVertLines);
    m_nHorzLinesProcessed = std::min(static_cast<uint32_t>(std::max(s.GetYLineCount(), 0)), m_nHorzLines);
    m_dTraceSpacing = s.m_dResolution;

    const uint64_t vertTraces = uint64_t(m_nVertLines) * m_nNY;
    const uint64_t horzTraces = uint64_t(m_nHorzLines) * m_nNX;
    const uint64_t bytes = (vertTraces + horzTraces) * (uint64_t(m_nSamples) + 3) * sizeof(float);
    if (bytes > MemoryLimit()) {
        g_messageLog.Log(LOG_ERROR, "C3DMatrix::Init(): %llu bytes are more than this machine can hold.",
                         static_cast<unsigned long long>(bytes));
        Free();
        return false;
    }
    try {
        for (bool bVertical : {true, false}) {
            CSetRef set = Set(bVertical);
            const size_t traces = size_t(set.lines) * set.perLine;
            if (!set.data.Allocate(traces * m_nSamples))
                throw std::bad_alloc();
            set.traces.resize(traces);
            for (size_t i = 0; i < traces; ++i)
                set.traces[i] = set.data.data() + i * m_nSamples;
            set.em.assign(2 * traces, 0.0f);
            set.slice.assign(traces, 0.0f);
        }
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "C3DMatrix::Init(): out of memory for %llu bytes.",
                         static_cast<unsigned long long>(bytes));
        Free();
        return false;
    }
    m_bInitialized = true;
    return true;
}

bool C3DMatrix::Calculate()
{
    if (!m_bInitialized)
        return false;
    DropSliceBands();
    std::fill(m_vertEm.begin(), m_vertEm.end(), 0.0f);
    std::fill(m_horzEm.begin(), m_horzEm.end(), 0.0f);
    CProjectSettings& s = m_pProject->m_settings;
    // Migration and depth conversions of every line use it; a line without a first arrival
    // keeps the level there is.
    if (!s.m_bUseZeroLevel)
        FindZeroLevel(*m_pProject, s.m_iZeroLevel);
    return CalculateSet(true) && CalculateSet(false);
}

bool C3DMatrix::CalculateSet(bool bVertical)
{
    CProject& project = *m_pProject;
    CProjectSettings& s = project.m_settings;
    const CProcessingParams& params = s.m_params;
    CSetRef set = Set(bVertical);
    const size_t ns = m_nSamples;
    const size_t lineValues = size_t(set.perLine) * ns;
    const size_t readValues = size_t(set.readCount) * ns;
    const size_t recordBytes = 4 + 2 * ns;
    const size_t emRecordBytes = 4 + CProject::EM_RECORD_SIZE;
    // A line is built in lineData and copied into the set once it is complete; its records
    // are read into the two record buffers.
    std::vector<float> lineData;
    std::vector<uint8_t> records;
    std::vector<uint8_t> emRecords;
    try {
        lineData.resize(lineValues);
        records.resize(size_t(set.readCount) * recordBytes);
        emRecords.resize(m_bHasEm ? size_t(set.readCount) * emRecordBytes : 0);
    } catch (const std::bad_alloc&) {
        g_messageLog.Log(LOG_ERROR, "C3DMatrix::Calculate(): out of memory for a line of %zu values.", lineValues);
        return false;
    }
    std::vector<int16_t> raw(ns);
    std::vector<float> em(4 * size_t(set.perLine));
    CMigration migration(&project, static_cast<int32_t>(set.readCount));
    CAntennaSettings antenna;
    s.GetAntennaSettings(antenna);

    for (uint32_t line = 0; line < set.processed; ++line) {
        bVertical ? project.SelectXProfile(static_cast<int32_t>(line)) : project.SelectYProfile(static_cast<int32_t>(line));
        const int32_t complete = project.ReadTraceRecords(0, static_cast<int32_t>(set.readCount), records.data(),
                                                          m_bHasEm ? emRecords.data() : nullptr);
        if (complete < static_cast<int32_t>(set.readCount)) {
            g_messageLog.Log(LOG_ERROR, "C3DMatrix::Calculate(): fail to read trace %d of %s line %u.",
                             complete, bVertical ? "vertical" : "horizontal", line);
            return false;
        }
        // Traces past the read count stay 0.
        std::fill(lineData.begin() + static_cast<ptrdiff_t>(readValues), lineData.end(), 0.0f);
        std::fill(em.begin(), em.end(), 0.0f);
        for (uint32_t t = 0; t < set.readCount; ++t) {
            // The samples as ReadTrace reads them: 16-bit values in the machine's order.
            std::memcpy(raw.data(), records.data() + size_t(t) * recordBytes + 4, 2 * ns);
            float* trace = lineData.data() + size_t(t) * ns;
            for (size_t i = 0; i < ns; ++i)
                trace[i] = raw[i] * kSampleToFloat;
            if (m_bHasEm) {
                const uint8_t* emRecord = emRecords.data() + size_t(t) * emRecordBytes + 4;
                for (size_t c = 0; c < 4; ++c)
                    em[4 * t + c] = ReadInt16(emRecord + 2 * c) * kSampleToFloat;
            }
        }
        FirBandPassTraces(lineData.data(), set.readCount, static_cast<int>(ns), params.m_bFirOn, params.m_iFirHigh,
                          params.m_iFirLow);

        if (params.m_bMigration && !migration.IsTableBuilt())
            migration.BuildTable();
        migration.RemoveRunningMean(lineData.data());
        migration.Migrate(lineData.data());
        if (params.m_bMigration && s.m_fAutoGain != 0) {
            const float gain = s.m_fAutoGain;
            for (float& value : lineData)
                value *= gain;
        }
        std::copy(lineData.begin(), lineData.end(), set.data.data() + size_t(line) * lineValues);
        if (m_bHasEm)
            PlaceEmLine(em.data(), set.perLine, antenna.m_dEmLagDistance, m_dTraceSpacing, bVertical,
                        set.em.data() + 2 * size_t(line) * set.perLine);
    }
    return true;
}

void C3DMatrix::ExtractSlice()
{
    if (!m_bInitialized)
        return;
    ExtractSetSlice(true);
    ExtractSetSlice(false);
}

const C3DMatrix::CSliceBand* C3DMatrix::SliceBand(CSetRef& set, int64_t first, int64_t end)
{
    CSliceBand& band = set.band;
    if (!band.values.empty() && band.first <= first && end <= band.end)
        return &band;
    // A step past the kept band keeps the depth it came from, so that a notch back needs no
    // new band; otherwise the band starts on a multiple of its depths where the window fits.
    int64_t bandFirst;
    if (!band.values.empty() && first >= band.end) {
        bandFirst = std::max<int64_t>(first - 1, end - kBandDepths);
    } else if (!band.values.empty() && end <= band.first) {
        bandFirst = std::min<int64_t>(first, end + 1 - kBandDepths);
    } else {
        const int64_t aligned = first - first % kBandDepths;
        bandFirst = end <= aligned + kBandDepths ? aligned : first;
    }
    bandFirst = std::clamp<int64_t>(bandFirst, 0, first);
    const int64_t bandEnd = std::min<int64_t>(m_nSamples, bandFirst + kBandDepths);
    if (end > bandEnd)
        return nullptr;
    const size_t traces = set.traces.size(), depths = size_t(bandEnd - bandFirst);
    try {
        band.values.resize(depths * traces);
    } catch (const std::bad_alloc&) {
        DropSliceBands();
        return nullptr;
    }
    band.first = bandFirst;
    band.end = bandEnd;
    // Each trace's band is one or two cache lines, read once for all its depths into a tile of
    // neighbouring traces that then goes out depth by depth in runs: stores scattered over
    // every depth row would each wait for their own cache line.
    constexpr size_t kTileTraces = 128;
    float tile[kTileTraces * kBandDepths];
    float* values = band.values.data();
    for (size_t i0 = 0; i0 < traces; i0 += kTileTraces) {
        const size_t count = std::min(kTileTraces, traces - i0);
        for (size_t i = 0; i < count; ++i)
            std::copy_n(set.traces[i0 + i] + bandFirst, depths, tile + i * depths);
        for (size_t k = 0; k < depths; ++k) {
            float* row = values + k * traces + i0;
            for (size_t i = 0; i < count; ++i)
                row[i] = tile[i * depths + k];
        }
    }
    return &band;
}

void C3DMatrix::ExtractSetSlice(bool bVertical)
{
    ClearUpperVectorState();
    const CProjectSettings& s = m_pProject->m_settings;
    const CProcessingParams& params = s.m_params;
    CSetRef set = Set(bVertical);
    const int64_t ns = m_nSamples;
    const int64_t depth = s.m_iDepthIndex;
    const int64_t thickness = params.m_iAperture;
    const size_t traces = set.traces.size();
    float* slice = set.slice.data();

    // The window of depths whose samples give a trace's value.
    const int64_t first = thickness < 2 ? depth : std::max<int64_t>(0, depth - (thickness - 1) / 2);
    const int64_t end = thickness < 2 ? depth + 1 : std::min<int64_t>(ns, depth + thickness / 2);
    const CSliceBand* band = depth >= 0 && depth < ns && first < end ? SliceBand(set, first, end) : nullptr;
    if (depth < 0 || depth >= ns) {
        std::fill(slice, slice + traces, 0.0f);
    } else if (band && thickness < 2) {
        std::copy_n(band->values.data() + size_t(depth - band->first) * traces, traces, slice);
    } else if (band) {
        // |max - min| over the window, each trace taking its depths in order as below; max and
        // min start at 0.
        std::vector<float>& low = m_sliceLow;
        low.assign(traces, 0.0f);
        std::fill(slice, slice + traces, 0.0f);
        for (int64_t k = first; k < end; ++k) {
            const float* row = band->values.data() + size_t(k - band->first) * traces;
            for (size_t i = 0; i < traces; ++i) {
                slice[i] = std::max(slice[i], row[i]);
                low[i] = std::min(low[i], row[i]);
            }
        }
        for (size_t i = 0; i < traces; ++i)
            slice[i] = std::fabs(slice[i] - low[i]);
    } else if (thickness < 2) {
        for (size_t i = 0; i < traces; ++i)
            slice[i] = set.traces[i][depth];
    } else {
        for (size_t i = 0; i < traces; ++i) {
            const float* trace = set.traces[i];
            float high = 0, low = 0;
            for (int64_t k = first; k < end; ++k) {
                high = std::max(high, trace[k]);
                low = std::min(low, trace[k]);
            }
            slice[i] = std::fabs(high - low);
        }
    }

    std::vector<float> input;
    for (uint32_t line = 0; line < set.lines; ++line) {
        float* values = slice + size_t(line) * set.perLine;
        if (params.m_bAgcOn)
            GainSliceLine(values, set.perLine, params.m_iAgcWindow, params.m_iAgcScale, input);
        FirBandPass(values, values, static_cast<int>(set.perLine), false, 0, 0);
        if (params.m_iThreshold < 0)
            std::replace_if(values, values + set.perLine, [](float v) { return v > 0; }, 0.0f);
        else if (params.m_iThreshold > 0)
            std::replace_if(values, values + set.perLine, [](float v) { return v < 0; }, 0.0f);
    }
}

std::wstring C3DMatrix::GetVertFileName() const
{
    return m_pProject ? m_pProject->m_strFolder + m_pProject->m_strName + L"_1.precalc" : std::wstring();
}

std::wstring C3DMatrix::GetHorzFileName() const
{
    return m_pProject ? m_pProject->m_strFolder + m_pProject->m_strName + L"_2.precalc" : std::wstring();
}

bool C3DMatrix::SaveSet(bool bVertical, const std::wstring& path) const
{
    const CSampleBlock& data = bVertical ? m_vertData : m_horzData;
    const size_t count = size_t(bVertical ? m_nVertLinesProcessed : m_nHorzLinesProcessed) *
                         (bVertical ? m_nNY : m_nNX) * m_nSamples;
    CSaveFile file(path);
    const std::string narrow = NativePath(path);
    if (!file.Open()) {
        g_messageLog.Log(LOG_ERROR, "C3DMatrix::Save: fail to open file %s, cause: %d", narrow.c_str(), file.GetCause());
        return false;
    }
    if (!file.Write(data.data(), count * sizeof(float)) || !file.Commit()) {
        g_messageLog.Log(LOG_ERROR, "C3DMatrix::Save: fail to write file %s, cause: %d", narrow.c_str(), file.GetCause());
        return false;
    }
    return true;
}

bool C3DMatrix::Save()
{
    g_messageLog.Log(LOG_DEBUG, "C3DMatrix::Save(): enter.");
    if (!m_bInitialized)
        return false;
    if (SaveSet(true, GetVertFileName()) && SaveSet(false, GetHorzFileName()))
        return true;
    RemovePreCalcFiles(*m_pProject);
    return false;
}

bool C3DMatrix::Load()
{
    if (!m_bInitialized)
        return false;
    DropSliceBands();
    CReadFile files[2];
    const std::wstring paths[2] = {GetVertFileName(), GetHorzFileName()};
    bool bComplete = files[0].Open(paths[0]) == 0 && files[1].Open(paths[1]) == 0;
    for (int i = 0; i < 2 && bComplete; ++i) {
        const bool bVertical = i == 0;
        CSampleBlock& data = bVertical ? m_vertData : m_horzData;
        const int64_t expected = int64_t(bVertical ? m_nVertLinesProcessed : m_nHorzLinesProcessed) *
                                 (bVertical ? m_nNY : m_nNX) * m_nSamples * int64_t(sizeof(float));
        const int64_t size = files[i].GetSize();
        if (size != expected) {
            g_messageLog.Log(LOG_ERROR, bVertical ? "3DMatrix::Load(): Vertical precalc file data missmatches."
                                                  : "3DMatrix::Load(): Horizontal precalc file data missmatches.");
            g_messageLog.Log(LOG_ERROR, "\tfile size: %lld", static_cast<long long>(size));
            g_messageLog.Log(LOG_ERROR, "\tdata size: %lld", static_cast<long long>(expected));
            bComplete = false;
        } else if (files[i].ReadAt(0, data.data(), size_t(expected)) != expected) {
            bComplete = false;
        }
    }
    files[0].Close();
    files[1].Close();
    if (bComplete) {
        ComputeDataHash(*m_pProject);
        return true;
    }

    // A missing or damaged cache is computed again, never used in part.
    RemovePreCalcFiles(*m_pProject);
    if (Calculate()) {
        Save();
        return true;
    }
    ComputeDataHash(*m_pProject);
    return false;
}

void C3DMatrix::RemovePreCalcFiles(const CProject& project)
{
    g_messageLog.Log(LOG_DEBUG, "C3DMatrix::RemovePreCalcFiles: enter");
    const std::wstring base = project.m_strFolder + project.m_strName;
    RemoveFile(base + L"_2.precalc");
    RemoveFile(base + L"_1.precalc");
    g_messageLog.Log(LOG_DEBUG, "C3DMatrix::RemovePreCalcFiles: return");
}

bool C3DMatrix::ComputeDataHash(CProject& project)
{
    if (m_fingerprint.GetSize() > 0)
        std::memset(m_fingerprint.GetData(), 0, size_t(m_fingerprint.GetSize()));
    const CProjectSettings& s = project.m_settings;
    if (!project.m_fileX.IsOpen() || s.m_iSamples <= 0) {
        m_fingerprint.Free();
        return false;
    }
    const size_t bytes = 2 * size_t(s.m_iSamples);
    const int64_t traces = s.m_iGridSizeY;
    // Entries past the first line continue into the next lines of the table.
    const int64_t entries = project.m_pOffsetsX ? int64_t(s.GetXLineCount()) * s.m_iSizeY : 0;
    std::vector<uint8_t> buffer(bytes);
    CCrypto crypto;
    if (!crypto.Create()) {
        m_fingerprint.Free();
        return false;
    }
    project.SelectXProfile(0);
    bool bAdded = true;
    for (int64_t t = 0; t < traces; ++t) {
        const uint64_t offset = t < entries ? project.m_pOffsetsX[size_t(t)] : 0;
        const int64_t read = std::max<int64_t>(project.m_fileX.ReadAt(offset, buffer.data(), bytes), 0);
        std::fill(buffer.begin() + read, buffer.end(), 0);
        if (!crypto.AddData(buffer.data(), bytes)) {
            g_messageLog.Log(LOG_ERROR, "fail to crypt data, error: %s", std::strerror(errno));
            bAdded = false;
            break;
        }
    }
    crypto.CreateDigest();
    m_fingerprint = crypto.GetDigest();
    crypto.Release();
    return bAdded;
}
