#include "execution/run_date.h"

namespace taviron {

std::string CtimeText(std::time_t when) {
  std::tm local{};
  if (::localtime_r(&when, &local) == nullptr) return std::string();
  // asctime_r writes 26 bytes for four-digit years; the buffer leaves room
  // for the longer years that it may print beyond 9999.
  char buffer[64] = {};
  if (::asctime_r(&local, buffer) == nullptr) return std::string();
  return buffer;
}

std::string RunDateText() { return CtimeText(std::time(nullptr)); }

}  // namespace taviron
