#ifndef TAVIRON_QASM_QASM_DECLARATIONS_H
#define TAVIRON_QASM_QASM_DECLARATIONS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "circuit/registers.h"
#include "qasm/name_index.h"
#include "qasm/qasm_records.h"

namespace taviron {

// What the declarations pass of one reading finds: whether the text has the
// version line and the standard include, and its gate and opaque
// definitions and register declarations, each list in reading order. A
// name stands in at most one list; lookups by name take constant time.
class QasmDeclarations {
 public:
  bool version_seen() const { return version_seen_; }
  bool qelib1_included() const { return qelib1_included_; }
  void NoteVersion() { version_seen_ = true; }
  void NoteQelib1Include() { qelib1_included_ = true; }

  const std::vector<QasmGateDefinition>& gate_definitions() const { return gate_definitions_; }
  const std::vector<QasmGateDefinition>& opaque_definitions() const {
    return opaque_definitions_;
  }
  const std::vector<QasmRegisterDeclaration>& qreg_declarations() const {
    return qreg_declarations_;
  }
  const std::vector<QasmRegisterDeclaration>& creg_declarations() const {
    return creg_declarations_;
  }

  // Each appends a copy; std::bad_alloc leaves the lists as they were.
  void AddGateDefinition(QasmGateDefinition definition);
  void AddOpaqueDefinition(QasmGateDefinition definition);
  void AddQreg(QasmRegisterDeclaration declaration);
  void AddCreg(QasmRegisterDeclaration declaration);

  // Whether any list holds `name` (case counts).
  bool IsDeclared(const std::string& name) const;
  bool IsQuantumRegister(const std::string& name) const;
  bool IsClassicalRegister(const std::string& name) const;
  // The gate definition of that name, or nullptr (opaque definitions are
  // not searched); its body is filled by the statements pass.
  QasmGateDefinition* FindGateDefinition(const std::string& name);
  // The position of a gate definition of this object in its list.
  size_t GatePosition(const QasmGateDefinition& definition) const;
  // The register object made for a classical register declaration that
  // IsClassicalRegister has accepted.
  std::shared_ptr<ClassicalRegister> DeclaredClassicalRegister(const std::string& name) const;

  // One register object per declaration, in declaration order, each stored
  // in its declaration too; the sizes are added to `total`.
  std::vector<std::shared_ptr<QuantumRegister>> MakeQuantumRegisters(int64_t& total);
  std::vector<std::shared_ptr<ClassicalRegister>> MakeClassicalRegisters(int64_t& total);

  // Forgets everything, for the next reading.
  void Clear();

 private:
  const QasmNameIndex::Entry* FindName(const std::string& name) const;

  bool version_seen_ = false;
  bool qelib1_included_ = false;
  std::vector<QasmGateDefinition> gate_definitions_;
  std::vector<QasmGateDefinition> opaque_definitions_;
  std::vector<QasmRegisterDeclaration> qreg_declarations_;
  std::vector<QasmRegisterDeclaration> creg_declarations_;
  // Brought up to date with the lists on each lookup.
  mutable QasmNameIndex name_index_;
};

}  // namespace taviron

#endif
