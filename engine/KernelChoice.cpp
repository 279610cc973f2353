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
