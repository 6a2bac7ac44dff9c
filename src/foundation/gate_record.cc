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

// The first catalogue entry with the given id, or nullptr.
const GateNameEntry* FindEntry(GateId gate_type) {
  for (const GateNameEntry& entry : GateNameTable()) {
    if (entry.id == gate_type) return &entry;
  }
  return nullptr;
}

}  // namespace

std::string GateRecord::GetName() const {
  if (gate_type == GateId::kComposite) return CompositeText(*this);
  const GateNameEntry* entry = FindEntry(gate_type);
  return entry ? entry->name : std::string();
}

std::string GateRecord::GetLabel() const {
  if (gate_type == GateId::kComposite) return CompositeText(*this);
  const GateNameEntry* entry = FindEntry(gate_type);
  return entry ? entry->label : std::string();
}

GateRecordPtr GateRecord::Clone() const {
  return std::make_shared<GateRecord>(CopyKey(), *this);
}

}  // namespace taviron
