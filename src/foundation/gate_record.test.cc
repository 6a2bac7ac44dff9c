#include "foundation/gate_record.h"

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/registers.h"

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
  EXPECT_EQ(record.gate_type, 0);
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
    record.gate_type = 53;
    record.label = c.label;
    EXPECT_EQ(record.GetName(), c.answer) << c.label;
    EXPECT_EQ(record.GetLabel(), c.answer) << c.label;
    EXPECT_EQ(record.label, c.label) << "the lookup must not change the label";
  }
}

TEST(GateRecordTest, CloneCopiesEveryFieldAndSharesBodyAndRegister) {
  auto part = std::make_shared<GateRecord>();
  part->gate_type = 1;
  auto reg = std::make_shared<ClassicalRegister>(3, "flags");

  GateRecord original;
  original.matrix = MatrixXcd::Identity(2, 2);
  original.qubits = {4, 2};
  original.clbits = {7};
  original.gate_type = 53;
  original.label = "block";
  original.start_time = 11;
  original.end_time = 12;
  original.params = {0.25, -1.5};
  original.body = {part};
  original.texts = {"X", "Z"};
  original.conditioned = true;
  original.condition_value = 5;
  original.condition_on_clbit = false;
  original.condition_clbit = 9;
  original.condition_register = reg;

  const GateRecordPtr copy = original.Clone();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->matrix, original.matrix);
  EXPECT_EQ(copy->qubits, original.qubits);
  EXPECT_EQ(copy->clbits, original.clbits);
  EXPECT_EQ(copy->gate_type, 53);
  EXPECT_EQ(copy->label, "block");
  EXPECT_EQ(copy->start_time, 11);
  EXPECT_EQ(copy->end_time, 12);
  EXPECT_EQ(copy->params, original.params);
  ASSERT_EQ(copy->body.size(), 1u);
  EXPECT_EQ(copy->body[0], part);
  EXPECT_EQ(copy->texts, original.texts);
  EXPECT_TRUE(copy->conditioned);
  EXPECT_EQ(copy->condition_value, 5u);
  EXPECT_FALSE(copy->condition_on_clbit);
  EXPECT_EQ(copy->condition_clbit, 9u);
  EXPECT_EQ(copy->condition_register, reg);

  // The copy's own data is independent of the original's.
  original.matrix(0, 0) = 3.0;
  original.qubits.push_back(8);
  original.body.clear();
  EXPECT_EQ(copy->matrix(0, 0), std::complex<double>(1.0, 0.0));
  EXPECT_EQ(copy->qubits.size(), 2u);
  EXPECT_EQ(copy->body.size(), 1u);
}

TEST(GateRecordTest, ConditionKeepsItsRegisterAlive) {
  GateRecord record;
  std::weak_ptr<ClassicalRegister> watch;
  {
    auto reg = std::make_shared<ClassicalRegister>(2, "c");
    watch = reg;
    record.condition_register = reg;
  }
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(record.condition_register->name, "c");
  EXPECT_EQ(record.condition_register->size, 2);
}

}  // namespace
