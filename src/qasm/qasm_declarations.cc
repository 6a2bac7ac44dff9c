#include "qasm/qasm_declarations.h"

#include <utility>
#include <variant>

namespace taviron {

namespace {

// One register object per declaration, stored in the declaration too.
template <class Register>
std::vector<std::shared_ptr<Register>> MakeRegisters(
    std::vector<QasmRegisterDeclaration>& declarations, int64_t& total) {
  std::vector<std::shared_ptr<Register>> registers;
  for (QasmRegisterDeclaration& declaration : declarations) {
    auto reg = std::make_shared<Register>(static_cast<int32_t>(declaration.size),
                                          declaration.name);
    declaration.created_register = reg;
    registers.push_back(std::move(reg));
    total += declaration.size;
  }
  return registers;
}

}  // namespace

void QasmDeclarations::AddGateDefinition(QasmGateDefinition definition) {
  gate_definitions_.push_back(std::move(definition));
}

void QasmDeclarations::AddOpaqueDefinition(QasmGateDefinition definition) {
  opaque_definitions_.push_back(std::move(definition));
}

void QasmDeclarations::AddQreg(QasmRegisterDeclaration declaration) {
  qreg_declarations_.push_back(std::move(declaration));
}

void QasmDeclarations::AddCreg(QasmRegisterDeclaration declaration) {
  creg_declarations_.push_back(std::move(declaration));
}

const QasmNameIndex::Entry* QasmDeclarations::FindName(const std::string& name) const {
  return name_index_.Find(name, gate_definitions_, opaque_definitions_, qreg_declarations_,
                          creg_declarations_);
}

bool QasmDeclarations::IsDeclared(const std::string& name) const {
  return FindName(name) != nullptr;
}

bool QasmDeclarations::IsQuantumRegister(const std::string& name) const {
  const QasmNameIndex::Entry* entry = FindName(name);
  return entry != nullptr && entry->kind == QasmNameIndex::Kind::kQuantumRegister;
}

bool QasmDeclarations::IsClassicalRegister(const std::string& name) const {
  const QasmNameIndex::Entry* entry = FindName(name);
  return entry != nullptr && entry->kind == QasmNameIndex::Kind::kClassicalRegister;
}

QasmGateDefinition* QasmDeclarations::FindGateDefinition(const std::string& name) {
  const QasmNameIndex::Entry* entry = FindName(name);
  if (entry == nullptr || entry->kind != QasmNameIndex::Kind::kGate) return nullptr;
  return &gate_definitions_[entry->position];
}

size_t QasmDeclarations::GatePosition(const QasmGateDefinition& definition) const {
  return static_cast<size_t>(&definition - gate_definitions_.data());
}

std::shared_ptr<ClassicalRegister> QasmDeclarations::DeclaredClassicalRegister(
    const std::string& name) const {
  const QasmNameIndex::Entry* entry = FindName(name);
  return std::get<std::shared_ptr<ClassicalRegister>>(
      creg_declarations_[entry->position].created_register);
}

std::vector<std::shared_ptr<QuantumRegister>> QasmDeclarations::MakeQuantumRegisters(
    int64_t& total) {
  return MakeRegisters<QuantumRegister>(qreg_declarations_, total);
}

std::vector<std::shared_ptr<ClassicalRegister>> QasmDeclarations::MakeClassicalRegisters(
    int64_t& total) {
  return MakeRegisters<ClassicalRegister>(creg_declarations_, total);
}

void QasmDeclarations::Clear() {
  gate_definitions_.clear();
  opaque_definitions_.clear();
  qreg_declarations_.clear();
  creg_declarations_.clear();
  version_seen_ = false;
  qelib1_included_ = false;
  name_index_.Clear();
}

}  // namespace taviron
