#ifndef TAVIRON_QASM_QASM_DECLARATIONS_PASS_H
#define TAVIRON_QASM_QASM_DECLARATIONS_PASS_H

#include "qasm/qasm_reading.h"
#include "qasm/qasm_records.h"
#include "qasm/qasm_token.h"

namespace taviron {

struct QasmExtensionGate;

// The first pass of the reader: reads the whole input once and records in
// the reading's declarations the version line, the include of qelib1.inc,
// every qreg and creg declaration and every gate and opaque definition
// (whose bodies it skips), refusing a name declared twice; every other
// statement is passed over. The register objects are made by the driver.
class QasmDeclarationsPass {
 public:
  explicit QasmDeclarationsPass(QasmReading& reading) : reading_(reading) {}

  // Rewinds the input and runs the pass. False at the first failure, with
  // its code, and also without a code of its own when the input holds
  // neither a declaration nor the version line "OPENQASM 2.0".
  bool ParseDeclarations();

  // The declarations, each called after its keyword. The register and
  // definition readers put back the token after the declaration (the token
  // that did not fit, on failure) for the pass to read again.
  bool ParseInclude();
  bool ParseQreg();
  bool ParseCreg();
  bool ParseGateDefinition();
  bool ParseOpaqueDefinition();
  // False, with DUPLICATE_DEFINITION, when a declaration already has `name`.
  bool IsNameFree(const std::string& name);

 private:
  // A definition's name, its parameter names and its argument names.
  struct DefinitionHead {
    QasmGateDefinition definition;
    // The reader's own gate of that name, for a gate definition.
    const QasmExtensionGate* extension = nullptr;
    // The name is a keyword (a gate the reader knows, as ecr).
    bool keyword_name = false;
  };

  bool ParseDeclaration(QasmTokenKind keyword);
  // Notes the version line when the number after OPENQASM reads "2.0".
  bool ParseVersion(const QasmToken& version);
  bool ParseRegisterDeclaration(bool quantum);
  bool ParseDefinition(bool is_gate);
  bool ReadDefinitionName(bool is_gate, const QasmToken& token, DefinitionHead& head);
  bool ReadParameterNames(QasmToken& token, QasmGateDefinition& definition);
  bool ReadArgumentNames(bool is_gate, QasmToken& token, QasmGateDefinition& definition);
  // Takes a definition of a gate the reader knows, in that gate's shape, as
  // that gate; refuses another shape under a keyword.
  bool TakeKnownGate(DefinitionHead& head);
  bool SkipGateBody(QasmToken& token);
  bool RecordDefinition(bool is_gate, QasmToken& token, QasmGateDefinition definition);
  // False, recording `code`, unless the token is of `kind`.
  bool Expect(const QasmToken& token, QasmTokenKind kind, QasmErrorCode code);
  QasmToken NextSignificantToken(bool split) {
    return reading_.tokens().NextSignificantToken(split);
  }

  QasmReading& reading_;
};

}  // namespace taviron

#endif
