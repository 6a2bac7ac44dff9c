#ifndef TAVIRON_DRAWER_TESTING_CANVAS_PROBE_H
#define TAVIRON_DRAWER_TESTING_CANVAS_PROBE_H

#include <cstdint>
#include <string>
#include <vector>

#include "drawer/text_canvas.h"

namespace taviron {

namespace drawer_testing {

// The geometry of a finished canvas, for the tests.
class CanvasProbe {
 public:
  static const std::vector<std::u16string>& Rows(const TextCanvas& canvas) { return canvas.rows; }
  static uint64_t ColumnCount(const TextCanvas& canvas) { return canvas.column_count; }
  static uint64_t LabelWidth(const TextCanvas& canvas) { return canvas.label_width; }
  static uint64_t EndColumn(const TextCanvas& canvas) { return canvas.end_column; }
  static const std::vector<uint64_t>& FoldBreaks(const TextCanvas& canvas) {
    return canvas.fold_breaks;
  }
};

}  // namespace drawer_testing

}  // namespace taviron

#endif
