#include "qasm/text_mode_file_stream.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace taviron {

TextModeFileStream::TextModeFileStream() : std::istream(nullptr) {
  rdbuf(&buffer_);
}

void TextModeFileStream::open(const std::string& filename) {
  close();
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(filename, error);
  const std::uintmax_t size =
      error ? 0 : std::filesystem::file_size(filename, error);
  if (error || !std::filesystem::is_regular_file(status) || size > kMaxBytes) {
    setstate(std::ios::failbit);
    return;
  }
  std::ifstream file(filename, std::ios::in | std::ios::binary);
  if (!file.is_open()) {
    setstate(std::ios::failbit);
    return;
  }
  // The file may have changed since it was looked at: the read stops one
  // byte past the cap, and a file that reaches it is refused.
  std::string bytes;
  bytes.reserve(static_cast<size_t>(size));
  std::string chunk(1 << 16, '\0');
  while (file && bytes.size() <= kMaxBytes) {
    const std::streamsize wanted = static_cast<std::streamsize>(
        std::min<std::uintmax_t>(chunk.size(), kMaxBytes + 1 - bytes.size()));
    file.read(chunk.data(), wanted);
    bytes.append(chunk.data(), static_cast<size_t>(file.gcount()));
  }
  if (file.bad() || bytes.size() > kMaxBytes) {
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

}  // namespace taviron
