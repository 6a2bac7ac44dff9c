#include "foundation/file_name_check.h"

#include <stdexcept>

namespace taviron {

void RequireNoNulInFileName(const std::string& filename) {
  if (filename.find('\0') == std::string::npos) return;
  std::string shown;
  for (char c : filename) {
    if (c == '\0') {
      shown += "\\x00";
    } else {
      shown += c;
    }
  }
  throw std::invalid_argument("The file name '" + shown +
                              "' holds a NUL character (embedded null byte)");
}

}  // namespace taviron
