#include "qasm/qasm_character_source.h"

#include <ios>
#include <utility>

namespace taviron {

namespace {

std::string MakeDelimiters() {
  std::string text = "\t\r\n ";
  for (int c = 0x21; c <= 0x7E; ++c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit) text.push_back(static_cast<char>(c));
  }
  return text;
}

// A counter lowered by a put-back. The column of an earlier line is not
// remembered, so a token put back across a line feed could take the column
// below zero: it stops at zero instead of wrapping around.
uint64_t CountDown(uint64_t counter, uint64_t amount) {
  return counter > amount ? counter - amount : 0;
}

}  // namespace

QasmCharacterSource::QasmCharacterSource() = default;

const std::string& QasmCharacterSource::Delimiters() {
  static const std::string delimiters = MakeDelimiters();
  return delimiters;
}

void QasmCharacterSource::ReadText(const std::string& text) {
  string_stream_ = std::stringstream(text);
  reading_file_ = false;
}

void QasmCharacterSource::ReadFile(const std::string& filename) {
  file_stream_.open(filename);
  if (file_stream_.is_open()) reading_file_ = true;
}

void QasmCharacterSource::CloseFile() { file_stream_.close(); }

std::istream& QasmCharacterSource::ActiveStream() {
  if (reading_file_) return file_stream_;
  return string_stream_;
}

int QasmCharacterSource::ReadChar() {
  const int c = ActiveStream().get();
  Counters& counters = Active();
  counters.last_char = static_cast<char>(c);
  if (counters.last_char == '\n') {
    ++counters.line;
    counters.column = 1;
  } else {
    ++counters.column;
  }
  return c;
}

void QasmCharacterSource::UnreadChar() {
  ActiveStream().unget();
  Counters& counters = Active();
  if (counters.last_char == '\n') {
    counters.line = CountDown(counters.line, 1);
    counters.column = 1;
  } else {
    counters.column = CountDown(counters.column, 1);
  }
  counters.last_char = 0;
}

void QasmCharacterSource::UnreadToken(const QasmToken& token) {
  std::istream& stream = ActiveStream();
  const auto length = static_cast<std::streamoff>(token.text.size());
  if (length == 1) {
    stream.unget();
  } else if (length > 1) {
    stream.seekg(-length, std::ios::cur);
  }
  Counters& counters = Active();
  if (token.kind == QasmTokenKind::NEWLINE) {
    counters.line = CountDown(counters.line, 1);
    counters.column = 0;
  } else {
    counters.column = CountDown(counters.column, static_cast<uint64_t>(length));
  }
}

void QasmCharacterSource::Rewind() {
  std::istream& stream = ActiveStream();
  stream.clear();
  stream.seekg(0, std::ios::beg);
  Counters& counters = Active();
  counters.line = 0;
  counters.column = 0;
}

QasmCharacterSource::TextDetour::TextDetour(QasmCharacterSource& source,
                                            const std::string& text)
    : source_(source),
      saved_stream_(std::move(source.string_stream_)),
      saved_reading_file_(source.reading_file_),
      saved_line_(source.string_counters_.line),
      saved_column_(source.string_counters_.column),
      saved_last_char_(source.string_counters_.last_char) {
  source.string_stream_ = std::stringstream(text);
  source.reading_file_ = false;
}

QasmCharacterSource::TextDetour::~TextDetour() {
  source_.string_stream_ = std::move(saved_stream_);
  source_.reading_file_ = saved_reading_file_;
  source_.string_counters_ = {saved_line_, saved_column_, saved_last_char_};
}

}  // namespace taviron
