#ifndef TAVIRON_QASM_QASM_CALL_RECORDS_H
#define TAVIRON_QASM_QASM_CALL_RECORDS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/gate_record.h"

namespace taviron {

// The composites that the calls of a text's own gates have made in one
// load. A call with the same gate, qubits and values as an earlier one
// appends that earlier composite again, so that a gate called over and over
// (a whole register at a time, say) holds one body per distinct call
// instead of a copy each time: every reader of the circuit sees the same
// records in the same places, only shared. A record that is to be changed
// afterwards (a condition set on it) must be copied first; see IsShared.
//
// It also keeps account of the memory that new composites take and refuses
// with MemoryAllocError, before a body is built, when the memory still
// available could not hold the next 64 MiB of them.
class QasmCallRecords {
 public:
  // The composite an earlier call of definition `gate` with these qubits
  // and values made, or null. Values match bit for bit.
  GateRecordPtr Find(size_t gate, const std::vector<int64_t>& qubits,
                     const std::vector<double>& values) const;
  // To be called before the composite of a new call of definition `gate`
  // (a body of `statements` statements, a label of `label_length`
  // characters) is built; throws MemoryAllocError as said above.
  void Reserve(size_t gate, size_t statements, size_t label_length);
  // Keeps the composite that a call made, for the calls alike that follow.
  void Keep(size_t gate, const std::vector<int64_t>& qubits, const std::vector<double>& values,
            const GateRecordPtr& composite);
  // Whether `record` is held here or in more than one place.
  static bool IsShared(const GateRecordPtr& record);
  // Forgets everything (at the start and the end of each load).
  void Clear();

 private:
  static std::string Key(size_t gate, const std::vector<int64_t>& qubits,
                         const std::vector<double>& values);

  std::unordered_map<std::string, GateRecordPtr> composites_;
  // Records (the composite and all it holds) a call of each gate made.
  std::unordered_map<size_t, uint64_t> records_per_call_;
  uint64_t reserved_bytes_ = 0;
  // The first 64 MiB are built without asking the system.
  uint64_t next_check_ = kCheckInterval;

 public:
  // The memory that new composites may take between two questions to the
  // system about how much is left.
  static constexpr uint64_t kCheckInterval = uint64_t{64} << 20;
};

}  // namespace taviron

#endif
