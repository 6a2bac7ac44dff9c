#include "circuit/circuit_condition_targets.h"

#include <string>
#include <utility>

#include "foundation/exceptions.h"

namespace taviron {

CircuitConditionTargets::CircuitConditionTargets(
    std::vector<std::shared_ptr<ClassicalRegister>> registers)
    : registers_(std::move(registers)) {}

void CircuitConditionTargets::RequireClbit(uint64_t clbit) const {
  for (const auto& reg : registers_) {
    const int64_t first = reg->first_index;
    const int64_t size = reg->size;
    if (first >= 0 && size > 0 && clbit >= static_cast<uint64_t>(first) &&
        clbit - static_cast<uint64_t>(first) < static_cast<uint64_t>(size)) {
      return;
    }
  }
  throw RunTimeError("Invalid Classical Bit Index: " + std::to_string(clbit));
}

void CircuitConditionTargets::RequireRegister(const ConditionRegisterView& cr) const {
  const std::string& name = cr.RegisterName();
  for (const auto& reg : registers_) {
    if (reg.get() == &cr || (reg->name == name && reg->first_index == cr.FirstBitIndex() &&
                             reg->size == cr.BitCount())) {
      return;
    }
  }
  throw RunTimeError("Invalid Classical Register: " +
                     (name.empty() ? std::string("an unnamed register") : name) +
                     " is not a classical register of the circuit");
}

}  // namespace taviron
