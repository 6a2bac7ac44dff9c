#include "qasm/qasm_expression_evaluator.h"

#include <charconv>
#include <cmath>

#include "qasm/qasm_syntax_readers.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;
using Code = QasmErrorCode;

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

bool IsFunction(Kind kind) {
  switch (kind) {
    case Kind::FN_SIN:
    case Kind::FN_COS:
    case Kind::FN_TAN:
    case Kind::FN_LN:
    case Kind::FN_EXP:
    case Kind::FN_SQRT:
    case Kind::FN_CBRT:
    case Kind::FN_ASIN:
    case Kind::FN_ACOS:
    case Kind::FN_ATAN:
      return true;
    default:
      return false;
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

// The stacks of one expression (a function's argument has its own).
class QasmExpressionEvaluator::Evaluation {
 public:
  Evaluation(QasmExpressionEvaluator& evaluator, bool function_argument,
             const std::vector<std::string>& names, const std::vector<double>& values)
      : evaluator_(evaluator),
        reading_(evaluator.reading_),
        function_argument_(function_argument),
        names_(names),
        values_(values) {}

  ExpressionResult Run(QasmToken& token) {
    if (function_argument_ && token.kind != Kind::LEFT_PAREN) return {};
    while (true) {
      const Step step = Take(token);
      if (step == Step::kFail) return {};
      if (step == Step::kEnd) break;
      // The closing parenthesis of a function's argument ends the argument.
      if (open_parentheses_ == 0 && function_argument_) break;
      token = reading_.tokens().NextSignificantToken(false);
    }
    return Finish();
  }

 private:
  enum class Step { kNext, kEnd, kFail };

  // Takes one token into the stacks.
  Step Take(QasmToken& token) {
    if (IsFunction(token.kind)) return PushFunctionValue(token);
    switch (token.kind) {
      case Kind::END_OF_INPUT:
      case Kind::SEMICOLON:
        return Step::kEnd;
      case Kind::LEFT_PAREN:
        return OpenParenthesis();
      case Kind::RIGHT_PAREN:
        return CloseParenthesis(token);
      case Kind::NUMBER:
        return PushNumber(token);
      case Kind::IDENTIFIER:
        return PushParameter(token);
      case Kind::PI:
        return PushOperand(kPi);
      case Kind::PLUS:
      case Kind::MINUS:
        if (expect_operand_) return PushSign(token.kind);
        return PushOperator(token.kind);
      case Kind::STAR:
      case Kind::SLASH:
      case Kind::CARET:
        return PushOperator(token.kind);
      default:
        // Anything else ends the expression and stays in the input.
        reading_.tokens().UnreadToken(token);
        return Step::kEnd;
    }
  }

  Step Fail(Code code) {
    reading_.set_error_code(code);
    return Step::kFail;
  }

  Step PushOperand(double value) {
    operands_.push_back(value);
    expect_operand_ = false;
    return Step::kNext;
  }

  Step OpenParenthesis() {
    if (evaluator_.nesting_ + open_parentheses_ >= kMaxNesting) {
      return Fail(Code::EXPRESSION_ERROR);
    }
    operators_.push_back({Kind::LEFT_PAREN});
    ++open_parentheses_;
    expect_operand_ = true;
    return Step::kNext;
  }

  // Closes the innermost parenthesis; an unmatched one ends the expression
  // and stays in the input.
  Step CloseParenthesis(const QasmToken& token) {
    if (open_parentheses_ == 0) {
      reading_.tokens().UnreadToken(token);
      return Step::kEnd;
    }
    --open_parentheses_;
    while (operators_.back().kind != Kind::LEFT_PAREN) {
      if (!ApplyTop()) return Step::kFail;
    }
    operators_.pop_back();
    expect_operand_ = false;
    return Step::kNext;
  }

  Step PushNumber(const QasmToken& token) {
    const std::string text = ReadNumber(reading_, token);
    double value = 0.0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (parsed.ec == std::errc::result_out_of_range) return Fail(Code::NUMBER_FORMAT_ERROR);
    return PushOperand(value);
  }

  // The value of every parameter of that name.
  Step PushParameter(const QasmToken& token) {
    bool named = false;
    for (size_t k = 0; k < names_.size() && k < values_.size(); ++k) {
      if (names_[k] == token.text) {
        operands_.push_back(values_[k]);
        named = true;
      }
    }
    if (!named) return Fail(Code::INVALID_PARAMETER);
    expect_operand_ = false;
    return Step::kNext;
  }

  // Evaluates the function's parenthesised argument, whose parentheses
  // count on top of the ones open here.
  Step PushFunctionValue(QasmToken& token) {
    const Kind function = token.kind;
    token = reading_.tokens().NextSignificantToken(false);
    const int outer_nesting = evaluator_.nesting_;
    evaluator_.nesting_ += open_parentheses_;
    const ExpressionResult argument = Evaluation(evaluator_, true, names_, values_).Run(token);
    evaluator_.nesting_ = outer_nesting;
    if (!argument.ok) return Step::kFail;
    return PushOperand(ApplyFunction(function, argument.value));
  }

  Step PushSign(Kind kind) {
    operators_.push_back({kind, true});
    return Step::kNext;
  }

  // Applies the operators on the stack that bind at least as strongly, then
  // stacks this one.
  Step PushOperator(Kind kind) {
    const StackedOperator op{kind};
    while (!operators_.empty() && operators_.back().kind != Kind::LEFT_PAREN &&
           Precedence(operators_.back()) >= Precedence(op)) {
      if (!ApplyTop()) return Step::kFail;
    }
    operators_.push_back(op);
    expect_operand_ = true;
    return Step::kNext;
  }

  // Pops the top operator or sign and applies it to the operand stack.
  bool ApplyTop() {
    const StackedOperator op = operators_.back();
    operators_.pop_back();
    const size_t needed = op.sign ? 1 : 2;
    if (operands_.size() < needed) {
      reading_.set_error_code(Code::EXPRESSION_ERROR);
      return false;
    }
    if (op.sign) {
      if (op.kind == Kind::MINUS) operands_.back() = -operands_.back();
      return true;
    }
    const double right = operands_.back();
    operands_.pop_back();
    const double left = operands_.back();
    operands_.pop_back();
    const ExpressionResult result = evaluator_.ApplyBinaryOperator(left, right, op.kind);
    if (!result.ok) {
      reading_.set_error_code(Code::EXPRESSION_ERROR);
      return false;
    }
    operands_.push_back(result.value);
    return true;
  }

  // Applies what is left on the stack; exactly one finite value must
  // remain.
  ExpressionResult Finish() {
    if (function_argument_ && open_parentheses_ > 0) return {};
    while (!operators_.empty()) {
      if (!ApplyTop()) return {};
    }
    // None means the expression had no operand (as in ".5" or an empty
    // text), more mean operands without an operator between them (as in
    // "2 3", or a name that two parameters share).
    if (operands_.size() != 1) return Failed();
    // A NaN or an infinity (ln(0), sqrt(-1), exp(1000)) is refused once the
    // whole parameter has been evaluated; inside it, it may still give a
    // finite value.
    if (!function_argument_ && !std::isfinite(operands_.back())) return Failed();
    return {operands_.back(), true};
  }

  ExpressionResult Failed() {
    reading_.set_error_code(Code::EXPRESSION_ERROR);
    return {};
  }

  QasmExpressionEvaluator& evaluator_;
  QasmReading& reading_;
  const bool function_argument_;
  const std::vector<std::string>& names_;
  const std::vector<double>& values_;
  std::vector<double> operands_;
  std::vector<StackedOperator> operators_;
  int open_parentheses_ = 0;
  // True where the next token must begin an operand, so + and - are signs.
  bool expect_operand_ = true;
};

ExpressionResult QasmExpressionEvaluator::EvaluateExpression(
    QasmToken& token, bool function_argument, const std::vector<std::string>& names,
    const std::vector<double>& values) {
  return Evaluation(*this, function_argument, names, values).Run(token);
}

ExpressionResult QasmExpressionEvaluator::ApplyBinaryOperator(double left, double right,
                                                              QasmTokenKind kind) {
  switch (kind) {
    case Kind::STAR:
      return {left * right, true};
    case Kind::PLUS:
      return {left + right, true};
    case Kind::MINUS:
      return {left - right, true};
    case Kind::SLASH:
      if (right == 0.0) {
        reading_.set_error_code(Code::DIVIDE_BY_ZERO);
        return {};
      }
      return {left / right, true};
    case Kind::CARET:
      return {std::pow(left, right), true};
    default:
      return {};
  }
}

}  // namespace taviron
