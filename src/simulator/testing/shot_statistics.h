#ifndef TAVIRON_SIMULATOR_TESTING_SHOT_STATISTICS_H
#define TAVIRON_SIMULATOR_TESTING_SHOT_STATISTICS_H

// Test-only: the bit strings of many shots against the exact distribution
// of their record list.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "simulator/testing/dense_reference.h"

namespace taviron {

// Every bit string seen has a nonzero exact probability, and the count of
// every possible one lies within 5 standard deviations (plus one) of its
// expected count. The tests draw from fixed seeds, so the counts are the
// same on every run and the check cannot flake.
inline void ExpectExactDistribution(int n, const GateRecordList& records,
                                    const std::vector<std::string>& bits) {
  std::map<std::string, int> counts;
  for (const std::string& b : bits) ++counts[b];
  const std::map<std::string, double> exact = ExactShotDistribution(n, records);
  for (const auto& entry : counts) {
    EXPECT_TRUE(exact.count(entry.first)) << entry.first << " cannot occur";
  }
  const double shots = static_cast<double>(bits.size());
  for (const auto& entry : exact) {
    const double p = entry.second;
    const auto found = counts.find(entry.first);
    const int count = found == counts.end() ? 0 : found->second;
    EXPECT_LE(std::abs(count - shots * p), 5.0 * std::sqrt(std::max(0.0, shots * p * (1.0 - p))) + 1.0)
        << entry.first << ": p " << p;
  }
}

}  // namespace taviron

#endif
