#include <gtest/gtest.h>

#include <utility>

#include "qasm/qasm_reader.h"
#include "qasm/testing/reader_fixture.h"

namespace taviron {

namespace {

struct Position {
  uint64_t line;
  uint64_t column;
};

Position StringPosition(const qasm2& reader) {
  return {reader.string_line, reader.string_column};
}

#define EXPECT_POSITION(reader, expected_line, expected_column)   \
  do {                                                             \
    EXPECT_EQ(StringPosition(reader).line, expected_line);         \
    EXPECT_EQ(StringPosition(reader).column, expected_column);     \
  } while (0)

TEST(QasmReaderStreamTest, NewReaderState) {
  qasm2 reader;
  EXPECT_FALSE(reader.version_seen);
  EXPECT_FALSE(reader.qelib1_included);
  EXPECT_TRUE(reader.reading_file);
  EXPECT_FALSE(reader.file_stream.is_open());
  EXPECT_EQ(reader.error_code, QasmErrorCode::NO_ERROR);
  // Tab, CR, LF, blank, then the 32 printable non-alphanumerics in order.
  ASSERT_EQ(reader.delimiters.size(), 36u);
  EXPECT_EQ(reader.delimiters.substr(0, 4), "\t\r\n ");
  EXPECT_EQ(reader.delimiters.substr(4, 3), "!\"#");
  EXPECT_EQ(reader.delimiters[19], ':');
  EXPECT_EQ(reader.delimiters[26], '[');
  EXPECT_EQ(reader.delimiters[32], '{');
  EXPECT_EQ(reader.delimiters[35], '~');
  EXPECT_EQ(reader.delimiters, "\t\r\n !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
  // Each delimiter kind names the character at its position.
  using Kind = QasmTokenKind;
  const std::pair<Kind, char> kinds[] = {
      {Kind::TAB, '\t'},         {Kind::CARRIAGE_RETURN, '\r'}, {Kind::NEWLINE, '\n'},    {Kind::BLANK, ' '},
      {Kind::EXCLAMATION, '!'},  {Kind::QUOTE, '"'},           {Kind::HASH, '#'},        {Kind::DOLLAR, '$'},
      {Kind::PERCENT, '%'},      {Kind::AMPERSAND, '&'},       {Kind::APOSTROPHE, '\''}, {Kind::LEFT_PAREN, '('},
      {Kind::RIGHT_PAREN, ')'},  {Kind::STAR, '*'},            {Kind::PLUS, '+'},        {Kind::COMMA, ','},
      {Kind::MINUS, '-'},        {Kind::FULL_STOP, '.'},       {Kind::SLASH, '/'},       {Kind::COLON, ':'},
      {Kind::SEMICOLON, ';'},    {Kind::LESS, '<'},            {Kind::EQUALS, '='},      {Kind::GREATER, '>'},
      {Kind::QUESTION, '?'},     {Kind::AT, '@'},              {Kind::LEFT_BRACKET, '['}, {Kind::BACKSLASH, '\\'},
      {Kind::RIGHT_BRACKET, ']'}, {Kind::CARET, '^'},          {Kind::UNDERSCORE, '_'},  {Kind::BACKQUOTE, '`'},
      {Kind::LEFT_BRACE, '{'},   {Kind::BAR, '|'},             {Kind::RIGHT_BRACE, '}'}, {Kind::TILDE, '~'}};
  for (const auto& [kind, character] : kinds) {
    EXPECT_EQ(reader.delimiters[static_cast<size_t>(kind)], character) << kind;
  }
}

TEST(QasmReaderStreamTest, ReadCountsLinesAndColumns) {
  qasm2 reader;
  ReadFromText(reader, "ab\ncd");
  const Position expected[] = {{0, 1}, {0, 2}, {1, 1}, {1, 2}, {1, 3}};
  const char characters[] = "ab\ncd";
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(reader.ReadChar(), characters[k]);
    EXPECT_POSITION(reader, expected[k].line, expected[k].column);
  }
  reader.UnreadChar();
  EXPECT_POSITION(reader, 1u, 2u);
  EXPECT_EQ(reader.string_last_char, 0);
  EXPECT_EQ(reader.ReadChar(), 'd');
}

TEST(QasmReaderStreamTest, UnreadWordAndNewlineTokens) {
  qasm2 reader;
  ReadFromText(reader, "abc x");
  const QasmToken word = reader.ScanToken(false);
  EXPECT_EQ(word.text, "abc");
  EXPECT_POSITION(reader, 0u, 3u);
  reader.UnreadToken(word);
  EXPECT_POSITION(reader, 0u, 0u);
  EXPECT_EQ(reader.ReadChar(), 'a');

  ReadFromText(reader, "abc\nx");
  reader.ScanToken(false);
  const QasmToken newline = reader.ScanToken(false);
  ASSERT_EQ(newline.kind, QasmTokenKind::NEWLINE);
  EXPECT_POSITION(reader, 1u, 1u);
  reader.UnreadToken(newline);
  EXPECT_POSITION(reader, 0u, 0u);
  EXPECT_EQ(reader.ReadChar(), '\n');
  EXPECT_POSITION(reader, 1u, 1u);
}

TEST(QasmReaderStreamTest, EndOfInputStaysAtTheEnd) {
  qasm2 reader;
  ReadFromText(reader, "a");
  EXPECT_EQ(reader.ReadChar(), 'a');
  EXPECT_EQ(reader.ReadChar(), -1);
  EXPECT_EQ(reader.ReadChar(), -1);
  EXPECT_POSITION(reader, 0u, 3u);
  reader.UnreadChar();
  EXPECT_POSITION(reader, 0u, 2u);
  EXPECT_EQ(reader.ReadChar(), -1);
  // Only a rewind makes the stream readable again.
  reader.Rewind();
  EXPECT_POSITION(reader, 0u, 0u);
  EXPECT_EQ(reader.ReadChar(), 'a');
}

TEST(QasmReaderStreamTest, PutBackAcrossALineFeedStopsTheColumnAtZero) {
  // The word "rr" ends at a line feed, which is read and put back (column
  // 1); putting the word back then cannot take the column below zero.
  qasm2 reader;
  ReadFromText(reader, "rr\n");
  const QasmToken word = reader.ScanToken(false);
  EXPECT_POSITION(reader, 0u, 1u);
  reader.UnreadToken(word);
  EXPECT_POSITION(reader, 0u, 0u);
  EXPECT_EQ(LoadsFailure("qreg q[1];\nh rr\n"),
            "Error Invalid parameter in line 2 at 0");
}

TEST(QasmReaderStreamTest, RegisterLookupsAreExactAndPerKind) {
  DeclaredCircuit declared({{"q", 2}}, {{"c", 2}});
  EXPECT_TRUE(declared.reader.IsQuantumRegister("q"));
  EXPECT_FALSE(declared.reader.IsQuantumRegister("Q"));
  EXPECT_FALSE(declared.reader.IsQuantumRegister("c"));
  EXPECT_TRUE(declared.reader.IsClassicalRegister("c"));
  EXPECT_FALSE(declared.reader.IsClassicalRegister("q"));
}

}  // namespace

}  // namespace taviron
