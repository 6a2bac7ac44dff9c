#ifndef TAVIRON_CIRCUIT_CIRCUIT_CONDITION_TARGETS_H
#define TAVIRON_CIRCUIT_CIRCUIT_CONDITION_TARGETS_H

#include <cstdint>
#include <memory>
#include <vector>

#include "circuit/registers.h"
#include "foundation/gate.h"

namespace taviron {

// The classical bits and registers of one circuit, as its gate handles'
// c_if may name them: the same that the OpenQASM writer and the drawer can
// name. It shares the circuit's register objects, so it stays valid when
// the handles outlive the circuit.
class CircuitConditionTargets : public ConditionTargets {
 public:
  explicit CircuitConditionTargets(std::vector<std::shared_ptr<ClassicalRegister>> registers);

  // A bit of one of the registers; else RunTimeError "Invalid Classical Bit
  // Index: " and the index.
  void RequireClbit(uint64_t clbit) const override;
  // One of the registers, or a register of the same name, first index and
  // size (the caller's object that the register constructor copied); else
  // RunTimeError "Invalid Classical Register: " and its name (or "an
  // unnamed register").
  void RequireRegister(const ConditionRegisterView& cr) const override;

 private:
  std::vector<std::shared_ptr<ClassicalRegister>> registers_;
};

}  // namespace taviron

#endif
