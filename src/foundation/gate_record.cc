#include "foundation/gate_record.h"

#include "foundation/composite_kind.h"
#include "foundation/gate_name_table.h"

namespace taviron {

namespace {

// A composite answers its own label for both lookups, except that a Toffoli
// or a doubly controlled Z answers its kind's name, in lower case whatever
// the case of its label.
std::string CompositeText(const GateRecord& record) {
  const CompositeKind kind = CompositeKindOf(record);
  if (kind == CompositeKind::kCcx || kind == CompositeKind::kCcz) return CompositeKindName(kind);
  return record.label;
}

}  // namespace

std::string GateRecord::GetName() const {
  if (gate_type == GateId::kComposite) return CompositeText(*this);
  const GateDescriptor* entry = FindGateDescriptor(gate_type);
  return entry ? std::string(entry->name) : std::string();
}

std::string GateRecord::GetLabel() const {
  if (gate_type == GateId::kComposite) return CompositeText(*this);
  const GateDescriptor* entry = FindGateDescriptor(gate_type);
  return entry ? std::string(entry->label) : std::string();
}

GateRecordPtr GateRecord::Clone() const {
  return std::make_shared<GateRecord>(CopyKey(), *this);
}

}  // namespace taviron
