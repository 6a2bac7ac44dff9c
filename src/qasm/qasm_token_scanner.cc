#include "qasm/qasm_token_scanner.h"

#include <string>

#include "foundation/text_utilities.h"
#include "qasm/qasm_keyword_table.h"

namespace taviron {

namespace {

using Kind = QasmTokenKind;

// What ReadChar returns at the end of the input. Every byte, 0xFF
// included, is an ordinary character.
bool IsEndOfInput(int c) { return c == std::char_traits<char>::eof(); }

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

QasmToken QasmTokenScanner::ScanToken(bool split) {
  int c = source_.ReadChar();
  if (IsEndOfInput(c)) return QasmToken{"", Kind::END_OF_INPUT};
  std::string word;
  bool word_is_digits = false;
  while (true) {
    // An underscore inside a word belongs to it (my_gate, q_a); one that
    // would begin a word is a delimiter of its own.
    const bool word_underscore = c == '_' && !word.empty();
    const size_t position = word_underscore ? std::string::npos
                                            : QasmCharacterSource::Delimiters().find(
                                                  static_cast<char>(c));
    if (position != std::string::npos) {
      if (word.empty()) {
        return QasmToken{std::string(1, static_cast<char>(c)),
                         static_cast<Kind>(position)};
      }
      source_.UnreadChar();
      return QasmToken{word, Kind::IDENTIFIER};
    }
    if (split && !word.empty() && IsDigit(c) != word_is_digits) {
      source_.UnreadChar();
      return QasmToken{word, Kind::IDENTIFIER};
    }
    if (word.empty()) word_is_digits = IsDigit(c);
    word_is_digits = word_is_digits && IsDigit(c);
    word.push_back(static_cast<char>(c));
    c = source_.ReadChar();
    if (IsEndOfInput(c)) {
      source_.UnreadChar();
      return QasmToken{word, Kind::IDENTIFIER};
    }
  }
}

QasmToken QasmTokenScanner::NextToken(bool split) {
  while (true) {
    QasmToken token = ScanToken(split);
    if (token.kind == Kind::TAB || token.kind == Kind::BLANK) continue;
    if (token.kind == Kind::SLASH) {
      if (SkipComment()) continue;
      return token;
    }
    if (token.kind == Kind::IDENTIFIER) {
      token.kind = IsAllDigits(token.text) ? Kind::NUMBER : FindKeywordKind(token.text);
    }
    return token;
  }
}

bool QasmTokenScanner::SkipComment() {
  if ((source_.ReadChar() & 0xFF) != '/') {
    source_.UnreadChar();
    return false;
  }
  int skipped = source_.ReadChar();
  while (skipped != '\n' && !IsEndOfInput(skipped)) skipped = source_.ReadChar();
  return true;
}

void QasmTokenScanner::SkipNewlines(QasmToken& token) {
  while (token.kind == Kind::NEWLINE) token = NextToken(false);
}

QasmToken QasmTokenScanner::NextSignificantToken(bool split) {
  QasmToken token = NextToken(split);
  SkipNewlines(token);
  return token;
}

}  // namespace taviron
