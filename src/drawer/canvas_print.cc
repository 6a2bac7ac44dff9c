// Printing a finished drawing segment by segment, and its UTF-16LE file.

#include <chrono>
#include <fstream>
#include <thread>

#include "drawer/box_glyphs.h"
#include "drawer/text_canvas.h"
#include "foundation/exceptions.h"
#include "foundation/file_name_check.h"

namespace taviron {

namespace {

// Pause after every printed row.
constexpr std::chrono::nanoseconds kRowPause(5000);

void WriteCodeUnit(std::ofstream& file, char16_t unit) {
  const char bytes[2] = {static_cast<char>(unit & 0xFF),
                         static_cast<char>((unit >> 8) & 0xFF)};
  file.write(bytes, 2);
}

}  // namespace

void TextCanvas::Print(const std::string& filename,
                       const WideOutputSink& print) const {
  std::ofstream file;
  if (!filename.empty()) {
    RequireNoNulInFileName(filename);
    file.open(filename, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!file) throw RunTimeError("Unable to open file for writing circuit");
    WriteCodeUnit(file, u'\uFEFF');
  }
  uint64_t segment_start = 0;
  for (uint64_t segment_end : fold_breaks) {
    if (segment_end < segment_start) continue;
    const uint64_t length = segment_end - segment_start + 1;
    for (const std::u16string& row : rows) {
      std::u16string line =
          segment_start < row.size() ? row.substr(segment_start, length) : u"";
      line.resize(length, glyph::kBlank);
      if (print) print(line);
      std::this_thread::sleep_until(std::chrono::steady_clock::now() + kRowPause);
      if (file.is_open()) {
        for (char16_t unit : line) WriteCodeUnit(file, unit);
        WriteCodeUnit(file, u'\n');
      }
    }
    segment_start = segment_end + 1;
  }
  // A full disk or a file size limit shows only when the buffered rows are
  // written out.
  if (file.is_open()) {
    file.close();
    if (!file) throw RunTimeError("Can't write the drawing to the file " + filename + ".");
  }
}

}  // namespace taviron
