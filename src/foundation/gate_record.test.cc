#include "foundation/gate_record.h"

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

namespace taviron {

namespace {

static_assert(!std::is_copy_constructible<GateRecord>::value,
              "records are shared, never copied by accident");
static_assert(!std::is_copy_assignable<GateRecord>::value,
              "records are shared, never copied by accident");

TEST(GateRecordTest, FreshRecordHasDefinedDefaults) {
  const GateRecord record;
  EXPECT_EQ(record.matrix.rows(), 0);
  EXPECT_EQ(record.matrix.cols(), 0);
  EXPECT_TRUE(record.qubits.empty());
  EXPECT_TRUE(record.clbits.empty());
  EXPECT_EQ(record.gate_type, GateId::kNone);
  EXPECT_EQ(record.label, "");
  EXPECT_EQ(record.start_time, 0);
  EXPECT_EQ(record.end_time, 0);
  EXPECT_TRUE(record.params.empty());
  EXPECT_TRUE(record.body.empty());
  EXPECT_TRUE(record.texts.empty());
  EXPECT_FALSE(record.conditioned);
  EXPECT_EQ(record.condition_value, 0u);
  EXPECT_TRUE(record.condition_on_clbit);
  EXPECT_EQ(record.condition_clbit, 0u);
  EXPECT_EQ(record.condition_register, nullptr);
  EXPECT_EQ(record.GetName(), "");
  EXPECT_EQ(record.GetLabel(), "");
}

TEST(GateRecordTest, CompositeAnswersItsLabelWithCcxAndCczLowerCased) {
  struct Case {
    std::string label;
    std::string answer;
  };
  const Case cases[] = {
      {"ccx", "ccx"},       {"CCX", "ccx"},     {"cCx", "ccx"},
      {"ccz", "ccz"},       {"CCZ", "ccz"},     {"CcZ", "ccz"},
      {"Rccx", "Rccx"},     {"cswap", "cswap"}, {"Pauli", "Pauli"},
      {"cc", "cc"},         {"CCXX", "CCXX"},   {"ccx ", "ccx "},
      {"ccxz", "ccxz"},     {"", ""},           {"MyCircuit", "MyCircuit"},
      {"\xc3\xa7" "cx", "\xc3\xa7" "cx"},  // only ASCII letters change case
  };
  for (const Case& c : cases) {
    GateRecord record;
    record.gate_type = GateId::kComposite;
    record.label = c.label;
    EXPECT_EQ(record.GetName(), c.answer) << c.label;
    EXPECT_EQ(record.GetLabel(), c.answer) << c.label;
    EXPECT_EQ(record.label, c.label) << "the lookup must not change the label";
  }
}

}  // namespace

}  // namespace taviron
