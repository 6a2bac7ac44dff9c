#include "foundation/python_version_check.h"

#include <cstring>

namespace taviron {

bool PythonVersionMatches(const char* version_text, const char* compiled_for) {
  if (version_text == nullptr || compiled_for == nullptr) {
    return false;
  }
  const size_t length = std::strlen(compiled_for);
  // strncmp stops at the end of a shorter text, so no byte past its
  // terminator is read.
  if (std::strncmp(version_text, compiled_for, length) != 0) {
    return false;
  }
  const char next = version_text[length];
  return next < '0' || next > '9';
}

std::string PythonVersionMismatchMessage(const char* compiled_for,
                                         const char* version_text) {
  return std::string("Python version mismatch: module was compiled for Python ") +
         (compiled_for ? compiled_for : "") +
         ", but the interpreter version is incompatible: " +
         (version_text ? version_text : "") + ".";
}

}  // namespace taviron
