#ifndef TAVIRON_CIRCUIT_APPEND_CORE_H
#define TAVIRON_CIRCUIT_APPEND_CORE_H

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/gate_record.h"

namespace taviron {

class QuantumCircuit;

// The two ways a one- or two-qubit gate record enters a circuit. Each checks
// the qubits against the circuit's total_qubits (RunTimeError "Invalid
// Parameter passed to the gate instruction." before anything changes),
// appends one new record holding a copy of `matrix` at the end of
// `destination` (the circuit's gates or a composite's body), marks the
// qubits active in the circuit, and returns 0.
int32_t AppendOneQubitRecord(QuantumCircuit& circuit, GateId gate_type,
                             const MatrixXcd& matrix, uint64_t qubit,
                             const std::vector<double>& params,
                             GateRecordList& destination, std::string label);
// The first qubit is the low bit of the 4x4 matrix's basis index.
int32_t AppendTwoQubitRecord(QuantumCircuit& circuit, GateId gate_type,
                             const MatrixXcd& matrix, uint64_t first_qubit,
                             uint64_t second_qubit,
                             const std::vector<double>& params,
                             GateRecordList& destination, std::string label);

// Per-gate appenders: one record of one gate, with its type id, matrix and
// parameters, appended to `destination`. They return 0 and throw as the
// append core does.
using OneQubitAppender = int32_t (*)(QuantumCircuit& circuit, uint64_t qubit,
                                     GateRecordList& destination,
                                     std::string label);

int32_t AppendH(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendX(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendI(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendT(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendS(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendTdg(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendSdg(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendSX(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendSXdg(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendY(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);
int32_t AppendZ(QuantumCircuit& circuit, uint64_t qubit, GateRecordList& destination, std::string label);

// Phase gate diag(1, e^(i angle)), GateId::kP, params [angle]; defined with the
// one-qubit gates of computed matrices.
int32_t AppendP(QuantumCircuit& circuit, double angle, uint64_t qubit, GateRecordList& destination,
                std::string label);

// CX (GateId::kCX) on [control, target].
int32_t AppendCX(QuantumCircuit& circuit, uint64_t control_qubit, uint64_t target_qubit,
                 GateRecordList& destination, std::string label);
// CU1 (GateId::kCU1): diag(1, 1, 1, angle) with the angle itself in (3,3).
int32_t AppendCU1(QuantumCircuit& circuit, double angle, uint64_t control_qubit, uint64_t target_qubit,
                  GateRecordList& destination, std::string label);

}  // namespace taviron

#endif
