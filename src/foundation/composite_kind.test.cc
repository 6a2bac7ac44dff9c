#include "foundation/composite_kind.h"

#include <string>

#include <gtest/gtest.h>

namespace taviron {

namespace {

TEST(CompositeKindTest, LabelDecidesTheKindInAnyCase) {
  struct Case {
    std::string label;
    CompositeKind kind;
  };
  const Case cases[] = {
      {"ccx", CompositeKind::kCcx},         {"CcX", CompositeKind::kCcx},
      {"CCZ", CompositeKind::kCcz},         {"cy", CompositeKind::kCy},
      {"CSWAP", CompositeKind::kCswap},     {"Rccx", CompositeKind::kRccx},
      {"rc3x", CompositeKind::kRc3x},       {"C3SQRTX", CompositeKind::kC3sqrtx},
      {"c3x", CompositeKind::kC3x},         {"C4X", CompositeKind::kC4x},
      {"mcphase", CompositeKind::kMcphase}, {"McRx", CompositeKind::kMcrx},
      {"MCRY", CompositeKind::kMcry},       {"mcrz", CompositeKind::kMcrz},
      {"mCx", CompositeKind::kMcx},
      // Any other label, a near miss included, names no kind.
      {"", CompositeKind::kNone},           {"ccx ", CompositeKind::kNone},
      {"ccxx", CompositeKind::kNone},       {"cc", CompositeKind::kNone},
      {"Gms", CompositeKind::kNone},        {"Pauli", CompositeKind::kNone},
      {"mcp", CompositeKind::kNone},        {"crx", CompositeKind::kNone},
      // Only ASCII letters change case.
      {"\xc3\xa7" "cx", CompositeKind::kNone},
  };
  for (const Case& c : cases) {
    GateRecord record;
    record.gate_type = GateId::kComposite;
    record.label = c.label;
    EXPECT_EQ(CompositeKindOf(record), c.kind) << c.label;
    if (c.kind != CompositeKind::kNone) {
      EXPECT_EQ(std::string(CompositeKindName(c.kind)).size(), c.label.size()) << c.label;
    }
  }
  EXPECT_STREQ(CompositeKindName(CompositeKind::kRc3x), "rc3x");
  EXPECT_STREQ(CompositeKindName(CompositeKind::kNone), "");
}

TEST(CompositeKindTest, OnlyCompositeRecordsHaveAKind) {
  for (GateId id : {GateId::kCCX, GateId::kCCZ, GateId::kCX, GateId::kNone, GateId::kEmpty}) {
    GateRecord record;
    record.gate_type = id;
    record.label = "ccx";
    EXPECT_EQ(CompositeKindOf(record), CompositeKind::kNone) << GateNumber(id);
  }
}

}  // namespace

}  // namespace taviron
