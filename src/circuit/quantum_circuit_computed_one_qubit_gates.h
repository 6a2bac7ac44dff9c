#ifndef TAVIRON_CIRCUIT_QUANTUM_CIRCUIT_COMPUTED_ONE_QUBIT_GATES_H
#define TAVIRON_CIRCUIT_QUANTUM_CIRCUIT_COMPUTED_ONE_QUBIT_GATES_H

#include <cstdint>
#include <string>

#include "circuit/append_core.h"
#include "foundation/gate_record.h"

namespace taviron {

class QuantumCircuit;

// Per-gate appenders of the one-qubit gates whose matrix is computed from
// their angles. Each appends one record to `destination` (the circuit's
// gates or a composite's body) with the arguments, unchanged and in order, as
// its params, and returns 0; failures are thrown by the append core.
// AppendP (GateId::kP) is declared with the other appenders in append_core.h.
int32_t AppendR(QuantumCircuit& circuit, double theta, double phi, uint64_t qubit,
                GateRecordList& destination, std::string label);
// Rotation by the vector's length about its axis; the zero vector gives the
// identity (the limit as the vector shrinks).
int32_t AppendRV(QuantumCircuit& circuit, double vx, double vy, double vz, uint64_t qubit,
                 GateRecordList& destination, std::string label);
int32_t AppendRX(QuantumCircuit& circuit, double theta, uint64_t qubit,
                 GateRecordList& destination, std::string label);
int32_t AppendRY(QuantumCircuit& circuit, double theta, uint64_t qubit,
                 GateRecordList& destination, std::string label);
int32_t AppendRZ(QuantumCircuit& circuit, double phi, uint64_t qubit,
                 GateRecordList& destination, std::string label);
int32_t AppendU(QuantumCircuit& circuit, double theta, double phi, double lambda, uint64_t qubit,
                GateRecordList& destination, std::string label);
// The identity whatever gamma is.
int32_t AppendU0(QuantumCircuit& circuit, double gamma, uint64_t qubit,
                 GateRecordList& destination, std::string label);
int32_t AppendU1(QuantumCircuit& circuit, double lambda, uint64_t qubit,
                 GateRecordList& destination, std::string label);
int32_t AppendU2(QuantumCircuit& circuit, double phi, double lambda, uint64_t qubit,
                 GateRecordList& destination, std::string label);
// The record of AppendU (GateId::kU); only the handle of u3 differs from u's.
int32_t AppendU3(QuantumCircuit& circuit, double theta, double phi, double lambda, uint64_t qubit,
                 GateRecordList& destination, std::string label);

}  // namespace taviron

#endif
