#ifndef TAVIRON_DRAWER_WIDE_OUTPUT_SINK_H
#define TAVIRON_DRAWER_WIDE_OUTPUT_SINK_H

#include <functional>
#include <string>

namespace taviron {

// Where the rows of a drawing go: one call per printed row, the row's UTF-16
// code units without a line end (the receiver ends the line). An empty sink
// discards the rows.
using WideOutputSink = std::function<void(const std::u16string& row)>;

}  // namespace taviron

#endif
