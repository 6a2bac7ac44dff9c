#include "drawer/drawing_texts.h"

#include "foundation/text_utilities.h"

namespace taviron {

std::u16string Widen(const std::string& text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char byte : text) {
    const int16_t value = static_cast<signed char>(byte);
    wide.push_back(static_cast<char16_t>(value));
  }
  return wide;
}

std::string ParameterText(const std::vector<double>& params) {
  if (params.empty()) return "";
  std::string text = "(";
  for (size_t k = 0; k < params.size(); ++k) {
    if (k != 0) text += ", ";
    text += FormatAngle(params[k]);
  }
  return text + ")";
}

uint64_t DecimalDigits(uint64_t value) {
  uint64_t digits = 1;
  while (value >= 10) {
    value /= 10;
    ++digits;
  }
  return digits;
}

}  // namespace taviron
