#ifndef TAVIRON_CIRCUIT_REGISTERS_H
#define TAVIRON_CIRCUIT_REGISTERS_H

#include <cstdint>
#include <string>

#include "foundation/condition_register_view.h"

namespace taviron {

// Process-wide index counters, one per register kind: the first index that
// the next register of that kind receives. Only the thread that builds
// circuits touches them; all arithmetic on them wraps modulo 2^32.
extern int32_t QuantumRegisterCounter;
extern int32_t AncillaRegisterCounter;
extern int32_t ClassicalRegisterCounter;

// Process-wide numbers of the next default register names ("q0", "a0",
// "c0", ...); they only grow.
extern int32_t QuantumRegisterNameCounter;
extern int32_t AncillaRegisterNameCounter;
extern int32_t ClassicalRegisterNameCounter;

// 32-bit sum that wraps modulo 2^32 instead of overflowing.
inline int32_t WrappingAdd32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) +
                              static_cast<uint32_t>(b));
}

inline int32_t WrappingSubtract32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) -
                              static_cast<uint32_t>(b));
}

// A named group of qubits. Copies carry size, name and first index and
// never touch the counters.
class QuantumRegister {
 public:
  int32_t size = 0;
  std::string name;
  int32_t first_index = 0;

  QuantumRegister(int32_t size, const std::string& name);

  char prefix() const { return 'q'; }
  // Global index of item `index`; throws std::out_of_range unless
  // 0 <= index < size.
  int64_t __getitem__(int32_t index) const;
};

// Ancilla qubits; same layout and accessors as QuantumRegister.
class AncillaRegister {
 public:
  int32_t size = 0;
  std::string name;
  int32_t first_index = 0;

  AncillaRegister(int32_t size, const std::string& name);

  char prefix() const { return 'a'; }
  int64_t __getitem__(int32_t index) const;
};

// Classical bits; note that the name comes first here. A condition on the
// register reads it through its ConditionRegisterView side.
class ClassicalRegister : public ConditionRegisterView {
 public:
  std::string name;
  int32_t first_index = 0;
  int32_t size = 0;

  ClassicalRegister(int32_t size, const std::string& name);

  char prefix() const { return 'c'; }
  int64_t __getitem__(int32_t index) const;

  const std::string& RegisterName() const override { return name; }
  int64_t FirstBitIndex() const override { return first_index; }
  int64_t BitCount() const override { return size; }
};

// Called when the Python object that owns a register is released: subtracts
// the register's size from its kind's index counter. Copies and registers
// owned by a circuit are released without it.
void SubtractRegisterFromCounter(const QuantumRegister& reg);
void SubtractRegisterFromCounter(const AncillaRegister& reg);
void SubtractRegisterFromCounter(const ClassicalRegister& reg);

}  // namespace taviron

#endif
