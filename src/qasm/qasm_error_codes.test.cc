#include <gtest/gtest.h>

#include "qasm/qasm_error_codes.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

TEST(QasmErrorCodesTest, MessagesAreStoredExactly) {
  ASSERT_EQ(QasmErrorMessages.size(), 34u);
  using Code = QasmErrorCode;
  // The codes that no reading of text can report.
  EXPECT_EQ(QasmErrorMessage(Code::INSUFFICIENT_MEMORY), "Insufficient memory");
  EXPECT_EQ(QasmErrorMessage(Code::LEFT_BRACE_EXPECTED), "Left curly braces expected");
  EXPECT_EQ(QasmErrorMessage(Code::DEFAULT_INCLUDE_EXPECTED), "Default include expected");
  EXPECT_EQ(QasmErrorMessage(Code::DIVIDE_BY_ZERO), "Divide by zero");
  EXPECT_EQ(QasmErrorMessage(Code::QUANTUM_REGISTER_EXPECTED), "Quantum register expected");
  EXPECT_EQ(QasmErrorMessage(Code::QUBIT_EXPECTED), "Atleast one qubit expected");
  EXPECT_EQ(QasmErrorMessage(Code::NOT_OPENQASM_2_0), "Not OpenQasm 2.0");
  EXPECT_EQ(QasmErrorMessage(Code::GATE_REGISTRATION_ERROR),
            "Error registering gate with the quantum circuit");
  EXPECT_EQ(QasmPassFailureText(Code::INVALID_PARAMETER, 2, 3),
            "Error Invalid parameter in line 3 at 3");
}

TEST(QasmErrorCodesTest, EveryReportedCodeReachesTheExceptionText) {
  struct Case {
    std::string text;
    std::string failure;
  };
  const Case cases[] = {
      // Declarations pass.
      // Nothing to read: said as such, where the reader stopped or at the
      // first statement.
      {"", "Error Empty program: no statement found in line 1 at 1"},
      {"\n// a comment\n\n", "Error Empty program: no statement found in line 4 at 2"},
      {"\nh q[0];", "Error No OPENQASM 2.0 line and no declaration found; first statement in line 2 at 2"},
      {"qreg 1[2];", "Error Identifier expected in line 1 at 5"},
      {"qreg q[1];\ncreg q[1];", "Error Duplicate definition in line 2 at 6"},
      {"qreg q[1]; gate g { }", "Error Left paranthesis expected in line 1 at 18"},
      {"qreg q[1]; gate g(,a) b { }", "Error Parameter expected in line 1 at 18"},
      {"qreg q[1]; gate g(", "Error Premature end of file in line 1 at 19"},
      {"qreg q[1]; gate g(a b) c { }", "Error Right paranthesis expected in line 1 at 20"},
      {"qreg q[1]", "Error Semicolon expected in line 1 at 10"},
      {"qreg q-a[1];", "Error Left square bracket expected in line 1 at 6"},
      {"qreg q[1;", "Error Right square bracket expected in line 1 at 8"},
      {"qreg q[-1];", "Error Non-negative number expected in line 1 at 7"},
      {"include qelib1.inc;", "Error Quotation mark expected in line 1 at 14"},
      {"include \"\";", "Error Filename expected in line 1 at 10"},
      {"include \"qelib1\";", "Error Fullstop expected in line 1 at 16"},
      {"include \"qelib1.\";", "Error Filename extension expected in line 1 at 17"},
      // Statements pass.
      {"qreg q[1];\nh r[0];", "Error Invalid parameter in line 2 at 3"},
      {"qreg q[1];\nrz(theta) q[0];", "Error Error in arithmatic expression in line 2 at 9"},
      {"qreg q[1];\ngate g a { rz(1.0e400) a; }\ng q[0];",
       "Error Number format Error in line 3 at 8"},
      {"qreg q[1];\ngate g a { f a; }", "Error Invalid instruction passed in line 2 at 13"},
      {"qreg q[1];\nh q[1];", "Error Number is out of range in line 2 at 6"},
      {"qreg q[1];\nfoo q[0];", "Error User defined gate not found in line 2 at 10"},
      {"qreg q[1];\ngate g(w) a { rz(w) a; }\ng q[0];",
       "Error Parameter list is not matching in line 3 at 8"},
      {"qreg q[1]; creg c[1];\nmeasure r[0] -> c[0];", "Error Invalid Register Name in line 2 at 10"},
      {"qreg q[1]; creg c[1];\nmeasure q[0] => c[0];", "Error Invalid operator in line 2 at 15"},
      {"qreg q[1]; creg c[1];\nmeasure q[0] -> 5;",
       "Error Classical register expected in line 2 at 18"},
      {"qreg q[1]; creg c[1];\nif (c = 1) x q[0];",
       "Error Check for equality expected in line 2 at 10"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadsFailure(c.text), c.failure) << c.text;
  }
}

TEST(QasmErrorCodesTest, StatementReadersRecordTheirCodes) {
  struct Case {
    std::string statement;
    std::string message;
  };
  const Case cases[] = {
      {"measure q[0] -> c 0;", "Left square bracket expected"},
      {"measure q 0;", "Left square bracket expected"},
      {"measure q[0 -> c[0];", "Right square bracket expected"},
      {"measure q[a] -> c[0];", "Non-negative number expected"},
      {"measure q[0] -> c[0]", "Semicolon expected"},
      {"measure q -> c", "Semicolon expected"},
      {"measure q - c;", "Invalid operator"},
      {"measure q[0] -> q[0];", "Invalid Register Name"},
      {"if c == 1) x q[0];", "Left paranthesis expected"},
      {"if (5 == 1) x q[0];", "Identifier expected"},
      {"if (q == 1) x q[0];", "Classical register expected"},
      {"if (c == 1 x q[0];", "Right paranthesis expected"},
      {"if (c ! 1) x q[0];", "Left square bracket expected"},
      {"if (c[0] 1) x q[0];", "Check for equality expected"},
      {"if (c[2] == 1) x q[0];", "Number is out of range"},
      {"if (c == 99999999999) x q[0];", "Non-negative number expected"},
      {"if (c == 1) if (c == 1) x q[0];", "Error in arithmatic expression"},
      {"cx q;", "Invalid parameter"},
      {"u(1, 2) q[0];", "Invalid parameter"},
      {"cu(1, 2, 3) q[0], q[1];", "Invalid parameter"},
      {"cx q[0], q[1], q[0];", "Invalid parameter"},
      {"h\nq[0];", "Invalid parameter"},
      {"h q[0];\r\n", "Invalid parameter"},
      // Failures without a code of their own.
      {"5 q[0];", "No error"},
      {"}", "No error"},
      {"h", "No error"},
  };
  for (const Case& c : cases) {
    const std::string failure =
        LoadsFailure("qreg q[2]; qreg empty[0]; creg c[2];\n" + c.statement);
    EXPECT_EQ(failure.rfind("Error " + c.message + " in line 2 at ", 0), 0u)
        << c.statement << " -> " << failure;
  }
}

}  // namespace

}  // namespace taviron
