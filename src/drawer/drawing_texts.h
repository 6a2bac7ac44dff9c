#ifndef TAVIRON_DRAWER_DRAWING_TEXTS_H
#define TAVIRON_DRAWER_DRAWING_TEXTS_H

#include <cstdint>
#include <string>
#include <vector>

namespace taviron {

// A narrow text as drawing characters: one code unit per byte, the byte
// taken as a signed 8-bit value (so 0x80..0xFF become U+FF80..U+FFFF).
std::u16string Widen(const std::string& text);

// "" without parameters, else "(" + the angles joined by ", " + ")".
std::string ParameterText(const std::vector<double>& params);

// Number of decimal digits of value (0 has one).
uint64_t DecimalDigits(uint64_t value);

}  // namespace taviron

#endif
