#ifndef TAVIRON_QASM_TESTING_READER_FIXTURE_H
#define TAVIRON_QASM_TESTING_READER_FIXTURE_H

#include <memory>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"
#include "qasm/qasm_reading.h"
#include "qasm/qasm_token.h"

namespace taviron {

// Kinds and codes print as their numbers in test messages.
inline std::ostream& operator<<(std::ostream& out, QasmTokenKind kind) {
  return out << "token kind " << static_cast<int>(kind);
}
inline std::ostream& operator<<(std::ostream& out, QasmErrorCode code) {
  return out << "error code " << static_cast<int>(code);
}

// Makes `text` the active input of the reading, rewound, as loads does.
inline void ReadFromText(QasmReading& reading, const std::string& text) {
  reading.source().ReadText(text);
  reading.source().Rewind();
}

// The text of the exception that loads raises for `text`, or "" when it
// returns a circuit.
inline std::string LoadsFailure(const std::string& text, bool strict = false) {
  qasm2 reader;
  try {
    reader.loads(text, "", "append", strict);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

// A reading whose declarations name the given registers, and a circuit
// built from registers of those names and sizes, as the driver builds it.
struct DeclaredCircuit {
  QasmReading reading;
  std::unique_ptr<QuantumCircuit> circuit;

  explicit DeclaredCircuit(const std::vector<std::pair<std::string, int32_t>>& qregs,
                           const std::vector<std::pair<std::string, int32_t>>& cregs = {}) {
    std::vector<std::shared_ptr<QuantumRegister>> quantum;
    std::vector<std::shared_ptr<ClassicalRegister>> classical;
    for (const auto& [name, size] : qregs) {
      QasmRegisterDeclaration declaration;
      declaration.name = name;
      declaration.size = size;
      quantum.push_back(std::make_shared<QuantumRegister>(size, name));
      declaration.created_register = quantum.back();
      reading.declarations().AddQreg(declaration);
    }
    for (const auto& [name, size] : cregs) {
      QasmRegisterDeclaration declaration;
      declaration.name = name;
      declaration.size = size;
      classical.push_back(std::make_shared<ClassicalRegister>(size, name));
      declaration.created_register = classical.back();
      reading.declarations().AddCreg(declaration);
    }
    circuit = std::make_unique<QuantumCircuit>(
        quantum, std::vector<std::shared_ptr<AncillaRegister>>(), classical, "", 0.0);
  }
};

}  // namespace taviron

#endif
