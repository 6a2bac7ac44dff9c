#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_expression_evaluator.h"
#include "qasm/qasm_reading.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

struct Evaluation {
  ExpressionResult result;
  QasmErrorCode error_code;
  QasmToken next;  // the token read after the evaluation
};

Evaluation Evaluate(const std::string& text, const std::vector<std::string>& names = {},
                    const std::vector<double>& values = {}) {
  QasmReading reading;
  ReadFromText(reading, text);
  QasmToken token = reading.tokens().NextToken(false);
  Evaluation evaluation;
  evaluation.result =
      QasmExpressionEvaluator(reading).EvaluateExpression(token, false, names, values);
  evaluation.error_code = reading.error_code();
  evaluation.next = reading.tokens().NextToken(false);
  return evaluation;
}

TEST(QasmExpressionEvaluatorTest, ComputesValues) {
  struct Case {
    std::string text;
    double value;
  };
  const Case cases[] = {
      {"pi/2;", 1.5707963267948966},
      {"-pi/2;", -1.5707963267948966},
      {"3*pi/4;", 2.356194490192345},
      {"1-2;", -1.0},
      {"1-2-3;", -4.0},
      {"2*-3;", -6.0},
      {"-2^2;", -4.0},
      {"2^-1;", 0.5},
      {"-(1+2);", -3.0},
      {"2^3^2;", 64.0},
      {"(1+2)*3;", 9.0},
      {"sqrt(4)+1;", 3.0},
      {"sqrt\n(4)+1;", 3.0},
      {"+-+1;", -1.0},
      {"8/2/2;", 2.0},
      {"2 * (3 + (4 - 1)) / 4;", 3.0},
      {"cos(0) + sin(pi/2) + exp(0) + ln(1) + cbrt(27);", 6.0},
      {"atan(1)*4 - acos(-1) + asin(0) + tan(0);", 0.0},
      {"1.5e1 + 2.;", 17.0},
      {"PI - Pi;", 0.0},
  };
  for (const Case& c : cases) {
    const Evaluation evaluation = Evaluate(c.text);
    ASSERT_TRUE(evaluation.result.ok) << c.text << " code " << evaluation.error_code;
    EXPECT_NEAR(evaluation.result.value, c.value, 1e-15 * std::max(1.0, std::abs(c.value)))
        << c.text;
  }
  EXPECT_EQ(Evaluate("pi/2;").result.value, 1.5707963267948966);
}

TEST(QasmExpressionEvaluatorTest, BindsParameterNames) {
  const Evaluation half = Evaluate("theta/2;", {"phi", "theta"}, {7.0, 0.5});
  ASSERT_TRUE(half.result.ok);
  EXPECT_EQ(half.result.value, 0.25);
  const Evaluation unbound = Evaluate("phi;", {"theta"}, {0.5});
  EXPECT_FALSE(unbound.result.ok);
  EXPECT_EQ(unbound.error_code, QasmErrorCode::INVALID_PARAMETER);
}

TEST(QasmExpressionEvaluatorTest, RefusesMalformedExpressions) {
  struct Case {
    std::string text;
    QasmErrorCode code;
  };
  const Case cases[] = {
      {"1/0;", QasmErrorCode::EXPRESSION_ERROR},
      {"1/-0;", QasmErrorCode::EXPRESSION_ERROR},
      {"(1+2;", QasmErrorCode::EXPRESSION_ERROR},
      {"2*;", QasmErrorCode::EXPRESSION_ERROR},
      {"*2;", QasmErrorCode::EXPRESSION_ERROR},
      {"1.0e400;", QasmErrorCode::NUMBER_FORMAT_ERROR},
      {"foo;", QasmErrorCode::INVALID_PARAMETER},
      // A keyword other than pi and the functions ends the expression at once.
      {"x;", QasmErrorCode::EXPRESSION_ERROR},
      // 1e5 is one word, an identifier naming no parameter.
      {"1e5;", QasmErrorCode::INVALID_PARAMETER},
      // A function needs its parentheses; it records no code of its own.
      {"cos pi;", QasmErrorCode::NO_ERROR},
      {"sin(1;", QasmErrorCode::NO_ERROR},
      // No operand at all, and operands without an operator between them.
      {".5;", QasmErrorCode::EXPRESSION_ERROR},
      {";", QasmErrorCode::EXPRESSION_ERROR},
      {"2 3;", QasmErrorCode::EXPRESSION_ERROR},
      {"(2 3);", QasmErrorCode::EXPRESSION_ERROR},
      {"sin();", QasmErrorCode::EXPRESSION_ERROR},
      // A value that is no finite number.
      {"ln(0);", QasmErrorCode::EXPRESSION_ERROR},
      {"sqrt(-1);", QasmErrorCode::EXPRESSION_ERROR},
      {"exp(1000);", QasmErrorCode::EXPRESSION_ERROR},
      {"1.0e308*10;", QasmErrorCode::EXPRESSION_ERROR},
      {"0^-1;", QasmErrorCode::EXPRESSION_ERROR},
  };
  for (const Case& c : cases) {
    const Evaluation evaluation = Evaluate(c.text);
    EXPECT_FALSE(evaluation.result.ok) << c.text;
    EXPECT_EQ(evaluation.result.value, 0.0) << c.text;
    EXPECT_EQ(evaluation.error_code, c.code) << c.text;
  }
  // A name that two parameters share stands for two operands.
  EXPECT_FALSE(Evaluate("a;", {"a", "a"}, {1.0, 2.0}).result.ok);
}

TEST(QasmExpressionEvaluatorTest, StopsAtTheTokenThatEndsTheExpression) {
  // A comma or an unmatched closing parenthesis stays in the stream; a
  // semicolon is consumed.
  const Evaluation comma = Evaluate("1+2, 3");
  EXPECT_EQ(comma.result.value, 3.0);
  EXPECT_EQ(comma.next.kind, Kind::COMMA);
  const Evaluation paren = Evaluate("(1+2)*2) q");
  EXPECT_EQ(paren.result.value, 6.0);
  EXPECT_EQ(paren.next.kind, Kind::RIGHT_PAREN);
  const Evaluation semicolon = Evaluate("4; x");
  EXPECT_EQ(semicolon.result.value, 4.0);
  EXPECT_EQ(semicolon.next.kind, Kind::KW_X);
  const Evaluation bracket = Evaluate("5 ] x");
  EXPECT_EQ(bracket.result.value, 5.0);
  EXPECT_EQ(bracket.next.kind, Kind::RIGHT_BRACKET);
}

TEST(QasmExpressionEvaluatorTest, FunctionArgumentEndsAtItsClosingParenthesis) {
  QasmReading reading;
  QasmExpressionEvaluator evaluator(reading);
  ReadFromText(reading, "(1+1)*3, x");
  QasmToken token = reading.tokens().NextToken(false);
  const ExpressionResult argument = evaluator.EvaluateExpression(token, true, {}, {});
  ASSERT_TRUE(argument.ok);
  EXPECT_EQ(argument.value, 2.0);
  EXPECT_EQ(token.kind, Kind::RIGHT_PAREN);
  EXPECT_EQ(reading.tokens().NextToken(false).kind, Kind::STAR);
  // Without its left parenthesis an argument fails at once.
  ReadFromText(reading, "1)");
  token = reading.tokens().NextToken(false);
  EXPECT_FALSE(evaluator.EvaluateExpression(token, true, {}, {}).ok);
}

TEST(QasmExpressionEvaluatorTest, DivisionByZeroIsReportedAsAnExpressionError) {
  QasmReading reading;
  QasmExpressionEvaluator evaluator(reading);
  EXPECT_FALSE(evaluator.ApplyBinaryOperator(1.0, 0.0, Kind::SLASH).ok);
  EXPECT_EQ(reading.error_code(), QasmErrorCode::DIVIDE_BY_ZERO);
  EXPECT_EQ(evaluator.ApplyBinaryOperator(2.0, 10.0, Kind::CARET).value, 1024.0);
  EXPECT_FALSE(evaluator.ApplyBinaryOperator(1.0, 2.0, Kind::LEFT_PAREN).ok);
  EXPECT_EQ(LoadsFailure("qreg q[1];\nu1(1/0) q[0];"),
            "Error Error in arithmatic expression in line 2 at 7");
}

}  // namespace

namespace {

std::string Nested(const std::string& open, int depth, const std::string& close) {
  std::string text;
  for (int k = 0; k < depth; ++k) text += open;
  text += "1";
  for (int k = 0; k < depth; ++k) text += close;
  return text + ";";
}

TEST(QasmExpressionEvaluatorTest, InfinitiesOnTheWayToAFiniteValueAreFine) {
  const Evaluation evaluation = Evaluate("atan(exp(1000));");
  ASSERT_TRUE(evaluation.result.ok);
  EXPECT_EQ(evaluation.result.value, std::atan(HUGE_VAL));
}

TEST(QasmExpressionEvaluatorTest, NestingIsCappedBeforeTheStackRunsOut) {
  const struct {
    std::string open;
    std::string close;
  } forms[] = {{"sin(", ")"}, {"(", ")"}, {"-(sin(", "))"}};
  for (const auto& form : forms) {
    const Evaluation shallow = Evaluate(Nested(form.open, 200, form.close));
    EXPECT_TRUE(shallow.result.ok) << form.open;
    const Evaluation deep = Evaluate(Nested(form.open, 50000, form.close));
    EXPECT_FALSE(deep.result.ok) << form.open;
    EXPECT_EQ(deep.error_code, QasmErrorCode::EXPRESSION_ERROR) << form.open;
  }
}

}  // namespace

}  // namespace taviron
