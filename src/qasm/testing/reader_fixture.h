#ifndef TAVIRON_QASM_TESTING_READER_FIXTURE_H
#define TAVIRON_QASM_TESTING_READER_FIXTURE_H

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "circuit/quantum_circuit.h"
#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"
#include "qasm/qasm_token.h"

namespace taviron {

// Kinds and codes print as their numbers in test messages.
inline std::ostream& operator<<(std::ostream& out, QasmTokenKind kind) {
  return out << "token kind " << static_cast<int>(kind);
}
inline std::ostream& operator<<(std::ostream& out, QasmErrorCode code) {
  return out << "error code " << static_cast<int>(code);
}

// Makes `text` the reader's active input, rewound, as loads does.
inline void ReadFromText(qasm2& reader, const std::string& text) {
  reader.string_stream = std::stringstream(text);
  reader.reading_file = false;
  reader.Rewind();
}

// The kinds of the tokens of `text` up to the end of the input.
inline std::vector<QasmTokenKind> TokenKinds(qasm2& reader, const std::string& text,
                                             bool split = false) {
  ReadFromText(reader, text);
  std::vector<QasmTokenKind> kinds;
  for (QasmToken token = reader.NextToken(split);
       token.kind != QasmTokenKind::END_OF_INPUT; token = reader.NextToken(split)) {
    kinds.push_back(token.kind);
  }
  return kinds;
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

// A reader whose declaration lists name the given quantum registers, and a
// circuit built from registers of those names and sizes, as the driver
// builds it.
struct DeclaredCircuit {
  qasm2 reader;
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
      reader.qreg_declarations.push_back(declaration);
    }
    for (const auto& [name, size] : cregs) {
      QasmRegisterDeclaration declaration;
      declaration.name = name;
      declaration.size = size;
      classical.push_back(std::make_shared<ClassicalRegister>(size, name));
      declaration.created_register = classical.back();
      reader.creg_declarations.push_back(declaration);
    }
    circuit = std::make_unique<QuantumCircuit>(
        quantum, std::vector<std::shared_ptr<AncillaRegister>>(), classical, "", 0.0);
  }
};

}  // namespace taviron

#endif
