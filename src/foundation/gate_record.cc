#include "foundation/gate_record.h"

#include "foundation/gate_name_table.h"

namespace taviron {

namespace {

// A composite answers its own label for both lookups, except that a label
// reading "ccx" or "ccz" in any mix of cases is answered in lower case.
std::string CompositeText(const std::string& label) {
  std::string upper = label;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper == "CCX") return "ccx";
  if (upper == "CCZ") return "ccz";
  return label;
}

// The first catalogue entry with the given id, or nullptr.
const GateNameEntry* FindEntry(GateId gate_type) {
  for (const GateNameEntry& entry : GateNameTable()) {
    if (entry.id == gate_type) return &entry;
  }
  return nullptr;
}

}  // namespace

std::string GateRecord::GetName() const {
  if (gate_type == GateId::kComposite) return CompositeText(label);
  const GateNameEntry* entry = FindEntry(gate_type);
  return entry ? entry->name : std::string();
}

std::string GateRecord::GetLabel() const {
  if (gate_type == GateId::kComposite) return CompositeText(label);
  const GateNameEntry* entry = FindEntry(gate_type);
  return entry ? entry->label : std::string();
}

GateRecordPtr GateRecord::Clone() const {
  auto copy = std::make_shared<GateRecord>();
  copy->matrix = matrix;
  copy->qubits = qubits;
  copy->clbits = clbits;
  copy->gate_type = gate_type;
  copy->label = label;
  copy->start_time = start_time;
  copy->end_time = end_time;
  copy->params = params;
  copy->body = body;
  copy->texts = texts;
  copy->conditioned = conditioned;
  copy->condition_value = condition_value;
  copy->condition_on_clbit = condition_on_clbit;
  copy->condition_clbit = condition_clbit;
  copy->condition_register = condition_register;
  return copy;
}

}  // namespace taviron
