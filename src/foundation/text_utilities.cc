#include "foundation/text_utilities.h"

#include <chrono>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <system_error>

namespace taviron {

namespace {

constexpr double kPi = 3.141592653589793;

// a and b are equal up to rounding: within 1e-50 absolutely, or within 2^-52
// relative to the larger magnitude.
bool IsNear(double a, double b) {
  const double difference = std::fabs(a - b);
  return difference <= 1e-50 ||
         difference <= std::fmax(std::fabs(a), std::fabs(b)) *
                           2.220446049250313e-16;
}

// printf's "%f" form (six decimals) in the C locale, whatever the process
// locale is. to_chars writes "nan"/"-nan" and "inf"/"-inf" for non-finite
// values.
std::string FixedSixDecimals(double value) {
  char buffer[400];  // the widest double in fixed form needs 317 characters
  const std::to_chars_result result = std::to_chars(
      buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  if (result.ec != std::errc()) return std::to_string(value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string FormatAngle(double angle) {
  if (IsNear(angle, 0.0)) return "0";
  if (angle > kPi || angle < -kPi) return FixedSixDecimals(angle);
  const double quotient = kPi / angle;
  // Only a quotient whose truncation fits 32 bits may be converted; this also
  // keeps NaN away from the conversion.
  if (!(quotient > -2147483649.0 && quotient < 2147483648.0)) {
    return FixedSixDecimals(angle);
  }
  const int64_t n = static_cast<int32_t>(quotient);
  if (!IsNear(angle, kPi / static_cast<double>(n))) {
    return FixedSixDecimals(angle);
  }
  if (n == 1) return "pi";
  if (n == -1) return "-pi";
  if (n < 0) return "-pi/" + std::to_string(-n);
  return "pi/" + std::to_string(n);
}

std::string ToLetterDigits(int64_t value) {
  std::string text = std::to_string(value);
  for (char& c : text) c = static_cast<char>(c + 49);
  return text;
}

std::string ToBinaryString(int32_t value, int32_t width) {
  if (width < 0 || width > 32) {
    throw std::out_of_range("invalid string position");
  }
  const uint32_t pattern = static_cast<uint32_t>(value);
  std::string text(static_cast<size_t>(width), '0');
  for (int32_t k = 0; k < width; ++k) {
    if ((pattern >> k) & 1u) text[static_cast<size_t>(width - 1 - k)] = '1';
  }
  return text;
}

std::string CurrentTimestamp() {
  using Ticks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;
  const int64_t ticks =
      std::chrono::duration_cast<Ticks>(
          std::chrono::system_clock::now().time_since_epoch())
          .count();
  const std::time_t seconds = static_cast<std::time_t>(ticks / 10000000);
  const int milliseconds = static_cast<int>((ticks / 10000) % 1000);

  std::tm local{};
  char date_time[80] = "";
  if (localtime_r(&seconds, &local) != nullptr) {
    std::strftime(date_time, sizeof date_time, "%F %H:%M:%S", &local);
  }
  char text[96];
  std::snprintf(text, sizeof text, "%s:%03d", date_time, milliseconds);
  return text;
}

bool IsAllDigits(std::string text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void RemoveMatrixColumn(MatrixXcd& matrix, uint64_t column) {
  const uint64_t columns = static_cast<uint64_t>(matrix.cols());
  if (column >= columns) {
    throw std::out_of_range("RemoveMatrixColumn: column index out of range");
  }
  const Eigen::Index removed = static_cast<Eigen::Index>(column);
  const Eigen::Index last = matrix.cols() - 1;
  for (Eigen::Index col = removed; col < last; ++col) {
    matrix.col(col) = matrix.col(col + 1);
  }
  matrix.conservativeResize(matrix.rows(), last);
}

std::size_t FindInvalidUtf8(const std::string& text) {
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The length of the sequence and the range of its second byte, which
    // rules out overlong forms, surrogates and values beyond U+10FFFF.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (size - i < length) return i;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      const unsigned char lowest = k == 1 ? low : 0x80;
      const unsigned char highest = k == 1 ? high : 0xBF;
      if (next < lowest || next > highest) return i;
    }
    i += length;
  }
  return std::string::npos;
}

}  // namespace taviron
