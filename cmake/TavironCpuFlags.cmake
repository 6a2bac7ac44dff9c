# The processor features the code may use.
#
# By default the build runs on any x86-64 processor: the code is compiled
# for the baseline instruction set, and the few element-wise kernels of the
# simulator that gain from wider vectors are compiled twice, for the
# baseline and for x86-64-v3 (AVX2, FMA), the loader picking the one that
# this processor runs (TAVIRON_HOT_KERNEL, simulator/hot_kernel.h). A
# module built so imports on any x86-64 machine.
#
# Sanitizer builds keep to the baseline: the loader runs the selector of a
# twice-compiled function before the sanitizer's run time is set up.
#
# TAVIRON_NATIVE builds everything for the processor of the building
# machine (-march=native) instead: faster there, not portable.

include(CheckCXXSourceCompiles)

if(TAVIRON_NATIVE)
  add_compile_options(-march=native)
  message(STATUS "Processor features: this machine's (-march=native)")
  return()
endif()

if(TAVIRON_SANITIZE OR TAVIRON_TSAN)
  message(STATUS "Processor features: x86-64 baseline (sanitizer build)")
  return()
endif()

set(taviron_clone_probe [=[
__attribute__((target_clones("arch=x86-64-v3", "default"))) int twice(int x) { return 2 * x; }
int main() { return twice(0); }
]=])
check_cxx_source_compiles("${taviron_clone_probe}" TAVIRON_HAS_TARGET_CLONES)
if(TAVIRON_HAS_TARGET_CLONES AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  add_compile_definitions(TAVIRON_TARGET_CLONES=1)
  message(STATUS "Processor features: x86-64 baseline, hot kernels also for x86-64-v3")
else()
  message(STATUS "Processor features: the compiler's default")
endif()
