// Parameter expressions: numbers, pi, parameter names, ten functions,
// parentheses, signs and the operators + - * / ^, evaluated as they are read
// with an operand stack and an operator stack.
#include <charconv>
#include <cmath>
#include <vector>

#include "qasm/qasm_error_codes.h"
#include "qasm/qasm_reader.h"

namespace taviron {

using namespace QasmTokenKind;

namespace {

constexpr double kPi = 3.141592653589793;

// Parentheses and function calls nest at most this deep, so that no text
// can exhaust the native stack through the recursion of function arguments.
constexpr int kMaxNesting = 512;

// Signs share the operator stack with the binary operators.
constexpr int kSignPlus = -1;
constexpr int kSignMinus = -2;

bool IsSign(int op) { return op == kSignPlus || op == kSignMinus; }

// Binding strength, lowest first; an open parenthesis ranks below all.
int Precedence(int op) {
  switch (op) {
    case PLUS:
    case MINUS:
      return 1;
    case STAR:
    case SLASH:
      return 2;
    case kSignPlus:
    case kSignMinus:
      return 3;
    case CARET:
      return 4;
    default:
      return 0;
  }
}

double ApplyFunction(int function, double x) {
  switch (function) {
    case FN_SIN: return std::sin(x);
    case FN_COS: return std::cos(x);
    case FN_TAN: return std::tan(x);
    case FN_LN: return std::log(x);
    case FN_EXP: return std::exp(x);
    case FN_SQRT: return std::sqrt(x);
    case FN_CBRT: return std::cbrt(x);
    case FN_ASIN: return std::asin(x);
    case FN_ACOS: return std::acos(x);
    default: return std::atan(x);
  }
}

}  // namespace

ExpressionResult qasm2::ApplyBinaryOperator(double left, double right, int kind) {
  switch (kind) {
    case STAR:
      return {left * right, true};
    case PLUS:
      return {left + right, true};
    case MINUS:
      return {left - right, true};
    case SLASH:
      if (right == 0.0) {
        error_code = QasmErrorCode::DIVIDE_BY_ZERO;
        return {};
      }
      return {left / right, true};
    case CARET:
      return {std::pow(left, right), true};
    default:
      return {};
  }
}

ExpressionResult qasm2::EvaluateExpression(QasmToken& token,
                                           bool function_argument,
                                           std::vector<std::string> names,
                                           std::vector<double> values) {
  if (function_argument && token.kind != LEFT_PAREN) return {};

  std::vector<double> operands;
  std::vector<int> operators;
  int open_parentheses = 0;
  // True where the next token must begin an operand, so + and - are signs.
  bool expect_operand = true;

  // Pops the top operator or sign and applies it to the operand stack.
  auto apply_top = [&]() -> bool {
    const int op = operators.back();
    operators.pop_back();
    if (IsSign(op)) {
      if (operands.empty()) {
        error_code = QasmErrorCode::EXPRESSION_ERROR;
        return false;
      }
      if (op == kSignMinus) operands.back() = -operands.back();
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
    const ExpressionResult result = ApplyBinaryOperator(left, right, op);
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
      case END_OF_INPUT:
      case SEMICOLON:
        finished = true;
        break;
      case LEFT_PAREN:
        if (expression_nesting + open_parentheses >= kMaxNesting) {
          error_code = QasmErrorCode::EXPRESSION_ERROR;
          return {};
        }
        operators.push_back(LEFT_PAREN);
        ++open_parentheses;
        expect_operand = true;
        break;
      case NUMBER: {
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
      case IDENTIFIER: {
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
      case PI:
        operands.push_back(kPi);
        expect_operand = false;
        break;
      case FN_SIN:
      case FN_COS:
      case FN_TAN:
      case FN_LN:
      case FN_EXP:
      case FN_SQRT:
      case FN_CBRT:
      case FN_ASIN:
      case FN_ACOS:
      case FN_ATAN: {
        const int function = token.kind;
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
      case RIGHT_PAREN:
        if (open_parentheses == 0) {
          UnreadToken(token);
          finished = true;
          break;
        }
        --open_parentheses;
        while (operators.back() != LEFT_PAREN) {
          if (!apply_top()) return {};
        }
        operators.pop_back();
        expect_operand = false;
        break;
      case PLUS:
      case MINUS:
        if (expect_operand) {
          operators.push_back(token.kind == PLUS ? kSignPlus : kSignMinus);
          break;
        }
        [[fallthrough]];
      case STAR:
      case SLASH:
      case CARET:
        while (!operators.empty() && operators.back() != LEFT_PAREN &&
               Precedence(operators.back()) >= Precedence(token.kind)) {
          if (!apply_top()) return {};
        }
        operators.push_back(token.kind);
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
