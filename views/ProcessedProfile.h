#pragma once
// The traces of one profile line of the matrix with the running-mean removal and migration of
// the project's switches, as the profile view shows them. The result is kept with what it was
// made from: the line's input values, the migration's travel-time table and the switches that
// change it. Processing the same again only compares, so a slider move that changes nothing
// of it (a window of the same half-width, a velocity without migration) costs no processing.

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

    // Trace t of the last update, length values.
    const float* GetTrace(int t) const { return m_traces.data() + ptrdiff_t(t) * m_nLength; }
    // Changes every time the traces are processed again.
    uint64_t GetGeneration() const { return m_nGeneration; }

private:
    // The switches and sizes that the processed traces follow besides the input and the table.
    struct CKey
    {
        const CProject* pProject = nullptr;
        const C3DMatrix* pMatrix = nullptr;
        bool bAlongX = false;
        uint32_t line = 0;
        int positions = 0;
        int samples = 0;
        int length = 0;
        int32_t meanHalfWidth = -1;
        bool bMigration = false;
        bool operator==(const CKey& other) const;
    };

    // Copies the line into m_input; true when it held the same values already.
    bool TakeInput(const C3DMatrix& matrix, bool bAlongX, uint32_t line, int positions, int samples, int length);

    std::vector<float> m_input;  // the line as the matrix held it at the last update
    std::vector<float> m_traces; // processed
    std::unique_ptr<CMigration> m_pMigration;
    CKey m_key;
    bool m_bProcessed = false;
    int m_nLength = 0;
    uint64_t m_nGeneration = 0;
};
