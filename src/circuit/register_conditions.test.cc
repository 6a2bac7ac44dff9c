// Records and gate handles conditioned on a classical register: the record
// shares the register object, which lives as long as any record naming it.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/registers.h"
#include "foundation/gate.h"
#include "foundation/gate_record.h"

namespace taviron {

namespace {

GateRecordList ThreeRecords() {
  return {std::make_shared<GateRecord>(), std::make_shared<GateRecord>(),
          std::make_shared<GateRecord>()};
}

TEST(GateRecordTest, CloneCopiesEveryFieldAndSharesBodyAndRegister) {
  auto part = std::make_shared<GateRecord>();
  part->gate_type = GateId::kH;
  auto reg = std::make_shared<ClassicalRegister>(3, "flags");

  GateRecord original;
  original.matrix = MatrixXcd::Identity(2, 2);
  original.qubits = {4, 2};
  original.clbits = {7};
  original.gate_type = GateId::kComposite;
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
  EXPECT_EQ(copy->gate_type, GateId::kComposite);
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
  EXPECT_EQ(record.condition_register->RegisterName(), "c");
  EXPECT_EQ(record.condition_register->BitCount(), 2);
}

TEST(GateTest, ConditionOnAHandleWithoutRecordsDoesNothing) {
  Gate handle("");
  handle.c_if_clbit(3, 1);
  handle.c_if(std::make_shared<ClassicalRegister>(0, ""), 1);
  EXPECT_TRUE(handle.records.empty());
}

TEST(GateTest, LaterConditionReplacesTheEarlierOneOnEveryRecord) {
  auto reg = std::make_shared<ClassicalRegister>(0, "c");
  reg->size = 2;
  HGate handle("h");
  handle.records = ThreeRecords();

  handle.c_if(reg, 4);  // more than two bits can hold: stored all the same
  for (const GateRecordPtr& record : handle.records) {
    EXPECT_TRUE(record->conditioned);
    EXPECT_FALSE(record->condition_on_clbit);
    EXPECT_EQ(record->condition_register, reg);  // the object, not a copy
    EXPECT_EQ(record->condition_value, 4u);
    EXPECT_EQ(record->condition_clbit, 0u);
  }

  handle.c_if_clbit(0, 1);
  for (const GateRecordPtr& record : handle.records) {
    EXPECT_TRUE(record->conditioned);
    EXPECT_TRUE(record->condition_on_clbit);
    EXPECT_EQ(record->condition_clbit, 0u);
    EXPECT_EQ(record->condition_value, 1u);
    EXPECT_EQ(record->condition_register, reg);  // kept, no longer read
  }
}

}  // namespace

}  // namespace taviron
