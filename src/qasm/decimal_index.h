#ifndef TAVIRON_QASM_DECIMAL_INDEX_H
#define TAVIRON_QASM_DECIMAL_INDEX_H

#include <charconv>
#include <cstdint>
#include <string>

namespace taviron {

// The value of a NUMBER token's digits as a 32-bit int (register sizes,
// indices, condition values); false when it exceeds 2147483647.
inline bool DecimalToInt32(const std::string& digits, int32_t& value) {
  const char* last = digits.data() + digits.size();
  const auto parsed = std::from_chars(digits.data(), last, value);
  return parsed.ec == std::errc() && parsed.ptr == last;
}

}  // namespace taviron

#endif
