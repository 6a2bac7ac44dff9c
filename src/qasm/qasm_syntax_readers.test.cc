#include <gtest/gtest.h>

#include <vector>

#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reading.h"
#include "qasm/qasm_syntax_readers.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

TEST(QasmReadNumberTest, CollectsTheNumberText) {
  struct Case {
    std::string text;
    std::string number;
    Kind next_kind;  // the token left in the stream after the number
  };
  const Case cases[] = {
      {"1.5e-3;", "1.5e-3", Kind::SEMICOLON},
      {"1.5E+3)", "1.5E+3", Kind::RIGHT_PAREN},
      {"2.)", "2.", Kind::RIGHT_PAREN},
      {"2 . 5,", "2.5", Kind::COMMA},
      {"2.\nx", "2.", Kind::NEWLINE},
      {"2.5.3", "2.5", Kind::FULL_STOP},
      {"7 ]", "7", Kind::RIGHT_BRACKET},
      {"3.e;", "3.e", Kind::SEMICOLON},
      {"12", "12", Kind::END_OF_INPUT},
      // Every path of the automaton: signs, a leading full stop, an
      // exponent straight after the sign, the digits or the full stop.
      {"+.5e-3;", "+.5e-3", Kind::SEMICOLON},
      {"-e5;", "-e5", Kind::SEMICOLON},
      {"-.E+2,", "-.E+2", Kind::COMMA},
      {"-5e2;", "-5e2", Kind::SEMICOLON},
      {"1.e5;", "1.e5", Kind::SEMICOLON},
      {"E 3;", "E3", Kind::SEMICOLON},
      {"5.0e+;", "5.0e+", Kind::SEMICOLON},
      {"+-1", "+", Kind::MINUS},
      {"+w;", "+", Kind::IDENTIFIER},
      {"w;", "", Kind::IDENTIFIER},
  };
  for (const Case& c : cases) {
    QasmReading reading;
    ReadFromText(reading, c.text);
    reading.set_error_code(QasmErrorCode::EXPRESSION_ERROR);
    EXPECT_EQ(ReadNumber(reading, reading.tokens().NextToken(false)), c.number) << c.text;
    EXPECT_EQ(reading.tokens().NextToken(false).kind, c.next_kind) << c.text;
  }
  // Only exponent digits reach accept and clear the error code.
  QasmReading reading;
  ReadFromText(reading, "1.5e-3");
  reading.set_error_code(QasmErrorCode::EXPRESSION_ERROR);
  ReadNumber(reading, reading.tokens().NextToken(false));
  EXPECT_EQ(reading.error_code(), QasmErrorCode::NO_ERROR);
  ReadFromText(reading, "2.5;");
  reading.set_error_code(QasmErrorCode::EXPRESSION_ERROR);
  ReadNumber(reading, reading.tokens().NextToken(false));
  EXPECT_EQ(reading.error_code(), QasmErrorCode::EXPRESSION_ERROR);
}

TEST(QasmParseGateStatementTest, ReadsParametersAndOperands) {
  struct Case {
    std::string text;  // everything after the gate name
    std::string register_name;
    std::vector<int64_t> qubits;
    std::vector<double> parameters;
  };
  // q holds the global qubits 0-1, r the qubits 2-4.
  const Case cases[] = {
      {" q;", "q", {}, {}},
      {" q[0];", "q", {0}, {}},
      {" q[1],\n r[2];", "r", {1, 4}, {}},
      {"(pi/2, -1.5e1) r[0];", "r", {2}, {1.5707963267948966, -15.0}},
      {"() q[0];", "q", {0}, {}},
      {"(1)\n\n q[0] , q[1] ;", "q", {0, 1}, {1.0}},
  };
  for (const Case& c : cases) {
    DeclaredCircuit declared({{"q", 2}, {"r", 3}});
    ReadFromText(declared.reading, c.text);
    QasmToken token = declared.reading.tokens().NextToken(false);
    QasmStatement statement;
    ASSERT_TRUE(ParseGateStatement(declared.reading, *declared.circuit, token, statement))
        << c.text << " code " << declared.reading.error_code();
    EXPECT_EQ(token.kind, Kind::SEMICOLON);
    EXPECT_EQ(statement.register_name, c.register_name) << c.text;
    EXPECT_EQ(statement.qubits, c.qubits) << c.text;
    EXPECT_EQ(statement.parameters, c.parameters) << c.text;
    EXPECT_EQ(declared.reading.error_code(), QasmErrorCode::NO_ERROR);
  }
}

TEST(QasmParseGateStatementTest, RefusesMalformedStatements) {
  struct Case {
    std::string text;
    QasmErrorCode code;
  };
  const Case cases[] = {
      {"(pi/2) q;", QasmErrorCode::INVALID_PARAMETER},   // whole register after parameters
      {" q, r;", QasmErrorCode::INVALID_PARAMETER},      // two whole registers
      {" q[0], r;", QasmErrorCode::INVALID_PARAMETER},   // whole register after an index
      {" q[0]\nh q[1];", QasmErrorCode::INVALID_PARAMETER},  // no semicolon
      {" c[0];", QasmErrorCode::INVALID_PARAMETER},      // classical register operand
      {" s[0];", QasmErrorCode::INVALID_PARAMETER},      // undeclared register
      {"\n q[0];", QasmErrorCode::INVALID_PARAMETER},    // line feed before the operands
      {" q[0];\r", QasmErrorCode::NO_ERROR},             // complete before the CR
      {" q[2];", QasmErrorCode::NUMBER_OUT_OF_RANGE},
      {" zero[0];", QasmErrorCode::NUMBER_OUT_OF_RANGE},    // register of size 0
      {" q[99999999999];", QasmErrorCode::NON_NEGATIVE_NUMBER_EXPECTED},
      {"(theta) q[0];", QasmErrorCode::EXPRESSION_ERROR},
      {"(1/0) q[0];", QasmErrorCode::EXPRESSION_ERROR},
      {"(1e400) q[0];", QasmErrorCode::EXPRESSION_ERROR},
  };
  for (const Case& c : cases) {
    DeclaredCircuit declared({{"q", 2}, {"r", 3}, {"zero", 0}}, {{"c", 5}});
    ReadFromText(declared.reading, c.text);
    QasmToken token = declared.reading.tokens().NextToken(false);
    QasmStatement statement;
    EXPECT_EQ(ParseGateStatement(declared.reading, *declared.circuit, token, statement),
              c.code == QasmErrorCode::NO_ERROR)
        << c.text;
    EXPECT_EQ(declared.reading.error_code(), c.code) << c.text;
  }
}

TEST(QasmParseGateStatementTest, RefusedTokenGoesBackIntoTheStream) {
  DeclaredCircuit declared({{"q", 2}});
  ReadFromText(declared.reading, " q[0] x q[1];");
  QasmToken token = declared.reading.tokens().NextToken(false);
  QasmStatement statement;
  EXPECT_FALSE(ParseGateStatement(declared.reading, *declared.circuit, token, statement));
  EXPECT_EQ(declared.reading.tokens().NextToken(false).kind, Kind::KW_X);
}

}  // namespace

}  // namespace taviron
