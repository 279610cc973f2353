#pragma once
// A large zero-filled block of floats for a trace set of the matrix. It comes straight from
// the system, on huge pages where the system offers them, so that allocating, filling and
// loading a volume of many megabytes does not fault page by page.

#include <cstddef>

class CSampleBlock
{
public:
    CSampleBlock() = default;
    ~CSampleBlock() { Free(); }
    CSampleBlock(const CSampleBlock&) = delete;
    CSampleBlock& operator=(const CSampleBlock&) = delete;

    // count zero floats in place of the old block; false (and empty) when there is no memory.
    bool Allocate(size_t count);
    void Free();

    float* data() { return m_pData; }
    const float* data() const { return m_pData; }
    size_t size() const { return m_nCount; }

private:
    float* m_pData = nullptr;
    size_t m_nCount = 0;
    void* m_pMapping = nullptr;
    size_t m_nMappingBytes = 0;
};
