#include "foundation/exceptions.h"

namespace taviron {

RunTimeError::RunTimeError(const std::string& message)
    : std::runtime_error(message) {}

NotImplemented::NotImplemented(const std::string& name)
    : std::logic_error("Function '" + name + "' is not implemented.") {}

const char* MemoryAllocError::what() const noexcept {
  return "bad allocation";
}

}  // namespace taviron
