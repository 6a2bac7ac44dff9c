#include <gtest/gtest.h>

#include <vector>

#include "qasm/qasm_extension_gates.h"
#include "qasm/qasm_reader.h"
#include "qasm/testing/reader_fixture.h"
#include "qasm/testing/reader_probe.h"

namespace taviron {

namespace {

constexpr double kPi = 3.141592653589793;

// q holds the global qubits 0-2, r the qubits 3-4.
const char kRegisters[] = "qreg q[3];\nqreg r[2];\n";

std::shared_ptr<QuantumCircuit> Load(const std::string& text) {
  qasm2 reader;
  return reader.loads(kRegisters + text);
}

TEST(QasmGateDefinitionsTest, CallReplaysTheBodyAsOneComposite) {
  const auto circuit = Load(
      "gate rot(theta, phi) a, b { u3(theta, phi, 0) a; cx a, b; rz((theta + pi) / 2) b; }\n"
      "rot(pi/2, pi) q[1], r[0];");
  ASSERT_EQ(circuit->gates().size(), 1u);
  const GateRecord& composite = *circuit->gates()[0];
  EXPECT_EQ(composite.gate_type, GateId::kComposite);
  EXPECT_EQ(composite.label, "rot");
  // The composite spans the call's operands and keeps its values.
  EXPECT_EQ(composite.qubits, (std::vector<uint64_t>{1, 3}));
  EXPECT_EQ(composite.params, (std::vector<double>{kPi / 2, kPi}));
  ASSERT_EQ(composite.body.size(), 3u);
  EXPECT_EQ(composite.body[0]->gate_type, GateId::kU);
  EXPECT_EQ(composite.body[0]->qubits, std::vector<uint64_t>{1});
  EXPECT_EQ(composite.body[0]->params, (std::vector<double>{kPi / 2, kPi, 0.0}));
  EXPECT_EQ(composite.body[1]->gate_type, GateId::kCX);
  EXPECT_EQ(composite.body[1]->qubits, (std::vector<uint64_t>{1, 3}));
  EXPECT_EQ(composite.body[2]->gate_type, GateId::kRZ);
  EXPECT_EQ(composite.body[2]->qubits, std::vector<uint64_t>{3});
  EXPECT_DOUBLE_EQ(composite.body[2]->params[0], (kPi / 2 + kPi) / 2);
}

TEST(QasmGateDefinitionsTest, BodyIsStoredWithArgumentReferencesAndParameterText) {
  qasm2 reader;
  reader.loads(std::string(kRegisters) +
               "gate g(theta) a, b { cx b, r[1]; u1(sin(theta)*2) a, 0; }");
  const QasmDeclarations& declarations = QasmReaderProbe::Declarations(reader);
  ASSERT_EQ(declarations.gate_definitions().size(), 1u);
  const std::vector<QasmStatement>& body = declarations.gate_definitions()[0].body;
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(body[0].gate_kind, QasmTokenKind::KW_CX);
  EXPECT_EQ(body[0].qubits, (std::vector<int64_t>{-2, 4}));
  EXPECT_EQ(body[1].gate_name, "u1");
  EXPECT_EQ(body[1].parameter_text, "sin ( theta ) * 2 ");
  EXPECT_EQ(body[1].qubits, (std::vector<int64_t>{-1, 0}));
}

TEST(QasmGateDefinitionsTest, FixedQubitsAndSpareOperands) {
  // A register qubit and a qubit number in the body apply at every call;
  // an operand beyond the gate's arguments is ignored.
  const auto circuit = Load("gate g a { cx r[1], a; swap 0, a; }\ng q[1], q[2], r[0];");
  const GateRecord& composite = *circuit->gates()[0];
  ASSERT_EQ(composite.body.size(), 2u);
  EXPECT_EQ(composite.body[0]->qubits, (std::vector<uint64_t>{4, 1}));
  EXPECT_EQ(composite.body[1]->qubits, (std::vector<uint64_t>{0, 1}));
}

TEST(QasmGateDefinitionsTest, EmptyBodies) {
  const auto circuit = Load("gate nothing a { }\nnothing q[2];");
  ASSERT_EQ(circuit->gates().size(), 1u);
  EXPECT_EQ(circuit->gates()[0]->label, "nothing");
  EXPECT_TRUE(circuit->gates()[0]->body.empty());
}

TEST(QasmGateDefinitionsTest, OneQubitGateOverAWholeRegister) {
  const auto circuit = Load("qreg none[0];\ngate g a { x a; }\ng r;\ng none;");
  ASSERT_EQ(circuit->gates().size(), 2u);
  EXPECT_EQ(circuit->gates()[0]->qubits, std::vector<uint64_t>{3});
  EXPECT_EQ(circuit->gates()[1]->qubits, std::vector<uint64_t>{4});
  EXPECT_EQ(LoadsFailure(std::string(kRegisters) + "gate g a, b { cx a, b; }\ng r;"),
            "Error Number is out of range in line 4 at 5");
}

TEST(QasmGateDefinitionsTest, CallsNeedNoClassicalBitsOfTheirOwn) {
  // More classical bits than qubits: the body is still replayed.
  const auto circuit = Load("creg c[9];\ngate g a { x a; }\ng q[1];");
  ASSERT_EQ(circuit->gates().size(), 1u);
  ASSERT_EQ(circuit->gates()[0]->body.size(), 1u);
  EXPECT_EQ(circuit->gates()[0]->body[0]->qubits, std::vector<uint64_t>{1});
}

TEST(QasmGateDefinitionsTest, SecondCallWithOtherValuesGetsItsOwnName) {
  const auto circuit = Load("gate g(w) a { rz(w) a; }\ng(1) q[0];\ng(2) q[0];\ng(1) q[0];");
  ASSERT_EQ(circuit->gates().size(), 3u);
  EXPECT_EQ(circuit->gates()[0]->label, "g");
  EXPECT_NE(circuit->gates()[1]->label, "g");
  EXPECT_EQ(circuit->gates()[1]->label.rfind("g", 0), 0u);
  EXPECT_EQ(circuit->gates()[1]->body[0]->params, std::vector<double>{2.0});
  EXPECT_EQ(circuit->gates()[2]->label, "g");
  EXPECT_EQ(circuit->gates()[2], circuit->gates()[0]);
}

TEST(QasmGateDefinitionsTest, CallsAlikeShareOneComposite) {
  // Whole-register calls repeated: one composite per qubit, appended again
  // by every later call on that qubit.
  const auto circuit = Load("creg c[5];\ngate g a { h a; t a; }\ng q;\ng q;\n"
                            "if (c == 1) g q[0];\ng q[0];\n");
  ASSERT_EQ(circuit->gates().size(), 8u);
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(circuit->gates()[k], circuit->gates()[k + 3]) << k;
    EXPECT_EQ(circuit->gates()[k]->qubits, std::vector<uint64_t>{k});
  }
  EXPECT_NE(circuit->gates()[0], circuit->gates()[1]);
  // The conditioned call has a record of its own with the same body; the
  // calls around it stay unconditioned.
  const GateRecord& conditioned = *circuit->gates()[6];
  EXPECT_NE(circuit->gates()[6], circuit->gates()[0]);
  EXPECT_TRUE(conditioned.conditioned);
  EXPECT_EQ(conditioned.body, circuit->gates()[0]->body);
  EXPECT_FALSE(circuit->gates()[0]->conditioned);
  EXPECT_EQ(circuit->gates()[7], circuit->gates()[0]);
  // Other values, other qubits or another gate make composites of their own.
  const auto values = Load("gate g(w) a { rz(w) a; }\ngate k(w) a { rz(w) a; }\n"
                           "g(1) q[0];\ng(2) q[0];\ng(1) q[1];\nk(1) q[0];\ng(1.0) q[0];\n");
  ASSERT_EQ(values->gates().size(), 5u);
  for (size_t i = 0; i < 4; ++i) {
    for (size_t j = i + 1; j < 4; ++j) EXPECT_NE(values->gates()[i], values->gates()[j]) << i << j;
  }
  EXPECT_EQ(values->gates()[4], values->gates()[0]);
}

TEST(QasmGateDefinitionsTest, FailuresOfBodiesAndCalls) {
  struct Case {
    std::string text;
    std::string failure;
  };
  const Case cases[] = {
      {"gate g(w, v) a { u2(w, v) a; }\ng(1) q[0];",
       "Error Parameter list is not matching in line 4 at 11"},
      {"gate g(w) a { rx(w) w; }", "Error Identifier expected in line 3 at 22"},
      {"gate g a { rx(1) b; }", "Error Identifier expected in line 3 at 19"},
      {"gate f a { x a; }\ngate g a { f a; }", "Error Invalid instruction passed in line 4 at 13"},
      {"gate g a, b { cx a, b; }\ng q[0];", "Error Number is out of range in line 4 at 8"},
      {"gate g a { cx r[2], a; }", "Error Number is out of range in line 3 at 18"},
      {"gate g a { cx 5, a; }", "Error Number is out of range in line 3 at 16"},
      {"gate g a { cx r 1, a; }", "Error Left square bracket expected in line 3 at 18"},
      {"gate g a { rx(phi) a; }\ng q[0];", "Error Invalid parameter in line 4 at 8"},
      {"gate g a { u1(1) a; }\ng(1) q[0];", "Error Parameter list is not matching in line 4 at 11"},
      {"opaque g a;\ng q[0];", "Error User defined gate not found in line 4 at 8"},
      {"U(1, 2, 3) q[0];", "Error User defined gate not found in line 3 at 17"},
      {"CX q[0], q[1];", "Error User defined gate not found in line 3 at 15"},
      {"ryy(1) q[0], q[1];", "Error User defined gate not found in line 3 at 19"},
      // A body statement without an operation fails without a code.
      {"gate g a { measure a; }\ng q[0];", "Error No error in line 4 at 8"},
      {"gate g a { cx a; }\ng q[0];", "Error Invalid parameter in line 4 at 8"},
      // A gate is defined from the end of its body on.
      {"early q[0];\ngate early a { x a; }", "Error User defined gate not found in line 3 at 12"},
      // A body statement without its ";" stops at the body's end or the
      // next statement, on its own line.
      {"gate g a { x a }\nh q[0];", "Error Semicolon expected in line 3 at 17"},
      {"gate g a, b { x a\n cx a, b; }\nh q[0];", "Error Semicolon expected in line 4 at 4"},
      {"gate g(w) a { rz(w a; }\nh q[0];", "Error Right paranthesis expected in line 3 at 22"},
      {"gate g(w) a { rz((w) a }\nh q[0];", "Error Right paranthesis expected in line 3 at 25"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadsFailure(kRegisters + c.text), c.failure) << c.text;
  }
}

// A definition of `gate` with `extra` more parameters than it has, over
// its qubits, whose body does something else entirely.
std::string DefinitionOf(const QasmExtensionGate& gate, size_t extra = 0) {
  const GateArity arity = QasmExtensionArity(gate);
  std::string text = std::string("gate ") + gate.name;
  if (arity.parameters + extra > 0) {
    text += "(";
    for (size_t k = 0; k < arity.parameters + extra; ++k) {
      text += (k ? ", w" : "w") + std::to_string(k);
    }
    text += ")";
  }
  text += " a";
  if (arity.qubits == 2) text += ", b";
  return text + " { x a; }\n";
}

// A call of `gate` on `first` (and `second`) with the values 0.5, 1.5, ...
std::string CallOf(const QasmExtensionGate& gate, const std::string& first,
                   const std::string& second) {
  const GateArity arity = QasmExtensionArity(gate);
  std::string text = gate.name;
  if (arity.parameters > 0) {
    text += "(";
    for (size_t k = 0; k < arity.parameters; ++k) {
      text += (k ? ", " : "") + std::to_string(k) + ".5";
    }
    text += ")";
  }
  return text + " " + first + (arity.qubits == 2 ? ", " + second : "") + ";\n";
}

TEST(QasmGateDefinitionsTest, DefinitionOfAKnownGateOutsideTheIncludeIsThatGate) {
  for (const QasmExtensionGate& gate : QasmExtensionGates()) {
    SCOPED_TRACE(gate.name);
    // Whatever the body says, a call is the reader's own gate, also inside
    // the body of a gate defined after it.
    // (Registers q and v: r is one of the gates.)
    const auto circuit = qasm2().loads("qreg q[3];\nqreg v[2];\n" + DefinitionOf(gate) +
                                       CallOf(gate, "q[1]", "q[0]") + "gate outer a, b { " +
                                       CallOf(gate, "b", "a") + "}\nouter q[2], v[1];\n");
    ASSERT_EQ(circuit->gates().size(), 2u);
    const GateRecord& record = *circuit->gates()[0];
    const GateArity arity = QasmExtensionArity(gate);
    EXPECT_EQ(record.gate_type, gate.id);
    const std::vector<uint64_t> call_qubits =
        arity.qubits == 2 ? std::vector<uint64_t>{1, 0} : std::vector<uint64_t>{1};
    EXPECT_EQ(record.qubits, call_qubits);
    EXPECT_EQ(record.params.size(), arity.parameters);
    const GateRecord& outer = *circuit->gates()[1];
    ASSERT_EQ(outer.body.size(), 1u);
    EXPECT_EQ(outer.body[0]->gate_type, gate.id);
    const std::vector<uint64_t> body_qubits =
        arity.qubits == 2 ? std::vector<uint64_t>{4, 2} : std::vector<uint64_t>{4};
    EXPECT_EQ(outer.body[0]->qubits, body_qubits);
  }
}

TEST(QasmGateDefinitionsTest, DefinitionsOfKnownGatesInOtherShapes) {
  const QasmExtensionGate& rzx = *FindQasmExtensionGate("rzx");
  const QasmExtensionGate& ecr = *FindQasmExtensionGate("ecr");
  // Under a name that is no keyword, a definition of another shape is an
  // ordinary gate of the text.
  const auto circuit = Load(DefinitionOf(rzx, 1) + "rzx(1, 2) q[0], q[1];\n");
  ASSERT_EQ(circuit->gates().size(), 1u);
  EXPECT_EQ(circuit->gates()[0]->gate_type, GateId::kComposite);
  EXPECT_EQ(circuit->gates()[0]->label, "rzx");
  // ecr is a keyword: only its own shape is taken.
  EXPECT_EQ(LoadsFailure(kRegisters + DefinitionOf(ecr, 1)),
            "Error Identifier expected in line 3 at 19");
  // A peer's definition of ecr through another gate it defined before; the
  // body is passed over, so the gates it calls need not be readable here.
  const auto peer = Load(
      "gate rzx(param0) q0, q1 { h q1; cx q0, q1; rz(param0) q1; cx q0, q1; h q1; }\n"
      "gate ecr q0, q1 { rzx(pi/4) q0, q1; x q0; rzx(-pi/4) q0, q1; }\n"
      "ecr q[0], q[1];\nrzx(0.25) q[2], q[0];\n");
  ASSERT_EQ(peer->gates().size(), 2u);
  EXPECT_EQ(peer->gates()[0]->gate_type, GateId::kECR);
  EXPECT_EQ(peer->gates()[1]->gate_type, GateId::kRZX);
  EXPECT_EQ(peer->gates()[1]->params, std::vector<double>{0.25});
  // Calls keep the exact counts of the gate; a known gate that is not
  // defined (yet) is an unknown gate.
  EXPECT_EQ(LoadsFailure(kRegisters + DefinitionOf(rzx) + "rzx(1) q[0];"),
            "Error Invalid parameter in line 4 at 13");
  EXPECT_EQ(LoadsFailure(kRegisters + DefinitionOf(rzx) + "rzx q[0], q[1];"),
            "Error Invalid parameter in line 4 at 16");
  EXPECT_EQ(LoadsFailure(std::string(kRegisters) + "gate g a, b { dcx a, b; }\n"),
            "Error Invalid instruction passed in line 3 at 18");
}

TEST(QasmGateDefinitionsTest, CallKeepsThePositionOfTheText) {
  // Evaluating a body's parameters reads the string stream; the position of
  // the text is put back, so a later error on the same line is placed right.
  EXPECT_EQ(LoadsFailure("qreg q[1];\ngate g(w) a { rz(w) a; }\ng(1) q[0]; h r[0];"),
            "Error Invalid parameter in line 3 at 14");
  EXPECT_EQ(LoadsFailure("qreg q[1];\ngate g(w) a { rz(w) a; }\nx q[0];    h r[0];"),
            "Error Invalid parameter in line 3 at 14");
}

}  // namespace

}  // namespace taviron
