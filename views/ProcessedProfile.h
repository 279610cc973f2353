#pragma once
// The traces of one profile line of the matrix with the running-mean removal and migration of
// the project's switches, as the profile view shows them. Each step's result is kept with what
// it was made from: the line's input values, the running mean's half-width, the migration's
// travel-time table. A step runs again only when something of that changed, so a slider move
// that changes nothing of it (a window of the same half-width, a velocity without migration)
// costs no processing, and a velocity move keeps the running mean removed before.

#include "Migration.h"

#include <cstdint>
#include <memory>
#include <vector>

class C3DMatrix;
class CProject;

class CProcessedProfile
{
public:
    // Line `line` of the matrix (along X: its horizontal traces), positions traces of
    // samples values each, processed as traces of length values (the rest reads 0). False,
    // logged, when the memory is not there.
    bool Update(const CProject& project, const C3DMatrix& matrix, bool bAlongX, uint32_t line, int positions,
                int samples, int length);

    // Trace t of the last update, length values: its sample i at GetTrace(t)[i * GetSampleStride()].
    // Migrated traces are sample-major, as the migration leaves them.
    const float* GetTrace(int t) const { return m_pOutput + ptrdiff_t(t) * m_nTraceStep; }
    size_t GetSampleStride() const { return m_nSampleStride; }
    // The id of the traces: another one every time they may have changed.
    uint64_t GetGeneration() const { return m_nOutputId; }

private:
    // Where the input comes from.
    struct CSource
    {
        const CProject* pProject = nullptr;
        const C3DMatrix* pMatrix = nullptr;
        bool bAlongX = false;
        uint32_t line = 0;
        int positions = 0;
        int samples = 0;
        int length = 0;
        bool operator==(const CSource& other) const;
    };

    // Copies the line into m_input; true when it held the same values already.
    bool TakeInput(const C3DMatrix& matrix, bool bAlongX, uint32_t line, int positions, int samples, int length);

    // Lets go of the memory; the results are made afresh.
    void Release();

    std::unique_ptr<CMigration> m_pMigration;
    CSource m_source;
    // The line as the matrix held it, without and with the running mean (trace after trace),
    // and migrated (sample after sample, rows of the migration's stride). Every
    // result has an id of its own, never given twice, and each step knows the id of the result
    // it was made from (0: none).
    uint64_t m_nLastId = 0;
    std::vector<float> m_input;
    uint64_t m_nInputId = 0;
    std::vector<float> m_meanRemoved;
    uint64_t m_nMeanId = 0;
    uint64_t m_nMeanFrom = 0;
    int32_t m_nMeanHalfWidth = -1;
    std::vector<float> m_migrated;
    uint64_t m_nMigratedId = 0;
    uint64_t m_nMigratedFrom = 0;
    const float* m_pOutput = nullptr;
    ptrdiff_t m_nTraceStep = 0;
    size_t m_nSampleStride = 1;
    uint64_t m_nOutputId = 0;
};
