#include "circuit/registers.h"

#include <stdexcept>

namespace taviron {

int32_t QuantumRegisterCounter = 0;
int32_t AncillaRegisterCounter = 0;
int32_t ClassicalRegisterCounter = 0;

int32_t QuantumRegisterNameCounter = 0;
int32_t AncillaRegisterNameCounter = 0;
int32_t ClassicalRegisterNameCounter = 0;

namespace {

// Item access shared by the three register kinds, computed in 64 bits so
// that it cannot wrap, and bounded so that no index reaches a qubit or bit
// outside the register (this also ends Python's iteration over a register).
int64_t RegisterItem(int32_t first_index, int32_t size, int32_t index) {
  if (index < 0 || index >= size) {
    throw std::out_of_range("Register index out of range.");
  }
  return static_cast<int64_t>(first_index) + index;
}

}  // namespace

QuantumRegister::QuantumRegister(int32_t size, const std::string& name)
    : size(size), name(name), first_index(QuantumRegisterCounter) {
  QuantumRegisterCounter = WrappingAdd32(QuantumRegisterCounter, size);
}

int64_t QuantumRegister::__getitem__(int32_t index) const {
  return RegisterItem(first_index, size, index);
}

AncillaRegister::AncillaRegister(int32_t size, const std::string& name)
    : size(size), name(name), first_index(AncillaRegisterCounter) {
  AncillaRegisterCounter = WrappingAdd32(AncillaRegisterCounter, size);
}

int64_t AncillaRegister::__getitem__(int32_t index) const {
  return RegisterItem(first_index, size, index);
}

ClassicalRegister::ClassicalRegister(int32_t size, const std::string& name)
    : name(name), first_index(ClassicalRegisterCounter), size(size) {
  ClassicalRegisterCounter = WrappingAdd32(ClassicalRegisterCounter, size);
}

int64_t ClassicalRegister::__getitem__(int32_t index) const {
  return RegisterItem(first_index, size, index);
}

void SubtractRegisterFromCounter(const QuantumRegister& reg) {
  QuantumRegisterCounter = WrappingSubtract32(QuantumRegisterCounter, reg.size);
}

void SubtractRegisterFromCounter(const AncillaRegister& reg) {
  AncillaRegisterCounter = WrappingSubtract32(AncillaRegisterCounter, reg.size);
}

void SubtractRegisterFromCounter(const ClassicalRegister& reg) {
  ClassicalRegisterCounter =
      WrappingSubtract32(ClassicalRegisterCounter, reg.size);
}

}  // namespace taviron
