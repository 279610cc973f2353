#pragma once
// The computation of one trace set of the 3D matrix written out trace by trace, with one read
// and one literal band pass per trace, the literal running-mean removal and migration loop: the
// yardstick for the matrix's batched reads, packed band pass, running mean and blocked migration.

#include "Migration.h"
#include "Project.h"
#include "ReferenceMigration.h"
#include "ReferenceSignalRoutines.h"
#include "SignalRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

struct CReferenceSet
{
    std::vector<float> traces; // lines x perLine x ns
    std::vector<float> em;     // lines x 2 x perLine
};

// EM values of one line (four per trace): despiked, less the smallest component 0, placed with
// the lag into the two runs of out.
inline void ReferencePlaceEm(std::vector<float>& em, int n, double lagDistance, double spacing, bool bVertical,
                             float* out)
{
    auto at = [&](int k, int c) -> float& { return em[4 * size_t(std::clamp(k, 0, n - 1)) + size_t(c)]; };
    auto differs = [](float a, float b) { return std::fabs(a - b) > 0.1f; };
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < n; ++k) {
            if (k == 0) {
                if (differs(at(0, c), at(1, c)) && differs(at(0, c), at(2, c)))
                    at(0, c) = at(1, c);
            } else if (k < n - 1) {
                if (differs(at(k, c), at(k + 1, c)) && differs(at(k, c), at(k - 1, c)))
                    at(k, c) = (at(k - 1, c) + at(k + 1, c)) * 0.5f;
            } else if (differs(at(k, c), at(k - 1, c))) {
                at(k, c) = at(k - 1, c);
            }
        }
    float offset = em[0];
    for (int k = 1; k < n; ++k)
        offset = std::min(offset, em[4 * size_t(k)]);
    for (float& value : em)
        value -= offset;
    const double lag = spacing > 0 ? lagDistance / spacing * 0.5 : 0.0;
    const int g = !(lag > 0) ? 0 : lag >= n ? n : static_cast<int>(lag);
    for (int k = 0; k < n; ++k) {
        float first, second;
        if (k < g) {
            first = at(k + g, 2);
            second = at(k + g, 3);
        } else if (k < n - g) {
            first = (at(k - g, 0) + at(k + g, 2)) * 0.5f;
            second = (at(k - g, 1) + at(k + g, 3)) * 0.5f;
        } else {
            first = at(k - g, 0);
            second = at(k - g, 1);
        }
        out[bVertical ? k : n + k] = first;
        out[bVertical ? n + k : k] = second;
    }
}

// Lines 0 .. lines - 1 of the vertical or the horizontal set, perLine traces each of which the
// first readCount are read; false when a trace cannot be read. Sets the zero level as the
// matrix does.
inline bool ReferenceCalculateSet(CProject& project, bool bVertical, int lines, int perLine, int readCount,
                                  CReferenceSet& out)
{
    CProjectSettings& s = project.m_settings;
    const CProcessingParams& params = s.m_params;
    const int ns = s.m_iSamples;
    const bool bEm = s.m_bHasEmData;
    CAntennaSettings antenna;
    s.GetAntennaSettings(antenna);
    out.traces.assign(size_t(lines) * perLine * ns, 0.0f);
    out.em.assign(2 * size_t(lines) * perLine, 0.0f);
    CMigration migration(&project, readCount);
    std::vector<int16_t> raw(static_cast<size_t>(ns));
    for (int line = 0; line < lines; ++line) {
        bVertical ? project.SelectXProfile(line) : project.SelectYProfile(line);
        std::vector<float> data(size_t(perLine) * ns, 0.0f);
        std::vector<float> em(4 * size_t(perLine), 0.0f);
        int64_t arrivalSum = 0, arrivals = 0;
        for (int t = 0; t < readCount; ++t) {
            uint8_t record[CProject::EM_RECORD_SIZE] = {};
            if (!project.ReadTrace(t, raw.data(), bEm ? record : nullptr))
                return false;
            float* trace = &data[size_t(t) * ns];
            bool bHoldsData = false;
            for (int i = 0; i < ns; ++i) {
                trace[i] = raw[size_t(i)] * 3.051851e-5f;
                bHoldsData |= raw[size_t(i)] != 0;
            }
            for (int c = 0; c < 4 && bEm; ++c)
                em[4 * size_t(t) + size_t(c)] =
                    static_cast<int16_t>(record[2 * c] | record[2 * c + 1] << 8) * 3.051851e-5f;
            if (bVertical && line == 0 && !s.m_bUseZeroLevel && t >= 1 && bHoldsData && project.m_pCurOffsets[t] != 0) {
                arrivalSum += FindFirstArrival(trace, ns);
                ++arrivals;
            }
            ReferenceFirBandPass(trace, trace, ns, params.m_bFirOn, params.m_iFirHigh, params.m_iFirLow);
        }
        if (arrivals > 0)
            s.m_iZeroLevel = static_cast<int32_t>(arrivalSum / arrivals);
        if (params.m_bMigration && !migration.IsTableBuilt())
            migration.BuildTable();
        if (params.m_bDelMeanOn)
            ReferenceRemoveRunningMean(data.data(), readCount, ns, params.m_iDelMean);
        if (params.m_bMigration) {
            std::vector<float> migrated(data.size(), 0.0f);
            ReferenceMigrate(migration, data.data(), migrated.data(), readCount, ns, s.m_iZeroLevel);
            std::copy(migrated.begin(), migrated.begin() + ptrdiff_t(readCount) * ns, data.begin());
            if (s.m_fAutoGain != 0)
                for (float& value : data)
                    value *= s.m_fAutoGain;
        }
        std::copy(data.begin(), data.end(), out.traces.begin() + ptrdiff_t(line) * perLine * ns);
        if (bEm)
            ReferencePlaceEm(em, perLine, antenna.m_dEmLagDistance, s.m_dResolution, bVertical,
                             &out.em[2 * size_t(line) * perLine]);
    }
    return true;
}
