#include "qasm/qasm_extension_gates.h"

#include <complex>
#include <cstddef>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "circuit/testing/dense_unitary.h"
#include "qasm/qasm_reader.h"
#include "qasm/qasm_writer.h"
#include "qasm/qelib_gate_names.h"

namespace taviron {

namespace {

constexpr double kPi = 3.141592653589793;

// Values for the gates' parameters: generic ones, zeros, multiples of pi,
// tiny and large ones.
const std::vector<std::vector<double>> kParameterSets = {
    {0.3, -1.7, 2.9},   {0.0, 0.0, 0.0}, {kPi, -kPi / 2, kPi / 3}, {-2.5, 0.0, 1e-9},
    {1e-7, 4.0, -0.2},  {7.25, 11.5, -9.0}, {0.0, 0.0, -3.0},     {0.0, 2.0, 0.0},
};

// How far `a` is from `b` once a's global phase is taken out.
double DistanceUpToPhase(const MatrixXcd& a, const MatrixXcd& b) {
  Eigen::Index row = 0;
  Eigen::Index column = 0;
  b.cwiseAbs().maxCoeff(&row, &column);
  const std::complex<double> ratio = a(row, column) / b(row, column);
  return dense_unitary::MaxDistance(a, (ratio / std::abs(ratio)) * b);
}

// The qubits a gate of `count` qubits is called on: the second first, so
// that the order of the operands counts.
std::vector<uint64_t> Operands(size_t count) {
  return count == 2 ? std::vector<uint64_t>{1, 0} : std::vector<uint64_t>{1};
}

// Appends `gate` on Operands with the first of `values`; false when the
// circuit returns no gate.
bool Apply(const QasmExtensionGate& gate, QuantumCircuit& circuit,
           const std::vector<double>& values) {
  const GateArity arity = QasmExtensionArity(gate);
  const auto count = static_cast<std::ptrdiff_t>(arity.parameters);
  const std::vector<double> parameters(values.begin(), values.begin() + count);
  return AppendGate(circuit, gate.id, Operands(arity.qubits), parameters) != nullptr;
}

TEST(QasmExtensionGatesTest, TableAgreesWithTheGates) {
  for (const QasmExtensionGate& gate : QasmExtensionGates()) {
    SCOPED_TRACE(gate.name);
    ASSERT_TRUE(AppendGateArity(gate.id).has_value());
    const GateArity arity = QasmExtensionArity(gate);
    QuantumCircuit circuit(2, 0);
    ASSERT_TRUE(Apply(gate, circuit, {0.1, 0.2, 0.3}));
    const GateRecord& record = *circuit.gates().at(0);
    EXPECT_EQ(record.gate_type, gate.id);
    EXPECT_EQ(record.GetName(), gate.name);
    EXPECT_EQ(record.qubits, Operands(arity.qubits));
    EXPECT_EQ(record.params.size(), arity.parameters);
    EXPECT_EQ(FindQasmExtensionGate(gate.name), &gate);
    EXPECT_EQ(FindQasmExtensionGate(gate.id), &gate);
  }
  EXPECT_EQ(FindQasmExtensionGate("rzz"), nullptr);
}

// The written text of every gate, with its definition read as a gate of
// another name (under its own name the reader keeps its own gate), performs
// the gate's matrix up to global phase; rv, written as u, likewise.
TEST(QasmExtensionGatesTest, WrittenDefinitionsPerformTheGate) {
  for (const QasmExtensionGate& gate : QasmExtensionGates()) {
    for (const std::vector<double>& values : kParameterSets) {
      SCOPED_TRACE(std::string(gate.name) + " " + std::to_string(values[0]) + " " +
                   std::to_string(values[1]) + " " + std::to_string(values[2]));
      QuantumCircuit circuit(2, 0);
      ASSERT_TRUE(Apply(gate, circuit, values));
      std::string text = WriteQasm(MakeQelibGateNames(), circuit);
      const std::string name = gate.name;
      if (gate.body != nullptr) {
        const size_t definition = text.find("gate " + name + " ");
        ASSERT_NE(definition, std::string::npos) << text;
        text.replace(definition, 5 + name.size(), "gate checked");
        const size_t call = text.find("\n" + name, text.find("// Instructions"));
        ASSERT_NE(call, std::string::npos) << text;
        text.replace(call + 1, name.size(), "checked");
      } else {
        EXPECT_EQ(text.find("gate "), std::string::npos) << text;
      }
      const auto read = qasm2().loads(text);
      ASSERT_EQ(read->gates().size(), 1u) << text;
      EXPECT_EQ(read->gates()[0]->gate_type,
                gate.body != nullptr ? GateId::kComposite : GateId::kU) << text;
      EXPECT_LT(DistanceUpToPhase(dense_unitary::RecordsUnitary(read->gates(), 2),
                                  dense_unitary::RecordsUnitary(circuit.gates(), 2)),
                1e-12)
          << text;
    }
  }
}

}  // namespace

}  // namespace taviron
