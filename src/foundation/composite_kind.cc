#include "foundation/composite_kind.h"

#include <string>

namespace taviron {

namespace {

struct KindRow {
  CompositeKind kind;
  const char* name;
};

constexpr KindRow kKinds[] = {
    {CompositeKind::kCcx, "ccx"},         {CompositeKind::kCcz, "ccz"},
    {CompositeKind::kCy, "cy"},           {CompositeKind::kCswap, "cswap"},
    {CompositeKind::kRccx, "rccx"},       {CompositeKind::kRc3x, "rc3x"},
    {CompositeKind::kC3sqrtx, "c3sqrtx"}, {CompositeKind::kC3x, "c3x"},
    {CompositeKind::kC4x, "c4x"},         {CompositeKind::kMcphase, "mcphase"},
    {CompositeKind::kMcrx, "mcrx"},       {CompositeKind::kMcry, "mcry"},
    {CompositeKind::kMcrz, "mcrz"},       {CompositeKind::kMcx, "mcx"},
};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `label` spells the lower-case `name`, whatever the case of its
// ASCII letters.
bool Spells(const std::string& label, const std::string& name) {
  if (label.size() != name.size()) return false;
  for (size_t k = 0; k < label.size(); ++k) {
    if (AsciiLower(label[k]) != name[k]) return false;
  }
  return true;
}

}  // namespace

CompositeKind CompositeKindOf(const GateRecord& record) {
  if (record.gate_type != GateId::kComposite) return CompositeKind::kNone;
  for (const KindRow& row : kKinds) {
    if (Spells(record.label, row.name)) return row.kind;
  }
  return CompositeKind::kNone;
}

const char* CompositeKindName(CompositeKind kind) {
  for (const KindRow& row : kKinds) {
    if (row.kind == kind) return row.name;
  }
  return "";
}

}  // namespace taviron
