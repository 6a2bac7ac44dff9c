#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "qasm/qasm_number_text.h"
#include "qasm/qasm_expression_evaluator.h"
#include "qasm/qasm_reading.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

constexpr double kPi = 3.141592653589793;

// The double that the reader makes of `text`.
double ReadBack(const std::string& text) {
  QasmReading reading;
  ReadFromText(reading, text + ";");
  QasmToken token = reading.tokens().NextToken(false);
  const ExpressionResult result =
      QasmExpressionEvaluator(reading).EvaluateExpression(token, false, {}, {});
  EXPECT_TRUE(result.ok) << text;
  return result.value;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(QasmNumberTextTest, WritesPiFormsOnlyWhereExact) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "-0.0"},
      {kPi, "pi"},
      {-kPi, "-pi"},
      {kPi / 2, "pi/2"},
      {-kPi / 4, "-pi/4"},
      {kPi / 3, "pi/3"},
      {kPi / 1000000, "pi/1000000"},
      // Near pi/2 but not it: the exact decimal.
      {1.5707963267948968, "1.5707963267948968"},
      {2 * kPi, "6.283185307179586"},
      {3 * kPi / 4, "2.356194490192345"},
      {0.5, "0.5"},
      {-1.0, "-1"},
      {1e-7, "1.0e-07"},
      {-2.5e300, "-2.5e+300"},
      {123456.0, "123456"},
      {0.1, "0.1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QasmNumberText(c.value), c.text) << c.value;
    EXPECT_TRUE(SameBits(ReadBack(QasmNumberText(c.value)), c.value)) << c.text;
  }
}

TEST(QasmNumberTextTest, EveryFiniteDoubleReadsBackBitForBit) {
  std::mt19937_64 bits(20261211);
  std::uniform_real_distribution<double> angle(-10.0, 10.0);
  const double extremes[] = {std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(), 1.0 / 3.0};
  for (double value : extremes) {
    EXPECT_TRUE(SameBits(ReadBack(QasmNumberText(value)), value)) << QasmNumberText(value);
  }
  for (int k = 0; k < 2000; ++k) {
    double value = angle(bits);
    if (k % 2 == 1) {
      // Any bit pattern that is a finite number.
      const uint64_t pattern = bits();
      std::memcpy(&value, &pattern, sizeof value);
      if (!std::isfinite(value)) continue;
    }
    const std::string text = QasmNumberText(value);
    EXPECT_TRUE(SameBits(ReadBack(text), value)) << text;
  }
}

}  // namespace

}  // namespace taviron
