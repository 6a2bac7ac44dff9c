#include "qasm/testing/qasm_text_rules.h"

#include <string>

#include <gtest/gtest.h>

namespace taviron {

namespace {

const char kHead[] = "OPENQASM 2.0;\ninclude \"qelib1.inc\";\nqreg q[2];\ncreg c[2];\n";

TEST(QasmTextRulesTest, AcceptsWhatOpenQasmAllows) {
  EXPECT_EQ(QasmTextRuleViolation(
                std::string(kHead) +
                "gate rzx (p_a) q_a, q_b {\n  h q_b;\n  rz(p_a/2) q_b;\n}\n"
                "gate my_Gate (p_a) q_a {\n  u3(p_a, -pi/2, 1.0e-07) q_a;\n}\n"
                "rzx(0.5) q[0], q[1];\nmy_Gate(-2) q[1];\nif (c == 3) cx q[1], q[0];\n"
                "if (c[1]  == 1) x q[0];\nmeasure q[0] -> c[1];\nreset q[1];\nbarrier q[0], q[1];\n"),
            "");
}

TEST(QasmTextRulesTest, FindsTheFirstBrokenRule) {
  const struct {
    const char* text;
    const char* problem;
  } cases[] = {
      {"gate Gms (p_a) q_a {\n  rx(p_a) q_a;\n}\n", "gate name Gms"},
      {"gate U q_a {\n}\n", "gate name U"},
      {"gate dcx q_a {\n}\n", "gate name dcx"},
      {"gate dcx q_a, q_b {\n}\ngate dcx q_a, q_b {\n}\n", "gate name dcx"},
      {"gate g q_a {\n}\ngate q q_a {\n}\n", "gate name q"},
      {"qreg a[1];\nx r[0];\n", "operand r"},
      {"qreg h[1];\n", "register name"},
      {"gate g q, b {\n}\n", "argument or parameter q is also a register or gate name"},
      {"gate g (x) a {\n}\n", "argument or parameter name x"},
      {"gate g a {\n  h b;\n}\n", "operand b is no argument"},
      {"gate g a {\n  rz(w) a;\n}\n", "unknown name w in an expression"},
      {"rzx(0.5) q[0], q[1];\n", "gate rzx is not defined"},
      {"cx q[0];\n", "gate cx called with other numbers"},
      {"h q[2];\n", "operand q"},
      {"measure c[0] -> q[0];\n", "operand c"},
      {"if (q == 1) x q[0];\n", "condition register"},
  };
  for (const auto& c : cases) {
    const std::string problem = QasmTextRuleViolation(std::string(kHead) + c.text);
    EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << c.text << "\n" << problem;
  }
}

}  // namespace

}  // namespace taviron
