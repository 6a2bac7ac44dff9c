// Which painter draws which record.

#include <string>
#include <vector>

#include "drawer/text_canvas.h"
#include "foundation/composite_kind.h"
#include "foundation/exceptions.h"

namespace taviron {

namespace {

enum class Painter {
  kSingleQubitGate,
  kControlledGate,
  kTwoQubitBox,
  kZZ,
  kSwap,
  kMeasure,
  kBarrier,
  kControlledSwap,
  kToffoli,
  kCcz,
  kComposite,
  kUnexpected,
};

// The painter of each id. The switch names every id and has no default
// (-Werror=switch), so a gate added to GateId does not compile until it is
// given its painter here.
Painter PainterOf(GateId gate_type) {
  switch (gate_type) {
    case GateId::kH:
    case GateId::kX:
    case GateId::kI:
    case GateId::kId:
    case GateId::kT:
    case GateId::kS:
    case GateId::kTdg:
    case GateId::kSdg:
    case GateId::kSX:
    case GateId::kSXdg:
    case GateId::kP:
    case GateId::kR:
    case GateId::kRV:
    case GateId::kRX:
    case GateId::kRY:
    case GateId::kRZ:
    case GateId::kU:
    case GateId::kY:
    case GateId::kZ:
    case GateId::kReset:
    case GateId::kU0:
    case GateId::kU1:
    case GateId::kU2:
      return Painter::kSingleQubitGate;
    case GateId::kCX:
    case GateId::kCY:
    case GateId::kCZ:
    case GateId::kCH:
    case GateId::kCXSpare:
    case GateId::kCP:
    case GateId::kCRX:
    case GateId::kCRY:
    case GateId::kCRZ:
    case GateId::kCS:
    case GateId::kCSdg:
    case GateId::kCSX:
    case GateId::kCU:
    case GateId::kCU1:
    case GateId::kCU3:
      return Painter::kControlledGate;
    case GateId::kDCX:
    case GateId::kECR:
    case GateId::kISwap:
    case GateId::kRXX:
    case GateId::kRYY:
    case GateId::kRZX:
      return Painter::kTwoQubitBox;
    case GateId::kRZZ:
      return Painter::kZZ;
    case GateId::kSwap:
      return Painter::kSwap;
    case GateId::kMeasure:
      return Painter::kMeasure;
    case GateId::kBarrierSpare:
    case GateId::kBarrier:
      return Painter::kBarrier;
    case GateId::kCSwap:
      return Painter::kControlledSwap;
    case GateId::kCCX:
      return Painter::kToffoli;
    case GateId::kCCZ:
      return Painter::kCcz;
    case GateId::kComposite:
      return Painter::kComposite;
    case GateId::kNone:
    case GateId::kEmpty:
      return Painter::kUnexpected;
  }
  return Painter::kUnexpected;  // a number outside the catalogue
}

enum class CompositePainter {
  kToffoli,
  kCcz,
  kControlledY,
  kControlledSwap,
  kMultiControlled,
};

struct CompositeEntry {
  CompositeKind kind;
  CompositePainter painter;
  const char* drawn_label;  // the target's label of a multi-controlled gate
};

// Composites drawn by their kind; a composite of any other kind (rccx
// among them) is drawn as a box over all its qubits.
const CompositeEntry kCompositePainters[] = {
    {CompositeKind::kCcx, CompositePainter::kToffoli, ""},
    {CompositeKind::kCcz, CompositePainter::kCcz, ""},
    {CompositeKind::kCy, CompositePainter::kControlledY, ""},
    {CompositeKind::kCswap, CompositePainter::kControlledSwap, ""},
    {CompositeKind::kC3sqrtx, CompositePainter::kMultiControlled, "C3sqrtx"},
    {CompositeKind::kMcphase, CompositePainter::kMultiControlled, "P"},
    {CompositeKind::kMcrx, CompositePainter::kMultiControlled, "RX"},
    {CompositeKind::kMcry, CompositePainter::kMultiControlled, "RY"},
    {CompositeKind::kMcrz, CompositePainter::kMultiControlled, "RZ"},
    {CompositeKind::kMcx, CompositePainter::kMultiControlled, "X"},
    {CompositeKind::kC3x, CompositePainter::kMultiControlled, "X"},
    {CompositeKind::kC4x, CompositePainter::kMultiControlled, "X"},
    {CompositeKind::kRc3x, CompositePainter::kMultiControlled, "Rc3x"},
};

const CompositeEntry* FindComposite(const GateRecord& record) {
  const CompositeKind kind = CompositeKindOf(record);
  for (const CompositeEntry& entry : kCompositePainters) {
    if (entry.kind == kind) return &entry;
  }
  return nullptr;
}

// Qubits (and classical bits) each painter needs. A record with fewer (a
// composite named like a gate that it is not, say) is drawn as a box over
// its qubits instead.
size_t QubitsNeeded(Painter painter) {
  switch (painter) {
    case Painter::kSingleQubitGate:
    case Painter::kMeasure:
    case Painter::kBarrier:
      return 1;
    case Painter::kControlledGate:
    case Painter::kTwoQubitBox:
    case Painter::kZZ:
    case Painter::kSwap:
      return 2;
    case Painter::kControlledSwap:
    case Painter::kToffoli:
    case Painter::kCcz:
      return 3;
    default:
      return 0;
  }
}

size_t QubitsNeeded(CompositePainter painter) {
  switch (painter) {
    case CompositePainter::kControlledY:
    case CompositePainter::kMultiControlled:
      return 2;
    default:
      return 3;
  }
}

}  // namespace

uint64_t TextCanvas::DrawInstruction(const GateRecord& record, uint64_t x) {
  const Painter painter = PainterOf(record.gate_type);
  if (painter == Painter::kUnexpected) {
    throw RunTimeError("Unexpected gate provided.");
  }
  const std::vector<uint64_t>& q = record.qubits;
  const std::vector<double>& p = record.params;
  const std::string label = record.GetLabel();
  const auto as_box = [&]() -> uint64_t {
    if (q.empty()) return 0;
    return DrawMultiWireBox(record, q, x, p, label, record.texts);
  };
  if (q.size() < QubitsNeeded(painter) ||
      (painter == Painter::kMeasure && record.clbits.empty())) {
    return as_box();
  }
  switch (painter) {
    case Painter::kSingleQubitGate:
      return DrawSingleQubitGate(record, q[0], x, p, label, false, true);
    case Painter::kControlledGate:
      return DrawControlledGate(record, q[0], q[1], x, p, label);
    case Painter::kTwoQubitBox:
      return DrawMultiWireBox(record, {q[0], q[1]}, x, p, label, {});
    case Painter::kZZ:
      return DrawZZ(record, q[0], q[1], p, x);
    case Painter::kSwap:
      return DrawSwap(record, q[0], q[1], x);
    case Painter::kMeasure:
      return DrawMeasure(record, q[0], record.clbits[0], x);
    case Painter::kBarrier:
      return plot_barriers ? DrawBarrier(q[0], x) : 0;
    case Painter::kControlledSwap:
      return DrawControlledSwap(record, q[0], q[1], q[2], x);
    case Painter::kToffoli:
      return DrawToffoli(record, q[0], q[1], q[2], x);
    case Painter::kCcz:
      return DrawCcz(record, q[0], q[1], q[2], x);
    default:
      break;
  }

  // Composites.
  const CompositeEntry* entry = FindComposite(record);
  if (entry == nullptr || q.size() < QubitsNeeded(entry->painter)) {
    return as_box();
  }
  switch (entry->painter) {
    case CompositePainter::kToffoli:
      return DrawToffoli(record, q[0], q[1], q[2], x);
    case CompositePainter::kCcz:
      return DrawCcz(record, q[0], q[1], q[2], x);
    case CompositePainter::kControlledY:
      return DrawControlledLabel(q[0], q[1], x, "Y");
    case CompositePainter::kControlledSwap:
      return DrawControlledSwap(record, q[0], q[1], q[2], x);
    case CompositePainter::kMultiControlled: {
      const std::vector<uint64_t> controls(q.begin(), q.end() - 1);
      const uint64_t target = q.back();
      bool any_control = false;
      for (uint64_t c : controls) any_control = any_control || c != target;
      if (!any_control) return as_box();
      return DrawMultiControlledGate(record, controls, target, x, p,
                                     entry->drawn_label);
    }
  }
  return as_box();
}

}  // namespace taviron
