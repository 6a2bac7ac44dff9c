#include "foundation/memory_budget.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <new>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace taviron {

namespace {

double HalfPhysicalMemory() {
  return static_cast<double>(::sysconf(_SC_PHYS_PAGES)) *
         static_cast<double>(::sysconf(_SC_PAGESIZE)) / 2;
}

// The address space the process maps now.
double MappedBytes() {
  std::ifstream statm("/proc/self/statm");
  double pages = 0;
  statm >> pages;
  return pages * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

TEST(MemoryBudgetTest, IsAtMostHalfThePhysicalMemory) {
  const MemoryBudget budget = CurrentMemoryBudget();
  EXPECT_GT(budget.bytes, 0);
  EXPECT_LE(budget.bytes, HalfPhysicalMemory());
  EXPECT_NE(std::string(budget.limit).find("memory"), std::string::npos);
}

TEST(MemoryBudgetTest, FollowsALoweredAddressSpaceLimit) {
  // Sanitizer builds map terabytes of shadow memory: no limit fits there.
  const double mapped = MappedBytes();
  if (mapped > 1e12) GTEST_SKIP() << "the process maps " << mapped << " bytes";
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_AS, &saved), 0);
  const double room = 512.0 * (1 << 20);
  rlimit lowered = saved;
  lowered.rlim_cur = static_cast<rlim_t>(mapped + room);
  if (saved.rlim_cur != RLIM_INFINITY && saved.rlim_cur < lowered.rlim_cur) {
    GTEST_SKIP() << "the limit is already lower";
  }
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &lowered), 0);
  const MemoryBudget budget = CurrentMemoryBudget();
  std::string refusal;
  try {
    RequireWithinBudget("A run of 1000000000 shots", 2e9);
  } catch (const std::bad_alloc& e) {
    refusal = e.what();
  }
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &saved), 0);
  EXPECT_LE(budget.bytes, room + (1 << 20));
  EXPECT_GT(budget.bytes, room / 2);
  EXPECT_STREQ(budget.limit, "the room left under the address-space limit");
  EXPECT_EQ(refusal.rfind("A run of 1000000000 shots needs 2.0 GB, more than the ", 0), 0u)
      << refusal;
  EXPECT_NE(refusal.find(" MB (the room left under the address-space limit) that this "
                         "machine can give"),
            std::string::npos)
      << refusal;
}

TEST(MemoryBudgetTest, RefusesOnlyWhatIsAboveTheBudget) {
  EXPECT_NO_THROW(RequireWithinBudget("A small readout", 1e6));
  EXPECT_THROW(RequireWithinBudget("An exabyte", 1e18), MemoryBudgetError);
  EXPECT_EQ(MemorySizeText(1.5e9), "1.5 GB");
  EXPECT_EQ(MemorySizeText(299.2e6), "300 MB");
}

}  // namespace

}  // namespace taviron
