#ifndef TAVIRON_CIRCUIT_COMPOSITE_NAME_INDEX_H
#define TAVIRON_CIRCUIT_COMPOSITE_NAME_INDEX_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/gate_record.h"

namespace taviron {

// A circuit's composite records by label, so that attaching a circuit finds
// the composites of its name without scanning the whole instruction list.
// Under each label it keeps the position of one composite per distinct body
// (usually one: a differing body gets another name). It catches up with the
// records appended since its last use; anything else that reorders or
// empties the list must Reset it.
class CompositeNameIndex {
 public:
  // Whether a composite labelled `label` in `gates` has a body that
  // GateListsEqual tells apart from `body`.
  bool HasOtherBody(const GateRecordList& gates, const std::string& label,
                    const GateRecordList& body);
  void Reset();

 private:
  void CatchUp(const GateRecordList& gates);

  size_t indexed_ = 0;
  std::unordered_map<std::string, std::vector<size_t>> distinct_bodies_;
};

}  // namespace taviron

#endif
