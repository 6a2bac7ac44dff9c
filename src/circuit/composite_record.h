#ifndef TAVIRON_CIRCUIT_COMPOSITE_RECORD_H
#define TAVIRON_CIRCUIT_COMPOSITE_RECORD_H

#include <cstdint>
#include <string>

#include "foundation/gate_record.h"

namespace taviron {

// A composite record (GateId::kComposite) is a decomposed gate whose body
// holds its parts in execution order.

// A new composite record with an empty body, qubit list and parameters,
// labelled `label`, or `default_label` when `label` is empty.
GateRecordPtr NewCompositeRecord(const std::string& label,
                                 const std::string& default_label);

}  // namespace taviron

#endif
