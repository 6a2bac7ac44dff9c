// How much memory a decomposition body needs, and whether the process can
// still get that much.

#include "circuit/body_memory_limit.h"

#include <algorithm>
#include <complex>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "foundation/exceptions.h"
#include "foundation/gate_record.h"

namespace taviron {

namespace {

constexpr uint64_t kUnknown = std::numeric_limits<uint64_t>::max();

// Bookkeeping of the allocator per allocation.
constexpr uint64_t kAllocationOverhead = 16;
// Labels up to this length live inside the string object itself.
constexpr size_t kShortLabel = 15;
// Bodies up to this size are built without asking how much memory is left.
constexpr uint64_t kAlwaysAttempted = uint64_t{64} << 20;

uint64_t SaturatingMultiply(uint64_t a, uint64_t b) {
  if (a != 0 && b > kUnknown / a) return kUnknown;
  return a * b;
}

#if defined(__linux__)

// The value of a "<key>: <n> kB" line of /proc/meminfo, in bytes.
uint64_t ReadMemInfoBytes(const std::string& key) {
  std::ifstream file("/proc/meminfo");
  std::string line;
  while (std::getline(file, line)) {
    if (line.compare(0, key.size(), key) != 0 || line.size() <= key.size() ||
        line[key.size()] != ':') {
      continue;
    }
    std::istringstream fields(line.substr(key.size() + 1));
    uint64_t kilobytes = 0;
    if (fields >> kilobytes) return SaturatingMultiply(kilobytes, 1024);
  }
  return kUnknown;
}

// The number in a one-line file ("max" and unreadable files give kUnknown).
uint64_t ReadNumberFile(const std::string& path) {
  std::ifstream file(path);
  uint64_t value = 0;
  if (file >> value) return value;
  return kUnknown;
}

// Room under a limit, given the files that hold the limit and the usage.
uint64_t RoomUnder(const std::string& limit_file, const std::string& used_file) {
  const uint64_t limit = ReadNumberFile(limit_file);
  if (limit == kUnknown) return kUnknown;
  const uint64_t used = ReadNumberFile(used_file);
  if (used == kUnknown) return limit;
  return used >= limit ? 0 : limit - used;
}

// Room left under the memory limit of the process's control group (the
// unified hierarchy, or the memory controller of the older one), looked up
// at the group's own path and at the root of the mounted hierarchy.
uint64_t ControlGroupRoom() {
  std::string unified_path;
  std::string memory_path;
  std::ifstream cgroup("/proc/self/cgroup");
  std::string line;
  while (std::getline(cgroup, line)) {
    const size_t first = line.find(':');
    const size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    if (controllers.empty()) unified_path = path;
    if (("," + controllers + ",").find(",memory,") != std::string::npos) {
      memory_path = path;
    }
  }
  uint64_t room = kUnknown;
  for (const std::string& dir :
       {"/sys/fs/cgroup" + unified_path, std::string("/sys/fs/cgroup")}) {
    room = std::min(room, RoomUnder(dir + "/memory.max", dir + "/memory.current"));
  }
  for (const std::string& dir : {"/sys/fs/cgroup/memory" + memory_path,
                                 std::string("/sys/fs/cgroup/memory")}) {
    room = std::min(room, RoomUnder(dir + "/memory.limit_in_bytes",
                                    dir + "/memory.usage_in_bytes"));
  }
  return room;
}

uint64_t SystemAvailable() { return ReadMemInfoBytes("MemAvailable"); }

#else

uint64_t ControlGroupRoom() { return kUnknown; }

uint64_t SystemAvailable() {
#if defined(_SC_AVPHYS_PAGES)
  const long pages = sysconf(_SC_AVPHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  if (pages > 0 && page_size > 0) {
    return SaturatingMultiply(static_cast<uint64_t>(pages),
                              static_cast<uint64_t>(page_size));
  }
#endif
  return kUnknown;
}

#endif

// Room left under the process's address-space limit.
uint64_t AddressSpaceRoom() {
#if defined(__unix__) || defined(__APPLE__)
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return kUnknown;
  }
  uint64_t used = 0;
#if defined(__linux__)
  std::ifstream statm("/proc/self/statm");
  uint64_t pages = 0;
  const long page_size = sysconf(_SC_PAGESIZE);
  if (statm >> pages && page_size > 0) {
    used = SaturatingMultiply(pages, static_cast<uint64_t>(page_size));
  }
#endif
  const uint64_t cap = static_cast<uint64_t>(limit.rlim_cur);
  return used >= cap ? 0 : cap - used;
#else
  return kUnknown;
#endif
}

}  // namespace

uint64_t EstimateBodyBytes(uint64_t records, size_t label_length) {
  uint64_t per_record =
      // The record and the shared count in one allocation.
      sizeof(GateRecord) + 2 * sizeof(void*) + kAllocationOverhead +
      // The 4x4 matrix, two operands and up to four parameters.
      16 * sizeof(std::complex<double>) + kAllocationOverhead +
      2 * sizeof(uint64_t) + kAllocationOverhead + 4 * sizeof(double) +
      kAllocationOverhead +
      // Its slot in the body.
      sizeof(GateRecordPtr);
  if (label_length > kShortLabel) {
    per_record += label_length + 1 + kAllocationOverhead;
  }
  return SaturatingMultiply(records, per_record);
}

uint64_t AvailableMemoryBytes() {
  return std::min({SystemAvailable(), ControlGroupRoom(), AddressSpaceRoom()});
}

void EnsureBodyFitsInMemory(uint64_t records, size_t label_length) {
  const uint64_t bytes = EstimateBodyBytes(records, label_length);
  // Small bodies are left to the allocator: asking the system costs more
  // than building them.
  if (bytes <= kAlwaysAttempted) return;
  if (bytes > AvailableMemoryBytes()) throw MemoryAllocError();
}

}  // namespace taviron
