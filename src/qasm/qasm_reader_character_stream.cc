// The reader object and the character-level operations on its two streams.
#include <ios>

#include "qasm/qasm_reader.h"

namespace taviron {

namespace {

// Tab, carriage return, line feed, blank, then every printable ASCII
// character that is neither a letter nor a digit, in ascending order.
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

qasm2::qasm2() : delimiters(MakeDelimiters()) {}

std::istream& qasm2::ActiveStream() {
  if (reading_file) return file_stream;
  return string_stream;
}

int qasm2::ReadChar() {
  const int c = ActiveStream().get();
  uint64_t& line = reading_file ? file_line : string_line;
  uint64_t& column = reading_file ? file_column : string_column;
  char& last = reading_file ? file_last_char : string_last_char;
  last = static_cast<char>(c);
  if (last == '\n') {
    ++line;
    column = 1;
  } else {
    ++column;
  }
  return c;
}

void qasm2::UnreadChar() {
  ActiveStream().unget();
  uint64_t& line = reading_file ? file_line : string_line;
  uint64_t& column = reading_file ? file_column : string_column;
  char& last = reading_file ? file_last_char : string_last_char;
  if (last == '\n') {
    line = CountDown(line, 1);
    column = 1;
  } else {
    column = CountDown(column, 1);
  }
  last = 0;
}

void qasm2::UnreadToken(const QasmToken& token) {
  std::istream& stream = ActiveStream();
  const auto length = static_cast<std::streamoff>(token.text.size());
  if (length == 1) {
    stream.unget();
  } else if (length > 1) {
    stream.seekg(-length, std::ios::cur);
  }
  uint64_t& line = reading_file ? file_line : string_line;
  uint64_t& column = reading_file ? file_column : string_column;
  if (token.kind == QasmTokenKind::NEWLINE) {
    line = CountDown(line, 1);
    column = 0;
  } else {
    column = CountDown(column, static_cast<uint64_t>(length));
  }
}

void qasm2::Rewind() {
  std::istream& stream = ActiveStream();
  stream.clear();
  stream.seekg(0, std::ios::beg);
  if (reading_file) {
    file_line = 0;
    file_column = 0;
  } else {
    string_line = 0;
    string_column = 0;
  }
}

const QasmNameIndex::Entry* qasm2::FindName(const std::string& name) const {
  return name_index.Find(name, gate_definitions, opaque_definitions,
                         qreg_declarations, creg_declarations);
}

QasmGateDefinition* qasm2::FindGateDefinition(const std::string& name) {
  const QasmNameIndex::Entry* entry = FindName(name);
  if (entry == nullptr || entry->kind != QasmNameIndex::Kind::kGate) return nullptr;
  return &gate_definitions[entry->position];
}

bool qasm2::IsQuantumRegister(std::string name) const {
  const QasmNameIndex::Entry* entry = FindName(name);
  return entry != nullptr && entry->kind == QasmNameIndex::Kind::kQuantumRegister;
}

bool qasm2::IsClassicalRegister(std::string name) const {
  const QasmNameIndex::Entry* entry = FindName(name);
  return entry != nullptr && entry->kind == QasmNameIndex::Kind::kClassicalRegister;
}

}  // namespace taviron
