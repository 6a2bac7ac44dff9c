#ifndef TAVIRON_QASM_TEXT_MODE_FILE_STREAM_H
#define TAVIRON_QASM_TEXT_MODE_FILE_STREAM_H

#include <cstdint>
#include <istream>
#include <sstream>
#include <string>

namespace taviron {

// A file opened for reading as text: every carriage return directly followed
// by a line feed reads as that line feed alone (a lone carriage return stays).
// The file is read whole when it is opened, so the stream positions, seeks
// and put-backs of the reader act on the converted text.
class TextModeFileStream : public std::istream {
 public:
  TextModeFileStream();
  TextModeFileStream(const TextModeFileStream&) = delete;
  TextModeFileStream& operator=(const TextModeFileStream&) = delete;

  // The largest file that opens: 128 MiB.
  static constexpr std::uintmax_t kMaxBytes = std::uintmax_t{128} << 20;

  // Opens and reads the file; on failure the stream is left closed with its
  // failbit set. Only a regular file of at most kMaxBytes opens: a
  // directory, a FIFO or a device (which could block or never end) and a
  // larger file do not, and no more than kMaxBytes + 1 bytes are ever read.
  void open(const std::string& filename);
  bool is_open() const { return open_; }
  // Drops the text; the stream is then closed and at its start.
  void close();

 private:
  std::stringbuf buffer_{std::ios::in};
  bool open_ = false;
};

// The text with each "\r\n" pair replaced by "\n".
std::string ToTextModeLineEnds(const std::string& bytes);

}  // namespace taviron

#endif
