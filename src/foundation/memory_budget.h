#ifndef TAVIRON_FOUNDATION_MEMORY_BUDGET_H
#define TAVIRON_FOUNDATION_MEMORY_BUDGET_H

#include <new>
#include <string>
#include <utility>

namespace taviron {

// How much memory one request (a run's shots, a readout, the records that
// one gate call appends) may take, and the refusal of a request beyond it:
// such a request would otherwise allocate until the system kills the
// process, or fail deep inside with a bare allocation error.

// A refused size. A std::bad_alloc, so Python sees MemoryError, with a text
// that says how much was asked for and how much the process can be given.
class MemoryBudgetError : public std::bad_alloc {
 public:
  explicit MemoryBudgetError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The most that one request may take now, and which limit sets it: the
// smallest of half of the physical memory, the room left under the
// process's address-space limit (RLIMIT_AS) and the room left under the
// memory limit of its control group (cgroup v2 memory.max, v1
// memory.limit_in_bytes; "max" is no limit). Read afresh on every call,
// since the room shrinks as the process grows.
struct MemoryBudget {
  double bytes;
  // "half of the physical memory", "the room left under the address-space
  // limit" or "the room left under the control group's memory limit".
  const char* limit;
};
MemoryBudget CurrentMemoryBudget();

// Throws MemoryBudgetError "<what> needs <x>, more than the <y> (<limit>)
// that this machine can give" when bytes is above the current budget; sizes
// are written in GB, or in MB below one GB.
void RequireWithinBudget(const std::string& what, double bytes);

// Bytes as that text: "1.5 GB", "300 MB".
std::string MemorySizeText(double bytes);

}  // namespace taviron

#endif
