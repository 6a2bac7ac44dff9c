#include "circuit/body_memory_limit.h"

#include <complex>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "foundation/exceptions.h"
#include "foundation/gate_record.h"

namespace taviron {

namespace {

TEST(BodyMemoryLimitTest, EstimateCoversRecordsAndLongLabels) {
  const uint64_t one = EstimateBodyBytes(1, 0);
  EXPECT_GE(one, sizeof(GateRecord) + 16 * sizeof(std::complex<double>));
  EXPECT_EQ(EstimateBodyBytes(1000, 0), 1000 * one);
  // Short labels live inside the string; long ones need their own storage.
  EXPECT_EQ(EstimateBodyBytes(1, 15), one);
  EXPECT_GT(EstimateBodyBytes(1, 100), one + 100);
  EXPECT_EQ(EstimateBodyBytes(uint64_t{1} << 62, 0),
            std::numeric_limits<uint64_t>::max());
}

TEST(BodyMemoryLimitTest, RefusesOnlyBodiesBeyondTheAvailableMemory) {
  // The test machine has far more than a few kilobytes and far less than
  // an exabyte available.
  EXPECT_GT(AvailableMemoryBytes(), uint64_t{1} << 20);
  EXPECT_LT(AvailableMemoryBytes(), uint64_t{1} << 60);
  EXPECT_NO_THROW(EnsureBodyFitsInMemory(1000, 0));
  try {
    EnsureBodyFitsInMemory(uint64_t{1} << 40, 0);
    ADD_FAILURE() << "a body of 2^40 records accepted";
  } catch (const MemoryAllocError& e) {
    EXPECT_STREQ(e.what(), "bad allocation");
  }
}

}  // namespace

}  // namespace taviron
