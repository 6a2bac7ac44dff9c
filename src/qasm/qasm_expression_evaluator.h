#ifndef TAVIRON_QASM_QASM_EXPRESSION_EVALUATOR_H
#define TAVIRON_QASM_QASM_EXPRESSION_EVALUATOR_H

#include <string>
#include <vector>

#include "qasm/qasm_reading.h"
#include "qasm/qasm_records.h"
#include "qasm/qasm_token.h"

namespace taviron {

// Parameter expressions: numbers, pi, parameter names, the functions sin,
// cos, tan, ln, exp, sqrt, cbrt, asin, acos and atan, parentheses, signs
// and the operators + - * / ^ (all left-associative), evaluated as they are
// read from a reading's tokens with an operand stack and an operator stack.
class QasmExpressionEvaluator {
 public:
  explicit QasmExpressionEvaluator(QasmReading& reading) : reading_(reading) {}

  // Evaluates the expression that begins with `token`, with `names` bound
  // to `values` (the same length and order). On return `token` is the one
  // at which the evaluation stopped: a consumed ";" or end of the input, the
  // token that ended the expression (put back into the input, as a "," or
  // ")"), or for a function argument (`function_argument`, which must begin
  // with "(") its closing parenthesis. Fails with INVALID_PARAMETER (a name
  // that is no parameter), NUMBER_FORMAT_ERROR (a number beyond the double
  // range) or EXPRESSION_ERROR (a division by zero, a missing operand or
  // operator, an unclosed parenthesis, a value that is no finite number,
  // nesting too deep), or without a code of its own (a function without
  // its parenthesised argument).
  ExpressionResult EvaluateExpression(QasmToken& token, bool function_argument,
                                      const std::vector<std::string>& names,
                                      const std::vector<double>& values);

  // a op b for STAR, PLUS, MINUS, SLASH and CARET (the standard power);
  // fails for any other kind, and records DIVIDE_BY_ZERO for a division by
  // zero of either sign.
  ExpressionResult ApplyBinaryOperator(double left, double right, QasmTokenKind kind);

 private:
  class Evaluation;

  QasmReading& reading_;
  // Parentheses open in the expressions that enclose the function argument
  // being evaluated.
  int nesting_ = 0;
};

}  // namespace taviron

#endif
