#include "execution/run_arguments.h"

#include <stdexcept>

namespace taviron {

namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

void RequireShotCount(int32_t shots) {
  if (shots < 0) {
    throw std::invalid_argument("The shot count must not be negative: shots=" +
                                std::to_string(shots) + ".");
  }
}

bool IsSyncMode(const std::string& mode) { return UpperAscii(mode) == "SYNC"; }

bool IsNamedRunMode(const std::string& mode) {
  const std::string upper = UpperAscii(mode);
  return upper == "SYNC" || upper == "ASYNC";
}

}  // namespace taviron
