#ifndef TAVIRON_QASM_QASM_WRITER_H
#define TAVIRON_QASM_QASM_WRITER_H

#include <string>
#include <vector>

namespace taviron {

class QuantumCircuit;

// The OpenQASM 2.0 text of a circuit: header, register declarations, the
// `gate` definitions of the gates outside qelib1.inc that it calls and of
// its composites that standard_names does not provide (see
// QasmDefinitions), then one line per instruction record; the text reads
// back as the same circuit. Every register and gate is declared under a
// name that OpenQASM 2.0 allows and that no other declaration takes (see
// QasmNameAllocator). Reads the circuit only. Throws RunTimeError "Invalid
// Qubit Index: <i>" or "Invalid Classical Bit Index: <i>" for an operand
// outside every register, one naming the gate for a parameter that is not a
// finite number, one for a composite that holds a measurement, a reset or
// a condition, and one for a condition on a register the circuit does not
// hold; no text is produced then.
std::string WriteQasm(const std::vector<std::string>& standard_names,
                      const QuantumCircuit& circuit);

}  // namespace taviron

#endif
