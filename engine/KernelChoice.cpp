#include "KernelChoice.h"

bool HasInstructionSet(const char* name)
{
#ifdef QUARVEL_X86_KERNELS
    __builtin_cpu_init();
    if (std::strcmp(name, "avx512f") == 0)
        return __builtin_cpu_supports("avx512f");
    if (std::strcmp(name, "avx2") == 0)
        return __builtin_cpu_supports("avx2");
    if (std::strcmp(name, "sse2") == 0)
        return __builtin_cpu_supports("sse2");
    return false;
#else
    return std::strcmp(name, "generic") == 0;
#endif
}

#ifdef QUARVEL_X86_KERNELS
namespace {
__attribute__((target("avx"))) void ZeroUpper()
{
    __builtin_ia32_vzeroupper();
}
} // namespace
#endif

void ClearUpperVectorState()
{
#ifdef QUARVEL_X86_KERNELS
    static const bool bWide = __builtin_cpu_supports("avx");
    if (bWide)
        ZeroUpper();
#endif
}
