#ifndef TAVIRON_QASM_QASM_WRITER_H
#define TAVIRON_QASM_QASM_WRITER_H

#include <string>
#include <vector>

class QuantumCircuit;

// The OpenQASM 2.0 text of a circuit: header, register declarations, one
// `gate` definition per composite whose lower-cased name is neither in
// standard_names nor already defined, then one line per instruction record.
// Reads the circuit only. Throws RunTimeError "Invalid Qubit Index: <i>" or
// "Invalid Classical Bit Index: <i>" for an operand outside every register;
// no text is produced then.
std::string WriteQasm(const std::vector<std::string>& standard_names,
                      const QuantumCircuit& circuit);

#endif
