#include "circuit/composite_record.h"

#include <memory>

namespace taviron {

GateRecordPtr NewCompositeRecord(const std::string& label,
                                 const std::string& default_label) {
  auto record = std::make_shared<GateRecord>();
  record->gate_type = GateId::kComposite;
  record->label = label.empty() ? default_label : label;
  return record;
}

}  // namespace taviron
