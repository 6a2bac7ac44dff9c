#ifndef TAVIRON_DRAWER_TESTING_DRAWING_CAPTURE_H
#define TAVIRON_DRAWER_TESTING_DRAWING_CAPTURE_H

// Test-only helpers: the printed rows of a drawing as UTF-8 lines, so that
// expected drawings can be written as plain string literals.

#include <string>
#include <vector>

#include "drawer/text_canvas.h"

namespace taviron {

namespace drawer_testing {

inline std::string ToUtf8(const std::u16string& row) {
  std::string text;
  for (char16_t unit : row) {
    const unsigned value = unit;
    if (value < 0x80) {
      text += static_cast<char>(value);
    } else if (value < 0x800) {
      text += static_cast<char>(0xC0 | (value >> 6));
      text += static_cast<char>(0x80 | (value & 0x3F));
    } else {
      text += static_cast<char>(0xE0 | (value >> 12));
      text += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (value & 0x3F));
    }
  }
  return text;
}

// Every printed row, in order.
inline std::vector<std::string> PrintedRows(const TextCanvas& canvas) {
  std::vector<std::string> rows;
  canvas.Print("", [&rows](const std::u16string& row) {
    rows.push_back(ToUtf8(row));
  });
  return rows;
}

inline std::vector<std::string> Drawing(const QuantumCircuit& circuit,
                                        bool plot_barriers = true,
                                        int fold = 80) {
  return PrintedRows(TextCanvas(circuit, true, plot_barriers, fold));
}

inline std::string Joined(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& row : rows) text += row + "\n";
  return text;
}

}  // namespace drawer_testing

}  // namespace taviron

#endif
