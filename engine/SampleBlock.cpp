#include "SampleBlock.h"

#include <cstdint>
#include <sys/mman.h>

namespace {

constexpr size_t kHugePage = size_t(2) << 20;

} // namespace

bool CSampleBlock::Allocate(size_t count)
{
    Free();
    if (count == 0)
        return true;
    if (count > (SIZE_MAX - 2 * kHugePage) / sizeof(float))
        return false;
    // Mapped with a huge page of slack so that the block can start on a huge-page boundary;
    // fresh anonymous pages read as zero.
    const size_t bytes = count * sizeof(float);
    const size_t mappingBytes = bytes + kHugePage;
    void* mapping = mmap(nullptr, mappingBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return false;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(mapping) + kHugePage - 1) & ~(uintptr_t(kHugePage) - 1);
    madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE);
    m_pMapping = mapping;
    m_nMappingBytes = mappingBytes;
    m_pData = reinterpret_cast<float*>(start);
    m_nCount = count;
    return true;
}

void CSampleBlock::Free()
{
    if (m_pMapping)
        munmap(m_pMapping, m_nMappingBytes);
    m_pMapping = nullptr;
    m_nMappingBytes = 0;
    m_pData = nullptr;
    m_nCount = 0;
}

