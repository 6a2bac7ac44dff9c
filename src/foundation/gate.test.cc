#include "foundation/gate.h"

#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include <gtest/gtest.h>

#include "circuit/registers.h"

namespace {

GateRecordList ThreeRecords() {
  return {std::make_shared<GateRecord>(), std::make_shared<GateRecord>(),
          std::make_shared<GateRecord>()};
}

TEST(GateTest, SixtyHandleClassesEachWithItsOwnIdentity) {
  std::set<std::type_index> identities;
  std::vector<std::string> names;
#define TAVIRON_CHECK_HANDLE(Name)                                   \
  static_assert(std::is_base_of_v<Gate, Name>, #Name);               \
  static_assert(sizeof(Name) == sizeof(Gate), #Name " adds a field"); \
  {                                                                  \
    std::unique_ptr<Gate> handle = std::make_unique<Name>();         \
    EXPECT_EQ(handle->label, "");                                    \
    EXPECT_TRUE(handle->records.empty());                            \
    identities.insert(std::type_index(typeid(*handle)));             \
    names.push_back(#Name);                                          \
  }
  TAVIRON_GATE_HANDLE_CLASSES(TAVIRON_CHECK_HANDLE)
#undef TAVIRON_CHECK_HANDLE
  EXPECT_EQ(identities.size(), 60u);
  EXPECT_EQ(names.front(), "HGate");
  EXPECT_EQ(names[13], "RVGate");
  EXPECT_EQ(names[56], "C3SQRTX");
  EXPECT_EQ(names.back(), "UserGate");
  EXPECT_EQ(CXGate("lbl").label, "lbl");
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

TEST(GateTest, CopiesShareRecordsAndReleaseLeavesThemAlone) {
  GateRecordList records = ThreeRecords();
  auto original = std::make_unique<XGate>("x");
  original->records = records;
  XGate copy(*original);
  copy.c_if_clbit(2, 1);
  EXPECT_TRUE(records[0]->conditioned);
  EXPECT_EQ(copy.label, "x");
  EXPECT_EQ(copy.records, original->records);

  original.reset();
  EXPECT_EQ(records[0].use_count(), 2);  // this list and the copy
  EXPECT_TRUE(records[2]->conditioned);
  EXPECT_EQ(records[2]->condition_clbit, 2u);
}

}  // namespace
