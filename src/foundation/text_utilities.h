#ifndef TAVIRON_FOUNDATION_TEXT_UTILITIES_H
#define TAVIRON_FOUNDATION_TEXT_UTILITIES_H

#include <cstdint>
#include <string>

#include <Eigen/Dense>

namespace taviron {

using Eigen::MatrixXcd;

// An angle as text: "0", "pi", "-pi", "pi/n" or "-pi/n" when the angle is
// (nearly) pi divided by an integer n, else the "%f" form with six decimals.
// Locale-independent; NaN gives "nan" or "-nan".
std::string FormatAngle(double angle);

// The decimal text of value with each character raised by 49, so that the
// digits 0..9 read as the letters a..j (10 gives "ba").
std::string ToLetterDigits(int64_t value);

// The last `width` characters of the 32-digit binary text of value (two's
// complement, most significant bit first). Throws std::out_of_range
// "invalid string position" for a width outside 0..32.
std::string ToBinaryString(int32_t value, int32_t width);

// The current local date and time as "YYYY-MM-DD HH:MM:SS:mmm".
std::string CurrentTimestamp();

// True when every character is an ASCII digit '0'..'9' (also for "").
bool IsAllDigits(std::string text);

// The offset of the first byte at which text stops being valid UTF-8 (as
// Python's strict decoder reads it: no overlong forms, no surrogates,
// nothing beyond U+10FFFF), or std::string::npos when all of it is valid.
std::size_t FindInvalidUtf8(const std::string& text);

// Removes one column of matrix in place; later columns move one place to
// the left. Throws std::out_of_range when the matrix has no column or
// column is past the last one.
void RemoveMatrixColumn(MatrixXcd& matrix, uint64_t column);

}  // namespace taviron

#endif
