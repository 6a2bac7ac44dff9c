// Table-driven appending of fixed decompositions.

#include "circuit/decomposition_steps.h"

#include "circuit/append_core.h"
#include "circuit/composite_record.h"
#include "circuit/quantum_circuit_computed_one_qubit_gates.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

int32_t AppendStep(QuantumCircuit& circuit, const DecompositionStep& step,
                   const std::vector<uint64_t>& operands, GateRecordList& body,
                   const std::string& label) {
  const uint64_t first = operands.at(step.first);
  switch (step.gate) {
    case GateId::kH:
      return AppendH(circuit, first, body, label);
    case GateId::kT:
      return AppendT(circuit, first, body, label);
    case GateId::kTdg:
      return AppendTdg(circuit, first, body, label);
    case GateId::kP:
      return AppendP(circuit, step.lambda, first, body, label);
    case GateId::kCX:
      return AppendCX(circuit, first, operands.at(step.second), body, label);
    case GateId::kCU1:
      return AppendCU1(circuit, step.lambda, first, operands.at(step.second),
                       body, label);
    case GateId::kU1:
      return AppendU1(circuit, step.lambda, first, body, label);
    case GateId::kU2:
      return AppendU2(circuit, step.phi, step.lambda, first, body, label);
    default:
      return 0;
  }
}

}  // namespace

void AppendDecompositionSteps(QuantumCircuit& circuit,
                              const std::vector<DecompositionStep>& steps,
                              const std::vector<uint64_t>& operands,
                              GateRecordList& body, const std::string& label) {
  for (const DecompositionStep& step : steps) {
    if (AppendStep(circuit, step, operands, body, label) != 0) {
      throw RunTimeError("Error handling multi control gate.");
    }
  }
}

void MarkCompositeQubitsActive(QuantumCircuit& circuit,
                               const GateRecord& composite) {
  for (uint64_t qubit : composite.qubits) circuit.MarkQubitActive(qubit);
}

void CheckDistinctOperands(const QuantumCircuit& circuit,
                           const std::vector<uint64_t>& operands) {
  const char kInvalidParameter[] =
      "Invalid Parameter passed to the gate instruction.";
  for (size_t i = 0; i < operands.size(); ++i) {
    for (size_t j = i + 1; j < operands.size(); ++j) {
      if (operands[i] == operands[j]) throw RunTimeError(kInvalidParameter);
    }
  }
  for (uint64_t qubit : operands) {
    if (qubit >= circuit.total_qubits()) throw RunTimeError(kInvalidParameter);
  }
}

GateRecordPtr StartComposite(QuantumCircuit& circuit,
                             std::vector<uint64_t> qubits,
                             const std::string& label,
                             const char* default_label) {
  GateRecordPtr composite = NewCompositeRecord(label, default_label);
  composite->qubits = std::move(qubits);
  MarkCompositeQubitsActive(circuit, *composite);
  return composite;
}

}  // namespace taviron
