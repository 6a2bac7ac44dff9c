#include "qasm/qasm_record_text.h"

#include <algorithm>
#include <cmath>

#include "foundation/exceptions.h"
#include "foundation/gate_id.h"
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

}  // namespace

bool IsStandardComposite(const GateRecord& record,
                         const std::vector<std::string>& standard_names) {
  if (record.gate_type != GateId::kComposite) return false;
  const std::string key = Lower(record.GetLabel());
  return std::find(standard_names.begin(), standard_names.end(), key) != standard_names.end();
}

bool NeedsDefinition(const GateRecord& record,
                     const std::vector<std::string>& standard_names) {
  return record.gate_type == GateId::kComposite &&
         !IsStandardComposite(record, standard_names);
}

std::string StandardGateName(const GateRecord& record) {
  if (record.gate_type == GateId::kI) return "id";
  if (record.gate_type == GateId::kComposite) return Lower(record.GetName());
  return record.GetName();
}

size_t WrittenParameterCount(const GateRecord& record) {
  return std::min(record.params.size(), kMaxWrittenParameters);
}

std::string ParameterText(const GateRecord& record, const std::string& separator) {
  const size_t count = WrittenParameterCount(record);
  if (count == 0) return "";
  std::string text = "(";
  for (size_t k = 0; k < count; ++k) {
    const double value = record.params[k];
    if (!std::isfinite(value)) {
      throw RunTimeError("Gate " + record.GetName() + " has the parameter " +
                         std::to_string(value) +
                         ", which OpenQASM can't express: only finite numbers can be written.");
    }
    if (k > 0) text += separator;
    text += QasmNumberText(value);
  }
  return text + ")";
}

}  // namespace taviron
