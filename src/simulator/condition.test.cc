#include "simulator/condition.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/registers.h"

namespace taviron {

namespace {

constexpr int64_t kUnmeasured = -1;

struct ConditionCase {
  std::string description;
  bool conditioned;
  bool on_clbit;
  uint64_t clbit;
  int32_t register_first;  // register form only
  int32_t register_size;
  uint64_t value;
  std::vector<int64_t> classical_values;
  bool holds;
};

std::vector<int64_t> SetBits(size_t count, std::vector<size_t> ones) {
  std::vector<int64_t> values(count, 0);
  for (size_t k : ones) values[k] = 1;
  return values;
}

TEST(ConditionHoldsTest, DecidesEveryCase) {
  const uint64_t all_ones = ~uint64_t{0};
  const std::vector<ConditionCase> cases = {
      {"unconditioned record", false, true, 99, 0, 0, 7, {}, true},
      {"unconditioned register form", false, false, 0, 0, 3, 7, {0, 0, 0}, true},
      // Bit form.
      {"bit is 1, value 1", true, true, 1, 0, 0, 1, {0, 1}, true},
      {"bit is 0, value 1", true, true, 1, 0, 0, 1, {1, 0}, false},
      {"bit is 0, value 0", true, true, 0, 0, 0, 0, {0}, true},
      {"bit is 1, value 2", true, true, 0, 0, 0, 2, {1}, false},
      {"unmeasured bit, value 0", true, true, 0, 0, 0, 0, {kUnmeasured}, false},
      {"unmeasured bit, all-ones value", true, true, 0, 0, 0, all_ones,
       {kUnmeasured}, false},
      {"bit past the shot's bits, value 0", true, true, 2, 0, 0, 0, {0, 0}, false},
      {"bit far past the shot's bits", true, true, all_ones, 0, 0, 0, {0}, false},
      {"no classical values at all", true, true, 0, 0, 0, 0, {}, false},
      // Register form.
      {"size 0, value 0", true, false, 0, 0, 0, 0, {1, 1}, true},
      {"size 0, value 1", true, false, 0, 0, 0, 1, {1, 1}, false},
      {"bits 1,0,1 from index 1 form 5", true, false, 0, 1, 3, 5, {1, 1, 0, 1}, true},
      {"bits 1,0,1 from index 1 are not 4", true, false, 0, 1, 3, 4, {1, 1, 0, 1}, false},
      {"unmeasured bits count as 0", true, false, 0, 0, 2, 0,
       {kUnmeasured, kUnmeasured}, true},
      {"unmeasured bit beside a set bit", true, false, 0, 0, 2, 2,
       {kUnmeasured, 1}, true},
      {"register reaching past the shot's bits", true, false, 0, 2, 4, 1,
       {0, 0, 1}, true},
      {"register wholly past the shot's bits", true, false, 0, 5, 3, 0, {1, 1}, true},
      {"negative first index reads the missing bits as 0", true, false, 0, -1, 2, 2,
       {1}, true},
      {"bit 63 of a 70-bit register", true, false, 0, 0, 70, uint64_t{1} << 63,
       SetBits(70, {63}), true},
      {"bit 64 of a 70-bit register matches no value", true, false, 0, 0, 70, 0,
       SetBits(70, {64}), false},
      {"bit 64 does not alias bit 0", true, false, 0, 0, 70, 1,
       SetBits(70, {0, 64}), false},
      {"64 set bits form all ones", true, false, 0, 0, 64, all_ones,
       std::vector<int64_t>(64, 1), true},
      {"negative register size reads as empty", true, false, 0, 0, -3, 0, {1}, true},
  };
  for (const ConditionCase& c : cases) {
    SCOPED_TRACE(c.description);
    GateRecord record;
    record.conditioned = c.conditioned;
    record.condition_on_clbit = c.on_clbit;
    record.condition_clbit = c.clbit;
    record.condition_value = c.value;
    if (!c.on_clbit) {
      auto reg = std::make_shared<ClassicalRegister>(0, "c");
      reg->first_index = c.register_first;
      reg->size = c.register_size;
      record.condition_register = reg;
    }
    EXPECT_EQ(ConditionHolds(record, c.classical_values), c.holds);
  }
}

TEST(ConditionHoldsTest, ReadsTheRegisterAsItIsWhenTested) {
  GateRecord record;
  auto reg = std::make_shared<ClassicalRegister>(0, "c");
  reg->first_index = 0;
  reg->size = 2;
  record.conditioned = true;
  record.condition_on_clbit = false;
  record.condition_register = reg;
  record.condition_value = 3;
  const std::vector<int64_t> values = {0, 1, 1, 0};
  EXPECT_FALSE(ConditionHolds(record, values));  // bits 0..1 form 2
  reg->first_index = 1;
  EXPECT_TRUE(ConditionHolds(record, values));  // bits 1..2 form 3
  reg->size = 3;
  EXPECT_TRUE(ConditionHolds(record, values));  // bits 1..3 still form 3
}

TEST(ConditionHoldsTest, RegisterConditionWithoutRegisterReadsAsEmpty) {
  GateRecord record;
  record.conditioned = true;
  record.condition_on_clbit = false;
  record.condition_value = 0;
  EXPECT_TRUE(ConditionHolds(record, {1, 1}));
  record.condition_value = 1;
  EXPECT_FALSE(ConditionHolds(record, {1, 1}));
}

}  // namespace

}  // namespace taviron
