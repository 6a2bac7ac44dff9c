#include <gtest/gtest.h>

#include <utility>

#include "qasm/qasm_character_source.h"
#include "qasm/qasm_reading.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

struct Position {
  uint64_t line;
  uint64_t column;
};

// The counters of the string input, which ReadFromText makes the active one.
Position StringPosition(const QasmReading& reading) {
  return {reading.source().line(), reading.source().column()};
}

#define EXPECT_POSITION(reading, expected_line, expected_column)   \
  do {                                                              \
    EXPECT_EQ(StringPosition(reading).line, expected_line);         \
    EXPECT_EQ(StringPosition(reading).column, expected_column);     \
  } while (0)

TEST(QasmReaderStreamTest, NewReaderState) {
  const QasmReading reading;
  EXPECT_FALSE(reading.declarations().version_seen());
  EXPECT_FALSE(reading.declarations().qelib1_included());
  EXPECT_TRUE(reading.source().reading_file());
  EXPECT_FALSE(reading.source().IsFileOpen());
  EXPECT_EQ(reading.error_code(), QasmErrorCode::NO_ERROR);
  // Tab, CR, LF, blank, then the 32 printable non-alphanumerics in order.
  const std::string& delimiters = QasmCharacterSource::Delimiters();
  ASSERT_EQ(delimiters.size(), 36u);
  EXPECT_EQ(delimiters.substr(0, 4), "\t\r\n ");
  EXPECT_EQ(delimiters.substr(4, 3), "!\"#");
  EXPECT_EQ(delimiters[19], ':');
  EXPECT_EQ(delimiters[26], '[');
  EXPECT_EQ(delimiters[32], '{');
  EXPECT_EQ(delimiters[35], '~');
  EXPECT_EQ(delimiters, "\t\r\n !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
  // Each delimiter kind names the character at its position.
  using Kind = QasmTokenKind;
  const std::pair<Kind, char> kinds[] = {
      {Kind::TAB, '\t'},          {Kind::CARRIAGE_RETURN, '\r'}, {Kind::NEWLINE, '\n'},
      {Kind::BLANK, ' '},         {Kind::EXCLAMATION, '!'},     {Kind::QUOTE, '"'},
      {Kind::HASH, '#'},          {Kind::DOLLAR, '$'},          {Kind::PERCENT, '%'},
      {Kind::AMPERSAND, '&'},     {Kind::APOSTROPHE, '\''},     {Kind::LEFT_PAREN, '('},
      {Kind::RIGHT_PAREN, ')'},   {Kind::STAR, '*'},            {Kind::PLUS, '+'},
      {Kind::COMMA, ','},         {Kind::MINUS, '-'},           {Kind::FULL_STOP, '.'},
      {Kind::SLASH, '/'},         {Kind::COLON, ':'},           {Kind::SEMICOLON, ';'},
      {Kind::LESS, '<'},          {Kind::EQUALS, '='},          {Kind::GREATER, '>'},
      {Kind::QUESTION, '?'},      {Kind::AT, '@'},              {Kind::LEFT_BRACKET, '['},
      {Kind::BACKSLASH, '\\'},   {Kind::RIGHT_BRACKET, ']'},   {Kind::CARET, '^'},
      {Kind::UNDERSCORE, '_'},    {Kind::BACKQUOTE, '`'},       {Kind::LEFT_BRACE, '{'},
      {Kind::BAR, '|'},           {Kind::RIGHT_BRACE, '}'},     {Kind::TILDE, '~'}};
  for (const auto& [kind, character] : kinds) {
    EXPECT_EQ(delimiters[static_cast<size_t>(kind)], character) << kind;
  }
}

TEST(QasmReaderStreamTest, ReadCountsLinesAndColumns) {
  QasmReading reading;
  ReadFromText(reading, "ab\ncd");
  const Position expected[] = {{0, 1}, {0, 2}, {1, 1}, {1, 2}, {1, 3}};
  const char characters[] = "ab\ncd";
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(reading.source().ReadChar(), characters[k]);
    EXPECT_POSITION(reading, expected[k].line, expected[k].column);
  }
  reading.source().UnreadChar();
  EXPECT_POSITION(reading, 1u, 2u);
  EXPECT_EQ(reading.source().last_char(), 0);
  EXPECT_EQ(reading.source().ReadChar(), 'd');
}

TEST(QasmReaderStreamTest, UnreadWordAndNewlineTokens) {
  QasmReading reading;
  ReadFromText(reading, "abc x");
  const QasmToken word = reading.tokens().ScanToken(false);
  EXPECT_EQ(word.text, "abc");
  EXPECT_POSITION(reading, 0u, 3u);
  reading.source().UnreadToken(word);
  EXPECT_POSITION(reading, 0u, 0u);
  EXPECT_EQ(reading.source().ReadChar(), 'a');

  ReadFromText(reading, "abc\nx");
  reading.tokens().ScanToken(false);
  const QasmToken newline = reading.tokens().ScanToken(false);
  ASSERT_EQ(newline.kind, QasmTokenKind::NEWLINE);
  EXPECT_POSITION(reading, 1u, 1u);
  reading.source().UnreadToken(newline);
  EXPECT_POSITION(reading, 0u, 0u);
  EXPECT_EQ(reading.source().ReadChar(), '\n');
  EXPECT_POSITION(reading, 1u, 1u);
}

TEST(QasmReaderStreamTest, EndOfInputStaysAtTheEnd) {
  QasmReading reading;
  ReadFromText(reading, "a");
  EXPECT_EQ(reading.source().ReadChar(), 'a');
  EXPECT_EQ(reading.source().ReadChar(), -1);
  EXPECT_EQ(reading.source().ReadChar(), -1);
  EXPECT_POSITION(reading, 0u, 3u);
  reading.source().UnreadChar();
  EXPECT_POSITION(reading, 0u, 2u);
  EXPECT_EQ(reading.source().ReadChar(), -1);
  // Only a rewind makes the stream readable again.
  reading.source().Rewind();
  EXPECT_POSITION(reading, 0u, 0u);
  EXPECT_EQ(reading.source().ReadChar(), 'a');
}

TEST(QasmReaderStreamTest, PutBackAcrossALineFeedStopsTheColumnAtZero) {
  // The word "rr" ends at a line feed, which is read and put back (column
  // 1); putting the word back then cannot take the column below zero.
  QasmReading reading;
  ReadFromText(reading, "rr\n");
  const QasmToken word = reading.tokens().ScanToken(false);
  EXPECT_POSITION(reading, 0u, 1u);
  reading.source().UnreadToken(word);
  EXPECT_POSITION(reading, 0u, 0u);
  EXPECT_EQ(LoadsFailure("qreg q[1];\nh rr\n"),
            "Error Invalid parameter in line 2 at 0");
}

TEST(QasmReaderStreamTest, RegisterLookupsAreExactAndPerKind) {
  DeclaredCircuit declared({{"q", 2}}, {{"c", 2}});
  const QasmDeclarations& declarations = declared.reading.declarations();
  EXPECT_TRUE(declarations.IsQuantumRegister("q"));
  EXPECT_FALSE(declarations.IsQuantumRegister("Q"));
  EXPECT_FALSE(declarations.IsQuantumRegister("c"));
  EXPECT_TRUE(declarations.IsClassicalRegister("c"));
  EXPECT_FALSE(declarations.IsClassicalRegister("q"));
}

}  // namespace

}  // namespace taviron
