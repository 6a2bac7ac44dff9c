#include "qasm/text_mode_file_stream.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

TextModeFileStream::TextModeFileStream() : std::istream(nullptr) {
  rdbuf(&buffer_);
}

void TextModeFileStream::open(const std::string& filename) {
  close();
  std::error_code error;
  if (std::filesystem::is_directory(filename, error)) {
    setstate(std::ios::failbit);
    return;
  }
  std::ifstream file(filename, std::ios::in | std::ios::binary);
  if (!file.is_open()) {
    setstate(std::ios::failbit);
    return;
  }
  const std::string bytes{std::istreambuf_iterator<char>(file),
                          std::istreambuf_iterator<char>()};
  if (file.bad()) {
    setstate(std::ios::failbit);
    return;
  }
  buffer_.str(ToTextModeLineEnds(bytes));
  clear();
  open_ = true;
}

void TextModeFileStream::close() {
  buffer_.str(std::string());
  clear();
  open_ = false;
}

std::string ToTextModeLineEnds(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (size_t k = 0; k < bytes.size(); ++k) {
    if (bytes[k] == '\r' && k + 1 < bytes.size() && bytes[k + 1] == '\n') {
      continue;
    }
    text.push_back(bytes[k]);
  }
  return text;
}
