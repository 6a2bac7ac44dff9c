#include "foundation/gate.h"

#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include <gtest/gtest.h>

namespace taviron {

namespace {

GateRecordList ThreeRecords() {
  return {std::make_shared<GateRecord>(), std::make_shared<GateRecord>(),
          std::make_shared<GateRecord>()};
}

TEST(GateTest, EveryHandleClassHasItsOwnIdentity) {
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
  EXPECT_EQ(identities.size(), names.size());
  EXPECT_EQ(names.front(), "HGate");
  EXPECT_EQ(names[13], "RVGate");
  EXPECT_EQ(names[56], "C3SQRTX");
  EXPECT_EQ(names.back(), "UserGate");
  EXPECT_EQ(CXGate("lbl").label, "lbl");
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

}  // namespace taviron
