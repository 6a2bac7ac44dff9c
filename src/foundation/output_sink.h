#ifndef TAVIRON_FOUNDATION_OUTPUT_SINK_H
#define TAVIRON_FOUNDATION_OUTPUT_SINK_H

#include <functional>
#include <string>

namespace taviron {

// Where the core's console lines go (progress lines, run start/end lines,
// monitor lines). The core never prints by itself: the Python module passes
// a sink that prints through Python, tests pass one that captures. An empty
// sink discards the text. Each call carries exactly the text handed to one
// print call (a line may carry its own trailing "\n"; print adds its end).
using OutputSink = std::function<void(const std::string& line)>;

}  // namespace taviron

#endif
