#ifndef TAVIRON_FOUNDATION_EXCEPTIONS_H
#define TAVIRON_FOUNDATION_EXCEPTIONS_H

#include <new>
#include <stdexcept>
#include <string>

namespace taviron {

// Failures that the library detects itself: bad indices and parameters,
// undefined names, files that cannot be opened, states that are too large.
class RunTimeError : public std::runtime_error {
 public:
  explicit RunTimeError(const std::string& message);
};

// Operations that exist in the Python interface but do nothing.
class NotImplemented : public std::logic_error {
 public:
  // The message reads "Function '<name>' is not implemented.".
  explicit NotImplemented(const std::string& name);
};

// Allocations that the library checks itself. Its text is "bad allocation"
// on every platform, whatever the C++ library's own std::bad_alloc says.
class MemoryAllocError : public std::bad_alloc {
 public:
  MemoryAllocError() = default;
  const char* what() const noexcept override;
};

}  // namespace taviron

#endif
