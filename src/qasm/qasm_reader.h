#ifndef TAVIRON_QASM_QASM_READER_H
#define TAVIRON_QASM_QASM_READER_H

#include <memory>
#include <string>

#include "circuit/quantum_circuit.h"

namespace taviron {

class QasmReading;

// The OpenQASM 2.0 reader behind the Python class qasm2. One object serves
// any number of load/loads calls, one at a time; each call reads its input
// in two passes (QasmDeclarationsPass, then QasmStatementsPass, over a
// QasmReading that holds the input and what the first pass found) and
// returns a new circuit. Only load and loads throw: RunTimeError with the
// reader's message, or the circuit model's own exception.
class qasm2 {
 public:
  qasm2();
  qasm2(const qasm2&) = delete;
  qasm2& operator=(const qasm2&) = delete;
  ~qasm2();

  // include_path is kept and has no effect; include_input_directory has
  // none either; no file but `filename` is ever opened.
  std::shared_ptr<QuantumCircuit> load(const std::string& filename,
                                       const std::string& include_path = "",
                                       const std::string& include_input_directory = "append",
                                       bool strict = false);
  std::shared_ptr<QuantumCircuit> loads(const std::string& qasm2string,
                                        const std::string& include_path = "",
                                        const std::string& include_input_directory = "append",
                                        bool strict = false);

 private:
  // The tests look at what the last call left (testing/reader_probe.h).
  friend class QasmReaderProbe;

  // What the calls read; each call resets it, and it keeps what the last
  // call left until the next one.
  std::unique_ptr<QasmReading> reading_;
  std::string include_path_;
};

}  // namespace taviron

#endif
