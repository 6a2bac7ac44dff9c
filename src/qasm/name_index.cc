#include "qasm/name_index.h"

namespace taviron {

template <class List>
bool QasmNameIndex::CatchUp(const List& list, Kind kind) {
  size_t& indexed = indexed_[static_cast<size_t>(kind)];
  if (list.size() < indexed) return false;
  for (; indexed < list.size(); ++indexed) {
    const Entry entry{kind, indexed};
    const auto [place, inserted] = entries_.emplace(list[indexed].name, entry);
    // A later list's entry never hides an earlier list's one.
    if (!inserted && place->second.kind > kind) place->second = entry;
  }
  return true;
}

const QasmNameIndex::Entry* QasmNameIndex::Find(
    const std::string& name, const std::vector<QasmGateDefinition>& gates,
    const std::vector<QasmGateDefinition>& opaques,
    const std::vector<QasmRegisterDeclaration>& qregs,
    const std::vector<QasmRegisterDeclaration>& cregs) {
  const auto catch_up = [&]() {
    return CatchUp(gates, Kind::kGate) && CatchUp(opaques, Kind::kOpaque) &&
           CatchUp(qregs, Kind::kQuantumRegister) &&
           CatchUp(cregs, Kind::kClassicalRegister);
  };
  if (!catch_up()) {
    Clear();
    catch_up();
  }
  const auto found = entries_.find(name);
  return found == entries_.end() ? nullptr : &found->second;
}

void QasmNameIndex::Clear() {
  entries_.clear();
  for (size_t& count : indexed_) count = 0;
}

}  // namespace taviron
