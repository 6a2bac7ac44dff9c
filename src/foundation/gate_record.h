#ifndef TAVIRON_FOUNDATION_GATE_RECORD_H
#define TAVIRON_FOUNDATION_GATE_RECORD_H

#include <complex>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "foundation/condition_register_view.h"
#include "foundation/gate_id.h"

namespace taviron {

using Eigen::MatrixXcd;

struct GateRecord;

// Records are shared between the instruction list that holds them and the
// Gate handles that refer to them; a record lives as long as its last holder.
using GateRecordPtr = std::shared_ptr<GateRecord>;
using GateRecordList = std::vector<GateRecordPtr>;

// One instruction of a circuit. Plain public data; the builders fill the
// fields directly after default construction.
struct GateRecord {
  MatrixXcd matrix;
  std::vector<uint64_t> qubits;
  std::vector<uint64_t> clbits;
  GateId gate_type = GateId::kNone;
  std::string label;
  int64_t start_time = 0;
  int64_t end_time = 0;
  std::vector<double> params;
  GateRecordList body;
  std::vector<std::string> texts;
  bool conditioned = false;
  uint64_t condition_value = 0;
  bool condition_on_clbit = true;
  uint64_t condition_clbit = 0;
  // Shared so that a register named by a condition never dangles; its
  // current first index and size are read whenever the condition is tested.
  std::shared_ptr<const ConditionRegisterView> condition_register;

  GateRecord() = default;
  GateRecord& operator=(const GateRecord&) = delete;

  // A new record with a copy of every field; the body's sub-records are
  // shared, not copied, since a composite body never changes once built.
  GateRecordPtr Clone() const;

  std::string GetName() const;
  std::string GetLabel() const;

 private:
  // Only Clone copies a record, so that none is copied by accident; the key
  // lets it do so through make_shared.
  struct CopyKey {
    explicit CopyKey() = default;
  };

 public:
  GateRecord(CopyKey, const GateRecord& other) : GateRecord(other) {}

 private:
  // Every field, so that a field added later is copied too.
  GateRecord(const GateRecord&) = default;
};

}  // namespace taviron

#endif
