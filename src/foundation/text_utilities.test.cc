#include "foundation/text_utilities.h"

#include <chrono>
#include <clocale>
#include <cmath>
#include <ctime>
#include <limits>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace taviron {

namespace {

struct AngleCase {
  double angle;
  const char* text;
};

TEST(FormatAngleTest, FormatsEveryEdgeCase) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<AngleCase> cases = {
      // Near zero: within 1e-50 absolutely; infinity too.
      {0.0, "0"},
      {-0.0, "0"},
      {1e-50, "0"},
      {-1e-51, "0"},
      {1e-49, "0.000000"},
      {1e-20, "0.000000"},
      {inf, "0"},
      {-inf, "0"},
      // pi itself and its neighbours: the range test comes first.
      {3.141592653589793, "pi"},
      {-3.141592653589793, "-pi"},
      {3.1415926535897927, "pi"},
      {3.1415926535897936, "3.141593"},
      {-3.1415926535897936, "-3.141593"},
      // Fractions of pi.
      {1.5707963267948966, "pi/2"},
      {1.0471975511965976, "pi/3"},
      {0.7853981633974483, "pi/4"},
      {0.3490658503988659, "pi/9"},
      {0.03173325912716963, "pi/99"},
      {-0.7853981633974483, "-pi/4"},
      // pi divided by these is just below 100 or 1000 and truncates.
      {0.031415926535897934, "0.031416"},
      {0.0031415926535897933, "0.003142"},
      // Plain numbers.
      {2.0943951023931953, "2.094395"},
      {1.0, "1.000000"},
      {4.0, "4.000000"},
      {-4.0, "-4.000000"},
      {1e10, "10000000000.000000"},
      // The widest quotient that still fits 32 bits, and one past it.
      {-1.4629180792671596e-09, "-pi/2147483648"},
      {1.4629180792671596e-09, "0.000000"},
      {1e-12, "0.000000"},
  };
  for (const AngleCase& c : cases) {
    EXPECT_EQ(FormatAngle(c.angle), c.text) << "angle " << c.angle;
  }
}

TEST(FormatAngleTest, NotANumberPrintsWithoutCrashing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(FormatAngle(nan), "nan");
  EXPECT_EQ(FormatAngle(-nan), "-nan");
}

// A C++ locale whose numbers use a decimal comma.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(FormatAngleTest, IgnoresTheProcessLocale) {
  // The C++ global locale always switches; the C locale only where a locale
  // with a decimal comma is installed.
  const std::locale previous_global =
      std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const char* previous_c = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved_c = previous_c ? previous_c : "C";
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
  }
  const std::string one = FormatAngle(1.0);
  const std::string tiny = FormatAngle(-1e-20);
  const std::string quarter = FormatAngle(0.7853981633974483);
  std::setlocale(LC_NUMERIC, saved_c.c_str());
  std::locale::global(previous_global);
  EXPECT_EQ(one, "1.000000");
  EXPECT_EQ(tiny, "-0.000000");
  EXPECT_EQ(quarter, "pi/4");
}

TEST(ToLetterDigitsTest, WritesDigitsAsLetters) {
  struct Case {
    int64_t value;
    const char* text;
  };
  const Case cases[] = {
      {0, "a"}, {7, "h"}, {10, "ba"}, {25, "cf"}, {123, "bcd"},
      {9876543210, "jihgfedcba"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToLetterDigits(c.value), c.text) << c.value;
}

TEST(ToBinaryStringTest, KeepsTheLastWidthDigits) {
  struct Case {
    int32_t value;
    int32_t width;
    const char* text;
  };
  const Case cases[] = {
      {5, 3, "101"},
      {5, 0, ""},
      {5, 5, "00101"},
      {-1, 4, "1111"},
      {6, 2, "10"},
      {INT32_MIN, 32, "10000000000000000000000000000000"},
      {-1, 32, "11111111111111111111111111111111"},
      {0x12345678, 32, "00010010001101000101011001111000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToBinaryString(c.value, c.width), c.text) << c.value << " width " << c.width;
  }
}

TEST(ToBinaryStringTest, RejectsWidthsOutside0To32) {
  for (int32_t width : {33, -1, INT32_MAX, INT32_MIN}) {
    try {
      ToBinaryString(5, width);
      ADD_FAILURE() << "width " << width << " accepted";
    } catch (const std::out_of_range& error) {
      EXPECT_STREQ(error.what(), "invalid string position");
    }
  }
}

TEST(IsAllDigitsTest, AcceptsOnlyAsciiDigits) {
  struct Case {
    std::string text;
    bool expected;
  };
  const Case cases[] = {
      {"", true},      {"0123", true},  {"9", true},
      {"12a", false},  {" 1", false},   {"-1", false},
      {"1.5", false},  {"1 ", false},   {std::string("1\0" "2", 3), false},
      {"\xd9\xa3", false},  // ARABIC-INDIC DIGIT THREE in UTF-8
  };
  for (const Case& c : cases) EXPECT_EQ(IsAllDigits(c.text), c.expected) << c.text;
}

TEST(FindInvalidUtf8Test, FindsTheFirstByteThatPythonWouldRefuse) {
  constexpr std::size_t kValid = std::string::npos;
  struct Case {
    std::string text;
    std::size_t expected;
  };
  const Case cases[] = {
      {"", kValid},
      {"alice,tok,,", kValid},
      {"\xc3\xa9t\xc3\xa9", kValid},           // e acute, two bytes
      {"\xe2\x82\xac", kValid},               // euro sign, three bytes
      {"\xf0\x9f\x98\x80", kValid},           // an emoji, four bytes
      {"\xf4\x8f\xbf\xbf", kValid},           // U+10FFFF, the last one
      {"ab\xff", 2},                          // no lead byte
      {"\x80", 0},                            // a continuation alone
      {"a\xc3", 1},                           // cut short at the end
      {"\xc3(", 0},                           // a bad continuation
      {"\xc0\xaf", 0},                        // overlong '/'
      {"\xe0\x80\xaf", 0},                    // overlong, three bytes
      {"\xed\xa0\x80", 0},                    // a surrogate
      {"x\xf4\x90\x80\x80", 1},               // beyond U+10FFFF
      {"\xe2\x82\xac\xe2\x82", 3},             // valid, then cut short
  };
  for (const Case& c : cases) EXPECT_EQ(FindInvalidUtf8(c.text), c.expected) << c.text;
}

TEST(CurrentTimestampTest, IsTheLocalTimeWithMilliseconds) {
  auto local_text = [](std::time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    char buffer[80];
    std::strftime(buffer, sizeof buffer, "%F %H:%M:%S", &local);
    return std::string(buffer);
  };
  const std::string before = local_text(std::time(nullptr));
  const std::string stamp = CurrentTimestamp();
  const std::string after = local_text(std::time(nullptr));

  ASSERT_EQ(stamp.size(), 23u) << stamp;
  const std::string shape = "dddd-dd-dd dd:dd:dd:ddd";
  for (size_t k = 0; k < shape.size(); ++k) {
    if (shape[k] == 'd') {
      EXPECT_TRUE(stamp[k] >= '0' && stamp[k] <= '9') << stamp;
    } else {
      EXPECT_EQ(stamp[k], shape[k]) << stamp;
    }
  }
  const std::string date_time = stamp.substr(0, 19);
  EXPECT_GE(date_time, std::min(before, after));
  EXPECT_LE(date_time, std::max(before, after));
}

struct ColumnCase {
  uint64_t column;
  std::vector<int> kept;  // old column indices, in order
};

TEST(RemoveMatrixColumnTest, RemovesEachColumnOfA2x3Matrix) {
  MatrixXcd original(2, 3);
  original << std::complex<double>(1, 1), 2, 3,
              4, std::complex<double>(5, -5), 6;
  const std::vector<ColumnCase> cases = {{0, {1, 2}}, {1, {0, 2}}, {2, {0, 1}}};
  for (const ColumnCase& c : cases) {
    MatrixXcd matrix = original;
    RemoveMatrixColumn(matrix, c.column);
    ASSERT_EQ(matrix.rows(), 2);
    ASSERT_EQ(matrix.cols(), 2);
    for (size_t k = 0; k < c.kept.size(); ++k) {
      EXPECT_EQ(matrix.col(static_cast<Eigen::Index>(k)), original.col(c.kept[k]))
          << "removing " << c.column;
    }
  }
}

TEST(RemoveMatrixColumnTest, RepeatedRemovalTruncatesToThatIndex) {
  MatrixXcd matrix = MatrixXcd::Random(3, 6);
  const MatrixXcd original = matrix;
  while (matrix.cols() > 2) RemoveMatrixColumn(matrix, 2);
  EXPECT_EQ(matrix, original.leftCols(2));
  RemoveMatrixColumn(matrix, 1);
  RemoveMatrixColumn(matrix, 0);
  EXPECT_EQ(matrix.cols(), 0);
  EXPECT_EQ(matrix.rows(), 3);
}

TEST(RemoveMatrixColumnTest, RejectsAMissingColumnAndLeavesTheMatrix) {
  MatrixXcd empty(2, 0);
  EXPECT_THROW(RemoveMatrixColumn(empty, 0), std::out_of_range);
  EXPECT_EQ(empty.rows(), 2);
  EXPECT_EQ(empty.cols(), 0);

  MatrixXcd matrix = MatrixXcd::Random(2, 3);
  const MatrixXcd original = matrix;
  for (uint64_t column : {uint64_t{3}, uint64_t{1} << 40, ~uint64_t{0}}) {
    EXPECT_THROW(RemoveMatrixColumn(matrix, column), std::out_of_range) << column;
    EXPECT_EQ(matrix, original);
  }
}

}  // namespace

}  // namespace taviron
