#ifndef TAVIRON_QASM_QASM_TOKEN_SCANNER_H
#define TAVIRON_QASM_QASM_TOKEN_SCANNER_H

#include "qasm/qasm_character_source.h"
#include "qasm/qasm_token.h"

namespace taviron {

// Cuts the characters of a source into tokens. A raw token is one delimiter
// character, one word (a run of other characters; an underscore inside a
// word belongs to it), or the end of the input; NextToken drops blanks,
// tabs and comments and classifies words as numbers, keywords or
// identifiers. The split flag also ends a word where it changes between
// digits and other characters (q12ab gives q, 12 and ab).
class QasmTokenScanner {
 public:
  explicit QasmTokenScanner(QasmCharacterSource& source) : source_(source) {}

  QasmToken ScanToken(bool split);
  QasmToken NextToken(bool split);
  // Replaces a NEWLINE token by the next token until it is none.
  void SkipNewlines(QasmToken& token);
  // NextToken followed by SkipNewlines.
  QasmToken NextSignificantToken(bool split);
  void UnreadToken(const QasmToken& token) { source_.UnreadToken(token); }

 private:
  // After a slash: reads a comment to its line feed, which it consumes, and
  // answers true; otherwise puts the character back and answers false.
  bool SkipComment();

  QasmCharacterSource& source_;
};

}  // namespace taviron

#endif
