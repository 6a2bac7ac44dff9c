#include "circuit/composite_name_index.h"

#include "circuit/quantum_circuit_append_compose.h"
#include "foundation/gate_id.h"

namespace taviron {

void CompositeNameIndex::Reset() {
  indexed_ = 0;
  distinct_bodies_.clear();
}

void CompositeNameIndex::CatchUp(const GateRecordList& gates) {
  if (gates.size() < indexed_) Reset();
  for (; indexed_ < gates.size(); ++indexed_) {
    const GateRecord& record = *gates[indexed_];
    if (record.gate_type != GateId::kComposite) continue;
    std::vector<size_t>& positions = distinct_bodies_[record.label];
    bool known = false;
    for (size_t position : positions) {
      known = known || GateListsEqual(gates[position]->body, record.body);
    }
    if (!known) positions.push_back(indexed_);
  }
}

bool CompositeNameIndex::HasOtherBody(const GateRecordList& gates, const std::string& label,
                                      const GateRecordList& body) {
  CatchUp(gates);
  const auto found = distinct_bodies_.find(label);
  if (found == distinct_bodies_.end()) return false;
  for (size_t position : found->second) {
    if (!GateListsEqual(gates[position]->body, body)) return true;
  }
  return false;
}

}  // namespace taviron
