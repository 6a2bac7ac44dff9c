#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "qasm/qasm_reader.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

using namespace QasmTokenKind;
using Tokens = std::vector<std::pair<int, std::string>>;

Tokens ReadTokens(const std::string& text, bool split) {
  qasm2 reader;
  ReadFromText(reader, text);
  Tokens tokens;
  for (QasmToken token = reader.NextToken(split); token.kind != END_OF_INPUT;
       token = reader.NextToken(split)) {
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
      {"my_op", false, {{IDENTIFIER, "my_op"}}},
      {"my_gate", false, {{IDENTIFIER, "my_gate"}}},
      {"q0", false, {{IDENTIFIER, "q0"}}},
      {"q0", true, {{IDENTIFIER, "q"}, {NUMBER, "0"}}},
      {"q12ab", true, {{IDENTIFIER, "q"}, {NUMBER, "12"}, {IDENTIFIER, "ab"}}},
      {"2e3", false, {{IDENTIFIER, "2e3"}}},
      {"2e3", true, {{NUMBER, "2"}, {EXPONENT, "e"}, {NUMBER, "3"}}},
      {"OPENQASM 2.0;",
       false,
       {{KW_OPENQASM, "OPENQASM"}, {NUMBER, "2"}, {FULL_STOP, "."}, {NUMBER, "0"},
        {SEMICOLON, ";"}}},
      // Tabs, blanks and comments are dropped; a comment eats its line feed.
      {"h\tq; // note\nx", false, {{KW_H, "h"}, {IDENTIFIER, "q"}, {SEMICOLON, ";"}, {KW_X, "x"}}},
      {"x // to the end", false, {{KW_X, "x"}}},
      {"a/\nb", false, {{IDENTIFIER, "a"}, {SLASH, "/"}, {NEWLINE, "\n"}, {IDENTIFIER, "b"}}},
      {"1/2", false, {{NUMBER, "1"}, {SLASH, "/"}, {NUMBER, "2"}}},
      {"a/", false, {{IDENTIFIER, "a"}, {SLASH, "/"}}},
      {"x;\r\ny", false, {{KW_X, "x"}, {SEMICOLON, ";"}, {CARRIAGE_RETURN, "\r"},
                          {NEWLINE, "\n"}, {KW_Y, "y"}}},
      {"pi PI Pi pI", false, {{PI, "pi"}, {PI, "PI"}, {PI, "Pi"}, {IDENTIFIER, "pI"}}},
      // Keywords are case-sensitive.
      {"Measure U CX cx", false,
       {{IDENTIFIER, "Measure"}, {IDENTIFIER, "U"}, {IDENTIFIER, "CX"}, {KW_CX, "cx"}}},
      {"sin cos tan ln exp sqrt cbrt asin acos atan E", false,
       {{FN_SIN, "sin"}, {FN_COS, "cos"}, {FN_TAN, "tan"}, {FN_LN, "ln"},
        {FN_EXP, "exp"}, {FN_SQRT, "sqrt"}, {FN_CBRT, "cbrt"}, {FN_ASIN, "asin"},
        {FN_ACOS, "acos"}, {FN_ATAN, "atan"}, {EXPONENT, "E"}}},
      // Bytes from 0x80 and control characters are word characters.
      {"a\xC3\xA9\x01 b", false, {{IDENTIFIER, "a\xC3\xA9\x01"}, {IDENTIFIER, "b"}}},
      {"{}[]()->==,~", false,
       {{LEFT_BRACE, "{"}, {RIGHT_BRACE, "}"}, {LEFT_BRACKET, "["}, {RIGHT_BRACKET, "]"},
        {LEFT_PAREN, "("}, {RIGHT_PAREN, ")"}, {MINUS, "-"}, {GREATER, ">"},
        {EQUALS, "="}, {EQUALS, "="}, {COMMA, ","}, {TILDE, "~"}}},
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
      {std::string("ab\xFF" "cd"), {{IDENTIFIER, "ab\xFF" "cd"}}},
      {std::string("x \xFF y"), {{KW_X, "x"}, {IDENTIFIER, "\xFF"}, {KW_Y, "y"}}},
      {std::string("x //c\xFFy\nz"), {{KW_X, "x"}, {KW_Z, "z"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadTokens(c.text, false), c.expected);
}

TEST(QasmTokenScannerTest, UnderscoreJoinsAWordButCannotBeginOne) {
  EXPECT_EQ(ReadTokens("my_gate q_a anc_0 a__b_", false),
            (Tokens{{IDENTIFIER, "my_gate"}, {IDENTIFIER, "q_a"},
                    {IDENTIFIER, "anc_0"}, {IDENTIFIER, "a__b_"}}));
  EXPECT_EQ(ReadTokens("_a", false), (Tokens{{UNDERSCORE, "_"}, {IDENTIFIER, "a"}}));
  // Split reading still parts digits from the rest.
  EXPECT_EQ(ReadTokens("q_1", true), (Tokens{{IDENTIFIER, "q_"}, {NUMBER, "1"}}));
}

TEST(QasmTokenScannerTest, WordAtTheEndThenEndOfInputRepeatedly) {
  qasm2 reader;
  ReadFromText(reader, "qreg");
  EXPECT_EQ(reader.NextToken(false).kind, KW_QREG);
  EXPECT_EQ(reader.string_column, 4u);
  EXPECT_EQ(reader.NextToken(false).kind, END_OF_INPUT);
  EXPECT_EQ(reader.NextToken(false).kind, END_OF_INPUT);
  // Every read past the end advances the column by one.
  EXPECT_EQ(reader.string_column, 6u);
}

TEST(QasmTokenScannerTest, SkipNewlinesStopsAtTheFirstOtherToken) {
  qasm2 reader;
  ReadFromText(reader, "\n\n// c\n  x");
  QasmToken token = reader.NextToken(false);
  reader.SkipNewlines(token);
  EXPECT_EQ(token.kind, KW_X);
  EXPECT_EQ(reader.string_line, 3u);
}

}  // namespace

}  // namespace taviron
