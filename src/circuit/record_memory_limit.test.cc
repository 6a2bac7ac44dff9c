#include "circuit/record_memory_limit.h"

#include <complex>
#include <cstdint>
#include <limits>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "foundation/gate_record.h"

namespace taviron {

namespace {

TEST(RecordMemoryLimitTest, EstimateCoversRecordsMatricesAndLongLabels) {
  const uint64_t one = EstimateRecordBytes(1, BodyRecordShape(0));
  EXPECT_GE(one, sizeof(GateRecord) + 16 * sizeof(std::complex<double>));
  EXPECT_EQ(EstimateRecordBytes(1000, BodyRecordShape(0)), 1000 * one);
  // Short labels live inside the string; long ones need their own storage.
  EXPECT_EQ(EstimateRecordBytes(1, BodyRecordShape(15)), one);
  EXPECT_GT(EstimateRecordBytes(1, BodyRecordShape(100)), one + 100);
  // A barrier record carries no matrix and no parameters.
  const uint64_t plain = EstimateRecordBytes(1, RecordShape{0, 1, 0, 0});
  EXPECT_GE(plain, sizeof(GateRecord) + sizeof(uint64_t));
  EXPECT_LT(plain + 16 * sizeof(std::complex<double>), one);
  EXPECT_EQ(EstimateRecordBytes(uint64_t{1} << 62, BodyRecordShape(0)),
            std::numeric_limits<uint64_t>::max());
}

TEST(RecordMemoryLimitTest, RefusesOnlyCallsBeyondTheBudgetSayingWhatTheyNeed) {
  EXPECT_NO_THROW(EnsureRecordsFitInMemory("A small body", 1000, BodyRecordShape(0)));
  try {
    EnsureRecordsFitInMemory("A multi-controlled gate of 40 controls", uint64_t{1} << 41,
                             BodyRecordShape(0));
    ADD_FAILURE() << "a body of 2^41 records accepted";
  } catch (const std::bad_alloc& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("A multi-controlled gate of 40 controls needs ", 0), 0u) << message;
    EXPECT_NE(message.find(" GB, more than the "), std::string::npos) << message;
  }
}

}  // namespace

}  // namespace taviron
