#pragma once
// The computed volume that the data views show: the project's two gridded trace sets as
// float traces (vertical lines from "_1.rd6" along Y, horizontal lines from "_2.rd6" along
// X), filtered and migrated, with EM values per trace, a depth-slice image per set, the
// cache files and the data fingerprint.

#include "ByteBuffer.h"
#include "SampleBlock.h"

#include <cstdint>
#include <string>
#include <vector>

class CProject;

class C3DMatrix
{
public:
    C3DMatrix() = default;
    C3DMatrix(const C3DMatrix&) = delete;
    C3DMatrix& operator=(const C3DMatrix&) = delete;

    bool Init(CProject* pProject);
    void Free();
    bool Calculate();
    void ExtractSlice();

    // Cache files "_1.precalc" and "_2.precalc" beside the project.
    std::wstring GetVertFileName() const;
    std::wstring GetHorzFileName() const;
    bool Save();
    bool Load();
    static void RemovePreCalcFiles(const CProject& project);
    bool ComputeDataHash(CProject& project);

    bool IsInitialized() const { return m_bInitialized; }
    // Trace t of vertical line i (along Y) or of horizontal line i (along X): ns floats.
    const float* GetVertTrace(uint32_t line, uint32_t trace) const { return m_vertTraces[size_t(line) * m_nNY + trace]; }
    const float* GetHorzTrace(uint32_t line, uint32_t trace) const { return m_horzTraces[size_t(line) * m_nNX + trace]; }
    // The same trace for writing; the slice bands no longer stand for the matrix.
    float* EditVertTrace(uint32_t line, uint32_t trace);
    float* EditHorzTrace(uint32_t line, uint32_t trace);
    // EM area of a line: two runs of traces-per-line values.
    const float* GetVertEm(uint32_t line) const { return m_vertEm.data() + 2 * size_t(line) * m_nNY; }
    const float* GetHorzEm(uint32_t line) const { return m_horzEm.data() + 2 * size_t(line) * m_nNX; }
    // Slice image: one value per trace, line after line.
    const float* GetVertSlice() const { return m_vertSlice.data(); }
    const float* GetHorzSlice() const { return m_horzSlice.data(); }

    CProject* m_pProject = nullptr;
    uint32_t m_nSamples = 0;           // ns
    uint32_t m_nNY = 0;                // traces per vertical line
    uint32_t m_nNX = 0;                // traces per horizontal line
    uint32_t m_nSpacing = 0;           // traces from one line to the next
    uint32_t m_nVertReadCount = 0;     // traces read per vertical line
    uint32_t m_nHorzReadCount = 0;
    uint32_t m_nVertLines = 0;
    uint32_t m_nHorzLines = 0;
    uint32_t m_nVertLinesProcessed = 0;
    uint32_t m_nHorzLinesProcessed = 0;
    bool m_bHasEm = false;
    double m_dTraceSpacing = 0;        // metres
    CByteBuffer m_fingerprint;         // kept across Init and Free

private:
    // Depths first .. end - 1 of every trace of a set, depth after depth: a slice inside them
    // reads consecutive memory instead of one float from each trace. Empty when none is kept.
    struct CSliceBand
    {
        std::vector<float> values;
        int64_t first = 0;
        int64_t end = 0;
    };
    struct CSetRef;
    CSetRef Set(bool bVertical);
    bool CalculateSet(bool bVertical);
    void ExtractSetSlice(bool bVertical);
    // The band of the set that holds depths first .. end - 1, read from the traces when the kept
    // one does not; null when the window is wider than a band or memory is short.
    const CSliceBand* SliceBand(CSetRef& set, int64_t first, int64_t end);
    void DropSliceBands();
    bool SaveSet(bool bVertical, const std::wstring& path) const;

    // Each set's samples lie in one block, line after line and trace after trace; the trace
    // pointers point into it.
    CSampleBlock m_vertData;
    CSampleBlock m_horzData;
    std::vector<float*> m_vertTraces;
    std::vector<float*> m_horzTraces;
    std::vector<float> m_vertEm;
    std::vector<float> m_horzEm;
    std::vector<float> m_vertSlice;
    std::vector<float> m_horzSlice;
    CSliceBand m_vertBand;
    CSliceBand m_horzBand;
    std::vector<float> m_sliceLow; // scratch: the window's minimum per trace
    bool m_bInitialized = false;
};
