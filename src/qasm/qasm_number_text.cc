#include "qasm/qasm_number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace taviron {

namespace {

// The value the reader gives the word pi.
constexpr double kPi = 3.141592653589793;

// "pi" or "pi/n" when kPi / n is exactly `magnitude` for a positive n, else "".
std::string ExactPiForm(double magnitude) {
  if (magnitude > kPi || magnitude <= 0.0) return "";
  const double quotient = std::round(kPi / magnitude);
  if (!(quotient >= 1.0 && quotient < 2147483648.0)) return "";
  const auto n = static_cast<int64_t>(quotient);
  if (kPi / static_cast<double>(n) != magnitude) return "";
  return n == 1 ? "pi" : "pi/" + std::to_string(n);
}

}  // namespace

std::string QasmNumberText(double value) {
  if (value == 0.0) return std::signbit(value) ? "-0.0" : "0";
  const std::string pi_form = ExactPiForm(std::fabs(value));
  if (!pi_form.empty()) return value < 0.0 ? "-" + pi_form : pi_form;

  char buffer[64];
  const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof(buffer), value);
  std::string text(buffer, written.ptr);
  // The reader takes an exponent only after a point: 1e-07 becomes 1.0e-07.
  const size_t exponent = text.find('e');
  const size_t point = text.find('.');
  if (exponent != std::string::npos && point == std::string::npos) {
    text.insert(exponent, ".0");
  }
  return text;
}

}  // namespace taviron
