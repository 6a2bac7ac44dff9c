#ifndef TAVIRON_SIMULATOR_HOT_KERNEL_H
#define TAVIRON_SIMULATOR_HOT_KERNEL_H

namespace taviron {

// Marks an element-wise kernel of the simulator that is compiled twice, for
// the baseline x86-64 instruction set and for x86-64-v3 (AVX2, FMA); the
// loader picks the version this processor runs. Empty where the compiler
// cannot do that, or when the whole build targets this machine.
#if defined(TAVIRON_TARGET_CLONES)
#define TAVIRON_HOT_KERNEL __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define TAVIRON_HOT_KERNEL
#endif

}  // namespace taviron

#endif
