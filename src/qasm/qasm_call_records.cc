#include "qasm/qasm_call_records.h"

#include <cstring>

#include "circuit/record_memory_limit.h"
#include "foundation/exceptions.h"
#include "foundation/memory_budget.h"

namespace taviron {

namespace {

uint64_t CountRecords(const GateRecord& record) {
  uint64_t count = 1;
  for (const GateRecordPtr& part : record.body) count += CountRecords(*part);
  return count;
}

}  // namespace

std::string QasmCallRecords::Key(size_t gate, const std::vector<int64_t>& qubits,
                                 const std::vector<double>& values) {
  std::string key = std::to_string(gate);
  for (int64_t qubit : qubits) key += "," + std::to_string(qubit);
  key += ";";
  for (double value : values) {
    char bits[sizeof(double)];
    std::memcpy(bits, &value, sizeof(double));
    key.append(bits, sizeof(double));
  }
  return key;
}

GateRecordPtr QasmCallRecords::Find(size_t gate, const std::vector<int64_t>& qubits,
                                    const std::vector<double>& values) const {
  const auto found = composites_.find(Key(gate, qubits, values));
  return found == composites_.end() ? nullptr : found->second;
}

void QasmCallRecords::Reserve(size_t gate, size_t statements, size_t label_length) {
  const auto learned = records_per_call_.find(gate);
  const uint64_t records = learned != records_per_call_.end() ? learned->second : statements + 1;
  // The body is built once on a circuit of its own and then copied.
  reserved_bytes_ += 2 * EstimateRecordBytes(records, BodyRecordShape(label_length));
  if (reserved_bytes_ < next_check_) return;
  const MemoryBudget budget = CurrentMemoryBudget();
  if (budget.bytes < kCheckInterval || reserved_bytes_ > budget.bytes) throw MemoryAllocError();
  next_check_ = reserved_bytes_ + kCheckInterval;
}

void QasmCallRecords::Keep(size_t gate, const std::vector<int64_t>& qubits,
                           const std::vector<double>& values, const GateRecordPtr& composite) {
  records_per_call_[gate] = CountRecords(*composite);
  composites_.emplace(Key(gate, qubits, values), composite);
}

bool QasmCallRecords::IsShared(const GateRecordPtr& record) { return record.use_count() > 1; }

void QasmCallRecords::Clear() {
  composites_.clear();
  records_per_call_.clear();
  reserved_bytes_ = 0;
  next_check_ = kCheckInterval;
}

}  // namespace taviron
