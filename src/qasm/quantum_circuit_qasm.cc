// QuantumCircuit::qasm: the circuit's OpenQASM text, returned, printed or
// saved.

#include <fstream>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "foundation/file_name_check.h"
#include "qasm/qasm_writer.h"
#include "qasm/qelib_gate_names.h"

namespace taviron {

std::string QuantumCircuit::qasm(
    bool formatted, const std::string& filename, const std::string& /*encoding*/,
    const std::function<void(const std::string&)>& print) const {
  RequireNoNulInFileName(filename);
  const std::string text = WriteQasm(MakeQelibGateNames(), *this);
  if (formatted && print) print(text);
  if (!filename.empty()) {
    std::ofstream file(filename, std::ios::out | std::ios::trunc);
    if (file) file << text;
    if (file.is_open()) file.close();
    if (!file) throw RunTimeError("Can't write the OpenQASM text to the file " + filename + ".");
  }
  return formatted ? std::string() : text;
}

}  // namespace taviron
