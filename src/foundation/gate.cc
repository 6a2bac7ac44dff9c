#include "foundation/gate.h"

#include <utility>

namespace taviron {

ConditionTargets::~ConditionTargets() = default;

Gate::Gate(std::string label) : label(std::move(label)) {}

Gate::~Gate() = default;

void Gate::c_if(std::shared_ptr<const ConditionRegisterView> cr, uint64_t val) {
  if (condition_targets && cr) condition_targets->RequireRegister(*cr);
  for (const GateRecordPtr& record : records) {
    record->conditioned = true;
    record->condition_on_clbit = false;
    record->condition_register = cr;
    record->condition_value = val;
  }
}

void Gate::c_if_clbit(uint64_t clbit, uint64_t val) {
  if (condition_targets) condition_targets->RequireClbit(clbit);
  for (const GateRecordPtr& record : records) {
    record->conditioned = true;
    record->condition_on_clbit = true;
    record->condition_clbit = clbit;
    record->condition_value = val;
  }
}

}  // namespace taviron
