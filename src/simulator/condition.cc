#include "simulator/condition.h"

#include <algorithm>

namespace taviron {

namespace {

bool RegisterConditionHolds(const GateRecord& record,
                            const std::vector<int64_t>& classical_values) {
  const ConditionRegisterView* reg = record.condition_register.get();
  const int64_t first = reg ? reg->FirstBitIndex() : 0;
  const int64_t size = reg ? reg->BitCount() : 0;
  // Only the register bits that the shot holds can be 1; the others read as
  // not measured, which counts as 0.
  const int64_t held = static_cast<int64_t>(classical_values.size());
  const int64_t begin = first < 0 ? -first : 0;
  const int64_t end = std::min(size, held - first);
  uint64_t number = 0;
  for (int64_t k = begin; k < end; ++k) {
    if (classical_values[static_cast<size_t>(first + k)] != 1) continue;
    // A set bit beyond the 64 bits of condition_value makes the register's
    // number larger than any value it could be compared with.
    if (k >= 64) return false;
    number |= uint64_t{1} << k;
  }
  return number == record.condition_value;
}

}  // namespace

bool ConditionHolds(const GateRecord& record,
                    const std::vector<int64_t>& classical_values) {
  if (!record.conditioned) return true;
  if (!record.condition_on_clbit) {
    return RegisterConditionHolds(record, classical_values);
  }
  if (record.condition_clbit >= classical_values.size()) return false;
  const int64_t value = classical_values[record.condition_clbit];
  return value >= 0 && static_cast<uint64_t>(value) == record.condition_value;
}

}  // namespace taviron
