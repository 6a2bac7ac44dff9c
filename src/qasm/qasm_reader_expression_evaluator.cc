// Parameter expressions: numbers, pi, parameter names, ten functions,
// parentheses, signs and the operators + - * / ^, evaluated as they are read
// with an operand stack and an operator stack.
#include <charconv>
#include <cmath>
#include <vector>

#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

constexpr double kPi = 3.141592653589793;

// Parentheses and function calls nest at most this deep, so that no text
// can exhaust the native stack through the recursion of function arguments.
constexpr int kMaxNesting = 512;

// An entry of the operator stack: a binary operator, an open parenthesis,
// or a sign (a PLUS or MINUS taken as a sign).
struct StackedOperator {
  Kind kind;
  bool sign = false;
};

// Binding strength, lowest first; an open parenthesis ranks below all.
int Precedence(const StackedOperator& op) {
  if (op.sign) return 3;
  switch (op.kind) {
    case Kind::PLUS:
    case Kind::MINUS:
      return 1;
    case Kind::STAR:
    case Kind::SLASH:
      return 2;
    case Kind::CARET:
      return 4;
    default:
      return 0;
  }
}

double ApplyFunction(Kind function, double x) {
  switch (function) {
    case Kind::FN_SIN: return std::sin(x);
    case Kind::FN_COS: return std::cos(x);
    case Kind::FN_TAN: return std::tan(x);
    case Kind::FN_LN: return std::log(x);
    case Kind::FN_EXP: return std::exp(x);
    case Kind::FN_SQRT: return std::sqrt(x);
    case Kind::FN_CBRT: return std::cbrt(x);
    case Kind::FN_ASIN: return std::asin(x);
    case Kind::FN_ACOS: return std::acos(x);
    default: return std::atan(x);
  }
}

}  // namespace

ExpressionResult qasm2::ApplyBinaryOperator(double left, double right, QasmTokenKind kind) {
  switch (kind) {
    case Kind::STAR:
      return {left * right, true};
    case Kind::PLUS:
      return {left + right, true};
    case Kind::MINUS:
      return {left - right, true};
    case Kind::SLASH:
      if (right == 0.0) {
        error_code = QasmErrorCode::DIVIDE_BY_ZERO;
        return {};
      }
      return {left / right, true};
    case Kind::CARET:
      return {std::pow(left, right), true};
    default:
      return {};
  }
}

ExpressionResult qasm2::EvaluateExpression(QasmToken& token,
                                           bool function_argument,
                                           std::vector<std::string> names,
                                           std::vector<double> values) {
  if (function_argument && token.kind != Kind::LEFT_PAREN) return {};

  std::vector<double> operands;
  std::vector<StackedOperator> operators;
  int open_parentheses = 0;
  // True where the next token must begin an operand, so + and - are signs.
  bool expect_operand = true;

  // Pops the top operator or sign and applies it to the operand stack.
  auto apply_top = [&]() -> bool {
    const StackedOperator op = operators.back();
    operators.pop_back();
    if (op.sign) {
      if (operands.empty()) {
        error_code = QasmErrorCode::EXPRESSION_ERROR;
        return false;
      }
      if (op.kind == Kind::MINUS) operands.back() = -operands.back();
      return true;
    }
    if (operands.size() < 2) {
      error_code = QasmErrorCode::EXPRESSION_ERROR;
      return false;
    }
    const double right = operands.back();
    operands.pop_back();
    const double left = operands.back();
    operands.pop_back();
    const ExpressionResult result = ApplyBinaryOperator(left, right, op.kind);
    if (!result.ok) {
      error_code = QasmErrorCode::EXPRESSION_ERROR;
      return false;
    }
    operands.push_back(result.value);
    return true;
  };

  bool finished = false;
  while (!finished) {
    switch (token.kind) {
      case Kind::END_OF_INPUT:
      case Kind::SEMICOLON:
        finished = true;
        break;
      case Kind::LEFT_PAREN:
        if (expression_nesting + open_parentheses >= kMaxNesting) {
          error_code = QasmErrorCode::EXPRESSION_ERROR;
          return {};
        }
        operators.push_back({Kind::LEFT_PAREN});
        ++open_parentheses;
        expect_operand = true;
        break;
      case Kind::NUMBER: {
        const std::string text = ReadNumber(token);
        double value = 0.0;
        const auto parsed =
            std::from_chars(text.data(), text.data() + text.size(), value);
        if (parsed.ec == std::errc::result_out_of_range) {
          error_code = QasmErrorCode::NUMBER_FORMAT_ERROR;
          return {};
        }
        operands.push_back(value);
        expect_operand = false;
        break;
      }
      case Kind::IDENTIFIER: {
        bool named = false;
        for (size_t k = 0; k < names.size() && k < values.size(); ++k) {
          if (names[k] == token.text) {
            operands.push_back(values[k]);
            named = true;
          }
        }
        if (!named) {
          error_code = QasmErrorCode::INVALID_PARAMETER;
          return {};
        }
        expect_operand = false;
        break;
      }
      case Kind::PI:
        operands.push_back(kPi);
        expect_operand = false;
        break;
      case Kind::FN_SIN:
      case Kind::FN_COS:
      case Kind::FN_TAN:
      case Kind::FN_LN:
      case Kind::FN_EXP:
      case Kind::FN_SQRT:
      case Kind::FN_CBRT:
      case Kind::FN_ASIN:
      case Kind::FN_ACOS:
      case Kind::FN_ATAN: {
        const Kind function = token.kind;
        token = NextToken(false);
        SkipNewlines(token);
        // The argument's own parentheses count on top of the ones open here.
        const int outer_nesting = expression_nesting;
        expression_nesting += open_parentheses;
        const ExpressionResult argument =
            EvaluateExpression(token, true, names, values);
        expression_nesting = outer_nesting;
        if (!argument.ok) return {};
        operands.push_back(ApplyFunction(function, argument.value));
        expect_operand = false;
        break;
      }
      case Kind::RIGHT_PAREN:
        if (open_parentheses == 0) {
          UnreadToken(token);
          finished = true;
          break;
        }
        --open_parentheses;
        while (operators.back().kind != Kind::LEFT_PAREN) {
          if (!apply_top()) return {};
        }
        operators.pop_back();
        expect_operand = false;
        break;
      case Kind::PLUS:
      case Kind::MINUS:
        if (expect_operand) {
          operators.push_back({token.kind, true});
          break;
        }
        [[fallthrough]];
      case Kind::STAR:
      case Kind::SLASH:
      case Kind::CARET:
        while (!operators.empty() && operators.back().kind != Kind::LEFT_PAREN &&
               Precedence(operators.back()) >= Precedence({token.kind})) {
          if (!apply_top()) return {};
        }
        operators.push_back({token.kind});
        expect_operand = true;
        break;
      default:
        UnreadToken(token);
        finished = true;
        break;
    }
    if (finished) break;
    // The closing parenthesis of a function's argument ends the argument.
    if (open_parentheses == 0 && function_argument) break;
    token = NextToken(false);
    SkipNewlines(token);
  }

  if (function_argument && open_parentheses > 0) return {};
  while (!operators.empty()) {
    if (!apply_top()) return {};
  }
  // Exactly one value must remain: none means the expression had no operand
  // (as in ".5" or an empty text), more mean operands without an operator
  // between them (as in "2 3", or a name that two parameters share).
  if (operands.size() != 1) {
    error_code = QasmErrorCode::EXPRESSION_ERROR;
    return {};
  }
  // A parameter is a finite number: a NaN or an infinity (ln(0), sqrt(-1),
  // exp(1000)) is refused once the whole expression has been evaluated.
  if (!function_argument && !std::isfinite(operands.back())) {
    error_code = QasmErrorCode::EXPRESSION_ERROR;
    return {};
  }
  return {operands.back(), true};
}

}  // namespace taviron
