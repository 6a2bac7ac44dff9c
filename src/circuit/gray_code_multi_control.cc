// The Gray-code engine behind the multi-controlled gates.

#include "circuit/gray_code_multi_control.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

#include "circuit/append_core.h"
#include "circuit/record_memory_limit.h"
#include "circuit/gate_matrices.h"
#include "circuit/quantum_circuit.h"

namespace taviron {

namespace {

// The n-bit Gray code number i, read as a row of digits: digit k (k = 0 is
// the most significant) stands for control k.
struct GrayCode {
  uint64_t bits;
  uint64_t width;

  bool Digit(uint64_t k) const { return (bits >> (width - 1 - k)) & 1u; }
  // Position of the first 1 digit; the code must not be zero.
  uint64_t Leading() const {
    uint64_t k = 0;
    while (!Digit(k)) ++k;
    return k;
  }
  // First position at which two codes differ, or `width` when they are equal.
  uint64_t FirstDifference(const GrayCode& other) const {
    for (uint64_t k = 0; k < width; ++k) {
      if (Digit(k) != other.Digit(k)) return k;
    }
    return width;
  }
};

GrayCode MakeGrayCode(uint64_t i, uint64_t width) {
  return GrayCode{i ^ (i >> 1), width};
}

int PopCount(uint64_t bits) {
  int count = 0;
  for (; bits != 0; bits &= bits - 1) ++count;
  return count;
}

}  // namespace

int32_t AppendGrayCodeMultiControl(QuantumCircuit& circuit, double x,
                                   std::vector<uint64_t> controls,
                                   uint64_t target, GateId leaf_kind,
                                   const std::vector<double>& leaf_params,
                                   GateRecordList& destination,
                                   std::string label) {
  const uint64_t n = controls.size();
  // The codes are the last n digits of a 32-digit binary text.
  if (n > kMaxGrayCodeControls) {
    throw std::out_of_range("invalid string position");
  }
  // Without controls the only code is the empty one, which has no leaf: no
  // leaf kind or leaf parameter is ever looked at.
  if (n == 0) return 0;
  // Both refusals happen at the first leaf, which no CX precedes, so
  // nothing has been appended when they are reported.
  if (leaf_kind != kLeafControlledPhase && leaf_kind != kLeafControlledU &&
      leaf_kind != kLeafCU1) {
    return kUnknownLeafKindStatus;
  }
  if (leaf_kind == kLeafControlledU && leaf_params.size() < 3) {
    throw std::out_of_range("invalid vector subscript");
  }

  const uint64_t code_count = uint64_t{1} << n;
  // 2^n - 1 leaves and 2^n - 2 CX records.
  EnsureRecordsFitInMemory(
      "A multi-controlled gate of " + std::to_string(n) + " controls", 2 * code_count - 3,
      BodyRecordShape(label.size()));

  const double step = x / std::ldexp(1.0, static_cast<int>(n - 1));
  bool have_previous = false;
  GrayCode previous{0, n};
  for (uint64_t i = 1; i < code_count; ++i) {
    const GrayCode code = MakeGrayCode(i, n);
    if (!have_previous) {
      previous = code;
      have_previous = true;
    }
    const uint64_t leading = code.Leading();
    const uint64_t position = code.FirstDifference(previous);
    if (position != n) {
      if (position != leading) {
        const int32_t status = AppendCX(circuit, controls[position],
                                        controls[leading], destination, label);
        if (status != 0) return status;
      } else {
        for (uint64_t k = leading + 1; k < n; ++k) {
          if (!code.Digit(k)) continue;
          const int32_t status = AppendCX(circuit, controls[k],
                                          controls[leading], destination,
                                          label);
          if (status != 0) return status;
        }
      }
    }

    const bool odd = PopCount(code.bits) % 2 == 1;
    const double angle = odd ? step : -step;
    const uint64_t control = controls[leading];
    int32_t status = 0;
    switch (leaf_kind) {
      case kLeafControlledPhase:
        status = AppendTwoQubitRecord(circuit, kLeafControlledPhase,
                                      CPMatrix(angle), control, target,
                                      {angle}, destination, label);
        break;
      case kLeafControlledU: {
        const double phi = leaf_params[0];
        const double lambda = leaf_params[1];
        // The even leaf swaps and negates phi and lambda but keeps gamma as
        // it is, so it is the inverse of the odd leaf only when gamma is 0.
        // Every gate method passes gamma 0.
        const double gamma = leaf_params[2];
        const double leaf_phi = odd ? phi : -lambda;
        const double leaf_lambda = odd ? lambda : -phi;
        status = AppendTwoQubitRecord(
            circuit, kLeafControlledU,
            CUMatrix(angle, leaf_phi, leaf_lambda, gamma), control,
            target, {angle, leaf_phi, leaf_lambda, gamma}, destination, label);
        break;
      }
      default:
        status = AppendCU1(circuit, angle, control, target, destination, label);
        break;
    }
    if (status != 0) return status;
    previous = code;
  }
  return 0;
}

}  // namespace taviron
