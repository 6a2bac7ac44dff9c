#include "qasm/qasm_record_text.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <utility>

#include "circuit/fixed_composite_steps.h"
#include "circuit/gate_matrices.h"
#include "foundation/composite_kind.h"
#include "foundation/exceptions.h"
#include "foundation/gate_id.h"
#include "foundation/gate_name_table.h"
#include "qasm/qasm_number_text.h"

namespace taviron {

namespace {

// Instruction and body lines write at most this many parameters.
constexpr size_t kMaxWrittenParameters = 4;

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// U(theta, phi, lambda) angles of a 2x2 unitary, up to its global phase:
// with a = m(0,0) = e^(i alpha) cos(theta/2), m(1,0) = e^(i (alpha + phi))
// sin(theta/2) and m(0,1) = -e^(i (alpha + lambda)) sin(theta/2). A zero
// entry, of either sign, is given the argument 0, which leaves the other
// angles what they need.
double Argument(std::complex<double> z) { return z == 0.0 ? 0.0 : std::arg(z); }

std::vector<double> UAngles(const MatrixXcd& m) {
  const double alpha = Argument(m(0, 0));
  return {2.0 * std::atan2(std::abs(m(1, 0)), std::abs(m(0, 0))),
          Argument(m(1, 0)) - alpha, Argument(-m(0, 1)) - alpha};
}

// Refuses a value that OpenQASM can't express, naming the gate.
void RequireFinite(const std::string& gate, const std::vector<double>& values) {
  for (double value : values) {
    if (!std::isfinite(value)) {
      throw RunTimeError("Gate " + gate + " has the parameter " + std::to_string(value) +
                         ", which OpenQASM can't express: only finite numbers can be written.");
    }
  }
}

}  // namespace

bool IsStandardComposite(const GateRecord& record,
                         const std::vector<std::string>& standard_names) {
  const CompositeKind kind = CompositeKindOf(record);
  if (kind == CompositeKind::kNone) return false;
  const std::string name = CompositeKindName(kind);
  return std::find(standard_names.begin(), standard_names.end(), name) != standard_names.end() &&
         HoldsFixedBody(record);
}

bool NeedsDefinition(const GateRecord& record,
                     const std::vector<std::string>& standard_names) {
  return record.gate_type == GateId::kComposite &&
         !IsStandardComposite(record, standard_names);
}

WrittenGate WrittenForm(const GateRecord& record) {
  switch (record.gate_type) {
    case GateId::kComposite:
      return {Lower(record.GetName()), record.params};
    case GateId::kRV: {
      if (record.params.size() != 3) return {record.GetName(), record.params};
      RequireFinite(record.GetName(), record.params);
      std::vector<double> angles =
          UAngles(RVMatrix(record.params[0], record.params[1], record.params[2]));
      // A vector too long for its length to be a double has no angles.
      RequireFinite(record.GetName(), angles);
      return {"u", std::move(angles)};
    }
    default: {
      const GateDescriptor* entry = FindGateDescriptor(record.gate_type);
      if (entry == nullptr || entry->qasm_word.empty()) return {record.GetName(), record.params};
      return {std::string(entry->qasm_word), record.params};
    }
  }
}

size_t WrittenParameterCount(const GateRecord& record) {
  return std::min(record.params.size(), kMaxWrittenParameters);
}

std::string ParameterText(const std::string& gate, const std::vector<double>& params,
                          const std::string& separator) {
  const size_t count = std::min(params.size(), kMaxWrittenParameters);
  if (count == 0) return "";
  const std::vector<double> written(params.begin(), params.begin() + static_cast<std::ptrdiff_t>(count));
  RequireFinite(gate, written);
  std::string text = "(";
  for (size_t k = 0; k < count; ++k) {
    if (k > 0) text += separator;
    text += QasmNumberText(written[k]);
  }
  return text + ")";
}

std::string ParameterText(const GateRecord& record, const std::string& separator) {
  return ParameterText(record.GetName(), record.params, separator);
}

}  // namespace taviron
