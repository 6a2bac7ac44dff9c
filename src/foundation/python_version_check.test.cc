#include "foundation/python_version_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace taviron {

namespace {

struct VersionCase {
  const char* compiled_for;
  const char* version_text;
  bool matches;
};

TEST(PythonVersionCheckTest, AcceptsOnlyTheCompiledMajorMinor) {
  const std::vector<VersionCase> cases = {
      {"3.9", "3.9.1 (default, Jan  1 2021, 00:00:00) [GCC]", true},
      {"3.9", "3.9 ", true},
      {"3.9", "3.9", true},
      {"3.9", "3.9+", true},
      {"3.9", "3.10.4", false},
      {"3.9", "3.8.10", false},
      {"3.9", "3.90", false},
      {"3.9", "3.", false},
      {"3.9", "", false},
      {"3.9", " 3.9.1", false},
      {"3.11", "3.11.7 (main, Dec  1 2023, 00:00:00) [GCC 12.2.0]", true},
      {"3.11", "3.11", true},
      {"3.11", "3.11a", true},
      {"3.11", "3.1", false},
      {"3.11", "3.110", false},
      {"3.11", "3.12.0", false},
      {"3.11", "3.1.11", false},
      {"3.11", nullptr, false},
  };
  for (const VersionCase& c : cases) {
    EXPECT_EQ(PythonVersionMatches(c.version_text, c.compiled_for), c.matches)
        << "compiled for " << c.compiled_for << ", interpreter "
        << (c.version_text ? c.version_text : "(null)");
  }
}

TEST(PythonVersionCheckTest, MismatchMessageNamesBothVersions) {
  EXPECT_EQ(PythonVersionMismatchMessage("3.11", "3.10.4 (main)"),
            "Python version mismatch: module was compiled for Python 3.11, "
            "but the interpreter version is incompatible: 3.10.4 (main).");
}

}  // namespace

}  // namespace taviron
