#include "execution/result_memory.h"

#include <string>

#include <gtest/gtest.h>

namespace taviron {

namespace {

TEST(ResultMemoryTest, SizesGrowWithTheirQubitsAndShots) {
  EXPECT_EQ(ShotStorageBytes(0, 5), 0);
  EXPECT_EQ(ShotStorageBytes(-3, 5), 0);
  EXPECT_DOUBLE_EQ(ShotStorageBytes(2000, 2), 1000 * ShotStorageBytes(2, 2));
  // Texts of more than 15 bits no longer fit inside std::string.
  EXPECT_GT(ShotStorageBytes(1, 16) - ShotStorageBytes(1, 15), 1.5);
  EXPECT_DOUBLE_EQ(ProbabilitiesBytes(21), 2 * ProbabilitiesBytes(20));
  EXPECT_DOUBLE_EQ(DensityMatrixBytes(11), 4 * DensityMatrixBytes(10));
  EXPECT_DOUBLE_EQ(StateVectorBytes(11), 2 * StateVectorBytes(10));
  // Beyond any machine, yet still a number.
  EXPECT_GT(DensityMatrixBytes(100), 1e60);
}

TEST(ResultMemoryTest, ShotsCountAtLeastWhatTheyTakeThroughTheReadouts) {
  // Bytes per shot that a run, get_memory() and to_dict() were measured to
  // keep alive together under CPython 3.11: the stored texts and both lists.
  EXPECT_GE(ShotStorageBytes(1, 2), 168);
  EXPECT_GE(ShotStorageBytes(1, 100), 596);
  // And not wildly more, which would refuse runs that fit.
  EXPECT_LE(ShotStorageBytes(1, 2), 1.5 * 168);
  EXPECT_LE(ShotStorageBytes(1, 100), 1.5 * 596);
}

TEST(ResultMemoryTest, RefusesWhatIsAboveTheBudget) {
  const double budget = CurrentMemoryBudget().bytes;
  ASSERT_GT(budget, 0);
  EXPECT_NO_THROW(RequireWithinBudget("A small readout", budget / 2));
  try {
    RequireWithinBudget("The density matrix of 20 qubits", DensityMatrixBytes(20));
    FAIL() << "no exception";
  } catch (const std::bad_alloc& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("The density matrix of 20 qubits needs 79164.8 GB, more than the ", 0), 0u)
        << message;
    EXPECT_NE(message.find(") that this machine can give"), std::string::npos);
  }
}

}  // namespace

}  // namespace taviron
