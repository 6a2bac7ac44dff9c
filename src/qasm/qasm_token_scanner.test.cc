#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "qasm/qasm_reading.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;
using Tokens = std::vector<std::pair<Kind, std::string>>;

Tokens ReadTokens(const std::string& text, bool split) {
  QasmReading reading;
  ReadFromText(reading, text);
  Tokens tokens;
  for (QasmToken token = reading.tokens().NextToken(split); token.kind != Kind::END_OF_INPUT;
       token = reading.tokens().NextToken(split)) {
    tokens.emplace_back(token.kind, token.text);
  }
  return tokens;
}

TEST(QasmTokenScannerTest, CutsTextIntoTokens) {
  struct Case {
    std::string text;
    bool split;
    Tokens expected;
  };
  const Case cases[] = {
      {"my_op", false, {{Kind::IDENTIFIER, "my_op"}}},
      {"my_gate", false, {{Kind::IDENTIFIER, "my_gate"}}},
      {"q0", false, {{Kind::IDENTIFIER, "q0"}}},
      {"q0", true, {{Kind::IDENTIFIER, "q"}, {Kind::NUMBER, "0"}}},
      {"q12ab", true, {{Kind::IDENTIFIER, "q"}, {Kind::NUMBER, "12"}, {Kind::IDENTIFIER, "ab"}}},
      {"2e3", false, {{Kind::IDENTIFIER, "2e3"}}},
      {"2e3", true, {{Kind::NUMBER, "2"}, {Kind::EXPONENT, "e"}, {Kind::NUMBER, "3"}}},
      {"OPENQASM 2.0;",
       false,
       {{Kind::KW_OPENQASM, "OPENQASM"}, {Kind::NUMBER, "2"}, {Kind::FULL_STOP, "."},
        {Kind::NUMBER, "0"}, {Kind::SEMICOLON, ";"}}},
      // Tabs, blanks and comments are dropped; a comment eats its line feed.
      {"h\tq; // note\nx", false,
       {{Kind::KW_H, "h"}, {Kind::IDENTIFIER, "q"}, {Kind::SEMICOLON, ";"}, {Kind::KW_X, "x"}}},
      {"x // to the end", false, {{Kind::KW_X, "x"}}},
      {"a/\nb", false,
       {{Kind::IDENTIFIER, "a"}, {Kind::SLASH, "/"}, {Kind::NEWLINE, "\n"},
        {Kind::IDENTIFIER, "b"}}},
      {"1/2", false, {{Kind::NUMBER, "1"}, {Kind::SLASH, "/"}, {Kind::NUMBER, "2"}}},
      {"a/", false, {{Kind::IDENTIFIER, "a"}, {Kind::SLASH, "/"}}},
      {"x;\r\ny", false, {{Kind::KW_X, "x"}, {Kind::SEMICOLON, ";"}, {Kind::CARRIAGE_RETURN, "\r"},
                          {Kind::NEWLINE, "\n"}, {Kind::KW_Y, "y"}}},
      {"pi PI Pi pI", false,
       {{Kind::PI, "pi"}, {Kind::PI, "PI"}, {Kind::PI, "Pi"}, {Kind::IDENTIFIER, "pI"}}},
      // Keywords are case-sensitive.
      {"Measure U CX cx", false,
       {{Kind::IDENTIFIER, "Measure"}, {Kind::IDENTIFIER, "U"}, {Kind::IDENTIFIER, "CX"},
        {Kind::KW_CX, "cx"}}},
      {"sin cos tan ln exp sqrt cbrt asin acos atan E", false,
       {{Kind::FN_SIN, "sin"}, {Kind::FN_COS, "cos"}, {Kind::FN_TAN, "tan"}, {Kind::FN_LN, "ln"},
        {Kind::FN_EXP, "exp"}, {Kind::FN_SQRT, "sqrt"}, {Kind::FN_CBRT, "cbrt"},
        {Kind::FN_ASIN, "asin"}, {Kind::FN_ACOS, "acos"}, {Kind::FN_ATAN, "atan"},
        {Kind::EXPONENT, "E"}}},
      // Bytes from 0x80 and control characters are word characters.
      {"a\xC3\xA9\x01 b", false, {{Kind::IDENTIFIER, "a\xC3\xA9\x01"}, {Kind::IDENTIFIER, "b"}}},
      {"{}[]()->==,~", false,
       {{Kind::LEFT_BRACE, "{"}, {Kind::RIGHT_BRACE, "}"}, {Kind::LEFT_BRACKET, "["},
        {Kind::RIGHT_BRACKET, "]"}, {Kind::LEFT_PAREN, "("}, {Kind::RIGHT_PAREN, ")"},
        {Kind::MINUS, "-"}, {Kind::GREATER, ">"}, {Kind::EQUALS, "="}, {Kind::EQUALS, "="},
        {Kind::COMMA, ","}, {Kind::TILDE, "~"}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadTokens(c.text, c.split), c.expected) << c.text << " split " << c.split;
  }
}

TEST(QasmTokenScannerTest, ByteFFIsAnOrdinaryByte) {
  // In a word, between words and inside a comment: the input goes on.
  const struct {
    std::string text;
    Tokens expected;
  } cases[] = {
      {std::string("ab\xFF" "cd"), {{Kind::IDENTIFIER, "ab\xFF" "cd"}}},
      {std::string("x \xFF y"), {{Kind::KW_X, "x"}, {Kind::IDENTIFIER, "\xFF"}, {Kind::KW_Y, "y"}}},
      {std::string("x //c\xFFy\nz"), {{Kind::KW_X, "x"}, {Kind::KW_Z, "z"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadTokens(c.text, false), c.expected);
}

TEST(QasmTokenScannerTest, UnderscoreJoinsAWordButCannotBeginOne) {
  EXPECT_EQ(ReadTokens("my_gate q_a anc_0 a__b_", false),
            (Tokens{{Kind::IDENTIFIER, "my_gate"}, {Kind::IDENTIFIER, "q_a"},
                    {Kind::IDENTIFIER, "anc_0"}, {Kind::IDENTIFIER, "a__b_"}}));
  EXPECT_EQ(ReadTokens("_a", false), (Tokens{{Kind::UNDERSCORE, "_"}, {Kind::IDENTIFIER, "a"}}));
  // Split reading still parts digits from the rest.
  EXPECT_EQ(ReadTokens("q_1", true), (Tokens{{Kind::IDENTIFIER, "q_"}, {Kind::NUMBER, "1"}}));
}

TEST(QasmTokenScannerTest, WordAtTheEndThenEndOfInputRepeatedly) {
  QasmReading reading;
  ReadFromText(reading, "qreg");
  EXPECT_EQ(reading.tokens().NextToken(false).kind, Kind::KW_QREG);
  EXPECT_EQ(reading.source().column(), 4u);
  EXPECT_EQ(reading.tokens().NextToken(false).kind, Kind::END_OF_INPUT);
  EXPECT_EQ(reading.tokens().NextToken(false).kind, Kind::END_OF_INPUT);
  // Every read past the end advances the column by one.
  EXPECT_EQ(reading.source().column(), 6u);
}

TEST(QasmTokenScannerTest, SkipNewlinesStopsAtTheFirstOtherToken) {
  QasmReading reading;
  ReadFromText(reading, "\n\n// c\n  x");
  QasmToken token = reading.tokens().NextToken(false);
  reading.tokens().SkipNewlines(token);
  EXPECT_EQ(token.kind, Kind::KW_X);
  EXPECT_EQ(reading.source().line(), 3u);
}

}  // namespace

}  // namespace taviron
