#include "execution/result_memory.h"

#include <cmath>
#include <complex>
#include <cstdio>
#include <string>

#include <unistd.h>

namespace taviron {

namespace {

// CPython's sizes on a 64-bit build: a float object, a complex object, a
// short ASCII str object without its characters, and one list slot.
constexpr double kPythonFloat = 24;
constexpr double kPythonComplex = 32;
constexpr double kPythonShortText = 49;
constexpr double kListSlot = 8;
constexpr double kComplex = sizeof(std::complex<double>);
// One block of the contracted chain: its matrix header and allocation
// besides the one amplitude it holds.
constexpr double kContractionBlock = 64;
// Strings this long or shorter live inside std::string itself.
constexpr double kInlineText = 15;

double PowerOfTwo(uint64_t exponent) { return std::ldexp(1.0, static_cast<int>(exponent)); }

std::string Gigabytes(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f GB", bytes / 1e9);
  return text;
}

}  // namespace

double MemoryBudgetBytes() {
  static const double budget = [] {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page_size = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return HUGE_VAL;
    return static_cast<double>(pages) * static_cast<double>(page_size) / 2;
  }();
  return budget;
}

void RequireWithinBudget(const std::string& what, double bytes) {
  const double budget = MemoryBudgetBytes();
  if (bytes <= budget) return;
  throw MemoryBudgetError(what + " needs " + Gigabytes(bytes) + ", more than the " +
                          Gigabytes(budget) +
                          " (half of the physical memory) that this machine can give");
}

double ShotStorageBytes(int64_t shots, uint64_t qubits) {
  if (shots <= 0) return 0;
  const double bits = static_cast<double>(qubits);
  const double heap = bits > kInlineText ? bits + 1 : 0;
  const double each = sizeof(std::string) + heap + kPythonShortText + bits + kListSlot;
  return static_cast<double>(shots) * each;
}

double ProbabilitiesBytes(uint64_t qubits) {
  return PowerOfTwo(qubits) * (sizeof(double) + kPythonFloat + kListSlot + kContractionBlock);
}

double DensityMatrixBytes(uint64_t qubits) {
  return PowerOfTwo(2 * qubits) * (2 * kComplex + kPythonComplex + kListSlot);
}

double StateVectorBytes(uint64_t qubits) {
  return PowerOfTwo(qubits) * (2 * kComplex + kPythonComplex + kListSlot);
}

}  // namespace taviron
