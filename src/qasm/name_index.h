#ifndef TAVIRON_QASM_NAME_INDEX_H
#define TAVIRON_QASM_NAME_INDEX_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "qasm/qasm_records.h"

namespace taviron {

// A hash index over the names of the reader's four declaration lists, so
// that a name is found in constant time however many registers and gates a
// text declares. The lists stay the record of what was declared: the index
// catches up with entries appended to them since the last lookup, and starts
// anew when a list has been emptied.
class QasmNameIndex {
 public:
  enum class Kind { kGate, kOpaque, kQuantumRegister, kClassicalRegister };
  struct Entry {
    Kind kind;
    size_t position;  // in the list of its kind
  };

  // The entry of `name`, or nullptr. When a name stands in two lists, the
  // first in the order above wins.
  const Entry* Find(const std::string& name,
                    const std::vector<QasmGateDefinition>& gates,
                    const std::vector<QasmGateDefinition>& opaques,
                    const std::vector<QasmRegisterDeclaration>& qregs,
                    const std::vector<QasmRegisterDeclaration>& cregs);
  // Forgets every name, for lists that have been emptied.
  void Clear();

 private:
  template <class List>
  bool CatchUp(const List& list, Kind kind);

  std::unordered_map<std::string, Entry> entries_;
  size_t indexed_[4] = {0, 0, 0, 0};
};

}  // namespace taviron

#endif
