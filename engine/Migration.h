#pragma once
// Running-mean removal across traces and diffraction-summation migration of one section: a run
// of neighbouring traces of ns floats each, trace after trace. The travel-time table is built
// once and reused for every section of the same length, and can be told whether the project's
// values still give it; the working buffers are kept between calls.

#include <cstddef>
#include <cstdint>
#include <vector>

class CProject;

class CMigration
{
public:
    // Migrate takes nothing from a trace whose travel time lies this many samples or more from
    // the output sample.
    static constexpr uint32_t MAX_TIME_SHIFT = 120;

    CMigration(const CProject* pProject, int32_t traceCount);

    // Sizes the table (trace count x ns) and the aperture row (ns) for the project's current
    // samples per trace; false, logged, when they cannot be allocated.
    bool Alloc();
    void BuildTable();
    // Both work in place on trace count x ns floats, gated by the project's processing switches.
    void RemoveRunningMean(float* pData);
    void Migrate(float* pData);
    // The same from pInput into pOutput, which do not overlap: the output is the input itself
    // when the step is switched off or cannot run.
    void RemoveRunningMean(const float* pInput, float* pOutput);
    void Migrate(const float* pInput, float* pOutput);
    // The migration into sample-major rows: output sample s of trace a at
    // pRows[s * GetRowStride() + a], the row past the last trace left to the summation. When
    // the migration does not run, the rows hold the input. bSameInput: pInput holds the values
    // of the last call, whose copy may then serve again (a new table on the same traces).
    void MigrateToRows(const float* pInput, float* pRows, bool bSameInput);
    // Values per row of MigrateToRows: the traces and room for the last block.
    size_t GetRowStride() const;
    // Traces on either side of a trace whose mean RemoveRunningMean takes away with the
    // project's settings (widths of one half-width give the same result); -1 when it is off.
    int32_t GetRunningMeanHalfWidth() const;

    bool IsTableBuilt() const { return m_bTableBuilt; }
    // Built, and from the values the project holds now.
    bool IsTableCurrent() const;
    const CProject* GetProject() const { return m_pProject; }
    int32_t GetTraceCount() const { return m_nTraces; }
    // Samples per trace of the table, 0 when it is not allocated.
    int32_t GetSampleCount() const { return m_nSamples; }
    // Peak absolute input value of the first non-empty trace and of the output's trace 0
    // (1 when that is 0), both from the last Migrate.
    float GetInputPeak() const { return m_fInputPeak; }
    float GetOutputPeak() const { return m_fOutputPeak; }
    // Sample at which a scatterer at depth sample `sample` is seen from `offset` traces away.
    uint32_t GetTravelTime(int32_t sample, int32_t offset) const;
    // Half-width in traces of the summation window at depth sample `sample`.
    uint32_t GetAperture(int32_t sample) const { return m_aperture[static_cast<size_t>(sample)]; }

    // The instruction set of the summation kernel in use: the widest this processor has
    // ("avx512f", "avx2", "sse2"; "generic" off x86). Every kernel gives the same bits.
    static const char* GetKernelName();
    // Uses the named kernel from now on; false, and no change, when the processor lacks it.
    static bool SelectKernel(const char* name);
    // The same for the packed subtraction of the running mean.
    static const char* GetMeanKernelName();
    static bool SelectMeanKernel(const char* name);

private:
    // The project's values that the travel-time table is computed from.
    struct CTableInputs
    {
        int32_t samples = 0;
        int32_t zeroLevel = 0;
        int32_t frequencySteps = 0;
        double systemCalibration = 0;
        double velocity = 0;
        double resolution = 0;
        double separation = 0;
        bool operator==(const CTableInputs& other) const;
    };
    CTableInputs TableInputs() const;
    // The travel time of a table entry, from the scale BuildTable took.
    uint32_t ComputeTravelTime(int32_t sample, int32_t offset) const;

    bool IsAllocated() const { return m_nSamples > 0 && m_nTraces > 0 && !m_aperture.empty(); }
    // Zero level as the table and the migration use it: at least 0.
    int32_t ZeroLevel() const;
    bool ReserveWork(const char* step);
    // bKept: the layout stayed as it was, and with it what the rows hold.
    bool ReservePadded(size_t padding, bool& bKept);
    float FindInputPeak(const float* pData, int32_t zeroLevel) const;
    // The running mean can be removed from the data (logged when the section does not fit).
    bool IsRunningMeanReady(const float* pData) const;
    bool SubtractRunningMean(const float* pInput, float* pOutput);
    // False, with the output untouched, when the migration does not run.
    bool MigrateInto(const float* pInput, float* pOutput);
    // Checks that the migration can run, sizes its buffers and takes the input in; false when
    // it does not run.
    bool PrepareMigration(const float* pInput, bool bSameInput);
    // Samples above the zero level, which the migration sets to 0.
    size_t FirstMigratedSample() const;
    void SetOutputPeak(float peak);
    bool ListSources();
    void SumSample(int32_t sample, float* pRow);

    const CProject* m_pProject;
    int32_t m_nTraces;
    int32_t m_nSamples = 0;  // ns when the table was allocated
    // Row per sample, column per trace offset; a row below the zero level is filled over the
    // offsets Migrate reads (up to its aperture), the rest is computed on request.
    std::vector<uint32_t> m_table;
    std::vector<uint32_t> m_aperture;  // per sample
    bool m_bTableBuilt = false;
    CTableInputs m_tableInputs;
    // The scale of the table: zero level, half the separation in trace spacings, the square of
    // a sample's depth in trace spacings, and the factor from a path to samples; NaN factor
    // when there is no usable depth scale, so that every time saturates.
    int32_t m_nTableZeroLevel = 0;
    float m_fHalfSeparation = 0;
    float m_fDepthStep2 = 0;
    float m_fToSamples = 0;
    float m_fInputPeak = 0;
    float m_fOutputPeak = 1;

    // Trace-major copy of the section for the running mean, its running sums per sample, and a
    // trace of zeros.
    std::vector<float> m_work;
    std::vector<double> m_sums;
    std::vector<float> m_zeros;
    // Sample-major copy of the section for the migration: rows of stride values, the traces
    // between m_nPadding zeros before them and at least as many after them. The padding only
    // grows, so that a new table mostly keeps the copy; m_bPaddedInput: the rows hold the input
    // of the last migration.
    std::vector<float> m_padded;
    size_t m_nPadding = 0;
    size_t m_nPaddedStride = 0;
    bool m_bPaddedInput = false;
    // A few output samples across all traces; per output trace the size of its window, for
    // the window half-width m_nDivisorWidth.
    std::vector<float> m_rows;
    std::vector<float> m_divisors;
    size_t m_nDivisorWidth = 0;
    // Per output sample from the zero level on, the shifted rows of m_padded it adds, in order
    // of addition: sample s's from m_sourceStart[s] to m_sourceStart[s + 1]; listed again for
    // a new table or a new layout of the rows. The source row of each offset while listing.
    bool m_bSourcesListed = false;
    std::vector<const float*> m_sourceList;
    std::vector<size_t> m_sourceStart;
    std::vector<const float*> m_rowOfOffset;
};
