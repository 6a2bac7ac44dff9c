#include "qasm/qasm_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/quantum_circuit.h"
#include "foundation/exceptions.h"
#include "qasm/qasm_reader.h"
#include "qasm/qelib_gate_names.h"
#include "qasm/testing/qasm_text_rules.h"

namespace taviron {

namespace {

constexpr double kPi = 3.141592653589793;

const char kHeader[] =
    "OPENQASM 2.0;\n"
    "include \"qelib1.inc\";\n";

// A circuit of quantum register "q" and classical register "c" of the
// given sizes, with an ancilla register "anc" when ancillas is not 0.
std::unique_ptr<QuantumCircuit> Circuit(int32_t qubits, int32_t clbits,
                                        int32_t ancillas = 0) {
  QuantumRegister q(qubits, "q");
  ClassicalRegister c(clbits, "c");
  AncillaRegister anc(ancillas, "anc");
  std::vector<RegisterArgument> args = {&q};
  if (ancillas != 0) args.push_back(&anc);
  args.push_back(&c);
  return std::make_unique<QuantumCircuit>(args);
}

std::string Write(const QuantumCircuit& circuit) {
  return WriteQasm(MakeQelibGateNames(), circuit);
}

TEST(QasmWriterTest, StandardNamesInOrder) {
  EXPECT_EQ(MakeQelibGateNames(),
            (std::vector<std::string>{"ccx", "cswap", "crx", "cry", "crz",
                                      "cu1", "cp", "cu3", "csx", "cu", "rxx",
                                      "rzz", "rccx", "rc3x", "c3x", "c3sqrtx",
                                      "c4x"}));
}

TEST(QasmWriterTest, EveryFamilyOfRecords) {
  auto qc = Circuit(2, 2);
  qc->h(0);
  qc->rx(kPi / 2, 1);
  qc->cx(0, 1);
  qc->gms(0.5, {0, 1});
  qc->x(1)->c_if(qc->classical_registers()[0], 1);
  qc->z(0)->c_if_clbit(1, 0);
  qc->barrier();
  qc->reset(1);
  qc->measure(0, 0);
  qc->measure(1, 1);
  const std::string expected = std::string(kHeader) +
                               "\n// Register definitions\n"
                               "qreg q[2];\n"
                               "creg c[2];\n"
                               "\n// Custom gate definitions\n"
                               "gate gms (p_a) q_a, q_b {\n"
                               "  rxx(0.5) q_a, q_b;\n"
                               "}\n"
                               "\n// Instructions\n"
                               "h q[0];\n"
                               "rx(pi/2) q[1];\n"
                               "cx q[0], q[1];\n"
                               "gms(0.5) q[0], q[1];\n"
                               "if (c == 1) x q[1];\n"
                               "if (c[1]  == 0) z q[0];\n"
                               "barrier q[0];\n"
                               "barrier q[1];\n"
                               "reset q[1];\n"
                               "measure q[0] -> c[0];\n"
                               "measure q[1] -> c[1];\n";
  EXPECT_EQ(Write(*qc), expected);
  EXPECT_EQ(Write(*qc), expected);  // writing changes nothing
}

TEST(QasmWriterTest, EmptyCircuitWithAncillaRegister) {
  auto qc = Circuit(2, 3, 1);
  EXPECT_EQ(Write(*qc), std::string(kHeader) +
                            "\n// Register definitions\n"
                            "qreg q[2];\n"
                            "qreg anc[1];\n"
                            "creg c[3];\n"
                            "\n// Instructions\n");
}

TEST(QasmWriterTest, AncillaQubitNamedByRegisterAndByIndex) {
  auto qc = Circuit(2, 3, 1);
  qc->ccz(0, 1, 2);
  const std::string text = Write(*qc);
  EXPECT_NE(text.find("gate ccz q_a, q_b, q_c {\n  h q_c;\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\nccz q[0], q[1], anc[0];\n"), std::string::npos)
      << text;
}

TEST(QasmWriterTest, StandardCompositesGetNoDefinition) {
  auto qc = Circuit(5, 5);
  qc->ccx(0, 1, 2);
  qc->rccx(0, 1, 2);
  qc->cswap(0, 1, 2);
  qc->rc3x(0, 1, 2, 3);
  qc->c3x(0, 1, 2, 3);
  qc->c3sqrtx(0, 1, 2, 3);
  qc->c4x(0, 1, 2, 3, 4);
  EXPECT_EQ(Write(*qc), std::string(kHeader) +
                            "\n// Register definitions\n"
                            "qreg q[5];\n"
                            "creg c[5];\n"
                            "\n// Instructions\n"
                            "ccx q[0], q[1], q[2];\n"
                            "rccx q[0], q[1], q[2];\n"
                            "cswap q[0], q[1], q[2];\n"
                            "rc3x q[0], q[1], q[2], q[3];\n"
                            "c3x q[0], q[1], q[2], q[3];\n"
                            "c3sqrtx q[0], q[1], q[2], q[3];\n"
                            "c4x q[0], q[1], q[2], q[3], q[4];\n");
}

TEST(QasmWriterTest, CompositesThatDifferGetDefinitionsOfTheirOwn) {
  auto qc = Circuit(3, 3);
  qc->mcp(kPi / 4, {0}, 1);
  qc->mcp(kPi / 2, {1}, 2);  // same name, other angle: a definition of its own
  qc->mcp(kPi / 4, {1}, 2);  // same body on other qubits: shares the first
  qc->ccx(0, 1, 2, "tof");
  qc->ccx(0, 1, 2, "TOF");  // no valid name; its lower-case form is taken
  qc->mcrx(kPi, {0, 1}, 2);
  const std::string text = Write(*qc);
  // Parameters are named in the header; the body holds the values.
  EXPECT_NE(text.find("gate mcphase (p_a) q_a, q_b {\n  cp(pi/4) q_a, q_b;\n}\n"),
            std::string::npos) << text;
  EXPECT_NE(text.find("gate mcphase_1 (p_a) q_a, q_b {\n  cp(pi/2) q_a, q_b;\n}\n"),
            std::string::npos) << text;
  EXPECT_NE(text.find("gate tof q_a, q_b, q_c {\n  h q_c;\n"), std::string::npos) << text;
  EXPECT_NE(text.find("gate tof_1 q_a, q_b, q_c {\n  h q_c;\n"), std::string::npos) << text;
  // The renamed Toffoli's definition holds its fifteen body records.
  const size_t tof = text.find("gate tof ");
  const std::string tof_definition = text.substr(tof, text.find("}\n", tof) - tof);
  EXPECT_EQ(std::count(tof_definition.begin(), tof_definition.end(), '\n'), 1 + 15)
      << tof_definition;
  EXPECT_NE(text.find("gate mcrx (p_a) q_a, q_b, q_c {\n"), std::string::npos) << text;
  // A cu leaf inside a body writes its four parameters without blanks.
  EXPECT_NE(text.find("  cu(pi/2,-pi/2,pi/2,0) q_"), std::string::npos) << text;
  const std::string instructions = text.substr(text.find("// Instructions"));
  EXPECT_EQ(instructions,
            "// Instructions\n"
            "mcphase(pi/4) q[0], q[1];\n"
            "mcphase_1(pi/2) q[1], q[2];\n"
            "mcphase(pi/4) q[1], q[2];\n"
            "tof q[0], q[1], q[2];\n"
            "tof_1 q[0], q[1], q[2];\n"
            "mcrx(pi) q[0], q[1], q[2];\n");
}

TEST(QasmWriterTest, CompositeLabelsBecomeFreeValidNames) {
  struct Case {
    std::string label;
    std::string name;
  };
  const Case cases[] = {
      {"h", "h_1"},            // a gate keyword of the reader
      {"pi", "pi_1"},          // another word of the reader
      {"q", "q_1"},            // the register's name
      {"ccz", "ccz"},          // not standard: kept
      {"two words", "two_words"},
      {"3way", "g3way"},
      {"_hidden", "g_hidden"},
  };
  for (const Case& c : cases) {
    auto qc = Circuit(2, 2);
    QuantumCircuit inner(2, 0, c.label, 0.0);
    inner.h(0);
    qc->compose(inner, {}, {}, false, true);
    const std::string text = Write(*qc);
    EXPECT_NE(text.find("gate " + c.name + " q_a, q_b {\n  h q_a;\n}\n"), std::string::npos)
        << c.label << "\n" << text;
    EXPECT_NE(text.find("\n" + c.name + " q[0], q[1];\n"), std::string::npos) << text;
  }
}

// A composite labelled `label` on qubits 0 and 1 of `qc`, holding one h.
void ComposeNamed(QuantumCircuit& qc, const std::string& label) {
  QuantumCircuit inner(qc.total_qubits(), 0, label, 0.0);
  inner.h(0);
  qc.compose(inner, {}, {}, false, true);
}

// The text as the reader takes it, written again.
std::string Rewritten(const std::string& text) { return Write(*qasm2().loads(text)); }

TEST(QasmWriterTest, EveryNameFollowsOpenQasm) {
  // Labels that are no valid OpenQASM name, a built-in gate of the
  // language, or a gate the reader knows outside qelib1.inc.
  auto qc = Circuit(2, 2);
  qc->gms(0.5, {0, 1});
  qc->pauli({0, 1}, "XZ");
  for (const char* label : {"Sub", "U", "CX", "dcx", "rzx", "delay", "gms"}) {
    ComposeNamed(*qc, label);
  }
  const std::string text = Write(*qc);
  EXPECT_EQ(QasmTextRuleViolation(text), "") << text;
  for (const char* name : {"gms", "pauli", "sub", "u_1", "cx_1", "dcx_1", "rzx_1", "delay_1",
                           "gms_1"}) {
    EXPECT_NE(text.find("\ngate " + std::string(name) + " "), std::string::npos)
        << name << "\n" << text;
  }
  EXPECT_EQ(Rewritten(text), text);
}

TEST(QasmWriterTest, RegisterNamesCannotBecomeStatements) {
  QuantumRegister injected(2, "a[1];\nx r[0];\nqreg b");
  QuantumRegister upper(1, "Q");
  QuantumRegister keyword(1, "h");
  QuantumRegister taken(1, "q");
  ClassicalRegister bits(2, "c) x q[0]; if (c");
  std::vector<RegisterArgument> args = {&injected, &upper, &keyword, &taken, &bits};
  QuantumCircuit qc(args);
  qc.h(0);
  qc.cx(1, 2);
  qc.x(3)->c_if(qc.classical_registers()[0], 1);
  qc.measure(4, 1);
  const std::string text = Write(qc);
  EXPECT_EQ(QasmTextRuleViolation(text), "") << text;
  EXPECT_NE(text.find("qreg a_1___x_r_0___qreg_b[2];\nqreg q_1[1];\nqreg h_1[1];\nqreg q[1];\n"
                      "creg c__x_q_0___if__c[2];\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("if (c__x_q_0___if__c == 1) x h_1[0];\nmeasure q[0] -> c__x_q_0___if__c[1];"),
            std::string::npos)
      << text;
  // The text reads back to the same records: nothing was added.
  const auto read = qasm2().loads(text);
  EXPECT_EQ(read->gates().size(), qc.gates().size());
  EXPECT_EQ(Write(*read), text);
}

TEST(QasmWriterTest, ArgumentNamesAvoidRegistersAndGates) {
  QuantumRegister q(2, "q_a");
  QuantumRegister p(1, "p_a");
  std::vector<RegisterArgument> args = {&q, &p};
  QuantumCircuit qc(args);
  qc.mcp(0.25, {0}, 2);
  ComposeNamed(qc, "q_b");
  const std::string text = Write(qc);
  EXPECT_EQ(QasmTextRuleViolation(text), "") << text;
  EXPECT_NE(text.find("gate mcphase (p_a_1) q_a_1, q_b_1 {\n  cp(0.25) q_a_1, q_b_1;\n}\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(Rewritten(text), text);
}

TEST(QasmWriterTest, GatesOutsideTheIncludeAreDefinedWhereCalled) {
  auto qc = Circuit(3, 3);
  qc->rzx(0.5, 0, 1);
  qc->rzx(-1.5, 2, 0);  // defined once
  qc->r(0.25, 1.0, 2);
  qc->rv(0.0, 0.0, 0.5, 1);  // written as u: no definition
  QuantumCircuit inner(3, 0, "inner", 0.0);
  inner.iswap(0, 2);
  inner.ecr(1, 0);
  qc->compose(inner, {}, {}, false, true);
  const std::string text = Write(*qc);
  EXPECT_EQ(QasmTextRuleViolation(text), "") << text;
  // In the order of the gates' table, before the composites that call them.
  const size_t rzx = text.find("\ngate rzx (p_a) q_a, q_b {\n  h q_b;\n");
  const size_t r = text.find("\ngate r (p_a, p_b) q_a {\n  u3(p_a, p_b - pi/2, pi/2 - p_b) q_a;\n}\n");
  const size_t iswap = text.find("\ngate iswap q_a, q_b {\n");
  const size_t ecr = text.find("\ngate ecr q_a, q_b {\n");
  const size_t composite = text.find("\ngate inner q_a, q_b, q_c {\n  iswap q_a, q_c;\n  ecr q_b, q_a;\n}\n");
  ASSERT_NE(composite, std::string::npos) << text;
  EXPECT_TRUE(r < iswap && iswap < rzx && rzx < ecr && ecr < composite) << text;
  EXPECT_EQ(text.find("gate rzx", rzx + 2), std::string::npos) << text;
  EXPECT_EQ(text.find("gate rv"), std::string::npos) << text;
  EXPECT_NE(text.find("\nu(0, 0.25, 0.25) q[1];\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nrzx(-1.5) q[2], q[0];\n"), std::string::npos) << text;
  // The reader takes those definitions as its own gates: the same records.
  const auto read = qasm2().loads(text);
  ASSERT_EQ(read->gates().size(), 5u);
  EXPECT_EQ(read->gates()[0]->gate_type, GateId::kRZX);
  EXPECT_EQ(read->gates()[2]->gate_type, GateId::kR);
  EXPECT_EQ(read->gates()[4]->body[1]->gate_type, GateId::kECR);
  EXPECT_EQ(Write(*read), text);
  // A circuit that calls none of them defines none.
  EXPECT_EQ(Write(*Circuit(1, 1)).find("gate "), std::string::npos);
}

TEST(QasmWriterTest, OnlyTheGenuineStandardCompositeIsCalledByItsName) {
  // A circuit named ccx on three qubits, and a relative-phase Toffoli
  // labelled ccx: neither is the Toffoli of qelib1.inc.
  auto qc = Circuit(3, 3);
  ComposeNamed(*qc, "ccx");
  qc->rccx(0, 1, 2, "ccx");
  qc->ccx(2, 0, 1, "CCX");
  ComposeNamed(*qc, "crx");
  const std::string text = Write(*qc);
  EXPECT_EQ(QasmTextRuleViolation(text), "") << text;
  EXPECT_EQ(text.substr(text.find("// Instructions")),
            "// Instructions\n"
            "ccx_1 q[0], q[1], q[2];\n"
            "ccx_2 q[0], q[1], q[2];\n"
            "ccx q[2], q[0], q[1];\n"
            "crx_1 q[0], q[1], q[2];\n");
  EXPECT_EQ(Rewritten(text), text);
}

TEST(QasmWriterTest, WhatNoDefinitionExpressesIsRefused) {
  // Composites that hold a measurement, a reset or a condition. (A condition
  // on a register the circuit does not hold is refused by c_if itself.)
  const std::vector<std::function<void(QuantumCircuit&)>> cases = {
      [](QuantumCircuit& qc) {
        QuantumCircuit inner(2, 2, "inner", 0.0);
        inner.measure(1, 0);
        qc.compose(inner, {}, {}, false, true);
      },
      [](QuantumCircuit& qc) {
        QuantumCircuit inner(2, 0, "inner", 0.0);
        inner.reset(1);
        qc.compose(inner, {}, {}, false, true);
      },
      [](QuantumCircuit& qc) {
        QuantumCircuit inner(2, 2, "inner", 0.0);
        inner.x(1)->c_if_clbit(0, 1);
        QuantumCircuit outer(2, 2, "outer", 0.0);
        outer.compose(inner, {}, {}, false, true);
        qc.compose(outer, {}, {}, false, true);
      },
  };
  for (size_t k = 0; k < cases.size(); ++k) {
    auto qc = Circuit(2, 2);
    cases[k](*qc);
    EXPECT_THROW(Write(*qc), RunTimeError) << k;
  }
}

TEST(QasmWriterTest, NestedCompositesAreWrittenOutInTheirDefinition) {
  auto qc = Circuit(3, 3);
  QuantumCircuit inner(3, 0, "inner", 0.0);
  inner.ccz(0, 1, 2);  // not standard: written out
  inner.ccx(0, 1, 2);  // standard: called by name
  qc->compose(inner, {}, {}, false, true);
  const std::string text = Write(*qc);
  const size_t start = text.find("gate inner q_a, q_b, q_c {\n");
  ASSERT_NE(start, std::string::npos) << text;
  const std::string definition = text.substr(start, text.find("}\n", start) - start);
  EXPECT_EQ(definition.find("ccz"), std::string::npos) << definition;
  EXPECT_NE(definition.find("  h q_c;\n"), std::string::npos) << definition;
  EXPECT_NE(definition.find("  ccx q_a, q_b, q_c;\n"), std::string::npos) << definition;
}

TEST(QasmWriterTest, NonFiniteParameterIsRefusedNamingTheGate) {
  for (double value : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    auto qc = Circuit(2, 2);
    qc->rx(value, 1);
    try {
      Write(*qc);
      ADD_FAILURE() << value << " written";
    } catch (const RunTimeError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Gate rx has the parameter ", 0), 0u) << e.what();
    }
  }
  // Inside a definition's body too.
  auto qc = Circuit(2, 2);
  qc->mcp(std::nan(""), {0}, 1);
  EXPECT_THROW(Write(*qc), RunTimeError);
}

TEST(QasmWriterTest, GateNamesParametersAndConditionValues) {
  auto qc = Circuit(2, 2);
  qc->i(0);
  qc->u3(kPi, 0, kPi / 4, 1);
  qc->cnot(1, 0);
  qc->cu(0.5, 0, 0, 7.0, 0, 1);
  qc->y(1)->c_if_clbit(0, UINT64_MAX);
  const std::string text = Write(*qc);
  EXPECT_EQ(text.substr(text.find("// Instructions")),
            "// Instructions\n"
            "id q[0];\n"
            "u(pi, 0, pi/4) q[1];\n"
            "cx q[1], q[0];\n"
            "cu(0.5, 0, 0, 7) q[0], q[1];\n"
            "if (c[0]  == 18446744073709551615) y q[1];\n");
}

TEST(QasmWriterTest, OperandOutsideEveryRegisterFails) {
  struct Case {
    const char* name;
    uint64_t qubit;
    uint64_t clbit;
    const char* message;
  };
  const Case cases[] = {
      {"qubit", 7, 0, "Invalid Qubit Index: 7"},
      {"classical bit", 0, 9, "Invalid Classical Bit Index: 9"},
  };
  for (const Case& c : cases) {
    auto qc = Circuit(2, 2);
    auto record = std::make_shared<GateRecord>();
    record->gate_type = GateId::kMeasure;
    record->qubits = {c.qubit};
    record->clbits = {c.clbit};
    qc->mutable_gates().push_back(record);
    try {
      Write(*qc);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const RunTimeError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
}

}  // namespace

}  // namespace taviron
