#pragma once
// Run-time choice among the builds of one packed routine for different instruction sets. The
// widest build this processor runs is used until another is selected by name, which lets the
// tests and the benchmarks run every build the processor has; all builds give the same bits.

#include <cstring>
#include <initializer_list>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#define QUARVEL_X86_KERNELS 1
#endif

// True when this processor runs code built for the named instruction set: "avx512f", "avx2" or
// "sse2" on x86, "generic" elsewhere.
bool HasInstructionSet(const char* name);

// Marks the upper halves of the wide vector registers unused where the processor has them, as
// code built for AVX does on its way out. Plain packed code that follows a routine which left
// them in use runs several times slower on some processors.
void ClearUpperVectorState();

template <typename Function>
class CKernelChoice
{
public:
    struct CKernel
    {
        const char* name;
        Function function;
    };

    // The builds the widest first; the last one runs on every processor.
    CKernelChoice(std::initializer_list<CKernel> kernels) : m_kernels(kernels), m_active(m_kernels.back())
    {
        for (const CKernel& kernel : m_kernels) {
            if (HasInstructionSet(kernel.name)) {
                m_active = kernel;
                break;
            }
        }
    }

    Function Get() const { return m_active.function; }
    const char* GetName() const { return m_active.name; }

    // Uses the named build from now on; false, and no change, when there is no such build or
    // the processor lacks its instruction set.
    bool Select(const char* name)
    {
        for (const CKernel& kernel : m_kernels) {
            if (std::strcmp(kernel.name, name) == 0 && HasInstructionSet(kernel.name)) {
                m_active = kernel;
                return true;
            }
        }
        return false;
    }

private:
    std::vector<CKernel> m_kernels;
    CKernel m_active;
};
