#include "execution/run_arguments.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

namespace taviron {

namespace {

TEST(RunArgumentsTest, ModesAreReadInAnyLetterCase) {
  struct Case {
    std::string mode;
    bool sync;
    bool named;
  };
  const Case cases[] = {
      {"sync", true, true},    {"SYNC", true, true},     {"sYnC", true, true},
      {"async", false, true},  {"ASYNC", false, true},   {"Async", false, true},
      {"", false, false},      {"bogus", false, false},  {"synchronous", false, false},
      {" sync", false, false}, {std::string("sync\0", 5), false, false}, {"\xc5\xbfync", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSyncMode(c.mode), c.sync) << c.mode;
    EXPECT_EQ(IsNamedRunMode(c.mode), c.named) << c.mode;
  }
}

TEST(RunArgumentsTest, OnlyNegativeShotCountsAreRefused) {
  EXPECT_NO_THROW(RequireShotCount(0));
  EXPECT_NO_THROW(RequireShotCount(2147483647));
  try {
    RequireShotCount(-5);
    ADD_FAILURE() << "-5 accepted";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "The shot count must not be negative: shots=-5.");
  }
  EXPECT_THROW(RequireShotCount(-2147483647 - 1), std::invalid_argument);
}

}  // namespace

}  // namespace taviron
