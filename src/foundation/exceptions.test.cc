#include "foundation/exceptions.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

#include <gtest/gtest.h>

namespace taviron {

namespace {

static_assert(std::is_base_of<std::runtime_error, RunTimeError>::value, "");
static_assert(std::is_base_of<std::logic_error, NotImplemented>::value, "");
static_assert(std::is_base_of<std::bad_alloc, MemoryAllocError>::value, "");

TEST(ExceptionsTest, RunTimeErrorKeepsItsMessageWhateverItIsCaughtAs) {
  const std::string message = "Invalid Parameter passed to the gate instruction.";
  try {
    throw RunTimeError(message);
  } catch (const RunTimeError& error) {
    EXPECT_EQ(std::string(error.what()), message);
  }
  try {
    throw RunTimeError(message);
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), message);
  }
  try {
    throw RunTimeError(message);
  } catch (const std::exception& error) {
    EXPECT_EQ(std::string(error.what()), message);
  }
}

TEST(ExceptionsTest, NotImplementedNamesTheFunction) {
  struct Case {
    std::string name;
    std::string message;
  };
  const Case cases[] = {
      {"JobV1::submit", "Function 'JobV1::submit' is not implemented."},
      {"Result::from_dict", "Function 'Result::from_dict' is not implemented."},
      {"", "Function '' is not implemented."},
  };
  for (const Case& c : cases) {
    try {
      throw NotImplemented(c.name);
    } catch (const std::logic_error& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

TEST(ExceptionsTest, MemoryAllocErrorReadsBadAllocation) {
  try {
    throw MemoryAllocError();
  } catch (const std::bad_alloc& error) {
    EXPECT_EQ(std::string(error.what()), "bad allocation");
  }
  const MemoryAllocError original;
  const MemoryAllocError copy(original);
  EXPECT_EQ(std::string(copy.what()), "bad allocation");
}

}  // namespace

}  // namespace taviron
