#include "execution/result_memory.h"

#include <cmath>
#include <complex>
#include <string>

namespace taviron {

namespace {

// CPython's sizes on a 64-bit build: a float object, a complex object, the
// header of a compact ASCII str object (its characters and their NUL
// follow), and one list slot. Its small-object allocator hands out blocks in
// steps of 16 bytes up to 512 bytes; larger objects come from malloc.
constexpr double kPythonFloat = 24;
constexpr double kPythonComplex = 32;
constexpr double kPythonTextHeader = 48;
constexpr double kPythonBlockStep = 16;
constexpr double kPythonSmallObject = 512;
constexpr double kListSlot = 8;
constexpr double kComplex = sizeof(std::complex<double>);
// One block of the contracted chain: its matrix header and allocation
// besides the one amplitude it holds.
constexpr double kContractionBlock = 64;
// Strings this long or shorter live inside std::string itself; longer ones
// take a heap block, which malloc rounds up to 16 bytes with 8 of its own
// (and never less than 32).
constexpr double kInlineText = 15;
constexpr double kMallocHeader = 8;
constexpr double kMallocStep = 16;
constexpr double kMallocSmallest = 32;

double PowerOfTwo(uint64_t exponent) { return std::ldexp(1.0, static_cast<int>(exponent)); }

double RoundUp(double bytes, double step) { return std::ceil(bytes / step) * step; }

double MallocBlock(double bytes) {
  return std::fmax(kMallocSmallest, RoundUp(bytes + kMallocHeader, kMallocStep));
}

// One shot's text of `bits` characters as the native list holds it.
double NativeShotText(double bits) {
  return sizeof(std::string) + (bits > kInlineText ? MallocBlock(bits + 1) : 0);
}

// The same text as a str in a Python list.
double PythonShotText(double bits) {
  const double object = kPythonTextHeader + bits + 1;
  return (object <= kPythonSmallObject ? RoundUp(object, kPythonBlockStep)
                                       : MallocBlock(object)) +
         kListSlot;
}

}  // namespace

double ShotStorageBytes(int64_t shots, uint64_t qubits) {
  if (shots <= 0) return 0;
  // The run keeps one native text per shot, in a list that grows by
  // doubling (up to one spare slot per text); get_memory and to_dict each
  // build a Python list of them, which a program commonly keeps both of,
  // and each readout copies the native list while it converts it.
  const double bits = static_cast<double>(qubits);
  const double each = 2 * NativeShotText(bits) + sizeof(std::string) + 2 * PythonShotText(bits);
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
