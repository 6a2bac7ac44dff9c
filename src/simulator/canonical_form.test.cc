#include "simulator/canonical_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taviron {

namespace {

// Steps on a chain of 8 sites and the frontiers after each one.
enum class Step { kCollapse, kRepairLeft, kPassLeft, kRepairRight, kPassRight, kSplitPair };
struct Event {
  Step step;
  int64_t site;  // the collapsed site, or the left site of a split pair
  int64_t left_frontier;
  int64_t right_frontier;
};

TEST(CanonicalFormTest, FrontiersFollowCollapsesRepairsAndSplits) {
  const std::vector<std::vector<Event>> sequences = {
      // A collapse breaks one site; passing the break on moves it along;
      // ending it at a bond of dimension 1 finds the next broken site.
      {{Step::kCollapse, 3, 3, 3},
       {Step::kPassLeft, 0, 4, 3},
       {Step::kCollapse, 4, 4, 4},
       {Step::kPassRight, 0, 4, 3},
       {Step::kPassRight, 0, 4, 2},
       {Step::kRepairLeft, 0, 8, 2},
       {Step::kRepairRight, 0, 8, -1}},
      // A second collapse left of the first: the left break of the first
      // is met again after the second has ended.
      {{Step::kCollapse, 5, 5, 5},
       {Step::kPassRight, 0, 5, 4},
       {Step::kPassRight, 0, 5, 3},
       {Step::kPassRight, 0, 5, 2},
       {Step::kCollapse, 2, 2, 2},
       {Step::kRepairLeft, 0, 5, 2},
       {Step::kPassLeft, 0, 6, 2},
       {Step::kRepairRight, 0, 6, -1},
       {Step::kPassLeft, 0, 7, -1},
       {Step::kRepairLeft, 0, 8, -1}},
      // A split of the pair holding the centre leaves the break on its
      // inner side; a split away from the breaks changes nothing.
      {{Step::kCollapse, 4, 4, 4},
       {Step::kSplitPair, 4, 5, 4},
       {Step::kSplitPair, 3, 5, 3},
       {Step::kSplitPair, 0, 5, 3},
       {Step::kPassLeft, 0, 6, 3},
       {Step::kSplitPair, 6, 7, 3}},
  };
  for (size_t s = 0; s < sequences.size(); ++s) {
    CanonicalForm form(8);
    EXPECT_TRUE(form.IsCanonical());
    for (size_t i = 0; i < sequences[s].size(); ++i) {
      const Event& e = sequences[s][i];
      switch (e.step) {
        case Step::kCollapse: form.Collapse(e.site); break;
        case Step::kRepairLeft: form.RepairLeft(false); break;
        case Step::kPassLeft: form.RepairLeft(true); break;
        case Step::kRepairRight: form.RepairRight(false); break;
        case Step::kPassRight: form.RepairRight(true); break;
        case Step::kSplitPair: form.SplitPair(e.site); break;
      }
      const std::string where = "sequence " + std::to_string(s) + ", step " + std::to_string(i);
      EXPECT_EQ(form.left_frontier(), e.left_frontier) << where;
      EXPECT_EQ(form.right_frontier(), e.right_frontier) << where;
      EXPECT_TRUE(form.CentreWithin(e.right_frontier, e.left_frontier)) << where;
    }
  }
  CanonicalForm form(8);
  form.Collapse(2);
  form.Reset(8);
  EXPECT_TRUE(form.IsCanonical());
}

}  // namespace

}  // namespace taviron
