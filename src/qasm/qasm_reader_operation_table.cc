// Applying one gate statement to a circuit: the operation of each gate
// keyword with its exact operand and parameter counts, and the per-qubit
// application of the one-qubit gates, reset and barrier.
#include <cstddef>
#include <vector>

#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"

namespace taviron {

using namespace QasmTokenKind;

namespace {

using Qubits = std::vector<uint64_t>;
using Parameters = std::vector<double>;

// A gate keyword with fixed counts: its operation is called with the
// parameters in order, then the qubits in operand order, and an empty label.
// It reports whether the circuit returned a gate.
struct FixedOperation {
  int kind;
  size_t qubit_count;
  size_t parameter_count;
  bool (*apply)(QuantumCircuit& circuit, const Qubits& q, const Parameters& p);
};

const FixedOperation kFixedOperations[] = {
    {KW_C3SQRTX, 4, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.c3sqrtx(q[0], q[1], q[2], q[3], "") != nullptr; }},
    {KW_C3X, 4, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.c3x(q[0], q[1], q[2], q[3], "") != nullptr; }},
    {KW_C4X, 5, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.c4x(q[0], q[1], q[2], q[3], q[4], "") != nullptr; }},
    {KW_CCX, 3, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.ccx(q[0], q[1], q[2], "") != nullptr; }},
    {KW_CH, 2, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.ch(q[0], q[1], "") != nullptr; }},
    {KW_CP, 2, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.cp(p[0], q[0], q[1], "") != nullptr; }},
    {KW_CRX, 2, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.crx(p[0], q[0], q[1], "") != nullptr; }},
    {KW_CRY, 2, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.cry(p[0], q[0], q[1], "") != nullptr; }},
    {KW_CRZ, 2, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.crz(p[0], q[0], q[1], "") != nullptr; }},
    {KW_CSWAP, 3, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.cswap(q[0], q[1], q[2], "") != nullptr; }},
    {KW_CSX, 2, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.csx(q[0], q[1], "") != nullptr; }},
    {KW_CU, 2, 4, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.cu(p[0], p[1], p[2], p[3], q[0], q[1], "") != nullptr; }},
    {KW_CU1, 2, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.cu1(p[0], q[0], q[1], "") != nullptr; }},
    {KW_CU3, 2, 3, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.cu3(p[0], p[1], p[2], q[0], q[1], "") != nullptr; }},
    {KW_CX, 2, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.cx(q[0], q[1], "") != nullptr; }},
    {KW_CY, 2, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.cy(q[0], q[1], "") != nullptr; }},
    {KW_CZ, 2, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.cz(q[0], q[1], "") != nullptr; }},
    {KW_ECR, 2, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.ecr(q[0], q[1], "") != nullptr; }},
    {KW_P, 1, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.p(p[0], q[0], "") != nullptr; }},
    {KW_RC3X, 4, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.rcccx(q[0], q[1], q[2], q[3], "") != nullptr; }},
    {KW_RCCX, 3, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.rccx(q[0], q[1], q[2], "") != nullptr; }},
    {KW_RX, 1, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.rx(p[0], q[0], "") != nullptr; }},
    {KW_RXX, 2, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.rxx(p[0], q[0], q[1], "") != nullptr; }},
    {KW_RY, 1, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.ry(p[0], q[0], "") != nullptr; }},
    {KW_RZ, 1, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.rz(p[0], q[0], "") != nullptr; }},
    {KW_RZZ, 2, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.rzz(p[0], q[0], q[1], "") != nullptr; }},
    {KW_SWAP, 2, 0, [](QuantumCircuit& c, const Qubits& q, const Parameters&) {
       return c.swap(q[0], q[1], "") != nullptr; }},
    {KW_U, 1, 3, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.u(p[0], p[1], p[2], q[0], "") != nullptr; }},
    {KW_U0, 1, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.u0(p[0], q[0], "") != nullptr; }},
    {KW_U1, 1, 1, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.u1(p[0], q[0], "") != nullptr; }},
    {KW_U2, 1, 2, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.u2(p[0], p[1], q[0], "") != nullptr; }},
    {KW_U3, 1, 3, [](QuantumCircuit& c, const Qubits& q, const Parameters& p) {
       return c.u3(p[0], p[1], p[2], q[0], "") != nullptr; }},
};

// The keywords applied per qubit (or over a whole register), and barrier.
struct BroadcastOperation {
  int kind;
  bool (qasm2::*apply)(QuantumCircuit& circuit, const QasmStatement& statement);
};

const BroadcastOperation kBroadcastOperations[] = {
    {KW_BARRIER, &qasm2::ApplyBarrier}, {KW_H, &qasm2::ApplyH},
    {KW_ID, &qasm2::ApplyId},           {KW_RESET, &qasm2::ApplyReset},
    {KW_S, &qasm2::ApplyS},             {KW_SDG, &qasm2::ApplySdg},
    {KW_SX, &qasm2::ApplySx},           {KW_SXDG, &qasm2::ApplySxdg},
    {KW_T, &qasm2::ApplyT},             {KW_TDG, &qasm2::ApplyTdg},
    {KW_X, &qasm2::ApplyX},             {KW_Y, &qasm2::ApplyY},
    {KW_Z, &qasm2::ApplyZ},
};

}  // namespace

bool qasm2::ApplyStatement(QuantumCircuit& circuit, const QasmStatement& statement) {
  if (statement.gate_kind == IDENTIFIER) return ApplyUserGate(circuit, statement);
  for (const BroadcastOperation& operation : kBroadcastOperations) {
    if (operation.kind == statement.gate_kind) {
      return (this->*operation.apply)(circuit, statement);
    }
  }
  for (const FixedOperation& operation : kFixedOperations) {
    if (operation.kind != statement.gate_kind) continue;
    if (statement.qubits.size() != operation.qubit_count ||
        statement.parameters.size() != operation.parameter_count) {
      error_code = QasmErrorCode::INVALID_PARAMETER;
      return false;
    }
    const Qubits qubits(statement.qubits.begin(), statement.qubits.end());
    if (!operation.apply(circuit, qubits, statement.parameters)) {
      error_code = QasmErrorCode::INVALID_INSTRUCTION;
      return false;
    }
    return true;
  }
  // measure, if, opaque, declarations and anything else: no operation.
  return false;
}

template <typename Operation>
bool qasm2::ApplyBroadcast(QuantumCircuit& circuit, const QasmStatement& statement,
                           Operation operation) {
  for (int64_t qubit : StatementTargets(circuit, statement)) {
    if (!operation(circuit, static_cast<uint64_t>(qubit))) {
      error_code = QasmErrorCode::INVALID_INSTRUCTION;
      return false;
    }
  }
  return true;
}

#define TAVIRON_QASM_BROADCAST(Member, method)                                   \
  bool qasm2::Member(QuantumCircuit& circuit, const QasmStatement& statement) {  \
    return ApplyBroadcast(circuit, statement, [](QuantumCircuit& c, uint64_t q) { \
      return c.method(q, "") != nullptr;                                         \
    });                                                                          \
  }
TAVIRON_QASM_BROADCAST(ApplyH, h)
TAVIRON_QASM_BROADCAST(ApplyId, i)
TAVIRON_QASM_BROADCAST(ApplyX, x)
TAVIRON_QASM_BROADCAST(ApplyY, y)
TAVIRON_QASM_BROADCAST(ApplyZ, z)
TAVIRON_QASM_BROADCAST(ApplySx, sx)
TAVIRON_QASM_BROADCAST(ApplySxdg, sxdg)
TAVIRON_QASM_BROADCAST(ApplyT, t)
TAVIRON_QASM_BROADCAST(ApplyTdg, tdg)
TAVIRON_QASM_BROADCAST(ApplyS, s)
TAVIRON_QASM_BROADCAST(ApplySdg, sdg)
TAVIRON_QASM_BROADCAST(ApplyReset, reset)
#undef TAVIRON_QASM_BROADCAST

bool qasm2::ApplyBarrier(QuantumCircuit& circuit, const QasmStatement& statement) {
  // One barrier call over the whole list; a register of size 0 names no
  // qubit, and its barrier appends nothing.
  const std::vector<int64_t> targets = StatementTargets(circuit, statement);
  if (targets.empty()) return true;
  if (circuit.barrier_list(targets, "") == QuantumCircuit::BarrierNothingAppended) {
    error_code = QasmErrorCode::INVALID_INSTRUCTION;
    return false;
  }
  return true;
}

std::vector<int64_t> qasm2::StatementTargets(const QuantumCircuit& circuit,
                                             const QasmStatement& statement) {
  if (!statement.qubits.empty()) return statement.qubits;
  std::vector<int64_t> targets;
  const int64_t size = circuit.GetRegisterSize(statement.register_name);
  for (int64_t k = 0; k < size; ++k) {
    targets.push_back(circuit.GetQubitIndex(statement.register_name,
                                            static_cast<uint64_t>(k)));
  }
  return targets;
}

}  // namespace taviron
