#include "foundation/gate.h"

#include <utility>

namespace taviron {

Gate::Gate(std::string label) : label(std::move(label)) {}

Gate::~Gate() = default;

void Gate::c_if(std::shared_ptr<ClassicalRegister> cr, uint64_t val) {
  for (const GateRecordPtr& record : records) {
    record->conditioned = true;
    record->condition_on_clbit = false;
    record->condition_register = cr;
    record->condition_value = val;
  }
}

void Gate::c_if_clbit(uint64_t clbit, uint64_t val) {
  for (const GateRecordPtr& record : records) {
    record->conditioned = true;
    record->condition_on_clbit = true;
    record->condition_clbit = clbit;
    record->condition_value = val;
  }
}

}  // namespace taviron
