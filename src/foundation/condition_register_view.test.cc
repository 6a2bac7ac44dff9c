#include "foundation/condition_register_view.h"

#include <string>

#include <gtest/gtest.h>

namespace taviron {

namespace {

// A register whose fields the test changes after the snapshot.
class ChangingRegister : public ConditionRegisterView {
 public:
  std::string name = "c";
  int64_t first = 3;
  int64_t count = 2;

  const std::string& RegisterName() const override { return name; }
  int64_t FirstBitIndex() const override { return first; }
  int64_t BitCount() const override { return count; }
};

TEST(ConditionRegisterSnapshotTest, KeepsWhatTheRegisterWasWhenTaken) {
  ChangingRegister live;
  const ConditionRegisterSnapshot snapshot(live);
  live.name = "renamed";
  live.first = -7;
  live.count = 0;
  EXPECT_EQ(snapshot.RegisterName(), "c");
  EXPECT_EQ(snapshot.FirstBitIndex(), 3);
  EXPECT_EQ(snapshot.BitCount(), 2);
  EXPECT_EQ(ConditionRegisterSnapshot(snapshot).RegisterName(), "c");
}

}  // namespace

}  // namespace taviron
