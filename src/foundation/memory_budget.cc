#include "foundation/memory_budget.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace taviron {

namespace {

const char* const kHalfPhysical = "half of the physical memory";
const char* const kAddressSpace = "the room left under the address-space limit";
const char* const kControlGroup = "the room left under the control group's memory limit";

double HalfPhysicalMemory() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return HUGE_VAL;
  return static_cast<double>(pages) * static_cast<double>(page_size) / 2;
}

// The first number of a file ("max", a missing or unreadable file: none).
bool ReadNumber(const std::string& path, double& value) {
  std::ifstream file(path);
  unsigned long long number = 0;
  if (!(file >> number)) return false;
  value = static_cast<double>(number);
  return true;
}

// Room left under the address-space limit: the limit less the address
// space the process already maps.
double AddressSpaceRoom() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return HUGE_VAL;
  const double cap = static_cast<double>(limit.rlim_cur);
  double pages = 0;
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (!ReadNumber("/proc/self/statm", pages) || page_size <= 0) return cap;
  const double used = pages * static_cast<double>(page_size);
  return used >= cap ? 0 : cap - used;
}

// The folders of a control group and of each group above it, the group's
// own first, under one mounted hierarchy.
std::vector<std::string> GroupAndAncestors(const std::string& mount, std::string path) {
  std::vector<std::string> folders;
  while (!path.empty() && path != "/") {
    folders.push_back(mount + path);
    path.erase(path.rfind('/'));
  }
  folders.push_back(mount);
  return folders;
}

// The smallest room under the limits of a group and its ancestors, each
// the limit file's value less the usage file's; groups without a limit (or
// without the files, as in a hierarchy not mounted here) do not count.
double RoomUnderGroupLimits(const std::vector<std::string>& folders, const char* limit_name,
                            const char* usage_name) {
  double room = HUGE_VAL;
  for (const std::string& folder : folders) {
    double limit = 0;
    if (!ReadNumber(folder + "/" + limit_name, limit)) continue;
    double used = 0;
    if (!ReadNumber(folder + "/" + usage_name, used)) used = 0;
    room = std::fmin(room, used >= limit ? 0 : limit - used);
  }
  return room;
}

// Room left under the memory limits of the process's control group: the
// unified hierarchy (mounted at /sys/fs/cgroup, or at /sys/fs/cgroup/unified
// beside the older one) and the memory controller of the older one.
double ControlGroupRoom() {
  std::string unified_path;
  std::string memory_path;
  std::ifstream groups("/proc/self/cgroup");
  std::string line;
  while (std::getline(groups, line)) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    if (controllers.empty()) unified_path = path;
    if (("," + controllers + ",").find(",memory,") != std::string::npos) memory_path = path;
  }
  double room = HUGE_VAL;
  for (const char* mount : {"/sys/fs/cgroup", "/sys/fs/cgroup/unified"}) {
    room = std::fmin(room, RoomUnderGroupLimits(GroupAndAncestors(mount, unified_path),
                                                "memory.max", "memory.current"));
  }
  room = std::fmin(room,
                   RoomUnderGroupLimits(GroupAndAncestors("/sys/fs/cgroup/memory", memory_path),
                                        "memory.limit_in_bytes", "memory.usage_in_bytes"));
  return room;
}

}  // namespace

MemoryBudget CurrentMemoryBudget() {
  MemoryBudget budget{HalfPhysicalMemory(), kHalfPhysical};
  const double address_space = AddressSpaceRoom();
  if (address_space < budget.bytes) budget = {address_space, kAddressSpace};
  const double group = ControlGroupRoom();
  if (group < budget.bytes) budget = {group, kControlGroup};
  return budget;
}

std::string MemorySizeText(double bytes) {
  char text[48];
  if (bytes >= 1e9) {
    std::snprintf(text, sizeof text, "%.1f GB", bytes / 1e9);
  } else {
    std::snprintf(text, sizeof text, "%.0f MB", std::ceil(bytes / 1e6));
  }
  return text;
}

void RequireWithinBudget(const std::string& what, double bytes) {
  const MemoryBudget budget = CurrentMemoryBudget();
  if (bytes <= budget.bytes) return;
  throw MemoryBudgetError(what + " needs " + MemorySizeText(bytes) + ", more than the " +
                          MemorySizeText(budget.bytes) + " (" + budget.limit +
                          ") that this machine can give");
}

}  // namespace taviron
