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

TEST(ResultMemoryTest, RefusesWhatIsAboveHalfThePhysicalMemory) {
  const double budget = MemoryBudgetBytes();
  ASSERT_GT(budget, 0);
  EXPECT_NO_THROW(RequireWithinBudget("A small readout", budget));
  try {
    RequireWithinBudget("The density matrix of 20 qubits", DensityMatrixBytes(20));
    FAIL() << "no exception";
  } catch (const std::bad_alloc& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind("The density matrix of 20 qubits needs 79164.8 GB, more than the ", 0), 0u)
        << message;
    EXPECT_NE(message.find(" GB (half of the physical memory) that this machine can give"),
              std::string::npos);
  }
}

}  // namespace

}  // namespace taviron
