#ifndef TAVIRON_QASM_QASM_CHARACTER_SOURCE_H
#define TAVIRON_QASM_QASM_CHARACTER_SOURCE_H

#include <cstdint>
#include <istream>
#include <sstream>
#include <string>

#include "qasm/qasm_token.h"
#include "qasm/text_mode_file_stream.h"

namespace taviron {

// The input of the OpenQASM reader, one character at a time: a file read in
// text mode (qasm2::load) or a text (qasm2::loads), whichever is active,
// each with the line and column counters that the reader's messages report.
//
// Counters of the active input: a rewind sets both to 0; a character read
// adds 1 to the column, a line feed instead adds 1 to the line and sets the
// column to 1; putting a character back undoes that (a line feed sets the
// column to 1, the earlier line's column is not remembered); putting a
// token back takes its length off the column, or for a line feed token 1
// off the line and the column to 0. Reads past the end of the input return
// end-of-file and count like characters. Counters never go below 0.
class QasmCharacterSource {
 public:
  QasmCharacterSource();
  QasmCharacterSource(const QasmCharacterSource&) = delete;
  QasmCharacterSource& operator=(const QasmCharacterSource&) = delete;

  // Makes a copy of `text` the active input, positioned at its start.
  void ReadText(const std::string& text);
  // Opens the file and, when it opens, makes it the active input (see
  // TextModeFileStream::open, which may throw); the caller asks IsFileOpen
  // whether it opened.
  void ReadFile(const std::string& filename);
  void CloseFile();
  bool IsFileOpen() const { return file_stream_.is_open(); }
  bool reading_file() const { return reading_file_; }

  // The next character of the active input (a byte value), or end-of-file
  // (-1).
  int ReadChar();
  // Puts the character last read back.
  void UnreadChar();
  // Puts a token just read back, character by character.
  void UnreadToken(const QasmToken& token);
  // Clears the active input's error state and positions it at its start.
  void Rewind();

  // The counters of the active input, and its last character read (0 after
  // a put-back).
  uint64_t line() const { return Active().line; }
  uint64_t column() const { return Active().column; }
  char last_char() const { return Active().last_char; }

  // Tab, carriage return, line feed, blank, then the printable ASCII
  // characters that are neither letters nor digits: the position of a
  // delimiter is its token kind.
  static const std::string& Delimiters();

  // While it lives, the source reads `text` through its string input
  // instead of what it was reading; then it puts back what it was reading
  // (a text with its position and counters, or the file). The counters run
  // on from those of the string input.
  class TextDetour {
   public:
    TextDetour(QasmCharacterSource& source, const std::string& text);
    TextDetour(const TextDetour&) = delete;
    TextDetour& operator=(const TextDetour&) = delete;
    ~TextDetour();

   private:
    QasmCharacterSource& source_;
    std::stringstream saved_stream_;
    bool saved_reading_file_;
    uint64_t saved_line_;
    uint64_t saved_column_;
    char saved_last_char_;
  };

 private:
  struct Counters {
    uint64_t line = 0;
    uint64_t column = 0;
    char last_char = 0;
  };

  std::istream& ActiveStream();
  Counters& Active() { return reading_file_ ? file_counters_ : string_counters_; }
  const Counters& Active() const { return reading_file_ ? file_counters_ : string_counters_; }

  TextModeFileStream file_stream_;
  std::stringstream string_stream_;
  Counters file_counters_;
  Counters string_counters_;
  bool reading_file_ = true;
};

}  // namespace taviron

#endif
